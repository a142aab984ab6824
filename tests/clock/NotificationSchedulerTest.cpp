#include <gtest/gtest.h>

#include "Await.h"
#include "ClockTestSupport.h"
#include "FakeClock.h"
#include "NotificationMock.h"
#include "TempHome.h"
#include "clock/AppEvents.h"
#include "clock/NotificationScheduler.h"
#include "clock/PrayerSchedule.h"
#include "engine/LocalBundleBuilder.h"
#include "engine/LocalBundlePrayers.h"
#include "platform/DefaultsStore.h"

#include <QDir>
#include <QFile>
#include <QUuid>
#include <algorithm>

using clocktest::bundleFor;
using clocktest::fivePrayers;

namespace {

std::int64_t utc(const char* iso) {
    return QDateTime::fromString(QLatin1String(iso), Qt::ISODate).toMSecsSinceEpoch();
}

// The instant of a prayer on a civil day as the calculator gives it at the bundle's place.
std::int64_t computedAt(const SettingsSnapshot& settings, const ClockBundle& b, std::int64_t day, double tz,
                        const QString& prayer) {
    const JsonCoding::StringMap times =
        LocalBundlePrayers::compute(settings, day, b.location.lat, b.location.lon, tz);
    const std::optional<qint64> minute = LocalBundleBuilder::minutesOfDay(times.value(prayer));
    if (!minute) return -1;
    return CivilDay::startOfDayMs(day, int(tz * 3600)) + *minute * 60'000;
}

SettingsSnapshot settingsWith(const char* mode) {
    SettingsSnapshot s;
    s.notifyMode = QLatin1String(mode);
    s.use24HourClock = true;
    return s;
}

class NotificationSchedulerTest : public ::testing::Test {
  protected:
    TempHome home;
    DefaultsStore store{home.configHome() + QStringLiteral("/defaults.sqlite3")};
    DesktopNotifications client;

    bool haveServer() { return QDBusConnection::sessionBus().isConnected() && client.isServicePresent(); }
};

}  // namespace

TEST_F(NotificationSchedulerTest, SevenDaysOfRequestsAtThePlacesOffset) {
    struct Row {
        double tz;
        const char* now;
        int count;
        const char* firstId;
        std::optional<const char*> firstAt;  // nothing: a computed day's fajr, not the bundle's
        const char* lastId;
    };
    const Row rows[] = {
        // 13:00 at the place: fajr and dhuhr are gone today.
        {3.0, "2026-03-10T10:00:00Z", 33, "adhan.20260310.asr", "2026-03-10T12:40:00Z",
         "adhan.20260316.isha"},
        // Still the 9th at the place, after its isha: the week starts with tomorrow's fajr.
        {-5.0, "2026-03-10T03:00:00Z", 30, "adhan.20260310.fajr", std::nullopt, "adhan.20260315.isha"},
        // Half-hour offset; 00:30 at the place, nothing passed yet.
        {5.5, "2026-03-09T19:00:00Z", 35, "adhan.20260310.fajr", "2026-03-09T23:40:00Z",
         "adhan.20260316.isha"},
    };
    const SettingsSnapshot settings = settingsWith("adhan");
    for (const Row& r : rows) {
        const std::int64_t now = utc(r.now);
        const ClockBundle b =
            bundleFor(1, 1, r.tz, now, fivePrayers("05:10", "12:20", "15:40", "18:30", "20:00"));
        const auto requests = NotificationScheduler::prayerRequests(b, settings, now);
        ASSERT_EQ(requests.size(), r.count) << r.now;
        EXPECT_EQ(requests.first().identifier, QLatin1String(r.firstId));
        const std::int64_t firstDay = CivilDay::dayOf(requests.first().fireAtMs, int(r.tz * 3600));
        EXPECT_EQ(requests.first().fireAtMs,
                  r.firstAt ? utc(*r.firstAt) : computedAt(settings, b, firstDay, r.tz, "fajr"));
        EXPECT_EQ(requests.last().identifier, QLatin1String(r.lastId));
        const std::int64_t lastDay = CivilDay::dayOf(requests.last().fireAtMs, int(r.tz * 3600));
        EXPECT_EQ(requests.last().fireAtMs, computedAt(settings, b, lastDay, r.tz, "isha"));
        for (const auto& q : requests) {
            EXPECT_GT(q.fireAtMs, now);
            EXPECT_EQ(q.threadIdentifier, QStringLiteral("prayer-adhan"));
            EXPECT_EQ(q.categoryIdentifier, QStringLiteral("ADHAN_PLAY_FULL"));
            EXPECT_TRUE(q.identifier.endsWith(QLatin1Char('.') + q.prayer));
        }
    }
}

