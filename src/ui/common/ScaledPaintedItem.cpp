#include "ScaledPaintedItem.h"

#include <QLineF>
#include <QQuickWindow>
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

void ScaledPaintedItem::itemChange(ItemChange change, const ItemChangeData& value) {
    QQuickPaintedItem::itemChange(change, value);
    if (change == ItemVisibleHasChanged && value.boolValue) scheduleScaleCheck();
    if (change != ItemSceneChange) return;
    disconnect(windowWidthConnection_);
    disconnect(windowHeightConnection_);
    scaleCheckPending_ = false;
    if (!value.window) return;
    windowWidthConnection_ =
        connect(value.window, &QWindow::widthChanged, this, &ScaledPaintedItem::scheduleScaleCheck);
    windowHeightConnection_ =
        connect(value.window, &QWindow::heightChanged, this, &ScaledPaintedItem::scheduleScaleCheck);
    scheduleScaleCheck();
}

void ScaledPaintedItem::scheduleScaleCheck() {
    QQuickWindow* win = window();
    if (!win || scaleCheckPending_) return;
    scaleCheckPending_ = true;
    // Layouts settle during the frame; the scale is read once they have.
    connect(
        win, &QQuickWindow::afterAnimating, this,
        [this] {
            scaleCheckPending_ = false;
            followSceneScale();
        },
        Qt::SingleShotConnection);
    win->update();
}

void ScaledPaintedItem::followSceneScale() {
    if (!isVisible()) return;
    // The length of a mapped stretch, not the width of a mapped box: a turned item (a clock hand) would
    // otherwise read up to 1.41 times its scale, depending on its angle at the moment of reading.
    const QLineF unit(mapToScene(QPointF(0, 0)), mapToScene(QPointF(100, 0)));
    // Hundredths are fine enough for sharpness and keep sub-pixel jitter from re-rendering textures.
    setRenderScale(std::round(unit.length()) / 100.0);
}

void ScaledPaintedItem::geometryChange(const QRectF& newGeometry, const QRectF& oldGeometry) {
    QQuickPaintedItem::geometryChange(newGeometry, oldGeometry);
    if (newGeometry.size() != oldGeometry.size()) updateTextureSize();
    scheduleScaleCheck();
}

void ScaledPaintedItem::updateTextureSize() {
    const int w = qMax(0, qCeil(width() * renderScale_));
    const int h = qMax(0, qCeil(height() * renderScale_));
    setTextureSize(QSize(w, h));
    update();
}
