#include "AnalogClockView.h"

#include "PlaceTime.h"
#include "platform/Clock.h"
#include "platform/Http.h"
#include "ui/common/SymbolIcon.h"
#include "ui/common/Theme.h"

#include <QConicalGradient>
#include <QImageReader>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QQuickWindow>
#include <QRadialGradient>
#include <QSvgRenderer>
#include <QtMath>
#include <chrono>
#include <cmath>

namespace {

constexpr int kFrameIntervalMs = 16;  // at most 60 frames a second
constexpr qint64 kMaxLogoBytes = 4 * 1024 * 1024;
constexpr std::chrono::seconds kLogoTimeout{30};

QColor grey(double level, double alpha = 1.0) {
    return QColor::fromRgbF(level, level, level, alpha);
}

// A capsule of `width` reaching `length` above the centre and `tail` below it, pointing to 12 o'clock.
QPainterPath handPath(double length, double width, double tail) {
    QPainterPath path;
    path.addRoundedRect(QRectF(-width / 2, -length, width, length + tail), width / 2, width / 2);
    return path;
}

QRectF dayWindowRect(qreal side) {
    const qreal w = 0.15 * side;
    const qreal h = 0.78 * w;
    const qreal centreX = side / 2 + 0.6 * side / 2;
    return QRectF(centreX - w / 2, side / 2 - h / 2, w, h);
}

void drawSymbol(QPainter& p, const QRectF& box, const QColor& colour) {
    QSvgRenderer renderer(SymbolIcon::resourceFor(QStringLiteral("moon.stars.fill")));
    if (!renderer.isValid()) return;
    QImage mask(qMax(1, qCeil(box.width())), qMax(1, qCeil(box.height())),
                QImage::Format_ARGB32_Premultiplied);
    mask.fill(Qt::transparent);
    {
        QPainter mp(&mask);
        mp.setRenderHint(QPainter::Antialiasing);
        renderer.render(&mp, QRectF(QPointF(), mask.size()));
        mp.setCompositionMode(QPainter::CompositionMode_SourceIn);
        mp.fillRect(mask.rect(), colour);
    }
    p.drawImage(box, mask);
}

}  // namespace

AnalogClockView::HandComps AnalogClockView::handComps(std::int64_t utcMs, double tzOffsetHours) {
    const PlaceTime::Fields f = PlaceTime::fields(utcMs, tzOffsetHours);
    HandComps c;
    c.s = f.second + f.millisecond / 1000.0;
    c.m = f.minute + c.s / 60;
    c.h = (f.hour % 12) + c.m / 60;
    return c;
}

int AnalogClockView::dayOfMonth(std::int64_t utcMs, double tzOffsetHours) {
    return PlaceTime::fields(utcMs, tzOffsetHours).day;
}

AnalogClockView::AnalogClockView(QQuickItem* parent) : ScaledPaintedItem(parent), frameTimer_(this) {
    frameTimer_.setObjectName(QStringLiteral("frameTimer"));
    frameTimer_.setTimerType(Qt::PreciseTimer);
    frameTimer_.setInterval(kFrameIntervalMs);
    connect(&frameTimer_, &QTimer::timeout, this, [this] { update(); });
    dayFont_.setFamily(Theme::fontFamily());
    dayFont_.setWeight(QFont::Bold);
    connect(this, &QQuickItem::visibleChanged, this, &AnalogClockView::updateFrameTimer);
}

AnalogClockView::~AnalogClockView() = default;

void AnalogClockView::setTzOffsetHours(double hours) {
    if (hours == tzOffsetHours_ || (std::isnan(hours) && std::isnan(tzOffsetHours_))) return;
    tzOffsetHours_ = hours;
    update();
    emit tzOffsetHoursChanged();
}

void AnalogClockView::setLogoUrl(const QUrl& url) {
    if (url == logoUrl_) return;
    logoUrl_ = url;
    startLogo();
    emit logoUrlChanged();
}

