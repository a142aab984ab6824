#include "SymbolIcon.h"

#include <QPainter>
#include <QQuickWindow>
#include <QSvgRenderer>
#include <QtMath>
#include <array>
#include <cmath>

namespace {

// The system symbol names the views use, each with the drawing that stands in for it.
constexpr std::array<SymbolIcon::Drawing, 16> kSymbols{{
    {"moon.stars.fill", "moon-stars"},
    {"gearshape.fill", "gear"},
    {"play.fill", "play"},
    {"text.book.closed.fill", "book-closed-text"},
    {"book.fill", "book-open"},
    {"calendar", "calendar"},
    {"sparkles", "sparkles"},
    {"stop.fill", "stop"},
    {"drop.fill", "drop"},
    {"wind", "wind"},
    {"sun.max.fill", "sun"},
    {"exclamationmark.triangle.fill", "warning"},
    {"chevron.left", "chevron-left"},
    {"chevron.right", "chevron-right"},
    {"chevron.left.2", "chevron-left-double"},
    {"chevron.right.2", "chevron-right-double"},
}};

}  // namespace

SymbolIcon::SymbolIcon(QQuickItem* parent) : ScaledPaintedItem(parent) {
    setImplicitSize(size_, size_);
}

SymbolIcon::~SymbolIcon() = default;

namespace {

QString drawingIn(const QString& name, std::span<const SymbolIcon::Drawing> set, QLatin1StringView folder) {
    for (const SymbolIcon::Drawing& drawing : set)
        if (name == QLatin1StringView(drawing.name))
            return folder + u'/' + QLatin1StringView(drawing.file) + QStringLiteral(".svg");
    return {};
}

}  // namespace

QString SymbolIcon::resourceFor(const QString& name) {
    return drawingIn(name, kSymbols, QLatin1StringView(":/qt/qml/Orvane/Common/icons"));
}

QString SymbolIcon::resourceFor(const QString& name, std::span<const Drawing> own, QLatin1StringView folder) {
    const QString path = drawingIn(name, own, folder);
    return path.isEmpty() ? resourceFor(name) : path;
}

QStringList SymbolIcon::knownNames() {
    QStringList names;
    for (const auto& symbol : kSymbols) names << QString::fromLatin1(symbol.name);
    return names;
}

void SymbolIcon::setName(const QString& name) {
    if (name == name_) return;
    name_ = name;
    delete renderer_;
    renderer_ = nullptr;
    tinted_ = QImage();
    const QString path = drawingFor(name);
    if (!path.isEmpty()) {
        renderer_ = new QSvgRenderer(path, this);
        if (!renderer_->isValid()) {
            delete renderer_;
            renderer_ = nullptr;
        }
    }
    update();
    emit nameChanged();
}

void SymbolIcon::setColor(const QColor& color) {
    if (color == color_) return;
    color_ = color;
    update();
    emit colorChanged();
}

void SymbolIcon::setSize(qreal size) {
    if (!std::isfinite(size) || size < 0) size = 0;
    if (qFuzzyCompare(size + 1, size_ + 1)) return;
    size_ = size;
    setImplicitSize(size, size);
    emit sizeChanged();
}

void SymbolIcon::paint(QPainter* painter) {
    if (!renderer_ || width() <= 0 || height() <= 0) return;
    const qreal side = qMin(width(), height());
    const QRectF box((width() - side) / 2, (height() - side) / 2, side, side);
    const qreal dpr = window() ? window()->effectiveDevicePixelRatio() : 1.0;
    const int pixels = qMax(1, qCeil(side * renderScale() * dpr));
    if (tinted_.width() != pixels || tintedColor_ != color_) {
        // The drawings are black shapes on a clear ground: draw once at the pixel size, then fill the
        // covered pixels with the colour. Redrawn only when the size or colour changes.
        tinted_ = QImage(pixels, pixels, QImage::Format_ARGB32_Premultiplied);
        tinted_.fill(Qt::transparent);
        QPainter p(&tinted_);
        p.setRenderHint(QPainter::Antialiasing);
        renderer_->render(&p, QRectF(0, 0, pixels, pixels));
        p.setCompositionMode(QPainter::CompositionMode_SourceIn);
        p.fillRect(tinted_.rect(), color_);
        tintedColor_ = color_;
    }
    painter->setRenderHint(QPainter::SmoothPixmapTransform);
    painter->drawImage(box, tinted_);
}
