#include "clock/ClockViewModel.h"

#include "clock/AdhanCall.h"
#include "clock/AdhanPlayer.h"
#include "clock/AppEvents.h"
#include "clock/BundleRollover.h"
#include "clock/ClockLoadSteps.h"
#include "clock/MacPrayerAlarmService.h"
#include "clock/NotificationScheduler.h"
#include "engine/CivilDay.h"
#include "engine/LocalBundleBuilder.h"
#include "engine/LocalHijri.h"
#include "engine/NetworkDiscipline.h"
#include "engine/OfflinePlaces.h"
#include "platform/Clock.h"
#include "platform/DefaultsStore.h"
#include "platform/Endpoints.h"
#include "platform/SystemTimeZone.h"
#include "services/AppSettings.h"
#include "services/LocationManager.h"

#include <QJsonDocument>
#include <QLoggingCategory>
#include <algorithm>
#include <cmath>

namespace {

Q_LOGGING_CATEGORY(lcClockState, "orvane.clock")

QString placeName(const ClockBundle& bundle) {
    return bundle.location.city.value_or(QStringLiteral("an unnamed place"));
}

bool isMissing(double lat, double lon) {
    return !std::isfinite(lat) || !std::isfinite(lon) || (std::abs(lat) < 0.001 && std::abs(lon) < 0.001);
}

// A presence check-in needs the town, not the street: one decimal is about 11 km.
double coarse(double degrees) {
    return std::round(degrees * 10.0) / 10.0;
}

ClockViewModel::Collaborators withDefaults(ClockViewModel::Collaborators c) {
    if (!c.player) c.player = &AdhanPlayer::shared();
    if (!c.notifications) c.notifications = &NotificationScheduler::shared();
    if (!c.alarms) c.alarms = &MacPrayerAlarmService::shared();
    if (!c.systemZone) c.systemZone = &SystemTimeZone::shared();
    return c;
}

}  // namespace

ClockViewModel::ClockViewModel(AppSettings& settings, ClockLoadSteps& steps, QObject* parent)
    : ClockViewModel(settings, steps, Collaborators{}, parent) {}

ClockViewModel::ClockViewModel(AppSettings& settings, ClockLoadSteps& steps, Collaborators collaborators,
                               QObject* parent)
    : QObject(parent),
      settings_(settings),
      steps_(steps),
      with_(withDefaults(collaborators)),
      now_(Clock::now()),
      called_(settings.store()) {
    // Coarse, like the alarm and notification checks, so the three wake the process once a second together.
    timer_.setInterval(1000);
    timer_.setTimerType(Qt::CoarseTimer);
    connect(&timer_, &QTimer::timeout, this, &ClockViewModel::tick);
    // "OrvanePlayPrayer" is answered here rather than by a view, so the call still plays with every window
    // closed; the alarm timer and the notifications both post it and the once-per-day guard makes it one
    // call.
    connect(&AppEvents::shared(), &AppEvents::playPrayer, this,
            [this](const QString& prayer, bool force) { triggerAdhan(prayer, force); });
    // Switching the call off must also silence the week of notifications already scheduled, not only the
    // ones the next load would schedule.
    connect(&settings_, &AppSettings::notifyModeChanged, this, [this] {
        if (bundle_) with_.notifications->reschedule(*bundle_, settings_.snapshot());
    });
    connect(with_.systemZone, &SystemTimeZone::changed, this, &ClockViewModel::deviceZoneChanged);
}

ClockViewModel::~ClockViewModel() = default;

QString ClockViewModel::cachedBundleKey(const QString& deviceId) {
    return QStringLiteral("cachedBundle.") + deviceId;
}

void ClockViewModel::setLocationManager(LocationManager* manager) {
    if (locationManager_) disconnect(locationManager_, nullptr, this, nullptr);
    locationManager_ = manager;
    if (manager)
        connect(manager, &LocationManager::coordinateChanged, this, &ClockViewModel::devicePlaceChanged);
}