void AnalogClockView::setRunning(bool running) {
    if (running == running_) return;
    running_ = running;
    updateFrameTimer();
    emit runningChanged();
}

void AnalogClockView::itemChange(ItemChange change, const ItemChangeData& value) {
    ScaledPaintedItem::itemChange(change, value);
    if (change != ItemSceneChange) return;
    if (watchedWindow_) disconnect(watchedWindow_, nullptr, this, nullptr);
    watchedWindow_ = value.window;
    if (watchedWindow_)
        connect(watchedWindow_, &QWindow::visibilityChanged, this, &AnalogClockView::updateFrameTimer);
    updateFrameTimer();
}

void AnalogClockView::geometryChange(const QRectF& newGeometry, const QRectF& oldGeometry) {
    ScaledPaintedItem::geometryChange(newGeometry, oldGeometry);
    updateFrameTimer();
}

void AnalogClockView::updateFrameTimer() {
    // A closed or minimised window, or a dial that is not shown, costs no frames at all.
    const bool shown = watchedWindow_ && watchedWindow_->isVisible() &&
                       watchedWindow_->visibility() != QWindow::Minimized && isVisible() && width() > 0 &&
                       height() > 0;
    if (running_ && shown) {
        if (!frameTimer_.isActive()) frameTimer_.start();
    } else {
        frameTimer_.stop();
    }
}

void AnalogClockView::startLogo() {
    ++logoGeneration_;
    if (logoUrl_.isEmpty()) {
        setLogoImage(LogoState::Symbol, {});
        return;
    }
    if (logoUrl_.isLocalFile()) {
        QImageReader reader(logoUrl_.toLocalFile());
        reader.setAutoTransform(true);
        const QImage image = reader.read();
        if (!image.isNull()) {
            setLogoImage(LogoState::Image, image);
            return;
        }
    }
    const QString scheme = logoUrl_.scheme().toLower();
    if (scheme != QLatin1String("http") && scheme != QLatin1String("https")) {
        // A file that does not load, or an address no loader can fetch, ends where a failed load ends.
        setLogoImage(LogoState::Failed, {});
        return;
    }
    setLogoImage(LogoState::Loading, {});
    loadRemoteLogo(logoUrl_, logoGeneration_);
}

QCoro::Task<> AnalogClockView::loadRemoteLogo(QUrl url, quint64 generation) {
    QPointer<AnalogClockView> self(this);
    HttpRequest request;
    request.url = url;
    request.timeout = kLogoTimeout;
    request.maxBodyBytes = kMaxLogoBytes;
    const HttpResponse response = co_await Http::send(request);
    if (!self || self->logoGeneration_ != generation) co_return;
    QImage image;
    if (response.isSuccess()) image.loadFromData(response.body);
    self->setLogoImage(image.isNull() ? LogoState::Failed : LogoState::Image, image);
}

void AnalogClockView::setLogoImage(LogoState state, const QImage& image) {
    logoState_ = state;
    logoImage_ = image;
    cachedSide_ = -1;  // the logo lives in the static layer
    update();
}

