#include <gtest/gtest.h>

#include "Await.h"
#include "ClockTestSupport.h"
#include "FakeClock.h"
#include "FakePositionSource.h"
#include "TempHome.h"
#include "clock/AdhanPlayer.h"
#include "clock/AppEvents.h"
#include "clock/ClockViewModel.h"
#include "clock/MacPrayerAlarmService.h"
#include "clock/NotificationScheduler.h"
#include "clock/PrayerSchedule.h"
#include "engine/LocalBundleBuilder.h"
#include "engine/LocalBundlePrayers.h"
#include "platform/DefaultsStore.h"
#include "platform/DesktopNotifications.h"
#include "platform/Endpoints.h"
#include "services/AppSettings.h"
#include "services/LocationManager.h"

#include <QJsonDocument>
#include <iostream>
#include <map>
#include <memory>

using clocktest::FakeSteps;
using clocktest::fivePrayers;

namespace {

std::int64_t utc(const char* iso) {
    return QDateTime::fromString(QLatin1String(iso), Qt::ISODate).toMSecsSinceEpoch();
}

QString two(int n) {
    return QString::number(n).rightJustified(2, QLatin1Char('0'));
}

class ClockViewModelTest : public ::testing::Test {
  protected:
    void SetUp() override {
        qputenv("ORVANE_DEVICE_ID", "device-test");
        start();
        settings->setDisplayName(QStringLiteral("Test Clock"));
    }
    void start() {
        store = std::make_unique<DefaultsStore>(home.configHome() + QStringLiteral("/defaults.sqlite3"));
        settings = std::make_unique<AppSettings>(*store);
        scheduler = std::make_unique<NotificationScheduler>(client, *store);
        vm = std::make_unique<ClockViewModel>(
            *settings, steps, ClockViewModel::Collaborators{&player, scheduler.get(), &alarms});
        QObject::connect(vm.get(), &ClockViewModel::adhanTriggered, [this](const QString& p, bool force) {
            triggers.push_back({p, Clock::nowMs(), force});
        });
    }
    // A quit (the sound ends with the process) and a new start on the same files.
    void restart() {
        player.stop();
        vm.reset();
        scheduler.reset();
        settings.reset();
        store.reset();
        start();
    }
    void TearDown() override {
        player.stop();
        player.stopEmergency();
        vm.reset();
        qunsetenv("ORVANE_DEVICE_ID");
    }

    void fixPlace(double lat, double lon, const char* city = "Makkah") {
        settings->setUseManualLocation(true);
        settings->setManualCity(QLatin1String(city));
        settings->setManualLat(lat);
        settings->setManualLon(lon);
    }
    void refreshHours(int prayer, int weather, int nasa, int alerts, int geo) {
        settings->setPrayerRefreshHours(prayer);
        settings->setWeatherRefreshHours(weather);
        settings->setNasaRefreshHours(nasa);
        settings->setAlertsRefreshHours(alerts);
        settings->setGeoRefreshHours(geo);
    }
    // The fake builds the times the engine computes for the place, as the real build does.
    void placeWithComputedTimes(double lat, double lon, double tz, const char* city = "Makkah") {
        steps.tzOffsetHours = tz;
        fixPlace(lat, lon, city);
        steps.timesForDay = [this, lat, lon](std::int64_t day) {
            return LocalBundlePrayers::compute(settings->snapshot(), day, lat, lon, steps.tzOffsetHours);
        };
    }
    // The instant of a prayer's minute by these times on the place's day of `atMs`.
    std::int64_t minuteOf(const JsonCoding::StringMap& times, const char* prayer, std::int64_t atMs) const {
        const int offset = int(steps.tzOffsetHours * 3600);
        const auto minute = LocalBundleBuilder::minutesOfDay(times.value(QLatin1String(prayer)));
        return PrayerSchedule::instantOf(CivilDay::dayOf(atMs, offset), int(minute.value_or(-1)), offset);
    }
    void ticks(FakeClock& clock, std::int64_t seconds) {
        for (std::int64_t i = 0; i < seconds; ++i) {
            clock.advanceSeconds(1);
            vm->tick();
        }
    }

    struct Trigger {
        QString prayer;
        std::int64_t atMs;
        bool force;
    };

    TempHome home;
    std::unique_ptr<DefaultsStore> store;
    std::unique_ptr<AppSettings> settings;
    DesktopNotifications client;
    std::unique_ptr<NotificationScheduler> scheduler;
    AdhanPlayer player;
    MacPrayerAlarmService alarms;
    FakeSteps steps;
    std::unique_ptr<ClockViewModel> vm;
    std::vector<Trigger> triggers;
};

}  // namespace