void ClockViewModel::devicePlaceChanged() {
    // Without a bundle the shell loads the first place itself; a fixed place ignores the device.
    if (!bundle_ || settings_.useManualLocation() || !locationManager_ || !locationManager_->hasCoordinate())
        return;
    const double lat = locationManager_->latitude();
    const double lon = locationManager_->longitude();
    if (isMissing(lat, lon)) return;
    if (OfflinePlaces::distanceKm(bundle_->location.lat, bundle_->location.lon, lat, lon) >
        devicePlaceMovedKm)
        reloadSoftly();
}

void ClockViewModel::setFaceAspect(double aspect) {
    if (!std::isfinite(aspect) || aspect <= 0 || aspect == faceAspect_) return;
    faceAspect_ = aspect;
    emit faceAspectChanged();
}

bool ClockViewModel::hydrateFromCache() {
    const DefaultsStore& store = settings_.store();
    const QString key = cachedBundleKey(settings_.deviceId());
    std::optional<QByteArray> bytes = store.data(key);
    if (!bytes) {
        if (const std::optional<QString> text = store.string(key)) bytes = text->toUtf8();
    }
    if (!bytes || bytes->isEmpty()) return false;
    QJsonParseError error{};
    const QJsonDocument doc = QJsonDocument::fromJson(*bytes, &error);
    if (error.error != QJsonParseError::NoError) return false;
    std::optional<ClockBundle> cached = ClockBundle::fromJson(doc.object());
    if (!cached) return false;
    qCInfo(lcClockState).noquote() << "showing the cached bundle for" << placeName(*cached);
    publish(std::move(*cached));
    return true;
}

void ClockViewModel::publish(ClockBundle bundle) {
    bundle.nextPrayer = LocalBundleBuilder::computeNext(bundle.prayers, Clock::now(),
                                                        bundle.location.tzOffsetHours, bundle.labels);
    schedule_ = PrayerSchedule::dayOf(bundle);
    bundle_ = std::move(bundle);
    emit bundleChanged();
}

void ClockViewModel::cacheBundle(const ClockBundle& bundle, double lat, double lon) {
    // A bundle that cannot be written as JSON (a number that is not finite would come back as null and
    // fail to decode at the next start) must not replace a good cached one.
    const std::optional<QByteArray> bytes = JsonCoding::encodeRecord(bundle);
    if (!bytes) {
        qCWarning(lcClockState).noquote() << "not caching the bundle for" << placeName(bundle)
                                          << "- it holds a number that cannot be stored";
        return;
    }
    DefaultsStore& store = settings_.store();
    const QString deviceId = settings_.deviceId();
    store.setData(cachedBundleKey(deviceId), *bytes);
    store.setDouble(QStringLiteral("cachedBundleLat.") + deviceId, lat);
    store.setDouble(QStringLiteral("cachedBundleLon.") + deviceId, lon);
}

void ClockViewModel::keep(const ClockBundle& bundle, double lat, double lon) {
    cacheBundle(bundle, lat, lon);
    with_.notifications->reschedule(bundle, settings_.snapshot());
    with_.alarms->reschedule(bundle);
}

