#include <gtest/gtest.h>

#include "Await.h"
#include "DeviceZone.h"
#include "EngineClock.h"
#include "FakeClock.h"
#include "FakePositionSource.h"
#include "services/LocationManager.h"
#include "ui/face/ClockFaceController.h"

#include <QTest>

#include <algorithm>

// London on the night the clocks go forward, 2026-03-29 at 01:00Z: the clock, the real bundle engine with
// every remote service unreachable, and the face fed from it, ticked through the change by the fake clock.
namespace {

std::int64_t utc(const char* iso) {
    return QDateTime::fromString(QLatin1String(iso), Qt::ISODate).toMSecsSinceEpoch();
}

QString cellTime(const ClockFaceController& face, const char* key) {
    for (const QVariant& cell : face.prayerCells()) {
        const QVariantMap map = cell.toMap();
        if (map.value(QStringLiteral("key")).toString() == QLatin1String(key))
            return map.value(QStringLiteral("time")).toString();
    }
    return {};
}

// The scheduled prayer notifications as (identifier, instant) pairs.
std::vector<std::pair<QString, std::int64_t>> schedule(const NotificationScheduler& scheduler) {
    std::vector<std::pair<QString, std::int64_t>> out;
    for (const auto& r : scheduler.pending()) out.emplace_back(r.identifier, r.fireAtMs);
    return out;
}

}  // namespace

TEST(FaceAcrossTheChangeOfClocks, TimeDatesAndPrayersFollowTheNewOffsetAndTheAlarmsStay) {
    EngineClock world("device-dst");
    {
        AppSettings& settings = world.settings;
        settings.setNotifyMode(QStringLiteral("silent"));
        settings.setUseManualLocation(true);
        settings.setManualCity(QStringLiteral("London"));
        settings.setManualLat(51.5074);
        settings.setManualLon(-0.1278);
        const NotificationScheduler& scheduler = world.scheduler;
        MacPrayerAlarmService& alarms = world.alarms;
        ClockViewModel& vm = world.vm;
        std::vector<std::pair<QString, std::int64_t>> rang, alarmed;
        QObject::connect(&vm, &ClockViewModel::adhanTriggered,
                         [&](const QString& p, bool) { rang.emplace_back(p, Clock::nowMs()); });
        QObject::connect(&alarms, &MacPrayerAlarmService::fired,
                         [&](const QString& p) { alarmed.emplace_back(p, Clock::nowMs()); });
        std::optional<std::int64_t> followedAt;
        QObject::connect(&vm, &ClockViewModel::bundleChanged, [&] {
            if (!followedAt && vm.bundle()->location.tzOffsetHours == 1.0) followedAt = Clock::nowMs();
        });
        ClockFaceController face;
        face.setUse24HourClock(true);
        const auto show = [&] {
            face.setBundle(*vm.bundle());
            face.setNow(double(Clock::nowMs()));
        };

        FakeClock clock("2026-03-29T00:05:30Z");
        ASSERT_TRUE(await(vm.resolveAndLoad(false)));
        ASSERT_EQ(vm.bundle()->location.tzOffsetHours, 0.0);
        EXPECT_EQ(vm.bundle()->prayers.value(QStringLiteral("fajr")), QStringLiteral("04:08"));
        EXPECT_EQ(vm.nextZoneChangeMs(), utc("2026-03-29T01:00:00Z"));
        show();
        EXPECT_EQ(face.digitalTime(), QStringLiteral("00:05:30"));
        EXPECT_EQ(face.gregorianText(), QStringLiteral("Sunday, Mar 29, 2026"));
        EXPECT_EQ(cellTime(face, "fajr"), QStringLiteral("04:08"));
        const auto weekBefore = schedule(scheduler);
        ASSERT_EQ(weekBefore.size(), 35u);

        const auto tickUntil = [&](const char* iso) {
            while (Clock::nowMs() < utc(iso)) {
                clock.advanceSeconds(1);
                vm.tick();
                alarms.check(Clock::nowMs());
                if (vm.isLoading()) {
                    ASSERT_TRUE(QTest::qWaitFor([&] { return !vm.isLoading(); }, 60000));
                }
            }
        };
        tickUntil("2026-03-29T01:01:00Z");
        ASSERT_TRUE(followedAt);
        EXPECT_GE(*followedAt, utc("2026-03-29T01:00:00Z"));
        EXPECT_LE(*followedAt, utc("2026-03-29T01:00:02Z")) << "within a second or two of the change";
        EXPECT_EQ(vm.bundle()->prayers.value(QStringLiteral("fajr")), QStringLiteral("05:08"));
        EXPECT_EQ(vm.nextZoneChangeMs(), utc("2026-10-25T01:00:00Z"));
        show();
        EXPECT_EQ(face.digitalTime(), QStringLiteral("02:01:00"));
        EXPECT_EQ(face.gregorianText(), QStringLiteral("Sunday, Mar 29, 2026"));
        EXPECT_EQ(cellTime(face, "fajr"), QStringLiteral("05:08"));
        EXPECT_EQ(vm.bundle()->date.gregorian, QStringLiteral("2026-03-29"));
        EXPECT_EQ(schedule(scheduler), weekBefore) << "every notification keeps its instant";

        tickUntil("2026-03-29T04:10:00Z");
        ASSERT_EQ(rang.size(), 1u);
        EXPECT_EQ(rang[0].first, QStringLiteral("fajr"));
        EXPECT_GE(rang[0].second, utc("2026-03-29T04:08:00Z"));
        EXPECT_LT(rang[0].second, utc("2026-03-29T04:09:00Z"));
        ASSERT_EQ(alarmed.size(), 1u);
        EXPECT_EQ(alarmed[0].first, QStringLiteral("fajr"));
        EXPECT_GE(alarmed[0].second, utc("2026-03-29T04:08:00Z"));
        EXPECT_LT(alarmed[0].second, utc("2026-03-29T04:09:00Z"));
    }
}

