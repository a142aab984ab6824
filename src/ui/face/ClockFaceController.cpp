#include "ClockFaceController.h"

#include "FaceAddresses.h"
#include "FaceLines.h"
#include "PlaceDateFormat.h"
#include "PlaceTime.h"
#include "PrayerCells.h"
#include "StatusPills.h"
#include "engine/NasaSunImage.h"
#include "engine/SunPictureFeed.h"
#include "model/Server.h"
#include "platform/Clock.h"
#include "platform/Endpoints.h"

#include <QJsonDocument>
#include <cmath>

namespace {

ClockFaceLayout::SidePanelTheme sidePanelsOf(const ClockBundle& bundle) {
    ClockFaceLayout::SidePanelTheme t;
    if (!bundle.theme) return t;
    t.present = true;
    t.sunInClock = bundle.theme->sunInClock;
    t.moonInClock = bundle.theme->moonInClock;
    if (bundle.theme->sunSize) t.sunSize = static_cast<double>(*bundle.theme->sunSize);
    if (bundle.theme->moonSize) t.moonSize = static_cast<double>(*bundle.theme->moonSize);
    return t;
}

}  // namespace

ClockFaceController::ClockFaceController(QObject* parent) : QObject(parent), clockTimer_(this) {
    // The on-device Hijri date with the confirmed day offset, paired with the place's day as the bundle's is.
    hijriSource_ = [](std::int64_t ms,
                      const LocalHijri::Location& place) -> std::optional<std::array<int, 3>> {
        const QDateTime instant = QDateTime::fromMSecsSinceEpoch(ms, Qt::UTC);
        const LocalHijri::YMD ymd = LocalHijri::displayYMD(instant, place, instant);
        return std::array<int, 3>{ymd.year, ymd.month, ymd.day};
    };
    clockTimer_.setTimerType(Qt::PreciseTimer);
    clockTimer_.setSingleShot(true);
    connect(&clockTimer_, &QTimer::timeout, this, [this] {
        setNow(static_cast<double>(Clock::nowMs()));
        // The next tick lands just after the next whole second.
        clockTimer_.start(static_cast<int>(1000 - Clock::nowMs() % 1000) + 5);
    });
    connect(this, &ClockFaceController::bundleChanged, this, &ClockFaceController::statusPillsChanged);
    connect(&SunPictureFeed::shared(), &SunPictureFeed::workedChanged, this,
            &ClockFaceController::statusPillsChanged);
    nowMs_ = Clock::nowMs();
    refreshTime();
    refreshDate(true);
}

void ClockFaceController::setBundle(const ClockBundle& bundle) {
    bundle_ = bundle;
    sidePanels_ = sidePanelsOf(bundle_);
    refreshTime();
    refreshDate(true);
    emit bundleChanged();
    emit layoutChanged();
    emit timeChanged();
}

bool ClockFaceController::loadBundleJson(const QByteArray& json) {
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(json, &error);
    if (error.error != QJsonParseError::NoError || !document.isObject()) return false;
    const std::optional<ClockBundle> bundle = ClockBundle::fromJson(document.object());
    if (!bundle) return false;
    setBundle(*bundle);
    return true;
}

void ClockFaceController::setHijriSource(HijriSource source) {
    if (!source) return;
    hijriSource_ = std::move(source);
    refreshDate(true);
}

std::optional<QString> ClockFaceController::playAdhanKey(const ClockBundle& bundle) {
    if (!bundle.adhan) return std::nullopt;
    const QString key = bundle.nextPrayer.key;
    return key == QLatin1String("sunrise") ? QStringLiteral("dhuhr") : key;
}

void ClockFaceController::setNow(double msSinceEpoch) {
    if (!std::isfinite(msSinceEpoch)) return;
    const auto ms = static_cast<std::int64_t>(msSinceEpoch);
    if (ms == nowMs_) return;
    nowMs_ = ms;
    refreshTime();
    refreshDate(false);
    emit timeChanged();
}

void ClockFaceController::setFollowsClock(bool follow) {
    if (follow == followsClock()) return;
    if (follow) {
        setNow(static_cast<double>(Clock::nowMs()));
        clockTimer_.start(static_cast<int>(1000 - Clock::nowMs() % 1000) + 5);
    } else {
        clockTimer_.stop();
    }
    emit followsClockChanged();
}

void ClockFaceController::setUse24HourClock(bool use) {
    if (use == use24HourClock_) return;
    use24HourClock_ = use;
    refreshTime();
    emit settingsChanged();
    emit timeChanged();
    emit bundleChanged();  // the prayer times and the next-prayer line change form too
}

void ClockFaceController::setLearnAdhanButtonTitle(const QString& title) {
    if (title == learnAdhanButtonTitle_) return;
    learnAdhanButtonTitle_ = title;
    emit settingsChanged();
    emit bundleChanged();
}

void ClockFaceController::setClockId(const QString& id) {
    if (id == clockId_) return;
    clockId_ = id;
    emit settingsChanged();
    emit bundleChanged();
}

void ClockFaceController::setDialLogoUrl(const QUrl& url) {
    if (url == dialLogoUrl_) return;
    dialLogoUrl_ = url;
    emit bundleChanged();
}

void ClockFaceController::setLogoCacheDir(const QString& dir) {
    if (dir == logoCacheDir_) return;
    logoCacheDir_ = dir;
    emit bundleChanged();
}

void ClockFaceController::setWindowWidth(double width) {
    if (!std::isfinite(width) || width == windowWidth_) return;
    const bool wasWide = wide();
    windowWidth_ = width;
    emit layoutChanged();
    if (wide() != wasWide) emit wideChanged();
}

