#pragma once

#include <QtQml/qqmlregistration.h>
#include <QPolygonF>
#include <QQuickPaintedItem>

// The qibla arrow lying flat on the ground ahead of the viewer: a wide head over a shaft that widens
// toward the bottom; green gradient fill, white outline.
class Arrow3D : public QQuickPaintedItem {
    Q_OBJECT
    QML_ELEMENT

  public:
    explicit Arrow3D(QQuickItem* parent = nullptr);

    // The outline's seven points in a box of `size`, from the top-left corner.
    static QPolygonF outline(const QSizeF& size);

    void paint(QPainter* painter) override;
};