void AnalogClockView::renderStaticLayer(qreal side, qreal pixelScale) {
    const int pixels = qMax(1, qCeil(side * pixelScale));
    staticLayer_ = QImage(pixels, pixels, QImage::Format_ARGB32_Premultiplied);
    staticLayer_.fill(Qt::transparent);
    QPainter p(&staticLayer_);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    p.scale(pixelScale, pixelScale);
    p.setPen(Qt::NoPen);

    const qreal S = side;
    const qreal R = S * 0.5;
    const QPointF centre(R, R);

    // Bezel: the gradient turns clockwise from three o'clock.
    QConicalGradient bezel(centre, 0);
    bezel.setColorAt(0.0, grey(0.85));
    bezel.setColorAt(0.25, grey(0.40));
    bezel.setColorAt(0.5, grey(0.95));
    bezel.setColorAt(0.75, grey(0.45));
    bezel.setColorAt(1.0, grey(0.85));
    p.setBrush(bezel);
    p.drawEllipse(QRectF(0, 0, S, S));

    p.setBrush(grey(0.12));
    p.drawEllipse(QRectF(0.045 * S, 0.045 * S, S - 0.09 * S, S - 0.09 * S));

    QRadialGradient face(centre, R);
    face.setColorAt(0, grey(0.10));
    face.setColorAt(1, Qt::black);
    p.setBrush(face);
    p.drawEllipse(QRectF(0.07 * S, 0.07 * S, S - 0.14 * S, S - 0.14 * S));

    // Minute ticks, hour dots and the twelve o'clock triangle, each placed at 12 and turned into place.
    for (int i = 0; i < 60; ++i) {
        const bool major = i % 5 == 0;
        const qreal w = major ? 2.5 : 1.0;
        const qreal h = major ? 0.04 * S : 0.02 * S;
        p.save();
        p.translate(centre);
        p.rotate(i * 6.0);
        p.fillRect(QRectF(-w / 2, 0.1 * S - R - h / 2, w, h), QColor::fromRgbF(1, 1, 1, major ? 0.9 : 0.25));
        p.restore();
    }
    const qreal dot = 0.022 * S;
    p.setBrush(Qt::white);
    for (int i = 0; i < 12; ++i) {
        p.save();
        p.translate(centre);
        p.rotate(i * 30.0);
        p.drawEllipse(QRectF(-dot / 2, 0.165 * S - R - dot / 2, dot, dot));
        p.restore();
    }
    {
        const qreal tw = 0.05 * S;
        const qreal th = 0.045 * S;
        const qreal cy = R + 0.115 * S - R;  // triangle frame centre, in dial coordinates
        QPainterPath triangle;
        triangle.moveTo(R, cy + th / 2);
        triangle.lineTo(R - tw / 2, cy - th / 2);
        triangle.lineTo(R + tw / 2, cy - th / 2);
        triangle.closeSubpath();
        p.drawPath(triangle);
    }

    // Logo above the centre.
    const QPointF logoCentre(R, R - 0.4 * R);
    switch (logoState_) {
        case LogoState::Symbol: {
            const qreal size = 0.07 * S;
            drawSymbol(p, QRectF(logoCentre.x() - size / 2, logoCentre.y() - size / 2, size, size),
                       Theme::gold());
            break;
        }
        case LogoState::Failed: {
            // The failure symbol keeps the body text size whatever the dial's size.
            const qreal size = Theme::body();
            drawSymbol(p, QRectF(logoCentre.x() - size / 2, logoCentre.y() - size / 2, size, size),
                       Theme::gold());
            break;
        }
        case LogoState::Image: {
            const qreal box = 0.14 * S;
            QSizeF fitted = QSizeF(logoImage_.size()).scaled(box, box, Qt::KeepAspectRatio);
            p.drawImage(QRectF(logoCentre.x() - fitted.width() / 2, logoCentre.y() - fitted.height() / 2,
                               fitted.width(), fitted.height()),
                        logoImage_);
            break;
        }
        case LogoState::Loading:
            break;
    }

    // The day window: shadow, white-to-grey glass and its hairline.
    const QRectF window = dayWindowRect(S);
    const qreal radius = 0.18 * window.width();
    for (int i = 3; i >= 1; --i) {
        p.setBrush(QColor::fromRgbF(0, 0, 0, 0.5 / 3));
        p.drawRoundedRect(window.translated(0, 1).adjusted(-i * 0.8, -i * 0.8, i * 0.8, i * 0.8), radius + i,
                          radius + i);
    }
    QLinearGradient glass(window.topLeft(), window.bottomLeft());
    glass.setColorAt(0, grey(0.98));
    glass.setColorAt(1, grey(0.78));
    p.setBrush(glass);
    p.setPen(QPen(grey(0.5), 1));
    p.drawRoundedRect(window, radius, radius);
}