TEST_F(NotificationSchedulerTest, EachDayOfTheWeekHasItsOwnComputedTimes) {
    // Oslo in spring: the days lengthen by about five minutes a day, so a week of reused times drifts by
    // half an hour at dawn.
    const double lat = 59.91, lon = 10.75, tz = 2.0;
    const std::int64_t now = utc("2026-04-10T00:00:00Z");  // 02:00 at the place
    const std::int64_t today = CivilDay::dayOf(now, 2 * 3600);
    SettingsSnapshot settings = settingsWith("adhan");
    settings.method = QStringLiteral("MWL");
    settings.highLat = QStringLiteral("angle");
    const ClockBundle b =
        bundleFor(lat, lon, tz, now, LocalBundlePrayers::compute(settings, today, lat, lon, tz));
    const auto requests = NotificationScheduler::prayerRequests(b, settings, now);
    ASSERT_EQ(requests.size(), 35);
    for (const auto& q : requests) {
        const std::int64_t day = CivilDay::dayOf(q.fireAtMs, 2 * 3600);
        ASSERT_GE(day, today);
        ASSERT_LT(day, today + 7);
        EXPECT_EQ(q.fireAtMs, computedAt(settings, b, day, tz, q.prayer)) << qPrintable(q.identifier);
        EXPECT_EQ(q.identifier,
                  QStringLiteral("adhan.") + PrayerSchedule::compactDate(day) + QLatin1Char('.') + q.prayer);
        // The banner shows the time of its own day.
        const JsonCoding::StringMap times = LocalBundlePrayers::compute(settings, day, lat, lon, tz);
        EXPECT_TRUE(q.body.startsWith(times.value(q.prayer))) << qPrintable(q.body);
    }
    // Reused times would be a quarter of an hour off by the end of the week.
    std::int64_t largestDrift = 0;
    for (const QLatin1StringView prayer : PrayerSchedule::keys) {
        const std::int64_t first =
            computedAt(settings, b, today, tz, prayer) - CivilDay::startOfDayMs(today, 7200);
        const std::int64_t last =
            computedAt(settings, b, today + 6, tz, prayer) - CivilDay::startOfDayMs(today + 6, 7200);
        largestDrift = std::max(largestDrift, std::abs(last - first));
    }
    EXPECT_GE(largestDrift, 15 * 60'000);
}

TEST_F(NotificationSchedulerTest, DaysAfterTheZonesChangeUseItsNewOffset) {
    // London, Thursday before the clocks go forward on Sunday 2026-03-29.
    const double lat = 51.5074, lon = -0.1278;
    const std::int64_t now = utc("2026-03-26T12:00:00Z");
    const std::int64_t today = CivilDay::dayOf(now, 0);
    const SettingsSnapshot settings = settingsWith("adhan");
    ClockBundle b =
        bundleFor(lat, lon, 0.0, now, LocalBundlePrayers::compute(settings, today, lat, lon, 0.0));
    b.location.timeZone = QStringLiteral("Europe/London");
    const auto requests = NotificationScheduler::prayerRequests(b, settings, now);
    for (const auto& q : requests) {
        const std::int64_t day = CivilDay::dayOf(q.fireAtMs, 0);
        const double dayTz = day >= CivilDay::daysFromCivil(2026, 3, 29) ? 1.0 : 0.0;
        EXPECT_EQ(q.fireAtMs, computedAt(settings, b, day, dayTz, q.prayer)) << qPrintable(q.identifier);
    }
    const auto sunday = std::find_if(requests.begin(), requests.end(), [](const auto& q) {
        return q.identifier == QLatin1String("adhan.20260329.fajr");
    });
    ASSERT_NE(sunday, requests.end());
    EXPECT_EQ(sunday->fireAtMs, utc("2026-03-29T04:08:00Z"));
    EXPECT_TRUE(sunday->body.startsWith(QLatin1String("05:08"))) << qPrintable(sunday->body);
}

TEST_F(NotificationSchedulerTest, ModesAndMissingTimes) {
    const std::int64_t now = utc("2026-03-10T00:00:00Z");
    ClockBundle b = bundleFor(0, 0, 0, now, fivePrayers("05:10", "--:--", "15:40", "nonsense", "20:00"));
    EXPECT_TRUE(NotificationScheduler::prayerRequests(b, settingsWith("off"), now).isEmpty());
    // Banner-only and beep modes still announce; only the three real times count.
    EXPECT_EQ(NotificationScheduler::prayerRequests(b, settingsWith("silent"), now).size(), 21);
    EXPECT_EQ(NotificationScheduler::prayerRequests(b, settingsWith("beep"), now).size(), 21);
}

TEST_F(NotificationSchedulerTest, ScheduleSurvivesARestartAndStaleRequestsAreDropped) {
    FakeClock clock("2026-03-10T10:00:00Z");
    const ClockBundle b = bundleFor(1, 1, 3.0, clock.now().toMSecsSinceEpoch(),
                                    fivePrayers("05:10", "12:20", "15:40", "18:30", "20:00"));
    QList<NotificationScheduler::Request> before;
    {
        NotificationScheduler scheduler(client, store);
        scheduler.reschedule(b, settingsWith("adhan"));
        before = scheduler.pending();
        ASSERT_EQ(before.size(), 33);
    }
    NotificationScheduler again(client, store);
    EXPECT_EQ(again.pending(), before);

    // The machine slept through asr and maghrib: both go unposted, isha stays.
    QList<QString> delivered;
    QObject::connect(&again, &NotificationScheduler::delivered,
                     [&](const QString& id, quint32) { delivered << id; });
    again.deliverDue(utc("2026-03-10T15:45:00Z"));
    EXPECT_EQ(again.pending().size(), 31);
    EXPECT_EQ(again.pending().first().identifier, QStringLiteral("adhan.20260310.isha"));
    clocktest::settle(200);
    EXPECT_TRUE(delivered.isEmpty());

    // Switching the call off clears the prayers at the next reschedule.
    again.reschedule(b, settingsWith("off"));
    EXPECT_TRUE(again.pending().isEmpty());
}

TEST_F(NotificationSchedulerTest, AClockSetBackAfterAPostNeverPostsThePrayerAgain) {
    // Dhuhr at 12:18 at the place (UTC+3); time sync then sets the clock back to 12:13:05.
    FakeClock clock("2026-03-10T09:13:05Z");
    const ClockBundle b = bundleFor(1, 1, 3.0, clock.now().toMSecsSinceEpoch(),
                                    fivePrayers("05:10", "12:18", "15:40", "18:30", "20:00"));
    QStringList delivered;
    const auto reloadThenReachDhuhr = [&](NotificationScheduler& scheduler) {
        clock.set(QDateTime::fromString(QStringLiteral("2026-03-10T09:13:05Z"), Qt::ISODate));
        scheduler.reschedule(b, settingsWith("adhan"));
        clock.set(QDateTime::fromString(QStringLiteral("2026-03-10T09:18:00Z"), Qt::ISODate));
        scheduler.deliverDue(Clock::nowMs());
        clocktest::settle(300);
    };
    const auto record = [&](const QString& id, quint32) { delivered << id; };
    {
        NotificationScheduler scheduler(client, store);
        QObject::connect(&scheduler, &NotificationScheduler::delivered, record);
        reloadThenReachDhuhr(scheduler);  // the first time: posted
        ASSERT_TRUE(QTest::qWaitFor([&] { return !delivered.isEmpty(); }, 5000));
        reloadThenReachDhuhr(scheduler);  // set back, with a reload in the gap
    }
    NotificationScheduler restarted(client, store);
    QObject::connect(&restarted, &NotificationScheduler::delivered, record);
    reloadThenReachDhuhr(restarted);
    EXPECT_EQ(delivered, QStringList{QStringLiteral("adhan.20260310.dhuhr")});
}

TEST_F(NotificationSchedulerTest, CorruptPendingListCountsAsEmpty) {
    store.setData(QStringLiteral("orvane.notifications.pending"), QByteArray("[{\"identifier\": 5}, nope"));
    NotificationScheduler scheduler(client, store);
    EXPECT_TRUE(scheduler.pending().isEmpty());
    store.setData(QStringLiteral("orvane.notifications.pending"),
                  QByteArray("[{\"identifier\":\"adhan.1.fajr\"},{\"identifier\":\"adhan.20260310.asr\","
                             "\"fire_at_ms\":5,\"title\":\"t\",\"body\":\"b\",\"prayer\":\"asr\","
                             "\"thread\":\"prayer-adhan\",\"category\":\"ADHAN_PLAY_FULL\"}]"));
    NotificationScheduler second(client, store);
    ASSERT_EQ(second.pending().size(), 1);
    EXPECT_EQ(second.pending().first().fireAtMs, 5);
}

TEST_F(NotificationSchedulerTest, PostsThePrayerAtItsMinuteAndActsOnPlayFull) {
    if (!haveServer()) GTEST_SKIP() << "no notification server (run under scripts/with-test-services)";
    FakeClock clock("2026-03-10T12:39:00Z");
    ClockBundle b = bundleFor(1, 1, 3.0, clock.now().toMSecsSinceEpoch(),
                              fivePrayers("05:10", "12:20", "15:40", "18:30", "20:00"));
    const QString summary = QStringLiteral("Asr ") + QUuid::createUuid().toString(QUuid::WithoutBraces);
    b.labels.insert(QStringLiteral("asr"), summary);
    b.adhan = AdhanBundle{};
    b.adhan->regular.title = QStringLiteral("Adhan");

    NotificationScheduler scheduler(client, store);
    scheduler.configure();
    scheduler.reschedule(b, settingsWith("adhan"));
    quint32 postedId = 0;
    QString postedFor;
    QObject::connect(&scheduler, &NotificationScheduler::delivered, [&](const QString& id, quint32 serverId) {
        postedFor = id;
        postedId = serverId;
    });
    scheduler.deliverDue(utc("2026-03-10T12:39:59Z"));
    clocktest::settle(100);
    EXPECT_EQ(postedId, 0u) << "nothing before its minute";
    scheduler.deliverDue(utc("2026-03-10T12:40:01Z"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return postedId != 0; }, 5000));
    EXPECT_EQ(postedFor, QStringLiteral("adhan.20260310.asr"));

    const auto calls = notificationmock::notifies(summary);
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].body, QStringLiteral("15:40 \u00b7 Adhan"));
    EXPECT_EQ(calls[0].actions, (QStringList{"PLAY_FULL_ADHAN", "Play full adhan", "OPEN_APP", "Open Orvane",
                                             "default", "Open Orvane"}));
    EXPECT_EQ(calls[0].hints.value("desktop-entry").toString(), QStringLiteral("orvane"));
    EXPECT_EQ(calls[0].hints.value("urgency").toInt(), 1);
    EXPECT_EQ(calls[0].hints.value("x-orvane-category").toString(), QStringLiteral("ADHAN_PLAY_FULL"));
    EXPECT_EQ(calls[0].hints.value("x-orvane-thread").toString(), QStringLiteral("prayer-adhan"));
    EXPECT_EQ(calls[0].hints.value("x-orvane-request").toString(), QStringLiteral("adhan.20260310.asr"));
    EXPECT_TRUE(calls[0].hints.value("suppress-sound").toBool());

    QList<std::pair<QString, bool>> played;
    int reopened = 0;
    auto c1 =
        QObject::connect(&AppEvents::shared(), &AppEvents::playPrayer, [&](const QString& p, bool force) {
            played.append({p, force});
        });
    auto c2 = QObject::connect(&AppEvents::shared(), &AppEvents::reopenWindow, [&] { ++reopened; });
    notificationmock::emitSignal(QStringLiteral("ActionInvoked"), QStringLiteral("us"),
                                 {QVariant::fromValue(uint(postedId)), QStringLiteral("PLAY_FULL_ADHAN")});
    EXPECT_TRUE(QTest::qWaitFor([&] { return !played.isEmpty(); }, 3000));
    ASSERT_EQ(played.size(), 1);
    EXPECT_EQ(played[0], std::make_pair(QStringLiteral("asr"), true));
    EXPECT_EQ(reopened, 1);

    // Opening the window plays nothing; an action on someone else's notification does nothing.
    notificationmock::emitSignal(QStringLiteral("ActionInvoked"), QStringLiteral("us"),
                                 {QVariant::fromValue(uint(postedId)), QStringLiteral("OPEN_APP")});
    notificationmock::emitSignal(
        QStringLiteral("ActionInvoked"), QStringLiteral("us"),
        {QVariant::fromValue(uint(postedId + 100000)), QStringLiteral("PLAY_FULL_ADHAN")});
    EXPECT_TRUE(QTest::qWaitFor([&] { return reopened == 2; }, 3000));
    clocktest::settle(200);
    EXPECT_EQ(played.size(), 1);
    EXPECT_EQ(reopened, 2);
    QObject::disconnect(c1);
    QObject::disconnect(c2);
}