QCoro::Task<bool> ClockViewModel::load(double lat, double lon, std::optional<QString> cityOverride,
                                       std::optional<QString> countryOverride, bool force) {
    const std::uint64_t generation = ++loadGeneration_;
    newestLoadStartMs_ = Clock::nowMs();
    ++loadsInFlight_;
    // The clock state may be gone when a step returns; nothing of it is touched then.
    const QPointer<ClockViewModel> self(this);
    struct InFlight {
        QPointer<ClockViewModel> owner;
        ~InFlight() {
            if (owner) --owner->loadsInFlight_;
        }
    } inFlight{self};
    const auto overtaken = [self, generation] { return !self || generation != self->loadGeneration_; };

    SettingsSnapshot settings = buildSettings();
    NetworkDiscipline::prune(settings);
    // With nothing on screen yet, the first face does not wait for the server's word on the Hijri day (a
    // server that never answers would hold it for the whole timeout); the word, when it comes, is applied
    // below. With a face shown, the bundle is built on the confirmed day as usual.
    const bool firstFace = !bundle_;
    QCoro::Task<> hijri = steps_.syncHijri(lat, lon, Clock::now(), force);
    if (!firstFace) {
        co_await std::move(hijri);
        if (overtaken()) co_return false;
    }
    ClockBundle bundle = co_await steps_.build(lat, lon, settings, cityOverride, countryOverride, force);
    if (overtaken()) co_return false;

    const LocationInfo& place = bundle.location;
    const double placeLat = isMissing(place.lat, place.lon) ? lat : place.lat;
    const double placeLon = isMissing(place.lat, place.lon) ? lon : place.lon;
    settings_.persistResolvedLocation(place.city, placeLat, placeLon, std::nullopt, place.tzOffsetHours);
    publish(bundle);
    lastFullLoadMs_ = Clock::nowMs();
    // The asset syncs go to the own server, which may take a minute per request or never answer. The
    // cached bundle, the week of notifications and the alarm service's copy of today must not wait on it:
    // a quit in that minute would lose the bundle, and a prayer in it would find the alarms on old times.
    QCoro::Task<std::optional<ThemeConfig>> assets = steps_.syncAssets(settings, bundle, force);
    keep(bundle, placeLat, placeLon);
    qCInfo(lcClockState).noquote() << "loaded the bundle for" << placeName(bundle);
    co_await raiseEmergencyAlerts(bundle);
    if (overtaken()) co_return false;
    if (firstFace) {
        co_await std::move(hijri);
        if (overtaken()) co_return false;
        if (!showsConfirmedHijriDay(bundle)) {
            bundle = co_await steps_.build(lat, lon, settings, cityOverride, countryOverride, false);
            if (overtaken()) co_return false;
            publish(bundle);
            keep(bundle, placeLat, placeLon);
        }
    }

    const std::optional<ThemeConfig> theme = co_await std::move(assets);
    if (overtaken()) co_return false;
    if (dialLogoURL_.isEmpty() || repickDialLogo_) {
        // Once per run (or per fresh reopen), so the rotation moves one step per start, not per reload.
        const ClockLoadSteps::DialLogoPick pick = steps_.pickDialLogo(settings_.logoRotateIndex());
        if (pick.url && !pick.url->isEmpty()) {
            repickDialLogo_ = false;
            settings_.setLogoRotateIndex(pick.nextRotateIndex);
            if (*pick.url != dialLogoURL_) {
                dialLogoURL_ = *pick.url;
                emit dialLogoURLChanged();
            }
        }
    }
    // The bundle was built before the server's theme arrived; a changed one shows now, not a load later.
    if (theme && bundle.theme != theme) {
        bundle.theme = theme;
        publish(bundle);
        cacheBundle(bundle, placeLat, placeLon);
    }
    co_await presencePing(settings_, placeLat, placeLon, bundle, false);
    co_return static_cast<bool>(self);
}

std::optional<ClockViewModel::Place> ClockViewModel::bestKnownPlace() {
    if (settings_.hasManualCoordinates()) {
        const QString city = settings_.manualCity().trimmed();
        return Place{settings_.manualLat(), settings_.manualLon(),
                     city.isEmpty() ? std::nullopt : std::optional(city)};
    }
    if (locationManager_ && locationManager_->hasCoordinate() &&
        !isMissing(locationManager_->latitude(), locationManager_->longitude()))
        return Place{locationManager_->latitude(), locationManager_->longitude(), std::nullopt};
    const DefaultsStore& store = settings_.store();
    const QString deviceId = settings_.deviceId();
    const double lat = store.doubleValue(QStringLiteral("cachedBundleLat.") + deviceId);
    const double lon = store.doubleValue(QStringLiteral("cachedBundleLon.") + deviceId);
    if (!isMissing(lat, lon)) return Place{lat, lon, std::nullopt};
    if (bundle_ && !isMissing(bundle_->location.lat, bundle_->location.lon))
        return Place{bundle_->location.lat, bundle_->location.lon, std::nullopt};
    return std::nullopt;
}

