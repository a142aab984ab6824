#include "NoStreetViewPicture.h"

#include "services/NoStreetViewDiskCache.h"

#include <QPainter>
#include <QPointer>
#include <algorithm>

NoStreetViewPicture::NoStreetViewPicture(QQuickItem* parent) : ScaledPaintedItem(parent) {
    connect(this, &QQuickPaintedItem::textureSizeChanged, this, &NoStreetViewPicture::fitToTexture);
}

void NoStreetViewPicture::keep(QImage image) {
    decodedSize_ = image.size();
    image_ = std::move(image);
    fitToTexture();
}

void NoStreetViewPicture::fitToTexture() {
    const QSize drawn = textureSize();
    if (image_.isNull() || drawn.isEmpty()) return;
    if (image_.width() > drawn.width() && image_.height() > drawn.height()) {
        image_ = image_.scaled(drawn, Qt::KeepAspectRatioByExpanding, Qt::SmoothTransformation);
    } else if (image_.size() != decodedSize_ &&
               (image_.width() < drawn.width() || image_.height() < drawn.height())) {
        // Kept smaller than it is now drawn: read again at full size, then kept at the new one.
        load();
    }
}

void NoStreetViewPicture::setLocationKey(const QString& key) {
    if (key == locationKey_ && generation_ > 0) return;
    locationKey_ = key;
    emit locationKeyChanged();
    if (key.isEmpty()) {
        // Street view is there: nothing to show, nothing to ask the server.
        ++generation_;
        return;
    }
    load();
}

void NoStreetViewPicture::load() {
    const quint64 generation = ++generation_;
    [](QPointer<NoStreetViewPicture> self, quint64 generation) -> QCoro::Task<> {
        auto& cache = NoStreetViewDiskCache::shared();
        const auto show = [&](QImage image) {
            if (!self || self->generation_ != generation) return false;
            self->keep(std::move(image));
            self->update();
            emit self->imageChanged();
            return true;
        };
        if (!show(co_await cache.cachedImage())) co_return;
        co_await cache.sync(false, 24);
        if (!self || self->generation_ != generation) co_return;
        show(co_await cache.cachedImage());
    }(this, generation);
}

void NoStreetViewPicture::paint(QPainter* painter) {
    if (image_.isNull() || width() <= 0 || height() <= 0) return;
    const QRectF box(0, 0, width(), height());
    const double scale = std::max(box.width() / image_.width(), box.height() / image_.height());
    const QSizeF drawn(image_.width() * scale, image_.height() * scale);
    painter->setRenderHint(QPainter::SmoothPixmapTransform);
    painter->setClipRect(box);
    painter->drawImage(QRectF(box.center().x() - drawn.width() / 2, box.center().y() - drawn.height() / 2,
                              drawn.width(), drawn.height()),
                       image_);
}
