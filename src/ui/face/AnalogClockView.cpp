#include "AnalogClockView.h"

#include "PlaceTime.h"
#include "platform/Clock.h"
#include "platform/Http.h"
#include "ui/common/ScaledPaintedItem.h"
#include "ui/common/SymbolIcon.h"
#include "ui/common/Theme.h"

#include <QConicalGradient>
#include <QFileInfo>
#include <QImageReader>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QQuickWindow>
#include <QRadialGradient>
#include <QSvgRenderer>
#include <QtMath>
#include <algorithm>
#include <array>
#include <chrono>
#include <cmath>
#include <functional>

namespace {

constexpr int kMinFrameIntervalMs = 16;   // at most 60 frames a second
constexpr int kMaxFrameIntervalMs = 100;  // and never fewer than 10
// A frame is due when the second hand's tip has moved one device pixel: a finer step changes no pixel
// anyone sees, and each frame of the software renderer wakes Qt's image thread pool for the fills it
// redraws under the hand, so half the frames is half the idle cost of a visible face.
constexpr double kTipStepPixels = 1.0;
constexpr qint64 kMaxLogoBytes = 4 * 1024 * 1024;
constexpr std::chrono::seconds kLogoTimeout{30};

QColor grey(double level, double alpha = 1.0) {
    return QColor::fromRgbF(level, level, level, alpha);
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

struct HandSpec {
    double length, width, tail;  // fractions: length and tail of R, width of S
    bool green;
};
constexpr std::array<HandSpec, 3> kHands{{
    {0.5, 0.028, 0.12, false},
    {0.72, 0.02, 0.14, false},
    {0.78, 0.007, 0.2, true},
}};
constexpr qreal kHandMargin = 2;  // room for the shadow around a hand's capsule

}  // namespace

// One separately textured part of the dial; the dial decides what it draws and where it stands.
class DialPiece : public ScaledPaintedItem {
  public:
    DialPiece(QQuickItem* parent, std::function<void(QPainter*)> draw)
        : ScaledPaintedItem(parent), draw_(std::move(draw)) {}
    void paint(QPainter* painter) override {
        painter->setRenderHint(QPainter::Antialiasing);
        painter->setRenderHint(QPainter::SmoothPixmapTransform);
        draw_(painter);
    }

