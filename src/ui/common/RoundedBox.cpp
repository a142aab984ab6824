#include "RoundedBox.h"

#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>

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

void RoundedBox::paint(QPainter* painter) {
    // A size that came out negative (from a theme's numbers) draws nothing rather than a mirrored shape.
    if (width() <= 0 || height() <= 0 || radius_ < 0 || borderWidth_ < 0) return;
    painter->setRenderHint(QPainter::Antialiasing);
    const qreal r = std::min({radius_, width() / 2, height() / 2});
    QPainterPath shape;
    shape.addRoundedRect(QRectF(0, 0, width(), height()), r, r);
    painter->fillPath(shape, color_);
    if (borderWidth_ > 0 && borderColor_.alpha() > 0) {
        // The stroke sits inside the edge so the texture holds all of it.
        const qreal inset = borderWidth_ / 2;
        QPainterPath outline;
        const qreal ri = std::max<qreal>(0, r - inset);
        outline.addRoundedRect(QRectF(inset, inset, width() - borderWidth_, height() - borderWidth_), ri, ri);
        painter->strokePath(outline, QPen(borderColor_, borderWidth_));
    }
}