TEST_F(ClockViewModelTest, ThirtyDaysOfTicksRingEachPrayerOnceAndNeverReplayAfterSleep) {
    steps.tzOffsetHours = 3.0;
    // The times move a little every day, as real ones do.
    steps.timesForDay = [](std::int64_t day) {
        const int m = int(day % 20);
        return fivePrayers(qPrintable("05:" + two(m)), qPrintable("12:" + two(10 + m)),
                           qPrintable("15:" + two(30 + m)), qPrintable("18:" + two(m)),
                           qPrintable("19:" + two(40 + m)));
    };
    fixPlace(21.42, 39.83);
    settings->setNotifyMode(QStringLiteral("silent"));
    refreshHours(24, 24, 24, 24, 24);
    FakeClock clock("2026-03-01T00:00:30Z");
    ASSERT_TRUE(await(vm->resolveAndLoad(false)));

    const std::int64_t start = Clock::nowMs();
    const std::int64_t total = 30LL * 86400;
    // On the 12th day the machine sleeps from 11:00 to 16:00 at the place, over dhuhr and asr.
    const std::int64_t sleepAt = utc("2026-03-12T08:00:00Z"), wakeAt = utc("2026-03-12T13:00:00Z");
    QElapsedTimer timer;
    timer.start();
    std::int64_t done = 0;
    bool slept = false;
    while (Clock::nowMs() - start < total * 1000) {
        if (!slept && Clock::nowMs() >= sleepAt) {
            slept = true;
            clock.set(QDateTime::fromMSecsSinceEpoch(wakeAt, Qt::UTC));
        }
        clock.advanceSeconds(1);
        vm->tick();
        ++done;
    }
    const double seconds = timer.nsecsElapsed() / 1e9;
    std::cout << "[ simulated ] " << done << " ticks in " << seconds << " s: " << qint64(done / seconds)
              << " ticks/s\n";
    RecordProperty("ticks_per_second", std::to_string(qint64(done / seconds)));

    std::map<std::pair<std::int64_t, QString>, int> perDay;
    for (const Trigger& t : triggers) {
        EXPECT_FALSE(t.force);
        const std::int64_t day = CivilDay::dayOf(t.atMs, 3 * 3600);
        const JsonCoding::StringMap times = steps.timesForDay(day);
        const int minute = int(*LocalBundleBuilder::minutesOfDay(times.value(t.prayer)));
        const std::int64_t since = t.atMs - (CivilDay::startOfDayMs(day, 3 * 3600) + minute * 60'000LL);
        EXPECT_GE(since, 0) << qPrintable(t.prayer) << " day " << day;
        EXPECT_LT(since, 60'000) << qPrintable(t.prayer) << " day " << day;
        ++perDay[{day, t.prayer}];
    }
    const std::int64_t sleptDay = CivilDay::dayOf(sleepAt, 3 * 3600);
    EXPECT_EQ(perDay.count({sleptDay, QStringLiteral("dhuhr")}), 0u);
    EXPECT_EQ(perDay.count({sleptDay, QStringLiteral("asr")}), 0u);
    EXPECT_EQ(perDay.count({sleptDay, QStringLiteral("maghrib")}), 1u);
    for (const auto& [key, count] : perDay) EXPECT_EQ(count, 1) << key.first << " " << qPrintable(key.second);
    EXPECT_EQ(triggers.size(), 30u * 5 - 2);
    // One load a day (the change of day), plus the first.
    EXPECT_GE(steps.builds, 30);
    EXPECT_LE(steps.builds, 32);
}

TEST_F(ClockViewModelTest, ReloadsWhenTheSmallestRefreshIntervalHasPassed) {
    struct Row {
        int prayer, weather, nasa, alerts, geo;
        int hours;
    };
    for (const Row& r : {Row{12, 4, 12, 2, 24, 2}, Row{0, 0, 0, 0, 0, 1}, Row{-5, 3, 3, 3, 3, 1}}) {
        steps.builds = 0;
        fixPlace(21.42, 39.83);
        refreshHours(r.prayer, r.weather, r.nasa, r.alerts, r.geo);
        FakeClock clock("2026-03-01T06:00:00Z");
        ASSERT_TRUE(await(vm->resolveAndLoad(false)));
        ASSERT_EQ(steps.builds, 1);
        ticks(clock, r.hours * 3600 - 60);
        EXPECT_EQ(steps.builds, 1) << r.hours;
        ticks(clock, 60);
        EXPECT_EQ(steps.builds, 2) << r.hours;
    }
}

TEST_F(ClockViewModelTest, ReloadsAtThePlacesChangeOfDay) {
    struct Row {
        double tz;
        const char* before;   // an hour before the place's midnight
        const char* newDate;  // the place's date after it
    };
    for (const Row& r :
         {Row{9.0, "2026-03-01T14:00:00Z", "2026-03-02"}, Row{-7.0, "2026-03-01T06:00:00Z", "2026-03-01"},
          Row{5.75, "2026-03-01T17:15:00Z", "2026-03-02"}}) {
        steps.tzOffsetHours = r.tz;
        fixPlace(10, 10);
        refreshHours(24, 24, 24, 24, 24);
        FakeClock clock(r.before);
        ASSERT_TRUE(await(vm->resolveAndLoad(false)));
        const int builds = steps.builds;
        ticks(clock, 3600 - 30);
        EXPECT_EQ(steps.builds, builds) << r.tz;
        ticks(clock, 31);
        EXPECT_EQ(steps.builds, builds + 1) << "at the first second of the day, " << r.tz;
        EXPECT_EQ(vm->bundle()->date.gregorian, QLatin1String(r.newDate)) << r.tz;
        ticks(clock, 600);
        EXPECT_EQ(steps.builds, builds + 1) << "one reload per day change";
    }
}

TEST_F(ClockViewModelTest, TriggerAdhanOncePerDayUnlessForced) {
    steps.tzOffsetHours = 3.0;
    fixPlace(21.42, 39.83);
    // A Friday at the place: dhuhr is Jumu'ah.
    FakeClock clock("2026-03-06T09:30:00Z");
    ASSERT_TRUE(await(vm->resolveAndLoad(false)));
    const ClockBundle bundle = *vm->bundle();
    vm->triggerAdhan(QStringLiteral("dhuhr"), bundle, false);
    vm->triggerAdhan(QStringLiteral("dhuhr"), bundle, false);
    ASSERT_EQ(triggers.size(), 1u);
    EXPECT_TRUE(player.ringing());
    EXPECT_EQ(player.activePrayerName(), QStringLiteral("Dhuhr"));
    EXPECT_EQ(player.rakatTitle(), QStringLiteral("Jumu'ah (Friday)"));
    EXPECT_EQ(player.rakatLines(), (QStringList{"4 Sunnah", "2 Fard", "4+2 Sunnah", "2 Nafl"}));
    EXPECT_EQ(player.rakatTotal(), QStringLiteral("14 total"));
    vm->triggerAdhan(QStringLiteral("dhuhr"), bundle, true);
    EXPECT_EQ(triggers.size(), 2u);
    EXPECT_TRUE(triggers.back().force);
    // Not a prayer that rings.
    vm->triggerAdhan(QStringLiteral("sunrise"), bundle, true);
    vm->triggerAdhan(QString(), bundle, true);
    EXPECT_EQ(triggers.size(), 2u);
    // The guard is per civil day of the place: the next day it rings again.
    clock.advanceSeconds(86400);
    vm->triggerAdhan(QStringLiteral("dhuhr"), bundle, false);
    EXPECT_EQ(triggers.size(), 3u);
    EXPECT_EQ(player.rakatTitle(), QStringLiteral("Dhuhr")) << "Saturday";
}

// Makkah, December 2026: the call is tried by hand five minutes before maghrib (the face's button, or a
// link or a notification's "Play full adhan") and stopped; or played by hand inside maghrib's minute. The
// clock may quit and start again within the minute (a session ended during the call, an autostart after a
// crash): the call is not heard again.
TEST_F(ClockViewModelTest, AForcedPlayIsThePrayersCallOnlyFromItsMinute) {
    struct Row {
        int day;  // of December
        int playedFromMinuteS;
        bool byEvent;
        std::optional<int> restartedAtS;      // into the minute
        bool recordOfAnEarlierBuild = false;  // the calls kept by prayer and day alone
    };
    placeWithComputedTimes(21.4225, 39.8262, 3.0);
    for (const Row& r : {Row{7, -300, false, {}}, Row{8, -300, true, {}}, Row{9, 10, false, {}},
                         Row{10, -300, false, 20}, Row{11, 10, true, 30}, Row{12, 10, false, 30, true}}) {
        FakeClock clock(QDateTime(QDate(2026, 12, r.day), QTime(9, 0), Qt::UTC));
        ASSERT_TRUE(await(vm->resolveAndLoad(false)));
        const std::int64_t maghrib = minuteOf(vm->bundle()->prayers, "maghrib", Clock::nowMs());
        clock.set(QDateTime::fromMSecsSinceEpoch(maghrib + r.playedFromMinuteS * 1000, Qt::UTC));
        triggers.clear();
        if (r.byEvent)
            AppEvents::shared().post(QStringLiteral("OrvanePlayPrayer"), QStringLiteral("maghrib"), true);
        else
            vm->triggerAdhan(QStringLiteral("maghrib"), true);
        player.stop();
        while (Clock::nowMs() < maghrib + 120'000) {
            clock.advanceSeconds(1);
            if (r.restartedAtS && Clock::nowMs() == maghrib + *r.restartedAtS * 1000) {
                if (r.recordOfAnEarlierBuild) {
                    QStringList called = store->stringList(QLatin1String(AdhanCallRecord::storeKey)).value();
                    for (QString& entry : called) entry = entry.section(QLatin1Char('.'), 0, 2);
                    store->setStringList(QLatin1String(AdhanCallRecord::storeKey), called);
                }
                restart();
                ASSERT_TRUE(await(vm->resolveAndLoad(false)));
            }
            vm->tick();
            alarms.check(Clock::nowMs());
        }
        ASSERT_FALSE(triggers.empty());
        EXPECT_TRUE(triggers.front().force);
        const auto inMinute = std::count_if(triggers.begin(), triggers.end(), [&](const Trigger& t) {
            return t.atMs >= maghrib && t.atMs < maghrib + 60'000;
        });
        EXPECT_EQ(inMinute, 1) << "December " << r.day;
        EXPECT_EQ(triggers.size(), r.playedFromMinuteS < 0 ? 2u : 1u) << "December " << r.day;
    }
}

// The computer's clock moves from one day to a later one, 40 s into the minute a prayer had on the day the
// clock last loaded: nothing rings from those times; the prayer rings once at that day's own minute, or not
// at all when that minute came earlier (slept through). The face shows the new day's times at the first
// tick, also while a slow server holds the reload.
TEST_F(ClockViewModelTest, AClockMovedToAnotherDayRingsFromThatDaysTimesOnce) {
    struct Row {
        const char* place;
        double lat, lon, tz;
        QDate loaded, woken;
        const char* prayer;
        bool slowServer;
    };
    settings->setNotifyMode(QStringLiteral("silent"));
    refreshHours(24, 24, 24, 24, 24);
    for (const Row& r :
         {Row{"Makkah", 21.4225, 39.8262, 3.0, {2026, 5, 18}, {2026, 5, 19}, "maghrib", false},
          Row{"London", 51.5074, -0.1278, 0.0, {2026, 1, 10}, {2026, 1, 14}, "isha", false},
          Row{"London", 51.5074, -0.1278, 0.0, {2026, 1, 20}, {2026, 1, 24}, "isha", true},
          Row{"London", 51.5074, -0.1278, 1.0, {2026, 10, 10}, {2026, 10, 12}, "maghrib", false}}) {
        SCOPED_TRACE(std::string(r.place) + " " + r.woken.toString(Qt::ISODate).toStdString());
        placeWithComputedTimes(r.lat, r.lon, r.tz, r.place);
        FakeClock clock(QDateTime(r.loaded, QTime(9, 0), Qt::UTC));
        ASSERT_TRUE(await(vm->resolveAndLoad(false)));
        const std::int64_t day = CivilDay::daysFromCivil(r.woken.year(), r.woken.month(), r.woken.day());
        const JsonCoding::StringMap times = steps.timesForDay(day);
        const std::int64_t before = minuteOf(vm->bundle()->prayers, r.prayer, CivilDay::startOfDayMs(day, 0));
        const std::int64_t minute = minuteOf(times, r.prayer, CivilDay::startOfDayMs(day, 0));
        ASSERT_NE(minute, before) << "the prayer's minute moves";
        steps.holdBuilds = steps.holdHijri = r.slowServer;
        triggers.clear();
        clock.set(QDateTime::fromMSecsSinceEpoch(before + 40'000, Qt::UTC));
        const int hijriCalls = steps.hijriCalls;
        if (r.slowServer) vm->resolveAndLoad(false);  // the window comes forward on waking
        vm->tick();
        EXPECT_EQ(steps.hijriCalls, hijriCalls + 1) << "one load for the new day";
        EXPECT_EQ(vm->bundle()->date.gregorian, r.woken.toString(Qt::ISODate));
        EXPECT_EQ(vm->bundle()->prayers, times);
        while (Clock::nowMs() < std::max(before, minute) + 180'000) {
            clock.advanceSeconds(1);
            vm->tick();
            alarms.check(Clock::nowMs());
            if (r.slowServer && Clock::nowMs() == minute + 5'000) {
                steps.holdHijri = steps.holdBuilds = false;
                steps.releaseOne();
                ASSERT_TRUE(QTest::qWaitFor([&] { return !vm->isLoading(); }, 5000));
            }
        }
        ASSERT_EQ(triggers.size(), minute > before ? 1u : 0u);
        for (const Trigger& t : triggers) {
            EXPECT_EQ(t.prayer, QLatin1String(r.prayer));
            EXPECT_GE(t.atMs, minute);
            EXPECT_LT(t.atMs, minute + 60'000);
        }
    }
}

TEST_F(ClockViewModelTest, EmergencyAlertsAreAnnouncedOnceAcrossReloadsAndRestarts) {
    Alert severe;
    severe.type = QStringLiteral("weather");
    severe.event = QStringLiteral("Tornado Warning");
    severe.headline = QStringLiteral("Take shelter now");
    severe.severity = QStringLiteral("Extreme");
    severe.time = QStringLiteral("2026-03-01T05:00:00Z");
    Alert mild = severe;
    mild.event = QStringLiteral("Frost Advisory");
    mild.severity = QStringLiteral("Minor");
    steps.alerts = {severe, mild};
    settings->setEmergencyAlarm(true);
    fixPlace(35.0, -97.0);
    FakeClock clock("2026-03-01T06:00:00Z");
    ASSERT_TRUE(await(vm->resolveAndLoad(false)));
    EXPECT_TRUE(player.emergencyRinging());
    EXPECT_EQ(player.emergencyTitle(), QStringLiteral("Tornado Warning"));
    EXPECT_EQ(player.emergencyBody(), QStringLiteral("Take shelter now"));
    EXPECT_EQ(store->stringList(QStringLiteral("seenEmergencyIds.device-test")), QStringList{severe.id()});
    player.stopEmergency();

    ASSERT_TRUE(await(vm->resolveAndLoad(true)));
    EXPECT_FALSE(player.emergencyRinging());

    // A restart remembers it too.
    vm = std::make_unique<ClockViewModel>(*settings, steps,
                                          ClockViewModel::Collaborators{&player, scheduler.get(), &alarms});
    ASSERT_TRUE(await(vm->resolveAndLoad(false)));
    EXPECT_FALSE(player.emergencyRinging());

    // A quake flagged as an emergency has no headline: magnitude and place speak for it.
    Alert quake;
    quake.type = QStringLiteral("earthquake");
    quake.event = QStringLiteral("Earthquake");
    quake.magnitude = 6.4;
    quake.place = QStringLiteral("Red Sea");
    quake.emergency = true;
    steps.alerts.append(quake);
    ASSERT_TRUE(await(vm->resolveAndLoad(false)));
    EXPECT_TRUE(player.emergencyRinging());
    EXPECT_EQ(player.emergencyBody(), QStringLiteral("M6.4 \u00b7 Red Sea"));
    player.stopEmergency();

    // With the alarm off a new alert is still remembered, silently.
    settings->setEmergencyAlarm(false);
    Alert other = severe;
    other.headline = QStringLiteral("Second warning");
    steps.alerts.append(other);
    ASSERT_TRUE(await(vm->resolveAndLoad(false)));
    EXPECT_FALSE(player.emergencyRinging());
    EXPECT_EQ(store->stringList(QStringLiteral("seenEmergencyIds.device-test"))->size(), 3);
}

TEST_F(ClockViewModelTest, ALoadOvertakenByANewerOneWritesNothing) {
    steps.holdBuilds = true;
    FakeClock clock("2026-03-01T06:00:00Z");
    QList<double> published;
    QObject::connect(vm.get(), &ClockViewModel::bundleChanged, [&] {
        if (vm->bundle()) published << vm->bundle()->location.lat;
    });
    auto first = vm->load(48.85, 2.35, QStringLiteral("Paris"), std::nullopt, false);
    auto second = vm->load(40.71, -74.0, QStringLiteral("New York"), std::nullopt, false);
    steps.releaseOne();
    EXPECT_FALSE(await(std::move(first)));
    EXPECT_TRUE(published.isEmpty());
    EXPECT_NE(settings->lastKnownLat(), 48.85);
    EXPECT_FALSE(store->contains(QStringLiteral("cachedBundle.device-test")));
    steps.releaseOne();
    EXPECT_TRUE(await(std::move(second)));
    EXPECT_EQ(published, QList<double>{40.71});
    EXPECT_EQ(settings->lastKnownLat(), 40.71);
    EXPECT_EQ(store->doubleValue(QStringLiteral("cachedBundleLat.device-test")), 40.71);
    EXPECT_EQ(steps.checkins.size(), 1);
}

TEST_F(ClockViewModelTest, HydratesOnlyFromADecodableCachedBundle) {
    const QString key = QStringLiteral("cachedBundle.device-test");
    EXPECT_FALSE(vm->hydrateFromCache());
    for (const QByteArray& bad : {QByteArray("{\"location\": {"), QByteArray("{}"), QByteArray("[1,2]"),
                                  QByteArray("\xff\xfe garbage")}) {
        store->setData(key, bad);
        EXPECT_FALSE(vm->hydrateFromCache()) << bad.constData();
        EXPECT_FALSE(vm->hasBundle());
    }
    FakeClock clock("2026-03-01T06:00:00Z");
    fixPlace(21.42, 39.83);
    ASSERT_TRUE(await(vm->resolveAndLoad(false)));
    const QJsonValue cached = vm->bundle()->toJson();
    ClockViewModel restarted(*settings, steps,
                             ClockViewModel::Collaborators{&player, scheduler.get(), &alarms});
    ASSERT_TRUE(restarted.hydrateFromCache());
    EXPECT_EQ(restarted.bundle()->toJson(), cached);
    // An older release kept it as text.
    store->setString(key, QString::fromUtf8(QJsonDocument(cached.toObject()).toJson()));
    ClockViewModel fromText(*settings, steps,
                            ClockViewModel::Collaborators{&player, scheduler.get(), &alarms});
    EXPECT_TRUE(fromText.hydrateFromCache());
}

TEST_F(ClockViewModelTest, ResolvesTheBestKnownPlace) {
    FakeClock clock("2026-03-01T06:00:00Z");
    EXPECT_FALSE(await(vm->resolveAndLoad(false))) << "no place known";
    EXPECT_EQ(steps.builds, 0);
    store->setDouble(QStringLiteral("cachedBundleLat.device-test"), 51.5);
    store->setDouble(QStringLiteral("cachedBundleLon.device-test"), -0.12);
    ASSERT_TRUE(await(vm->resolveAndLoad(false)));
    EXPECT_EQ(steps.builtFor.last(), std::make_pair(51.5, -0.12));
    fixPlace(21.42, 39.83);
    ASSERT_TRUE(await(vm->resolveAndLoad(false)));
    EXPECT_EQ(steps.builtFor.last(), std::make_pair(21.42, 39.83));
    EXPECT_EQ(vm->bundle()->location.city, QStringLiteral("Makkah"));
}

TEST_F(ClockViewModelTest, InAutomaticModeTheDevicesFixIsAskedForAndAMoveReloads) {
    FakeClock clock("2026-03-01T06:00:00Z");
    refreshHours(1, 1, 1, 1, 1);
    auto* source = new FakePositionSource;
    LocationManager location(source, nullptr, [] { return true; });
    vm->setLocationManager(&location);
    source->fix(21.4225, 39.8262);
    ASSERT_TRUE(await(vm->resolveAndLoad(false)));
    EXPECT_EQ(source->requestTimeouts.size(), 1u) << "asked at the first load";
    EXPECT_EQ(steps.builtFor.last(), std::make_pair(21.4225, 39.8262));
    EXPECT_TRUE(steps.devicePlaces.last()) << "the computer's own place";

    // About 4 km north is still the same place; about 6 km is not.
    source->fix(21.4585, 39.8262);
    clocktest::settle(50);
    EXPECT_EQ(steps.builds, 1);
    source->fix(21.4765, 39.8262);
    ASSERT_TRUE(QTest::qWaitFor([&] { return steps.builds == 2 && !vm->isLoading(); }, 5000));
    EXPECT_EQ(steps.builtFor.last(), std::make_pair(21.4765, 39.8262));
    EXPECT_EQ(vm->bundle()->location.lat, 21.4765);
    EXPECT_EQ(source->requestTimeouts.size(), 2u);

    // The hourly refresh asks again.
    ticks(clock, 3600);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !vm->isLoading(); }, 5000));
    EXPECT_EQ(steps.builds, 3);
    EXPECT_EQ(source->requestTimeouts.size(), 3u);

    // A place chosen by hand neither asks the device nor moves with it.
    fixPlace(51.5, -0.12, "London");
    ASSERT_TRUE(await(vm->resolveAndLoad(false)));
    EXPECT_FALSE(steps.devicePlaces.last());
    EXPECT_EQ(source->requestTimeouts.size(), 3u);
    source->fix(40.0, 40.0);
    clocktest::settle(50);
    EXPECT_EQ(steps.builds, 4);
    EXPECT_EQ(steps.builtFor.last(), std::make_pair(51.5, -0.12));
}

TEST_F(ClockViewModelTest, PresencePingSendsASanitizedCoarseCheckIn) {
    FakeClock clock("2026-03-01T06:00:00Z");
    settings->setDisplayName(QStringLiteral("  Amina\a's clock \n"));
    const ClockBundle b = clocktest::bundleFor(21.4225, 39.8262, 3.0, Clock::nowMs(),
                                               fivePrayers("05:10", "12:20", "15:40", "18:30", "20:00"));
    steps.checkinReply = APIClient::CheckinReply::Refused;
    EXPECT_FALSE(await(vm->presencePing(*settings, 21.4225, 39.8262, b, true)));
    EXPECT_FALSE(settings->hasRegisteredWithServer());
    ASSERT_EQ(steps.checkins.size(), 1);
    const QJsonObject body = steps.checkins[0];
    EXPECT_EQ(body.value("display_name").toString(), QStringLiteral("Amina's clock"));
    EXPECT_EQ(body.value("device_id").toString(), QStringLiteral("device-test"));
    EXPECT_TRUE(AppSettings::isValidClockId(body.value("clock_id").toString()));
    EXPECT_EQ(body.value("lat").toDouble(), 21.4);
    EXPECT_EQ(body.value("lon").toDouble(), 39.8);
    EXPECT_EQ(body.value("city").toString(), QStringLiteral("Testville"));

    EXPECT_EQ(body.value("app_version").toString(), BuildInfo::version());
    EXPECT_FALSE(body.value("app_version").toString().isEmpty());

    steps.checkinReply = APIClient::CheckinReply::Taken;
    EXPECT_FALSE(await(vm->presencePing(*settings, 21.4, 39.8, std::nullopt, false)))
        << "too soon after a refused one: the server heard it";
    EXPECT_EQ(steps.checkins.size(), 1);
    EXPECT_TRUE(await(vm->presencePing(*settings, 0.0, 0.0, std::nullopt, true)));
    EXPECT_TRUE(settings->hasRegisteredWithServer());
    EXPECT_FALSE(steps.checkins.last().contains("lat")) << "missing coordinates are not sent as 0,0";
    settings->setDisplayName(QStringLiteral("me@example.com"));
    clock.advanceSeconds(3600);
    EXPECT_TRUE(await(vm->presencePing(*settings, 1, 1, std::nullopt, false)));
    EXPECT_EQ(steps.checkins.last().value("display_name").toString(), QString());
}

TEST_F(ClockViewModelTest, FaceAspectAndDialLogo) {
    EXPECT_DOUBLE_EQ(vm->faceAspect(), 64.0 / 43.0);
    vm->setFaceAspect(1280.0 / 900.0);
    EXPECT_DOUBLE_EQ(vm->faceAspect(), 1280.0 / 900.0);
    vm->setFaceAspect(std::numeric_limits<double>::infinity());
    vm->setFaceAspect(0);
    EXPECT_DOUBLE_EQ(vm->faceAspect(), 1280.0 / 900.0);

    FakeClock clock("2026-03-01T06:00:00Z");
    fixPlace(21.42, 39.83);
    // No logo cached yet: nothing is shown and the rotation stays; the next load tries again.
    ASSERT_TRUE(await(vm->resolveAndLoad(false)));
    EXPECT_TRUE(vm->dialLogoURL().isEmpty());
    EXPECT_EQ(settings->logoRotateIndex(), 0);
    steps.picks.clear();
    steps.logo = QUrl::fromLocalFile(QStringLiteral("/logos/1.png"));
    ASSERT_TRUE(await(vm->resolveAndLoad(false)));
    EXPECT_EQ(vm->dialLogoURL(), *steps.logo);
    EXPECT_EQ(settings->logoRotateIndex(), 1);
    steps.logo = QUrl::fromLocalFile(QStringLiteral("/logos/2.png"));
    ASSERT_TRUE(await(vm->resolveAndLoad(false)));
    EXPECT_EQ(vm->dialLogoURL().toLocalFile(), QStringLiteral("/logos/1.png")) << "picked once per run";
    EXPECT_EQ(steps.picks, QList<int>{0});
    vm->requestNewDialLogo();
    ASSERT_TRUE(await(vm->resolveAndLoad(false)));
    EXPECT_EQ(vm->dialLogoURL(), *steps.logo);
    EXPECT_EQ(steps.picks, (QList<int>{0, 1}));
    EXPECT_EQ(settings->logoRotateIndex(), 2);
}

TEST_F(ClockViewModelTest, LoadSchedulesTheWeekAndTurningTheCallOffClearsIt) {
    steps.tzOffsetHours = 3.0;
    fixPlace(21.42, 39.83);
    FakeClock clock("2026-03-10T10:00:00Z");
    ASSERT_TRUE(await(vm->resolveAndLoad(false)));
    EXPECT_EQ(scheduler->pending().size(), 33);
    EXPECT_EQ(scheduler->pending().first().identifier, QStringLiteral("adhan.20260310.asr"));
    settings->setNotifyMode(QStringLiteral("off"));
    EXPECT_TRUE(scheduler->pending().isEmpty());
    settings->setNotifyMode(QStringLiteral("silent"));
    EXPECT_EQ(scheduler->pending().size(), 33);
}

TEST_F(ClockViewModelTest, AnswersPlayPrayerPostedByTheAlarmAndTheNotifications) {
    fixPlace(21.42, 39.83);
    settings->setNotifyMode(QStringLiteral("silent"));
    FakeClock clock("2026-03-10T15:30:20Z");
    AppEvents::shared().post(QStringLiteral("OrvanePlayPrayer"), QStringLiteral("maghrib"), false);
    EXPECT_TRUE(triggers.empty()) << "nothing to play before a bundle is known";
    ASSERT_TRUE(await(vm->resolveAndLoad(false)));
    // The tick, the alarm timer and an arriving notification all announce maghrib (18:30 at UTC+3).
    vm->tick();
    alarms.check(Clock::nowMs());
    AppEvents::shared().post(QStringLiteral("OrvanePlayPrayer"), QStringLiteral("maghrib"), false);
    ASSERT_EQ(triggers.size(), 1u);
    // "Play full adhan" on the notification plays it again.
    AppEvents::shared().post(QStringLiteral("OrvanePlayPrayer"), QStringLiteral("maghrib"), true);
    EXPECT_EQ(triggers.size(), 2u);
}

TEST_F(ClockViewModelTest, ALoadOutlivingTheClockStateTouchesNothing) {
    steps.holdBuilds = true;
    FakeClock clock("2026-03-01T06:00:00Z");
    auto pending = vm->load(48.85, 2.35, QStringLiteral("Paris"), std::nullopt, false);
    vm.reset();
    steps.releaseOne();
    EXPECT_FALSE(await(std::move(pending)));
    EXPECT_FALSE(store->contains(QStringLiteral("cachedBundle.device-test")));
    EXPECT_NE(settings->lastKnownLat(), 48.85);
}

TEST_F(ClockViewModelTest, ABundleWithANumberJsonCannotHoldIsNotCached) {
    FakeClock clock("2026-03-01T06:00:00Z");
    fixPlace(21.42, 39.83);
    ASSERT_TRUE(await(vm->resolveAndLoad(false)));
    const std::optional<QByteArray> good = store->data(QStringLiteral("cachedBundle.device-test"));
    ASSERT_TRUE(good.has_value());
    for (const double bad : {std::nan(""), std::numeric_limits<double>::infinity()}) {
        Alert quake;
        quake.type = QStringLiteral("earthquake");
        quake.event = QStringLiteral("M 5.1");
        quake.magnitude = bad;
        steps.alerts = {quake};
        ASSERT_TRUE(await(vm->resolveAndLoad(true)));
        EXPECT_EQ(vm->bundle()->alerts.size(), 1);  // shown, but not written over the good one
        EXPECT_EQ(store->data(QStringLiteral("cachedBundle.device-test")), good);
    }
    ClockViewModel restarted(*settings, steps,
                             ClockViewModel::Collaborators{&player, scheduler.get(), &alarms});
    EXPECT_TRUE(restarted.hydrateFromCache());
}

// An offline start: the check-ins that never arrive leave the way open, so the one sent when the machine
// is back online goes at once; only then are unforced ones spaced out.
TEST_F(ClockViewModelTest, OnlyACheckInTheServerHeardSpacesOutTheNext) {
    FakeClock clock("2026-03-01T06:00:00Z");
    steps.checkinReply = APIClient::CheckinReply::Unreached;
    EXPECT_FALSE(await(vm->presencePing(*settings, 21.4, 39.8, std::nullopt, false)));
    clock.advanceSeconds(5);
    EXPECT_FALSE(await(vm->presencePing(*settings, 21.4, 39.8, std::nullopt, false)));
    EXPECT_EQ(steps.checkins.size(), 2);
    EXPECT_FALSE(settings->hasRegisteredWithServer());

    steps.checkinReply = APIClient::CheckinReply::Taken;  // back online
    clock.advanceSeconds(5);
    EXPECT_TRUE(await(vm->presencePing(*settings, 21.4, 39.8, std::nullopt, false)));
    EXPECT_EQ(steps.checkins.size(), 3);
    EXPECT_TRUE(settings->hasRegisteredWithServer());

    clock.advanceSeconds(ClockViewModel::checkinSpacingMs / 1000 - 1);
    EXPECT_FALSE(await(vm->presencePing(*settings, 21.4, 39.8, std::nullopt, false)));
    EXPECT_EQ(steps.checkins.size(), 3);
    clock.advanceSeconds(1);
    EXPECT_TRUE(await(vm->presencePing(*settings, 21.4, 39.8, std::nullopt, false)));
    EXPECT_EQ(steps.checkins.size(), 4);
    EXPECT_EQ(steps.checkinTimeouts.last(), APIClient::defaultRequestTimeout);
}

// A check-in under way is not doubled by another unforced one (start-up and the first load both ask).
TEST_F(ClockViewModelTest, OneUnforcedCheckInAtATime) {
    FakeClock clock("2026-03-01T06:00:00Z");
    steps.holdCheckins = true;
    auto first = vm->presencePing(*settings, 21.4, 39.8, std::nullopt, false, APIClient::startupTimeout);
    EXPECT_FALSE(await(vm->presencePing(*settings, 21.4, 39.8, std::nullopt, false)));
    EXPECT_EQ(steps.checkins.size(), 1);
    EXPECT_EQ(steps.checkinTimeouts.first(), APIClient::startupTimeout);
    steps.holdCheckins = false;
    EXPECT_TRUE(await(std::move(first)));
}

// The first face is not held back by the server's Hijri confirmation; when the confirmation moves the day,
// the face follows. Once a face is shown, a load builds on the confirmed day.
TEST_F(ClockViewModelTest, TheFirstFaceDoesNotWaitForTheHijriConfirmation) {
    FakeClock clock("2026-03-01T06:00:00Z");
    fixPlace(21.42, 39.83);
    steps.holdHijri = true;
    auto first = vm->resolveAndLoad(false);
    ASSERT_TRUE(QTest::qWaitFor([&] { return vm->hasBundle(); }, 2000));
    EXPECT_EQ(steps.builds, 1);
    const qint64 shownDay = vm->bundle()->date.hijri.day;
    DefaultsStore::standard().setInteger(QStringLiteral("hijri.authority.dayOffset"), 1);
    steps.holdHijri = false;
    EXPECT_TRUE(await(std::move(first)));
    EXPECT_EQ(steps.builds, 2);
    EXPECT_EQ(vm->bundle()->date.hijri.day, shownDay + 1);

    steps.holdHijri = true;
    auto second = vm->resolveAndLoad(false);
    QTest::qWait(50);
    EXPECT_EQ(steps.builds, 2);
    steps.holdHijri = false;
    EXPECT_TRUE(await(std::move(second)));
    EXPECT_EQ(steps.builds, 3);  // the confirmed day was already shown: one build
    DefaultsStore::standard().remove(QStringLiteral("hijri.authority.dayOffset"));
}

// A server holding the asset syncs holds back neither the cached bundle, the week of notifications, the
// alarm service's times nor a new emergency alert; the synced dial logo and theme reach the face when they
// come, and the check-in follows them.
TEST_F(ClockViewModelTest, ALoadKeepsItsBundleWithoutWaitingForTheServer) {
    FakeClock clock("2026-03-10T15:30:20Z");  // maghrib, 18:30 at UTC+3, began 20 s ago
    fixPlace(21.42, 39.83);
    Alert severe;
    severe.event = QStringLiteral("Tornado Warning");
    severe.severity = QStringLiteral("Extreme");
    steps.alerts = {severe};
    settings->setEmergencyAlarm(true);
    steps.logo = QUrl::fromLocalFile(QStringLiteral("/logos/1.png"));
    ThemeConfig theme;
    theme.moonSize = 140;
    steps.theme = theme;
    steps.holdHijri = steps.holdAssets = true;
    QStringList fired;
    QObject::connect(&alarms, &MacPrayerAlarmService::fired, [&](const QString& p) { fired << p; });
    auto load = vm->resolveAndLoad(false);
    ASSERT_TRUE(QTest::qWaitFor([&] { return vm->hasBundle(); }, 2000));
    EXPECT_TRUE(store->contains(QStringLiteral("cachedBundle.device-test")));
    EXPECT_EQ(scheduler->pending().size(), 31);  // isha, then six whole days
    alarms.check(Clock::nowMs());
    EXPECT_EQ(fired, QStringList{QStringLiteral("maghrib")});
    EXPECT_TRUE(player.emergencyRinging());
    EXPECT_TRUE(steps.picks.isEmpty());
    EXPECT_TRUE(steps.checkins.isEmpty());

    steps.holdHijri = steps.holdAssets = false;
    EXPECT_TRUE(await(std::move(load)));
    EXPECT_EQ(vm->dialLogoURL(), *steps.logo);
    EXPECT_EQ(vm->bundle()->theme, steps.theme);
    ClockViewModel restarted(*settings, steps,
                             ClockViewModel::Collaborators{&player, scheduler.get(), &alarms});
    ASSERT_TRUE(restarted.hydrateFromCache());
    EXPECT_EQ(restarted.bundle()->theme, steps.theme);
    EXPECT_EQ(steps.checkins.size(), 1);
}