  private:
    std::function<void(QPainter*)> draw_;
};

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

AnalogClockView::AnalogClockView(QQuickItem* parent) : QQuickItem(parent), frameTimer_(this) {
    frameTimer_.setObjectName(QStringLiteral("frameTimer"));
    frameTimer_.setTimerType(Qt::PreciseTimer);
    frameTimer_.setInterval(kMinFrameIntervalMs);
    connect(&frameTimer_, &QTimer::timeout, this, &AnalogClockView::tick);
    connect(this, &QQuickItem::visibleChanged, this, &AnalogClockView::updateFrameTimer);
    face_ = new DialPiece(this, [this](QPainter* p) { drawFace(p); });
    day_ = new DialPiece(this, [this](QPainter* p) { drawDay(p); });
    for (int i = 0; i < 3; ++i) hands_[i] = new DialPiece(this, [this, i](QPainter* p) { drawHand(p, i); });
    hub_ = new DialPiece(this, [this](QPainter* p) { drawHub(p); });
    tick();
}

AnalogClockView::~AnalogClockView() = default;

void AnalogClockView::setTzOffsetHours(double hours) {
    if (hours == tzOffsetHours_ || (std::isnan(hours) && std::isnan(tzOffsetHours_))) return;
    tzOffsetHours_ = hours;
    tick();
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
    QQuickItem::itemChange(change, value);
    if (change != ItemSceneChange) return;
    if (watchedWindow_) disconnect(watchedWindow_, nullptr, this, nullptr);
    watchedWindow_ = value.window;
    if (watchedWindow_)
        connect(watchedWindow_, &QWindow::visibilityChanged, this, &AnalogClockView::updateFrameTimer);
    updateFrameTimer();
}

void AnalogClockView::geometryChange(const QRectF& newGeometry, const QRectF& oldGeometry) {
    QQuickItem::geometryChange(newGeometry, oldGeometry);
    if (newGeometry.size() != oldGeometry.size()) layoutPieces();
    updateFrameTimer();
}

qreal AnalogClockView::side() const {
    return std::max<qreal>(0, std::min(width(), height()));
}

void AnalogClockView::layoutPieces() {
    const qreal S = side();
    const qreal R = S / 2;
    // The square dial stands centred in whatever rectangle it is given.
    const QPointF origin((width() - S) / 2, (height() - S) / 2);
    face_->setPosition(origin);
    face_->setSize(QSizeF(S, S));
    const QRectF window = dayWindowRect(S);
    day_->setPosition(origin + window.topLeft());
    day_->setSize(window.size());
    for (int i = 0; i < 3; ++i) {
        const HandSpec& spec = kHands[i];
        const qreal w = spec.width * S + 2 * kHandMargin;
        const qreal h = (spec.length + spec.tail) * R + 2 * kHandMargin;
        hands_[i]->setPosition(origin + QPointF(R - w / 2, R - spec.length * R - kHandMargin));
        hands_[i]->setSize(QSizeF(w, h));
        hands_[i]->setTransformOriginPoint(QPointF(w / 2, spec.length * R + kHandMargin));
        hands_[i]->update();
    }
    const qreal hub = 0.05 * S;
    hub_->setPosition(origin + QPointF(R - hub / 2, R - hub / 2));
    hub_->setSize(QSizeF(hub, hub));
    face_->update();
    day_->update();
    hub_->update();
}

int AnalogClockView::frameIntervalMs() const {
    const qreal dpr = window() ? window()->effectiveDevicePixelRatio() : 1.0;
    const double tipPixels = kHands[2].length * side() / 2 * hands_[2]->renderScale() * dpr;
    if (!(tipPixels > 0)) return kMaxFrameIntervalMs;
    // The second hand turns 6 degrees a second.
    const double ms = qRadiansToDegrees(kTipStepPixels / tipPixels) / 6.0 * 1000.0;
    return std::clamp(static_cast<int>(ms), kMinFrameIntervalMs, kMaxFrameIntervalMs);
}

void AnalogClockView::tick() {
    const int interval = frameIntervalMs();
    if (interval != frameTimer_.interval()) frameTimer_.setInterval(interval);
    const std::int64_t now = Clock::nowMs();
    const HandComps c = handComps(now, tzOffsetHours_);
    // The hour and minute hands move a tenth of a degree a second or less: turning them only when that
    // moves their tips by a visible fraction of a point keeps each frame's redrawn area to the second
    // hand, with the same picture.
    const double angles[3] = {c.h / 12 * 360, c.m / 60 * 360, c.s / 60 * 360};
    for (int i = 0; i < 3; ++i) {
        const double tip = kHands[i].length * side() / 2;
        const double visibleStep = tip > 0 ? qRadiansToDegrees(0.25 / tip) : 0;
        const double turn = std::abs(angles[i] - hands_[i]->rotation());
        if (i == 2 || turn >= visibleStep || turn > 180) hands_[i]->setRotation(angles[i]);
    }
    const int day = dayOfMonth(now, tzOffsetHours_);
    if (day != lastDay_) {
        lastDay_ = day;
        dayText_ = QString::number(day);
        day_->update();
        emit dayTextChanged();
    }
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
    // A stored logo is never larger than its download could be; a bigger file is not read.
    if (logoUrl_.isLocalFile() && QFileInfo(logoUrl_.toLocalFile()).size() <= Http::pictureMaxBytes) {
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
    face_->update();  // the logo is part of the face's texture
}

void AnalogClockView::drawFace(QPainter* painter) const {
    QPainter& p = *painter;
    p.setPen(Qt::NoPen);
    const qreal S = side();
    if (!(S > 0)) return;
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

void AnalogClockView::drawDay(QPainter* painter) const {
    const QRectF local(0, 0, day_->width(), day_->height());
    if (local.isEmpty()) return;
    QFont font(Theme::fontFamily());
    font.setWeight(QFont::Bold);
    font.setPixelSize(qMax(1, qRound(0.62 * local.width())));
    painter->setFont(font);
    painter->setPen(Qt::black);
    painter->drawText(local, Qt::AlignCenter, dayText_);
    // The glass: white fading out towards the middle, over the day.
    QLinearGradient shine(local.topLeft(), local.center());
    shine.setColorAt(0, QColor::fromRgbF(1, 1, 1, 0.55f));
    shine.setColorAt(1, QColor::fromRgbF(1, 1, 1, 0));
    painter->setPen(Qt::NoPen);
    painter->setBrush(shine);
    const qreal radius = 0.18 * local.width();
    painter->drawRoundedRect(local, radius, radius);
}

void AnalogClockView::drawHand(QPainter* painter, int hand) const {
    const qreal S = side();
    const qreal R = S / 2;
    const HandSpec& spec = kHands[hand];
    const qreal w = spec.width * S;
    const qreal length = spec.length * R;
    const qreal tail = spec.tail * R;
    const QRectF capsule(kHandMargin, kHandMargin, w, length + tail);
    painter->setPen(Qt::NoPen);
    painter->setBrush(QColor::fromRgbF(0, 0, 0, 0.4f));
    painter->drawRoundedRect(capsule.translated(0, 1), w / 2, w / 2);
    painter->setBrush(spec.green ? Theme::green() : QColor(Qt::white));
    painter->drawRoundedRect(capsule, w / 2, w / 2);
}

void AnalogClockView::drawHub(QPainter* painter) const {
    const qreal hub = hub_->width();
    if (!(hub > 0)) return;
    painter->setPen(Qt::NoPen);
    painter->setBrush(grey(0.85));
    painter->drawEllipse(QRectF(0, 0, hub, hub));
    const qreal cap = 0.022 * side();
    painter->setBrush(grey(0.2));
    painter->drawEllipse(QRectF((hub - cap) / 2, (hub - cap) / 2, cap, cap));
}
