#include "RoundedBox.h"

#include <QPainter>
#include <QPainterPath>
#include <QQuickWindow>
#include <QSGRenderNode>
#include <QSGRendererInterface>
#include <algorithm>
#include <cmath>

namespace {

// The box as the software renderer's painter draws it, clipped to the damaged part of the window.
class DirectBoxNode : public QSGRenderNode {
  public:
    explicit DirectBoxNode(QQuickWindow* window) : window_(window) {}

    void set(const QSizeF& size, const QColor& color, const QColor& borderColor, qreal borderWidth,
             qreal radius) {
        size_ = size;
        color_ = color;
        borderColor_ = borderColor;
        borderWidth_ = borderWidth;
        radius_ = radius;
        markDirty(QSGNode::DirtyMaterial);
    }

    void render(const RenderState* state) override {
        auto* painter = static_cast<QPainter*>(
            window_->rendererInterface()->getResource(window_, QSGRendererInterface::PainterResource));
        if (!painter) return;
        const QRegion* clip = state->clipRegion();
        if (clip && !clip->isEmpty()) painter->setClipRegion(*clip, Qt::ReplaceClip);  // before the transform
        const QTransform transform = matrix()->toTransform();
        painter->setOpacity(inheritedOpacity());
        if (clip && !clip->isEmpty() && insideFill(transform, clip->boundingRect())) {
            // A second hand sweeping over a card damages only its plain middle: a flat fill paints the
            // same pixels as the whole antialiased outline would, for a fraction of the work.
            painter->resetTransform();
            painter->fillRect(clip->boundingRect(), color_);
            return;
        }
        painter->setTransform(transform);
        RoundedBox::draw(painter, size_, color_, borderColor_, borderWidth_, radius_);
    }

    StateFlags changedStates() const override { return {}; }
    // Nothing is drawn outside the box, so only the damaged boxes repaint.
    RenderingFlags flags() const override { return BoundedRectRendering; }
    QRectF rect() const override { return QRectF(QPointF(), size_); }

  private:
    // Whether `deviceRect` lies in the box's flat middle, clear of its corners, border and soft edge.
    bool insideFill(const QTransform& transform, const QRect& deviceRect) const {
        if (transform.type() > QTransform::TxScale || radius_ < 0 || borderWidth_ < 0) return false;
        const qreal margin =
            std::max(std::min({radius_, size_.width() / 2, size_.height() / 2}), borderWidth_);
        const QRectF middle = QRectF(QPointF(), size_).adjusted(margin, margin, -margin, -margin);
        if (middle.isEmpty()) return false;
        // A device pixel of slack for the antialiased edge.
        return transform.mapRect(middle).adjusted(1, 1, -1, -1).contains(QRectF(deviceRect));
    }

    QQuickWindow* window_;
    QSizeF size_;
    QColor color_;
    QColor borderColor_;
    qreal borderWidth_ = 0;
    qreal radius_ = 0;
};

}  // namespace

RoundedBox::RoundedBox(QQuickItem* parent) : ScaledPaintedItem(parent) {}

void RoundedBox::setColor(const QColor& color) {
    if (color == color_) return;
    color_ = color;
    update();
    emit changed();
}

void RoundedBox::setBorderColor(const QColor& color) {
    if (color == borderColor_) return;
    borderColor_ = color;
    update();
    emit changed();
}

void RoundedBox::setBorderWidth(qreal width) {
    if (!std::isfinite(width)) width = 0;
    if (width == borderWidth_) return;
    borderWidth_ = width;
    update();
    emit changed();
}

void RoundedBox::setRadius(qreal radius) {
    if (!std::isfinite(radius)) radius = 0;
    if (radius == radius_) return;
    radius_ = radius;
    update();
    emit changed();
}

QSGNode* RoundedBox::updatePaintNode(QSGNode* oldNode, UpdatePaintNodeData* data) {
    QQuickWindow* win = window();
    if (!win || win->rendererInterface()->graphicsApi() != QSGRendererInterface::Software)
        return ScaledPaintedItem::updatePaintNode(oldNode, data);
    auto* node = static_cast<DirectBoxNode*>(oldNode);
    if (!node) node = new DirectBoxNode(win);
    node->set(size(), color_, borderColor_, borderWidth_, radius_);
    return node;
}

void RoundedBox::paint(QPainter* painter) {
    draw(painter, size(), color_, borderColor_, borderWidth_, radius_);
}

void RoundedBox::draw(QPainter* painter, const QSizeF& size, const QColor& color, const QColor& borderColor,
                      qreal borderWidth, qreal radius) {
    // A size that came out negative (from a theme's numbers) draws nothing rather than a mirrored shape.
    const qreal w = size.width();
    const qreal h = size.height();
    if (w <= 0 || h <= 0 || radius < 0 || borderWidth < 0) return;
    painter->setRenderHint(QPainter::Antialiasing);
    const qreal r = std::min({radius, w / 2, h / 2});
    QPainterPath shape;
    shape.addRoundedRect(QRectF(0, 0, w, h), r, r);
    painter->fillPath(shape, color);
    if (borderWidth > 0 && borderColor.alpha() > 0) {
        // The stroke sits inside the edge, so nothing of it falls outside the box.
        const qreal inset = borderWidth / 2;
        QPainterPath outline;
        const qreal ri = std::max<qreal>(0, r - inset);
        outline.addRoundedRect(QRectF(inset, inset, w - borderWidth, h - borderWidth), ri, ri);
        painter->strokePath(outline, QPen(borderColor, borderWidth));
    }
}