TEST_F(NotificationSchedulerTest, PostsAnEmergencyAlertAtOnce) {
    if (!haveServer()) GTEST_SKIP() << "no notification server (run under scripts/with-test-services)";
    NotificationScheduler scheduler(client, store);
    scheduler.configure();
    const QString title =
        QStringLiteral("Tornado Warning ") + QUuid::createUuid().toString(QUuid::WithoutBraces);
    const quint32 id =
        await(scheduler.postEmergency(QStringLiteral("nws-123"), title, QStringLiteral("Take shelter now")));
    EXPECT_GT(id, 0u);
    const auto calls = notificationmock::notifies(title);
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].body, QStringLiteral("Take shelter now"));
    EXPECT_EQ(calls[0].actions, (QStringList{"OPEN_APP", "Open Orvane", "default", "Open Orvane"}));
    EXPECT_EQ(calls[0].hints.value("urgency").toInt(), 2);
    EXPECT_EQ(calls[0].hints.value("x-orvane-request").toString(), QStringLiteral("emergency.nws-123"));
}

TEST_F(NotificationSchedulerTest, PermissionIsAskedOnceAndAnnouncedQueued) {
    NotificationScheduler scheduler(client, store);
    EXPECT_EQ(scheduler.authorizationStatus(), NotificationScheduler::NotDetermined);
    int announced = 0;
    auto c =
        QObject::connect(&AppEvents::shared(), &AppEvents::notificationAuthChanged, [&] { ++announced; });
    scheduler.requestAuthorization();
    EXPECT_EQ(announced, 0) << "posted on the event loop, not inside the call";
    clocktest::settle(100);
    EXPECT_EQ(announced, 1);
    EXPECT_EQ(scheduler.authorizationStatus(),
              haveServer() ? NotificationScheduler::Authorized : NotificationScheduler::Denied);
    // Remembered across a restart.
    NotificationScheduler again(client, store);
    EXPECT_NE(again.authorizationStatus(), NotificationScheduler::NotDetermined);
    // The process's own scheduler writes to the standard store open now, not to one closed since.
    NotificationScheduler::shared();
    DefaultsStore::resetStandard();
    NotificationScheduler::shared().requestAuthorization();
    EXPECT_TRUE(DefaultsStore::standard().boolean(QLatin1String(NotificationScheduler::askedKey)));
    DefaultsStore::resetStandard();
    QObject::disconnect(c);
}

