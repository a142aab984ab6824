#include "clock/NotificationScheduler.h"

#include "clock/AppEvents.h"
#include "clock/PrayerSchedule.h"
#include "engine/CivilDay.h"
#include "engine/LocalBundlePrayers.h"
#include "engine/PlaceZone.h"
#include "model/DisplayFormat.h"
#include "platform/Clock.h"
#include "platform/DefaultsStore.h"
#include "platform/DesktopNotifications.h"

#include <QGuiApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QPointer>
#include <QProcess>
#include <algorithm>
#include <cmath>

namespace {

constexpr int kCheckIntervalMs = 1000;

// The last week of prayers: a clock set back further than that is not worth a longer record.
constexpr qsizetype kDeliveredBound = NotificationScheduler::scheduleDays * PrayerSchedule::kCount;
// "adhan.<yyyymmdd>.<key>" is far shorter; anything longer is not one of ours.
constexpr qsizetype kIdentifierBound = 64;

bool isPrayerRequest(const QString& identifier) {
    return identifier.startsWith(QLatin1String("adhan."));
}

void sortByTime(QList<NotificationScheduler::Request>& list) {
    std::stable_sort(list.begin(), list.end(),
                     [](const auto& a, const auto& b) { return a.fireAtMs < b.fireAtMs; });
}

QString latin(const char* text) {
    return QString::fromLatin1(text);
}

// One civil day of the schedule: its prayer strings and the place's offset that day.
struct ScheduleDay {
    JsonCoding::StringMap prayers;
    int offsetSeconds = 0;
};

// The bundle holds one day's times; every other day of the week is computed for itself at the place (the
// sun moves minutes a day at high latitudes), at the offset the place's zone has that day.
ScheduleDay scheduleDay(const ClockBundle& bundle, const SettingsSnapshot& settings, std::int64_t day,
                        std::optional<std::int64_t> bundleDay, int bundleOffset) {
    const LocationInfo& place = bundle.location;
    int offset = bundleOffset;
    if (place.timeZone) {
        const std::int64_t noon = CivilDay::startOfDayMs(day, bundleOffset) + CivilDay::kMsPerDay / 2;
        if (const std::optional<double> h = PlaceZone::offsetHours(*place.timeZone, noon))
            offset = CivilDay::fixedOffsetSeconds(*h).value_or(bundleOffset);
    }
    const bool located = std::isfinite(place.lat) && std::isfinite(place.lon) &&
                         (std::abs(place.lat) >= 0.001 || std::abs(place.lon) >= 0.001);
    if ((bundleDay == day && offset == bundleOffset) || !located) return {bundle.prayers, bundleOffset};
    return {LocalBundlePrayers::compute(settings, day, place.lat, place.lon, offset / 3600.0), offset};
}

DesktopNotifications::Request desktopRequest(const NotificationScheduler::Request& r) {
    DesktopNotifications::Request out;
    out.icon = QStringLiteral("orvane");
    out.summary = r.title;
    out.body = r.body;
    out.hints.insert(QStringLiteral("desktop-entry"), QStringLiteral("orvane"));
    out.hints.insert(QStringLiteral("x-orvane-request"), r.identifier);
    if (r.prayer.isEmpty()) {
        out.actions = {{latin(NotificationScheduler::openAppAction), QStringLiteral("Open Orvane")},
                       {QStringLiteral("default"), QStringLiteral("Open Orvane")}};
        out.hints.insert(QStringLiteral("urgency"), QVariant::fromValue(uchar(2)));
        out.timeoutMs = 0;
    } else {
        out.actions = {{latin(NotificationScheduler::playFullAction), QStringLiteral("Play full adhan")},
                       {latin(NotificationScheduler::openAppAction), QStringLiteral("Open Orvane")},
                       {QStringLiteral("default"), QStringLiteral("Open Orvane")}};
        out.hints.insert(QStringLiteral("urgency"), QVariant::fromValue(uchar(1)));
        out.hints.insert(QStringLiteral("x-orvane-category"), r.categoryIdentifier);
        out.hints.insert(QStringLiteral("x-orvane-thread"), r.threadIdentifier);
        // The call itself (or the beep) comes from the player; a second sound from the server would clash.
        out.hints.insert(QStringLiteral("suppress-sound"), true);
    }
    return out;
}

}  // namespace

std::optional<NotificationScheduler::Request> NotificationScheduler::Request::fromJson(
    const QJsonValue& value) {
    JsonCoding::Reader r(value);
    Request out;
    out.identifier = r.requiredString(QLatin1StringView("identifier"));
    out.fireAtMs = r.requiredInt(QLatin1StringView("fire_at_ms"));
    out.title = r.requiredString(QLatin1StringView("title"));
    out.body = r.requiredString(QLatin1StringView("body"));
    out.prayer = r.requiredString(QLatin1StringView("prayer"));
    out.threadIdentifier = r.requiredString(QLatin1StringView("thread"));
    out.categoryIdentifier = r.requiredString(QLatin1StringView("category"));
    if (!r.ok() || out.identifier.isEmpty()) return std::nullopt;
    return out;
}