QCoro::Task<bool> ClockViewModel::resolveAndLoad(bool force) {
    // A travelling computer: the fix answers later, and devicePlaceChanged reloads when it moved.
    if (!settings_.useManualLocation() && locationManager_) locationManager_->requestLocation();
    const std::optional<Place> place = bestKnownPlace();
    if (!place) co_return false;
    co_return co_await load(place->lat, place->lon, place->city, std::nullopt, force);
}

bool ClockViewModel::showsConfirmedHijriDay(const ClockBundle& bundle) {
    const QDateTime now = Clock::now();
    const LocalHijri::Location place{bundle.location.lat, bundle.location.lon, bundle.location.tzOffsetHours};
    const LocalHijri::YMD confirmed = LocalHijri::displayYMD(now, place, now);
    const Hijri& shown = bundle.date.hijri;
    return confirmed.year == shown.year && confirmed.month == shown.month && confirmed.day == shown.day;
}

void ClockViewModel::startTicking() {
    if (timer_.isActive()) return;
    tick();
    timer_.start();
}

void ClockViewModel::stopTicking() {
    timer_.stop();
}

void ClockViewModel::tick() {
    const std::int64_t nowMs = Clock::nowMs();
    now_ = QDateTime::fromMSecsSinceEpoch(nowMs, Qt::UTC);
    emit nowChanged();
    followTheDay(nowMs);
    if (bundle_) {
        NextPrayer next = LocalBundleBuilder::computeNext(bundle_->prayers, now_,
                                                          bundle_->location.tzOffsetHours, bundle_->labels);
        NextPrayer& held = bundle_->nextPrayer;
        if (next.key != held.key || next.name != held.name || next.time != held.time) {
            held = std::move(next);
            emit bundleChanged();
        }
        checkPrayerTriggers(nowMs);
    }
    if (++tickCount_ % refreshCheckEveryTicks == 0) {
        // In case a change of the computer's zone went by unannounced (a watch the system did not allow).
        with_.systemZone->recheck();
        maybeRefreshIfDue(nowMs);
    }
}

SettingsSnapshot ClockViewModel::buildSettings() const {
    SettingsSnapshot settings = settings_.snapshot();
    settings.devicePlace = !settings.useManualLocation;
    return settings;
}

void ClockViewModel::deviceZoneChanged() {
    // A fixed place keeps its own zone; the computer's own place reads the computer's clock.
    if (settings_.useManualLocation()) return;
    if (bundle_)
        followTheDay(Clock::nowMs(), true);
    else if (loadsInFlight_ > 0)
        reloadSoftly();  // the first load may have read the zone that just went
}

void ClockViewModel::followTheDay(std::int64_t nowMs, bool deviceZoneMoved) {
    if (!bundle_ || (!deviceZoneMoved && PrayerSchedule::holds(schedule_, nowMs))) return;
    // The network may hold the reload for a minute (the Hijri confirmation, the forecast, the alerts); a
    // prayer in that minute rings from the new day's times, computed here as the build computes them.
    qCInfo(lcClockState).noquote() << "the place's day or clock changed; carrying the prayer times of"
                                   << placeName(*bundle_) << "to it";
    const std::optional<std::int64_t> zoneChangeMs = schedule_.zoneChangeMs;
    const SettingsSnapshot settings = buildSettings();
    publish(BundleRollover::carriedTo(*bundle_, settings, nowMs));
    with_.alarms->reschedule(*bundle_);
    // The week's notifications keep their instants; their texts name the times on the computer's new clock.
    if (deviceZoneMoved) with_.notifications->reschedule(*bundle_, settings);
    const int offset = PrayerSchedule::offsetSeconds(bundle_->location.tzOffsetHours, nowMs);
    std::int64_t changedAtMs = CivilDay::startOfDayMs(CivilDay::dayOf(nowMs, offset), offset);
    if (zoneChangeMs && *zoneChangeMs <= nowMs) changedAtMs = std::max(changedAtMs, *zoneChangeMs);
    // A load begun since then builds for the new day (a start-up from yesterday's cached bundle); one begun
    // before may have built for the day that ended, and this one overtakes it.
    if (deviceZoneMoved || loadsInFlight_ == 0 || newestLoadStartMs_ < changedAtMs) reloadSoftly();
}

