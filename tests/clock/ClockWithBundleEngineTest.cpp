#include <gtest/gtest.h>

#include "Await.h"
#include "DeviceZone.h"
#include "EngineClock.h"
#include "FakeClock.h"
#include "FakePositionSource.h"
#include "engine/CivilDay.h"
#include "services/LocationManager.h"

#include <QTest>

#include <map>

// The clock over the real bundle engine, every remote service unreachable (a loopback server with no
// routes): the prayers the engine computes ring once each, at their minute, day after day.

TEST(ClockWithBundleEngine, EachComputedPrayerRingsOnceAtItsMinute) {
    EngineClock world("device-engine");
    {
        AppSettings& settings = world.settings;
        settings.setNotifyMode(QStringLiteral("silent"));
        settings.setUseManualLocation(true);
        settings.setManualCity(QStringLiteral("Makkah"));
        settings.setManualLat(21.4225);
        settings.setManualLon(39.8262);
        settings.setManualTzOffsetHours(3.0);
        ClockViewModel& vm = world.vm;
        const EngineClock::Steps& steps = world.steps;
        std::vector<std::pair<QString, std::int64_t>> rang;
        QObject::connect(&vm, &ClockViewModel::adhanTriggered,
                         [&](const QString& p, bool) { rang.emplace_back(p, Clock::nowMs()); });
        std::map<std::int64_t, JsonCoding::StringMap> timesOfDay;
        QObject::connect(&vm, &ClockViewModel::bundleChanged, [&] {
            const std::optional<CivilDay::Date> d = CivilDay::parseIso(vm.bundle()->date.gregorian);
            ASSERT_TRUE(d);
            timesOfDay[CivilDay::daysFromCivil(d->year, d->month, d->day)] = vm.bundle()->prayers;
        });

        FakeClock clock("2026-06-20T21:00:30Z");  // 00:00:30 at the place
        ASSERT_TRUE(await(vm.resolveAndLoad(false)));
        EXPECT_EQ(vm.bundle()->location.tzOffsetHours, 3.0);
        for (int i = 0; i < 2 * 86400; ++i) {
            clock.advanceSeconds(1);
            vm.tick();
            // A real build waits on the (refusing) network; the simulated clock stands still meanwhile.
            if (vm.isLoading()) {
                ASSERT_TRUE(QTest::qWaitFor([&] { return !vm.isLoading(); }, 60000));
            }
        }
        ASSERT_EQ(timesOfDay.size(), 3u)
            << "builds " << steps.builds << " date " << qPrintable(vm.bundle()->date.gregorian) << " loading "
            << vm.isLoading();
        ASSERT_EQ(rang.size(), 10u);
        std::map<std::pair<std::int64_t, QString>, int> count;
        for (const auto& [prayer, at] : rang) {
            const std::int64_t day = CivilDay::dayOf(at, 3 * 3600);
            const auto minute = LocalBundleBuilder::minutesOfDay(timesOfDay[day].value(prayer));
            ASSERT_TRUE(minute) << qPrintable(prayer);
            const std::int64_t since = at - CivilDay::startOfDayMs(day, 3 * 3600) - *minute * 60'000;
            EXPECT_GE(since, 0) << qPrintable(prayer);
            EXPECT_LT(since, 60'000) << qPrintable(prayer);
            EXPECT_EQ(++count[std::make_pair(day, prayer)], 1);
        }
    }
}

// 38.75,-7.40 lies in Portugal, 40 km from Badajoz in Spain: in automatic mode the computer's own zone says
// what the clock there reads; the same point chosen by hand keeps the nearest town's zone.
TEST(ClockWithBundleEngine, TheComputersZoneGivesTheOffsetOfItsOwnPlace) {
    DeviceZone lisbon("Europe/Lisbon");
    FakeClock clock("2026-12-07T09:00:00Z");
    EngineClock world("device-border");
    world.settings.setNotifyMode(QStringLiteral("off"));
    auto* source = new FakePositionSource;
    LocationManager location(source, nullptr, [] { return true; });
    world.vm.setLocationManager(&location);
    source->fix(38.75, -7.40);

    ASSERT_TRUE(await(world.vm.resolveAndLoad(false)));
    EXPECT_EQ(world.vm.bundle()->location.tzOffsetHours, 0.0);
    EXPECT_EQ(world.vm.bundle()->location.timeZone, QStringLiteral("Europe/Lisbon"));

    world.settings.setUseManualLocation(true);
    world.settings.setManualCity(QStringLiteral("Elvas"));
    world.settings.setManualLat(38.75);
    world.settings.setManualLon(-7.40);
    ASSERT_TRUE(await(world.vm.resolveAndLoad(false)));
    EXPECT_EQ(world.vm.bundle()->location.tzOffsetHours, 1.0);
    EXPECT_EQ(world.vm.bundle()->location.timeZone, QStringLiteral("Europe/Madrid"));
}