TEST_F(NotificationSchedulerTest, OpensTheFirstDesktopSettingsThatStarts) {
    const QString bin = home.path() + QStringLiteral("/bin");
    QDir().mkpath(bin);
    const auto script = [&](const QString& name) {
        QFile f(bin + QLatin1Char('/') + name);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        // Written aside and renamed, so the test never reads the record half written.
        f.write("#!/bin/sh\necho \"$@\" > \"$0.part\" && /bin/mv \"$0.part\" \"$0.ran\"\n");
        f.close();
        f.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    };
    script(QStringLiteral("systemsettings"));
    script(QStringLiteral("xfce4-notifyd-config"));
    const QByteArray oldPath = qgetenv("PATH");
    qputenv("PATH", bin.toUtf8());
    NotificationScheduler scheduler(client, store);
    scheduler.openSystemSettings();
    qputenv("PATH", oldPath);
    ASSERT_TRUE(QTest::qWaitFor([&] { return QFile::exists(bin + "/systemsettings.ran"); }, 5000));
    QFile ran(bin + "/systemsettings.ran");
    ASSERT_TRUE(ran.open(QIODevice::ReadOnly));
    EXPECT_EQ(ran.readAll().trimmed(), QByteArray("kcm_notifications"));
    clocktest::settle(300);
    EXPECT_FALSE(QFile::exists(bin + "/xfce4-notifyd-config.ran"));
}