void ClockViewModel::checkPrayerTriggers(std::int64_t nowMs) {
    if (!bundle_) return;
    const PrayerSchedule::Minutes& minutes = schedule_.minutes;
    const int offset = PrayerSchedule::offsetSeconds(bundle_->location.tzOffsetHours, nowMs);
    const std::int64_t today = CivilDay::dayOf(nowMs, offset);
    for (int i = 0; i < PrayerSchedule::kCount; ++i) {
        if (!minutes[i]) continue;
        const std::int64_t at = PrayerSchedule::instantOf(today, *minutes[i], offset);
        const std::int64_t since = nowMs - at;
        if (since >= 0 && since < PrayerSchedule::kTriggerWindowMs && !called_.holds(i, today, at))
            triggerAdhan(QString(PrayerSchedule::keys[i]), *bundle_, false);
    }
}

void ClockViewModel::maybeRefreshIfDue(std::int64_t nowMs) {
    if (loadsInFlight_ > 0) return;
    const AppSettings& s = settings_;
    const int smallest = std::min({s.prayerRefreshHours(), s.weatherRefreshHours(), s.nasaRefreshHours(),
                                   s.alertsRefreshHours(), s.geoRefreshHours()});
    const std::int64_t dueAfterMs = std::int64_t(std::max(1, smallest)) * 3'600'000;
    if (lastFullLoadMs_ != 0 && nowMs - lastFullLoadMs_ < dueAfterMs) return;
    reloadSoftly();
}

void ClockViewModel::reloadSoftly() {
    // Fire and forget: the task finishes on its own and a newer load overtakes it.
    resolveAndLoad(false);
}

void ClockViewModel::triggerAdhan(const QString& prayer, bool force) {
    // A link or a notification may come in the second a wake leaves the old day's times shown.
    followTheDay(Clock::nowMs());
    if (bundle_) triggerAdhan(prayer, *bundle_, force);
}

void ClockViewModel::triggerAdhan(const QString& prayer, const ClockBundle& bundle, bool force) {
    const int index = PrayerSchedule::indexOf(prayer);
    if (index < 0) return;
    const std::int64_t nowMs = Clock::nowMs();
    const int offset = PrayerSchedule::offsetSeconds(bundle.location.tzOffsetHours, nowMs);
    const std::int64_t today = CivilDay::dayOf(nowMs, offset);
    const std::optional<int> minute = PrayerSchedule::minutesOf(bundle.prayers)[index];
    // A prayer with no time on the day's list (a link naming it) counts from the moment it sounds.
    const std::int64_t at = minute ? PrayerSchedule::instantOf(today, *minute, offset) : nowMs;
    if (!force && called_.holds(index, today, at)) return;
    // Played before its minute (testing the sound), the prayer's own call still rings at its minute; from
    // its minute on, the play is that call and the tick does not sound it again.
    if (!force || (minute && nowMs >= at)) called_.add(index, today, at);
    const bool friday = CivilDay::weekday(today) == 6;
    const AdhanPlayer::Call call = AdhanCall::compose(bundle, prayer, settings_.adhanLang(), friday);
    with_.player->play(call, settings_.notifyMode(), settings_.adhanLength(), force);
    emit adhanTriggered(prayer, force);
}

