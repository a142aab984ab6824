#include "NasaSunImageView.h"

#include "NasaSunImageCache.h"

#include <QPainter>
#include <QPainterPath>
#include <QPointer>
#include <QQuickWindow>
#include <algorithm>

NasaSunImageView::NasaSunImageView(QQuickItem* parent) : ScaledPaintedItem(parent) {
    sleep_.setSingleShot(true);
    connect(&sleep_, &QTimer::timeout, this, &NasaSunImageView::passDue);
}

bool NasaSunImageView::shown() const {
    // A view outside any window (made by hand, as in tests) keeps its loop going.
    return !window() || window()->isVisible();
}

void NasaSunImageView::passDue() {
    if (shown()) {
        runPass();
        return;
    }
    passWaiting_ = true;
}

void NasaSunImageView::itemChange(ItemChange change, const ItemChangeData& value) {
    ScaledPaintedItem::itemChange(change, value);
    if (change != ItemSceneChange) return;
    disconnect(windowShown_);
    if (!value.window) return;
    windowShown_ = connect(value.window, &QWindow::visibleChanged, this, [this](bool visible) {
        if (!visible || !passWaiting_) return;
        passWaiting_ = false;
        runPass();
    });
}

void NasaSunImageView::setImageURL(const QString& url) {
    if (url == imageURL_) return;
    // Loops are keyed by the address that is actually fetched, so two spellings of the default do not
    // restart anything.
    const QUrl before = NasaSunImage::resolvedURL(imageURL_);
    imageURL_ = url;
    emit imageURLChanged();
    if (isComponentComplete() && NasaSunImage::resolvedURL(url) != before) restart();
}

void NasaSunImageView::setCircular(bool circular) {
    if (circular == circular_) return;
    circular_ = circular;
    update();
    emit circularChanged();
}

double NasaSunImageView::sleepSeconds(double untilStale) {
    return std::clamp(untilStale, 60.0, 3600.0);
}

void NasaSunImageView::componentComplete() {
    ScaledPaintedItem::componentComplete();
    restart();
}

void NasaSunImageView::restart() {
    ++generation_;
    sleep_.stop();
    passWaiting_ = false;
    runPass();
}

void NasaSunImageView::setPhase(Phase phase) {
    if (phase == phase_) return;
    phase_ = phase;
    update();
    emit phaseChanged();
}

void NasaSunImageView::setReady(QImage image) {
    image_ = std::move(image);
    setPhase(Phase::Ready);
    update();
}

void NasaSunImageView::runPass() {
    const quint64 generation = generation_;
    const QUrl url = NasaSunImage::fetchURL(imageURL_.isNull() ? std::nullopt : std::optional(imageURL_));
    if (phase_ != Phase::Ready) {
        QImage cached;
        if (const auto bytes = NasaSunImage::cachedDataAnyAge()) cached.loadFromData(*bytes);
        if (!cached.isNull())
            setReady(std::move(cached));
        else
            setPhase(Phase::Loading);
    }
    [](QPointer<NasaSunImageView> self, QUrl url, quint64 generation) -> QCoro::Task<> {
        const auto bytes = co_await NasaSunImage::fetch(url);
        if (!self || self->generation_ != generation) co_return;
        QImage fetched;
        if (bytes) fetched.loadFromData(*bytes);
        if (!fetched.isNull())
            self->setReady(std::move(fetched));
        else if (self->phase_ != Phase::Ready)
            self->setPhase(Phase::Failed);
        self->nextPassSeconds_ = sleepSeconds(NasaSunImage::secondsUntilRefreshNeeded());
        ++self->passes_;
        self->sleep_.start(std::chrono::milliseconds(qint64(self->nextPassSeconds_ * 1000)));
        emit self->passFinished();
    }(this, url, generation);
}

void NasaSunImageView::paint(QPainter* painter) {
    if (width() <= 0 || height() <= 0) return;
    const QRectF box(0, 0, width(), height());
    painter->setRenderHint(QPainter::SmoothPixmapTransform);
    painter->setRenderHint(QPainter::Antialiasing);
    if (circular_) {
        QPainterPath circle;
        circle.addEllipse(box);
        painter->setClipPath(circle);
    }
    if (phase_ == Phase::Failed) {
        painter->fillRect(box, failedGlow(box));
        return;
    }
    if (image_.isNull()) return;
    // Scaled to fill: the shorter side fits, the longer one is cut evenly on both ends.
    const double scale = std::max(box.width() / image_.width(), box.height() / image_.height());
    const QSizeF drawn(image_.width() * scale, image_.height() * scale);
    const QRectF target(box.center().x() - drawn.width() / 2, box.center().y() - drawn.height() / 2,
                        drawn.width(), drawn.height());
    painter->drawImage(target, image_);
}

QRadialGradient NasaSunImageView::failedGlow(const QRectF& box) {
    // Orange from two points out to red at 0.7 opacity at a radius of the whole side, so the disc's rim
    // stays a warm orange-red rather than the full red.
    const double side = std::max(box.width(), box.height());
    QRadialGradient glow(box.center(), side);
    glow.setColorAt(std::min(1.0, 2.0 / std::max(side, 2.0)), failedInner);
    glow.setColorAt(1.0, failedOuter);
    glow.setColorAt(0.0, failedInner);
    return glow;
}
