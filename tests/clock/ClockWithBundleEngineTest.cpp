#include <gtest/gtest.h>

#include "Await.h"
#include "ClockTestSupport.h"
#include "DeviceZone.h"
#include "FakeClock.h"
#include "FakePositionSource.h"
#include "FixtureServer.h"
#include "TempHome.h"
#include "clock/AdhanPlayer.h"
#include "clock/ClockViewModel.h"
#include "clock/MacPrayerAlarmService.h"
#include "clock/NotificationScheduler.h"
#include "engine/LocalBundleBuilder.h"
#include "platform/DefaultsStore.h"
#include "platform/DesktopNotifications.h"
#include "platform/Endpoints.h"
#include "services/AppSettings.h"
#include "services/LocationManager.h"

#include <map>

// The clock over the real bundle engine, every remote service unreachable (a loopback server with no
// routes): the prayers the engine computes ring once each, at their minute, day after day.
namespace {

class EngineSteps : public clocktest::FakeSteps {
  public:
    QCoro::Task<ClockBundle> build(double lat, double lon, SettingsSnapshot settings,
                                   std::optional<QString> city, std::optional<QString> country,
                                   bool force) override {
        ++builds;
        co_return co_await LocalBundleBuilder::build(lat, lon, settings, city, country, force);
    }
};

}  // namespace

TEST(ClockWithBundleEngine, EachComputedPrayerRingsOnceAtItsMinute) {
    qputenv("ORVANE_DEVICE_ID", "device-engine");
    TempHome home;
    DefaultsStore::resetStandard();
    FixtureServer server;
    Endpoints::setCurrent(Endpoints::allAt(server.origin()));
    {
        AppSettings settings(DefaultsStore::standard());
        settings.setNotifyMode(QStringLiteral("silent"));
        settings.setUseManualLocation(true);
        settings.setManualCity(QStringLiteral("Makkah"));
        settings.setManualLat(21.4225);
        settings.setManualLon(39.8262);
        settings.setManualTzOffsetHours(3.0);
        DesktopNotifications client;
        NotificationScheduler scheduler(client, DefaultsStore::standard());
        AdhanPlayer player;
        MacPrayerAlarmService alarms;
        EngineSteps steps;
        ClockViewModel vm(settings, steps, ClockViewModel::Collaborators{&player, &scheduler, &alarms});
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
    Endpoints::setCurrent(Endpoints::builtIn());
    DefaultsStore::resetStandard();
    qunsetenv("ORVANE_DEVICE_ID");
}

// 38.75,-7.40 lies in Portugal, 40 km from Badajoz in Spain: in automatic mode the computer's own zone says
// what the clock there reads; the same point chosen by hand keeps the nearest town's zone.
TEST(ClockWithBundleEngine, TheComputersZoneGivesTheOffsetOfItsOwnPlace) {
    qputenv("ORVANE_DEVICE_ID", "device-border");
    TempHome home;
    DefaultsStore::resetStandard();
    FixtureServer server;
    Endpoints::setCurrent(Endpoints::allAt(server.origin()));
    {
        DeviceZone lisbon("Europe/Lisbon");
        FakeClock clock("2026-12-07T09:00:00Z");
        AppSettings settings(DefaultsStore::standard());
        settings.setNotifyMode(QStringLiteral("off"));
        DesktopNotifications client;
        NotificationScheduler scheduler(client, DefaultsStore::standard());
        AdhanPlayer player;
        MacPrayerAlarmService alarms;
        EngineSteps steps;
        ClockViewModel vm(settings, steps, ClockViewModel::Collaborators{&player, &scheduler, &alarms});
        auto* source = new FakePositionSource;
        LocationManager location(source, nullptr, [] { return true; });
        vm.setLocationManager(&location);
        source->fix(38.75, -7.40);

        ASSERT_TRUE(await(vm.resolveAndLoad(false)));
        EXPECT_EQ(vm.bundle()->location.tzOffsetHours, 0.0);
        EXPECT_EQ(vm.bundle()->location.timeZone, QStringLiteral("Europe/Lisbon"));

        settings.setUseManualLocation(true);
        settings.setManualCity(QStringLiteral("Elvas"));
        settings.setManualLat(38.75);
        settings.setManualLon(-7.40);
        ASSERT_TRUE(await(vm.resolveAndLoad(false)));
        EXPECT_EQ(vm.bundle()->location.tzOffsetHours, 1.0);
        EXPECT_EQ(vm.bundle()->location.timeZone, QStringLiteral("Europe/Madrid"));
    }
    Endpoints::setCurrent(Endpoints::builtIn());
    DefaultsStore::resetStandard();
    qunsetenv("ORVANE_DEVICE_ID");
}