QCoro::Task<> ClockViewModel::raiseEmergencyAlerts(ClockBundle bundle) {
    DefaultsStore& store = settings_.store();
    const QString key = QStringLiteral("seenEmergencyIds.") + settings_.deviceId();
    QStringList seen = store.stringList(key).value_or(QStringList());
    QList<Alert> fresh;
    for (const Alert& alert : std::as_const(bundle.alerts)) {
        if (!alert.isSevere()) continue;
        const QString id = alert.id();
        if (id.isEmpty() || seen.contains(id)) continue;
        seen.append(id);
        fresh.append(alert);
    }
    if (fresh.isEmpty()) co_return;
    // Remembered before announcing, so a crash or a quit mid-way never announces the same alert twice.
    while (seen.size() > seenEmergencyLimit) seen.removeFirst();
    store.setStringList(key, seen);
    const bool ring = settings_.emergencyAlarm();
    bool rang = false;
    const QPointer<ClockViewModel> self(this);
    for (const Alert& alert : std::as_const(fresh)) {
        QString title = alert.event.value_or(alert.type.value_or(QString())).trimmed();
        if (title.isEmpty()) title = QStringLiteral("Emergency alert");
        QString body = alert.headline.value_or(QString()).trimmed();
        if (body.isEmpty()) {
            QStringList parts;
            if (alert.magnitude && std::isfinite(*alert.magnitude))
                parts << QStringLiteral("M") + QString::number(*alert.magnitude, 'f', 1);
            if (alert.place && !alert.place->trimmed().isEmpty()) parts << alert.place->trimmed();
            body = parts.join(QStringLiteral(" \u00b7 "));
        }
        if (!self) co_return;
        if (ring && !rang) {
            with_.player->startEmergency(title, body);
            rang = true;
        }
        co_await with_.notifications->postEmergency(alert.id(), title, body);
    }
}

QCoro::Task<bool> ClockViewModel::presencePing(AppSettings& settings, double lat, double lon,
                                               std::optional<ClockBundle> bundle, bool force,
                                               std::chrono::milliseconds timeout) {
    const std::int64_t nowMs = Clock::nowMs();
    if (!force && (checkinInFlight_ || (lastCheckinMs_ != 0 && nowMs - lastCheckinMs_ < checkinSpacingMs)))
        co_return false;
    QJsonObject body;
    body.insert(QStringLiteral("clock_id"), settings.ensureLocalClockId());
    body.insert(QStringLiteral("device_id"), settings.deviceId());
    body.insert(QStringLiteral("display_name"), AppSettings::sanitizeDisplayName(settings.displayName()));
    if (!isMissing(lat, lon)) {
        body.insert(QStringLiteral("lat"), coarse(lat));
        body.insert(QStringLiteral("lon"), coarse(lon));
    }
    if (bundle) {
        if (bundle->location.city && !bundle->location.city->isEmpty())
            body.insert(QStringLiteral("city"), *bundle->location.city);
        if (bundle->location.countryCode && !bundle->location.countryCode->isEmpty())
            body.insert(QStringLiteral("country_code"), *bundle->location.countryCode);
        if (std::isfinite(bundle->location.tzOffsetHours))
            body.insert(QStringLiteral("tz_offset_hours"), bundle->location.tzOffsetHours);
    }
    body.insert(QStringLiteral("app_version"), BuildInfo::version());
    body.insert(QStringLiteral("platform"), QStringLiteral("linux"));
    checkinInFlight_ = true;
    const QPointer<ClockViewModel> self(this);
    const QPointer<AppSettings> guardedSettings(&settings);
    const APIClient::CheckinReply reply = co_await steps_.checkin(body, timeout);
    if (!self) co_return false;
    checkinInFlight_ = false;
    // Only a check-in the server heard spaces out the next: after an offline start the one sent when the
    // machine comes back online must go.
    if (reply != APIClient::CheckinReply::Unreached) lastCheckinMs_ = nowMs;
    const bool taken = reply == APIClient::CheckinReply::Taken;
    if (taken && guardedSettings) guardedSettings->setHasRegisteredWithServer(true);
    co_return taken;
}
