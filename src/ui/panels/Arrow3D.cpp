#include "Arrow3D.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

Arrow3D::Arrow3D(QQuickItem* parent) : QQuickPaintedItem(parent) {
    setAntialiasing(true);
}

QPolygonF Arrow3D::outline(const QSizeF& size) {
    const double w = size.width();
    const double h = size.height();
    return QPolygonF({{0.5 * w, 0},
                      {w, 0.45 * h},
                      {0.72 * w, 0.45 * h},
                      {0.85 * w, h},
                      {0.15 * w, h},
                      {0.28 * w, 0.45 * h},
                      {0, 0.45 * h}});
}

void Arrow3D::paint(QPainter* painter) {
    const QSizeF box(width(), height());
    if (box.isEmpty()) return;
    painter->setRenderHint(QPainter::Antialiasing);
    QPainterPath path;
    path.addPolygon(outline(box));
    path.closeSubpath();
    // Shadow: the same outline, dark and a little lower.
    painter->fillPath(path.translated(0, 2), QColor::fromRgbF(0, 0, 0, 0.45f));
    QLinearGradient fill(0, 0, 0, box.height());
    fill.setColorAt(0, QColor::fromRgbF(0.4f, 1.0f, 0.5f));
    fill.setColorAt(1, QColor::fromRgbF(0.12f, 0.6f, 0.3f));
    painter->fillPath(path, fill);
    painter->strokePath(
        path, QPen(QColor::fromRgbF(1, 1, 1, 0.9f), 1.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
}
