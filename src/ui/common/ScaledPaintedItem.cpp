#include "ScaledPaintedItem.h"

#include <QtMath>
#include <cmath>

namespace {
// Beyond this a texture would cost more memory than any screen can show.
constexpr qreal kMaxRenderScale = 8.0;
}  // namespace

ScaledPaintedItem::ScaledPaintedItem(QQuickItem* parent) : QQuickPaintedItem(parent) {
    setAntialiasing(true);
}

void ScaledPaintedItem::setRenderScale(qreal scale) {
    // A scale that is not a positive finite number keeps the design size rather than breaking the texture.
    if (!std::isfinite(scale) || scale <= 0) scale = 1.0;
    scale = qMin(scale, kMaxRenderScale);
    if (qFuzzyCompare(scale, renderScale_)) return;
    renderScale_ = scale;
    updateTextureSize();
    emit renderScaleChanged();
}

void ScaledPaintedItem::geometryChange(const QRectF& newGeometry, const QRectF& oldGeometry) {
    QQuickPaintedItem::geometryChange(newGeometry, oldGeometry);
    if (newGeometry.size() != oldGeometry.size()) updateTextureSize();
}

void ScaledPaintedItem::updateTextureSize() {
    const int w = qMax(0, qCeil(width() * renderScale_));
    const int h = qMax(0, qCeil(height() * renderScale_));
    setTextureSize(QSize(w, h));
    update();
}