void ClockFaceController::setWindowHeight(double height) {
    if (!std::isfinite(height) || height == windowHeight_) return;
    windowHeight_ = height;
    emit layoutChanged();
}

QString ClockFaceController::sunImageUrl() const {
    if (bundle_.theme && bundle_.theme->sunImageUrl) return *bundle_.theme->sunImageUrl;
    return NasaSunImage::defaultURL().toString();
}

double ClockFaceController::sunPanelSize(double flankWidth) const {
    return ClockFaceLayout::sidePanelSize(flankWidth, sidePanels_.sunSize);
}

double ClockFaceController::moonPanelSize(double flankWidth) const {
    return ClockFaceLayout::sidePanelSize(flankWidth, sidePanels_.moonSize);
}

QVariantMap ClockFaceController::labels() const {
    static const char* const kKeys[] = {"play_adhan",     "read_quran",   "calendar",   "sky_map",
                                        "upcoming_dates", "today",        "days_short", "adhan_now",
                                        "adhan_for",      "rk_rakats",    "stop",       "status_alerts",
                                        "street_view",    "map_north_up", "learn_adhan"};
    QVariantMap map;
    for (const char* key : kKeys) map.insert(QLatin1String(key), bundle_.label(QLatin1String(key)));
    return map;
}

QString ClockFaceController::cityTitle() const {
    return FaceLines::cityTitle(bundle_);
}
QString ClockFaceController::nextPrayerLine() const {
    return FaceLines::nextPrayerLine(bundle_, use24HourClock_);
}

QString ClockFaceController::learnButtonTitle() const {
    return FaceLines::learnButtonTitle(learnAdhanButtonTitle_, bundle_);
}

QVariantList ClockFaceController::prayerCells() const {
    return PrayerCells::toVariant(
        PrayerCells::cells(bundle_, use24HourClock_, QLocale(bundle_.lang), PrayerCells::faceOrder()));
}

QVariantList ClockFaceController::statusPills() const {
    return StatusPills::toVariant(StatusPills::pills(bundle_, SunPictureFeed::shared().worked()));
}

QVariantList ClockFaceController::events() const {
    QVariantList list;
    for (const Event& e : bundle_.events)
        list.append(QVariantMap{{"id", e.id()},
                                {"name", e.name},
                                {"gregorian", e.gregorian},
                                {"inDays", e.inDays},
                                {"hijriDay", e.hijriDay},
                                {"hijriMonthName", e.hijriMonthName}});
    return list;
}

QVariantMap ClockFaceController::moon() const {
    const Moon& m = bundle_.moon;
    return {{"illumination", static_cast<double>(m.illuminationPct) / 100.0},
            {"waxing", m.waxing},
            {"nameKey", m.nameKey.value_or(QString())},
            {"phaseName", m.phaseName}};
}

QString ClockFaceController::networkCredit() const {
    return FaceLines::credits(bundle_, clockId_).network;
}
QString ClockFaceController::feedsCredit() const {
    return FaceLines::credits(bundle_, clockId_).feeds;
}
QString ClockFaceController::clockIdLine() const {
    return FaceLines::credits(bundle_, clockId_).clockId;
}

QUrl ClockFaceController::logoUrl() const {
    const std::optional<QUrl> chosen =
        dialLogoUrl_.isEmpty() ? std::nullopt : std::optional<QUrl>(dialLogoUrl_);
    return FaceAddresses::logoURL(chosen, bundle_.branding, Server::baseURL(), logoCacheDir_)
        .value_or(QUrl());
}

QUrl ClockFaceController::planetariumUrl() const {
    return FaceAddresses::planetariumURL(nowMs_, bundle_.location, Endpoints::current().planetarium);
}

void ClockFaceController::reportContentHeight(double height) {
    const std::optional<double> taken = ClockFaceLayout::acceptedContentHeight(height, contentH_);
    if (!taken) return;
    contentH_ = *taken;
    faceAspect_ = ClockFaceLayout::faceAspect(contentH_);
    emit layoutChanged();
    emit faceAspectChanged(faceAspect_);
}

void ClockFaceController::reportCenterColumnHeight(double height) {
    const std::optional<double> taken = ClockFaceLayout::acceptedRowHeight(height, mainRowH_);
    if (!taken) return;
    mainRowH_ = *taken;
    emit layoutChanged();
}

void ClockFaceController::playAdhan() {
    if (const std::optional<QString> key = playAdhanKey(bundle_)) emit playAdhanRequested(*key);
}

void ClockFaceController::openSettings() {
    emit settingsRequested();
}

void ClockFaceController::refreshTime() {
    digitalTime_ =
        FaceLines::digitalTime(nowMs_, bundle_.location.tzOffsetHours, bundle_.lang, use24HourClock_);
}

void ClockFaceController::refreshDate(bool force) {
    // Both dates belong to the place's day: they are rebuilt only when it moves on.
    const LocationInfo& at = bundle_.location;
    const PlaceTime::Fields f = PlaceTime::fields(nowMs_, at.tzOffsetHours);
    const int dayKey = f.year * 400 + f.month * 32 + f.day;
    if (!force && dayKey == shownDayKey_) return;
    shownDayKey_ = dayKey;
    gregorianText_ = FaceLines::gregorianText(nowMs_, at.tzOffsetHours, bundle_.lang);
    const auto hijri = hijriSource_(nowMs_, LocalHijri::Location{at.lat, at.lon, at.tzOffsetHours});
    hijriText_ = hijri ? FaceLines::hijriText((*hijri)[2], FaceLines::hijriMonthName((*hijri)[1], bundle_),
                                              (*hijri)[0])
                       : QString();
    emit dateChanged();
}