// Istanbul is the computer's own place; its zone, UTC, becomes Europe/Istanbul under the running clock (as
// automatic time zone does after a flight). Within a minute the face, its prayers and the week's notification
// texts read the new clock, the day turns with it, and the next call still rings at its own instant.
TEST(FaceAcrossTheChangeOfClocks, TheComputersOwnPlaceFollowsItsNewZoneWithinAMinute) {
    struct Row {
        const char* at;
        const char* time;
        const char* date;
        const char* hijri;
        const char* next;
    };
    for (const Row& r : {Row{"2026-12-08T12:15:00Z", "15:16:00", "Tuesday, Dec 8, 2026",
                             "28 Jumada al-Thani 1448 AH", "Next: Asr 15:18"},
                         Row{"2026-12-08T22:30:00Z", "01:31:00", "Wednesday, Dec 9, 2026",
                             "29 Jumada al-Thani 1448 AH", "Next: Fajr 06:55"}}) {
        SCOPED_TRACE(r.at);
        DeviceZone startZone("UTC");
        EngineClock world("device-travel");
        world.settings.setNotifyMode(QStringLiteral("silent"));
        world.settings.setUse24HourClock(true);
        auto* source = new FakePositionSource;
        LocationManager location(source, nullptr, [] { return true; });
        world.vm.setLocationManager(&location);
        source->fix(41.0082, 28.9784);
        ClockViewModel& vm = world.vm;
        std::vector<std::pair<QString, std::int64_t>> rang, alarmed;
        QObject::connect(&vm, &ClockViewModel::adhanTriggered,
                         [&](const QString& p, bool) { rang.emplace_back(p, Clock::nowMs()); });
        QObject::connect(&world.alarms, &MacPrayerAlarmService::fired,
                         [&](const QString& p) { alarmed.emplace_back(p, Clock::nowMs()); });
        FakeClock clock(r.at);
        ASSERT_TRUE(await(vm.resolveAndLoad(false)));
        ASSERT_EQ(vm.bundle()->location.tzOffsetHours, 0.0);
        const auto weekBefore = schedule(world.scheduler);
        const QString prayer = weekBefore.front().first.section(QLatin1Char('.'), -1);
        const std::int64_t nextAt = weekBefore.front().second;

        DeviceZone newZone("Europe/Istanbul");
        const std::int64_t changedAt = Clock::nowMs();
        while (vm.bundle()->location.tzOffsetHours != 3.0 && Clock::nowMs() < changedAt + 60'000) {
            clock.advanceSeconds(1);
            vm.tick();
        }
        ASSERT_EQ(vm.bundle()->location.tzOffsetHours, 3.0) << "not followed within a minute";
        ASSERT_TRUE(QTest::qWaitFor([&] { return !vm.isLoading(); }, 60000));
        clock.set(QDateTime::fromMSecsSinceEpoch(changedAt + 60'000, Qt::UTC));
        ClockFaceController face;
        face.setUse24HourClock(true);
        face.setBundle(*vm.bundle());
        face.setNow(double(Clock::nowMs()));
        EXPECT_EQ(face.digitalTime(), QLatin1String(r.time));
        EXPECT_EQ(face.gregorianText(), QLatin1String(r.date));
        EXPECT_EQ(face.hijriText(), QLatin1String(r.hijri));
        EXPECT_EQ(face.nextPrayerLine(), QLatin1String(r.next));
        const auto onNewClock = [](std::int64_t ms) {
            return QDateTime::fromMSecsSinceEpoch(ms, QTimeZone(3 * 3600)).toString(QStringLiteral("HH:mm"));
        };
        EXPECT_EQ(cellTime(face, qPrintable(prayer)), onNewClock(nextAt));
        for (const auto& request : world.scheduler.pending())
            EXPECT_TRUE(request.body.startsWith(onNewClock(request.fireAtMs))) << qPrintable(request.body);
        for (const auto& [identifier, at] : weekBefore)
            EXPECT_EQ(std::count_if(world.scheduler.pending().begin(), world.scheduler.pending().end(),
                                    [&](const auto& request) { return request.fireAtMs == at; }),
                      1)
                << "every call keeps its instant";

        while (Clock::nowMs() < nextAt + 90'000) {
            clock.advanceSeconds(1);
            vm.tick();
            world.alarms.check(Clock::nowMs());
        }
        ASSERT_EQ(rang.size(), 1u);
        EXPECT_EQ(rang[0].first, prayer);
        EXPECT_GE(rang[0].second, nextAt);
        EXPECT_LT(rang[0].second, nextAt + 60'000);
        ASSERT_EQ(alarmed.size(), 1u);
        EXPECT_EQ(alarmed[0].first, rang[0].first);
    }
}

// Istanbul is the computer's own place and zone; 15 s into a prayer's call the zone becomes one where that
// moment is already the next day. The prayer was called: neither the clock nor the alarm calls it again.
TEST(FaceAcrossTheChangeOfClocks, AZoneOnAnotherDayWithinTheCallsMinuteDoesNotCallItAgain) {
    struct Row {
        const char* before;
        const char* prayer;
        const char* zone;
    };
    for (const Row& r : {Row{"2026-12-08T12:17:30Z", "asr", "Pacific/Kiritimati"},
                         Row{"2026-12-08T15:57:30Z", "isha", "Asia/Tokyo"}}) {
        SCOPED_TRACE(r.zone);
        DeviceZone startZone("Europe/Istanbul");
        EngineClock world("device-call-travel");
        auto* source = new FakePositionSource;
        LocationManager location(source, nullptr, [] { return true; });
        world.vm.setLocationManager(&location);
        source->fix(41.0082, 28.9784);
        std::vector<std::pair<QString, std::int64_t>> rang, alarmed;
        QObject::connect(&world.vm, &ClockViewModel::adhanTriggered,
                         [&](const QString& p, bool) { rang.emplace_back(p, Clock::nowMs()); });
        QObject::connect(&world.alarms, &MacPrayerAlarmService::fired,
                         [&](const QString& p) { alarmed.emplace_back(p, Clock::nowMs()); });
        FakeClock clock(r.before);
        ASSERT_TRUE(await(world.vm.resolveAndLoad(false)));
        const std::int64_t until = Clock::nowMs() + 5 * 60'000;
        std::optional<DeviceZone> newZone;
        while (Clock::nowMs() < until) {
            clock.advanceSeconds(1);
            if (!rang.empty() && !newZone && Clock::nowMs() == rang[0].second + 15'000) {
                newZone.emplace(r.zone);
                world.systemZone.recheck();
            }
            world.vm.tick();
            world.alarms.check(Clock::nowMs());
        }
        ASSERT_TRUE(QTest::qWaitFor([&] { return !world.vm.isLoading(); }, 60000));
        ASSERT_TRUE(newZone) << "no call to begin with";
        EXPECT_NE(world.vm.bundle()->date.gregorian, QStringLiteral("2026-12-08")) << "the place's new day";
        ASSERT_EQ(rang.size(), 1u);
        EXPECT_EQ(rang[0].first, QLatin1String(r.prayer));
        EXPECT_EQ(alarmed.size(), 1u);
    }
}