void AnalogClockView::renderGloss(qreal side, qreal pixelScale) {
    const QRectF window = dayWindowRect(side);
    gloss_ = QImage(qMax(1, qCeil(window.width() * pixelScale)), qMax(1, qCeil(window.height() * pixelScale)),
                    QImage::Format_ARGB32_Premultiplied);
    gloss_.fill(Qt::transparent);
    QPainter p(&gloss_);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(pixelScale, pixelScale);
    const QRectF local(0, 0, window.width(), window.height());
    QLinearGradient shine(local.topLeft(), local.center());
    shine.setColorAt(0, QColor::fromRgbF(1, 1, 1, 0.55));
    shine.setColorAt(1, QColor::fromRgbF(1, 1, 1, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(shine);
    const qreal radius = 0.18 * window.width();
    p.drawRoundedRect(local, radius, radius);
}

void AnalogClockView::drawHands(QPainter* painter, qreal side, const HandComps& c) const {
    const qreal S = side;
    const qreal R = S / 2;
    struct Hand {
        double length, width;
        QColor colour;
        double tail, degrees;
    };
    const Hand hands[] = {
        {0.5 * R, 0.028 * S, Qt::white, 0.12 * R, c.h / 12 * 360},
        {0.72 * R, 0.02 * S, Qt::white, 0.14 * R, c.m / 60 * 360},
        {0.78 * R, 0.007 * S, Theme::green(), 0.2 * R, c.s / 60 * 360},
    };
    painter->setPen(Qt::NoPen);
    for (const Hand& hand : hands) {
        const QPainterPath path = handPath(hand.length, hand.width, hand.tail);
        painter->save();
        painter->translate(R, R);
        painter->save();
        painter->translate(0, 1);
        painter->rotate(hand.degrees);
        painter->setBrush(QColor::fromRgbF(0, 0, 0, 0.4));
        painter->drawPath(path);
        painter->restore();
        painter->rotate(hand.degrees);
        painter->setBrush(hand.colour);
        painter->drawPath(path);
        painter->restore();
    }
    const qreal hub = 0.05 * S;
    painter->setBrush(grey(0.85));
    painter->drawEllipse(QRectF(R - hub / 2, R - hub / 2, hub, hub));
    const qreal cap = 0.022 * S;
    painter->setBrush(grey(0.2));
    painter->drawEllipse(QRectF(R - cap / 2, R - cap / 2, cap, cap));
}

void AnalogClockView::paint(QPainter* painter) {
    const qreal side = qMin(width(), height());
    if (!(side > 0)) return;
    const qreal dpr = window() ? window()->effectiveDevicePixelRatio() : 1.0;
    const qreal pixelScale = renderScale() * dpr;
    if (!qFuzzyCompare(side, cachedSide_) || !qFuzzyCompare(pixelScale, cachedPixelScale_)) {
        renderStaticLayer(side, pixelScale);
        renderGloss(side, pixelScale);
        cachedSide_ = side;
        cachedPixelScale_ = pixelScale;
        dayFont_.setPixelSize(qMax(1, qRound(0.62 * 0.15 * side)));
    }

    const std::int64_t now = Clock::nowMs();
    const int day = dayOfMonth(now, tzOffsetHours_);
    if (day != lastDay_) {
        lastDay_ = day;
        dayText_ = QString::number(day);
        emit dayTextChanged();
    }

    painter->setRenderHint(QPainter::Antialiasing);
    painter->setRenderHint(QPainter::SmoothPixmapTransform);
    // The square dial sits centred in whatever rectangle it is given.
    painter->translate((width() - side) / 2, (height() - side) / 2);
    painter->drawImage(QRectF(0, 0, side, side), staticLayer_);

    const QRectF window = dayWindowRect(side);
    painter->setFont(dayFont_);
    painter->setPen(Qt::black);
    painter->drawText(window, Qt::AlignCenter, dayText_);
    painter->drawImage(window, gloss_);

    drawHands(painter, side, handComps(now, tzOffsetHours_));
}
