#include "PanelIcon.h"

#include "ui/common/SymbolIcon.h"

#include <QPainter>
#include <QQuickWindow>
#include <QSvgRenderer>
#include <QtMath>
#include <array>
#include <cmath>

namespace {

struct Symbol {
    const char* name;
    const char* file;
};

constexpr std::array<Symbol, 18> kSymbols{{
    {"checkmark.shield.fill", "checkmark-shield"},
    {"bell.badge.fill", "bell-badge"},
    {"speaker.wave.3.fill", "speaker-wave"},
    {"moon.circle.fill", "moon-circle"},
    {"sun.max.circle.fill", "sun-circle"},
    {"cloud.fill", "cloud"},
    {"cloud.sun.fill", "cloud-sun"},
    {"cloud.moon.fill", "cloud-moon"},
    {"cloud.fog.fill", "cloud-fog"},
    {"cloud.drizzle.fill", "cloud-drizzle"},
    {"cloud.rain.fill", "cloud-rain"},
    {"cloud.sleet.fill", "cloud-sleet"},
    {"cloud.snow.fill", "cloud-snow"},
    {"cloud.bolt.rain.fill", "cloud-bolt-rain"},
    {"map", "map"},
    {"eye.slash", "eye-slash"},
    {"safari", "safari"},
    {"location.north.fill", "location-north"},
}};

}  // namespace

PanelIcon::PanelIcon(QQuickItem* parent) : ScaledPaintedItem(parent) {
    setImplicitSize(size_, size_);
}

QString PanelIcon::resourceFor(const QString& name) {
    for (const auto& symbol : kSymbols)
        if (name == QLatin1StringView(symbol.name))
            return QStringLiteral(":/qt/qml/Orvane/Panels/icons/%1.svg").arg(QLatin1StringView(symbol.file));
    return SymbolIcon::resourceFor(name);
}

void PanelIcon::setName(const QString& name) {
    if (name == name_) return;
    name_ = name;
    delete renderer_;
    renderer_ = nullptr;
    tinted_ = QImage();
    const QString path = resourceFor(name);
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

void PanelIcon::setColor(const QColor& color) {
    if (color == color_) return;
    color_ = color;
    tinted_ = QImage();
    update();
    emit colorChanged();
}

void PanelIcon::setSize(qreal size) {
    if (!std::isfinite(size) || size < 0) size = 0;
    if (qFuzzyCompare(size + 1, size_ + 1)) return;
    size_ = size;
    setImplicitSize(size, size);
    emit sizeChanged();
}

void PanelIcon::paint(QPainter* painter) {
    if (!renderer_ || width() <= 0 || height() <= 0) return;
    const qreal side = qMin(width(), height());
    const QRectF box((width() - side) / 2, (height() - side) / 2, side, side);
    const qreal dpr = window() ? window()->effectiveDevicePixelRatio() : 1.0;
    const int pixels = qMax(1, qCeil(side * renderScale() * dpr));
    if (tinted_.width() != pixels) {
        tinted_ = QImage(pixels, pixels, QImage::Format_ARGB32_Premultiplied);
        tinted_.fill(Qt::transparent);
        QPainter p(&tinted_);
        p.setRenderHint(QPainter::Antialiasing);
        renderer_->render(&p, QRectF(0, 0, pixels, pixels));
        p.setCompositionMode(QPainter::CompositionMode_SourceIn);
        p.fillRect(tinted_.rect(), color_);
    }
    painter->setRenderHint(QPainter::SmoothPixmapTransform);
    painter->drawImage(box, tinted_);
}