QJsonValue NotificationScheduler::Request::toJson() const {
    return QJsonObject{{QStringLiteral("identifier"), identifier},
                       {QStringLiteral("fire_at_ms"), qint64(fireAtMs)},
                       {QStringLiteral("title"), title},
                       {QStringLiteral("body"), body},
                       {QStringLiteral("prayer"), prayer},
                       {QStringLiteral("thread"), threadIdentifier},
                       {QStringLiteral("category"), categoryIdentifier}};
}

NotificationScheduler& NotificationScheduler::shared() {
    static DesktopNotifications* client = new DesktopNotifications;
    static NotificationScheduler* scheduler = new NotificationScheduler(*client, nullptr, nullptr);
    return *scheduler;
}

NotificationScheduler::NotificationScheduler(DesktopNotifications& client, DefaultsStore& store,
                                             QObject* parent)
    : NotificationScheduler(client, &store, parent) {}

NotificationScheduler::NotificationScheduler(DesktopNotifications& client, DefaultsStore* store,
                                             QObject* parent)
    : QObject(parent), client_(client), store_(store) {
    timer_.setInterval(kCheckIntervalMs);
    connect(&timer_, &QTimer::timeout, this, [this] { deliverDue(Clock::nowMs()); });
    loadPending();
    loadDelivered();
}

NotificationScheduler::~NotificationScheduler() = default;

DefaultsStore& NotificationScheduler::store() const {
    return store_ ? *store_ : DefaultsStore::standard();
}

void NotificationScheduler::configure() {
    if (configured_) return;
    configured_ = true;
    connect(&client_, &DesktopNotifications::actionInvoked, this, &NotificationScheduler::onActionInvoked);
    connect(&client_, &DesktopNotifications::notificationClosed, this,
            [this](quint32 id, quint32) { postedPrayers_.remove(id); });
    timer_.start();
}

void NotificationScheduler::requestAuthorization() {
    store().setBool(latin(askedKey), true);
    QMetaObject::invokeMethod(
        &AppEvents::shared(), [] { emit AppEvents::shared().notificationAuthChanged(); },
        Qt::QueuedConnection);
}

int NotificationScheduler::authorizationStatus() const {
    if (!store().boolean(latin(askedKey))) return NotDetermined;
    return client_.isServicePresent() ? Authorized : Denied;
}

QList<QStringList> NotificationScheduler::settingsCommands() {
    return {{QStringLiteral("gnome-control-center"), QStringLiteral("notifications")},
            {QStringLiteral("systemsettings"), QStringLiteral("kcm_notifications")},
            {QStringLiteral("xfce4-notifyd-config")}};
}

void NotificationScheduler::openSystemSettings() {
    for (const QStringList& command : settingsCommands()) {
        if (QProcess::startDetached(command.first(), command.mid(1))) return;
    }
}

QList<NotificationScheduler::Request> NotificationScheduler::prayerRequests(const ClockBundle& bundle,
                                                                            const SettingsSnapshot& settings,
                                                                            std::int64_t nowMs) {
    QList<Request> out;
    if (settings.notifyMode == QLatin1String("off")) return out;
    const int bundleOffset = PrayerSchedule::offsetSeconds(bundle.location.tzOffsetHours, nowMs);
    const std::int64_t today = CivilDay::dayOf(nowMs, bundleOffset);
    std::optional<std::int64_t> bundleDay;
    if (const std::optional<CivilDay::Date> d = CivilDay::parseIso(bundle.date.gregorian))
        bundleDay = CivilDay::daysFromCivil(d->year, d->month, d->day);
    for (std::int64_t day = today; day < today + scheduleDays; ++day) {
        const QString date = PrayerSchedule::compactDate(day);
        const ScheduleDay times = scheduleDay(bundle, settings, day, bundleDay, bundleOffset);
        const PrayerSchedule::Minutes minutes = PrayerSchedule::minutesOf(times.prayers);
        for (int i = 0; i < PrayerSchedule::kCount; ++i) {
            if (!minutes[i]) continue;
            const std::int64_t at = PrayerSchedule::instantOf(day, *minutes[i], times.offsetSeconds);
            if (at <= nowMs) continue;
            const QString key(PrayerSchedule::keys[i]);
            const bool fajr = i == 0;
            QString adhanTitle;
            if (bundle.adhan) adhanTitle = fajr ? bundle.adhan->fajr.title : bundle.adhan->regular.title;
            QString body = DisplayFormat::prayerTime(times.prayers.value(key), settings.use24HourClock);
            if (!adhanTitle.trimmed().isEmpty()) body += QStringLiteral(" \u00b7 ") + adhanTitle.trimmed();
            out.append(Request{QStringLiteral("adhan.") + date + QLatin1Char('.') + key, at,
                               bundle.label(key), body, key, latin(threadIdentifier), latin(category)});
        }
    }
    return out;
}

