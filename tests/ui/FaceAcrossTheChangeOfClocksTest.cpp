#include <gtest/gtest.h>

#include "Await.h"
#include "EngineClock.h"
#include "FakeClock.h"
#include "ui/face/ClockFaceController.h"

#include <QTest>

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