void NotificationScheduler::reschedule(const ClockBundle& bundle, const SettingsSnapshot& settings) {
    QList<Request> next;
    for (const Request& r : std::as_const(pending_))
        if (!isPrayerRequest(r.identifier)) next.append(r);
    for (Request& r : prayerRequests(bundle, settings, Clock::nowMs()))
        if (!delivered_.contains(r.identifier)) next.append(std::move(r));
    sortByTime(next);
    if (next == pending_) return;
    pending_ = std::move(next);
    savePending();
}

QCoro::Task<quint32> NotificationScheduler::postEmergency(QString alertId, QString title, QString body) {
    Request r{
        QStringLiteral("emergency.") + alertId, Clock::nowMs(), title, body, QString(), QString(), QString()};
    const QPointer<NotificationScheduler> self(this);
    const quint32 id = co_await client_.notify(desktopRequest(r));
    if (!self) co_return id;
    if (id != 0) postedPrayers_.insert(id, QString());
    emit delivered(r.identifier, id);
    co_return id;
}

void NotificationScheduler::deliverDue(std::int64_t nowMs) {
    // The list is kept in time order, so the first entry decides; this is the every-second path.
    if (pending_.isEmpty() || pending_.first().fireAtMs > nowMs) return;
    QList<Request> due;
    QList<Request> rest;
    for (const Request& r : std::as_const(pending_)) {
        if (r.fireAtMs > nowMs)
            rest.append(r);
        else if (nowMs - r.fireAtMs < PrayerSchedule::kTriggerWindowMs && !delivered_.contains(r.identifier))
            due.append(r);
    }
    pending_ = std::move(rest);
    savePending();
    recordDelivered(due);
    for (const Request& r : std::as_const(due)) post(r);
}

QCoro::Task<> NotificationScheduler::post(Request request) {
    const QPointer<NotificationScheduler> self(this);
    const quint32 id = co_await client_.notify(desktopRequest(request));
    if (!self) co_return;
    if (id != 0) postedPrayers_.insert(id, request.prayer);
    emit delivered(request.identifier, id);
    // With the window in front the call plays from here too; the once-per-day guard absorbs the repeat.
    if (!request.prayer.isEmpty() && QGuiApplication::applicationState() == Qt::ApplicationActive)
        emit AppEvents::shared().playPrayer(request.prayer, false);
}

void NotificationScheduler::onActionInvoked(quint32 id, const QString& actionKey) {
    const auto it = postedPrayers_.constFind(id);
    if (it == postedPrayers_.constEnd()) return;
    const QString prayer = *it;
    emit AppEvents::shared().reopenWindow();
    if (actionKey == QLatin1String(playFullAction) && !prayer.isEmpty())
        emit AppEvents::shared().playPrayer(prayer, true);
}

void NotificationScheduler::loadPending() {
    pending_.clear();
    const std::optional<QByteArray> bytes = store().data(latin(pendingKey));
    if (!bytes) return;
    pending_ = decodePending(*bytes);
    sortByTime(pending_);
}

QList<NotificationScheduler::Request> NotificationScheduler::decodePending(const QByteArray& bytes) {
    QList<Request> out;
    const QJsonDocument doc = QJsonDocument::fromJson(bytes);
    for (const QJsonValue& v : doc.array())
        if (std::optional<Request> r = Request::fromJson(v)) out.append(*r);
    return out;
}

void NotificationScheduler::savePending() {
    sortByTime(pending_);
    QJsonArray array;
    for (const Request& r : std::as_const(pending_)) array.append(r.toJson());
    store().setData(latin(pendingKey), QJsonDocument(array).toJson(QJsonDocument::Compact));
}

void NotificationScheduler::loadDelivered() {
    const QStringList stored = store().stringList(latin(deliveredKey)).value_or(QStringList());
    // Only the newest entries count, so a damaged or foreign record costs no more than our own.
    for (qsizetype i = std::max<qsizetype>(0, stored.size() - kDeliveredBound); i < stored.size(); ++i)
        if (isPrayerRequest(stored[i]) && stored[i].size() <= kIdentifierBound) delivered_.append(stored[i]);
}

// Recorded as the requests go to the server, before its answer, so no pass of the timer can post them again.
void NotificationScheduler::recordDelivered(const QList<Request>& posted) {
    const qsizetype before = delivered_.size();
    for (const Request& r : posted)
        if (isPrayerRequest(r.identifier)) delivered_.append(r.identifier);
    if (delivered_.size() == before) return;
    if (delivered_.size() > kDeliveredBound) delivered_.remove(0, delivered_.size() - kDeliveredBound);
    store().setStringList(latin(deliveredKey), delivered_);
}
