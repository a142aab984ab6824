// The engine's per-bundle and per-tick work: one day of prayer times, the next prayer, a Hijri conversion,
// month grids, the moon and the event list. A fixed baseline (summing a small array) is measured in the
// same run so figures can be read as ratios across machines.
#include <benchmark/benchmark.h>

#include "Baseline.h"

#include "engine/LocalBundleBuilder.h"
#include "engine/LocalHijri.h"
#include "engine/LocalHijriEvents.h"
#include "engine/LocalLabels.h"
#include "engine/LocalMoon.h"
#include "engine/LocalPrayerTimes.h"
#include "platform/DefaultsStore.h"

#include <QCoreApplication>
#include <QTemporaryDir>
#include <numeric>

namespace {

const QDateTime kNow = QDateTime(QDate(2026, 3, 20), QTime(9, 30), Qt::UTC);
const LocalHijri::Location kCairo{30.0444, 31.2357, 2};

BENCHMARK(Baseline);

void PrayerTimesOneDay(benchmark::State& state) {
    const LocalPrayerTimes::Calculator calculator("ISNA", 1, "angle");
    int day = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(calculator.times(2026, 3, 1 + day, 30.0444, 31.2357, 2));
        day = (day + 1) % 28;
    }
}
BENCHMARK(PrayerTimesOneDay);

void PrayerTimesOneDayWithStrings(benchmark::State& state) {
    const LocalPrayerTimes::Calculator calculator("MWL", 1, "angle");
    for (auto _ : state) {
        const LocalPrayerTimes::DayTimes times = calculator.times(2026, 3, 20, 30.0444, 31.2357, 2);
        for (std::size_t i = 0; i < LocalPrayerTimes::kTimeKeys.size(); ++i)
            benchmark::DoNotOptimize(LocalBundleBuilder::timeString(times.at(i)));
    }
}
BENCHMARK(PrayerTimesOneDayWithStrings);

void NextPrayerTick(benchmark::State& state) {
    const JsonCoding::StringMap prayers{{"fajr", "04:39"}, {"sunrise", "05:59"}, {"dhuhr", "12:04"},
                                        {"asr", "15:30"},  {"maghrib", "18:06"}, {"isha", "19:21"}};
    for (auto _ : state)
        benchmark::DoNotOptimize(LocalBundleBuilder::computeNext(prayers, kNow, 2, LocalLabels::en()));
}
BENCHMARK(NextPrayerTick);

void HijriCivilConversion(benchmark::State& state) {
    qint64 day = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(LocalHijri::civilYMD(kNow.addDays(day)));
        day = (day + 1) % 400;
    }
}
BENCHMARK(HijriCivilConversion);

void HijriDisplayDate(benchmark::State& state) {
    for (auto _ : state) benchmark::DoNotOptimize(LocalHijri::displayYMD(kNow, kCairo, kNow));
}
BENCHMARK(HijriDisplayDate);

void HijriMonthGrid(benchmark::State& state) {
    for (auto _ : state) benchmark::DoNotOptimize(LocalHijri::monthCells(1447, 10, kCairo, kNow));
}
BENCHMARK(HijriMonthGrid);

void GregorianMonthGrid(benchmark::State& state) {
    for (auto _ : state) benchmark::DoNotOptimize(LocalHijri::gregorianMonthCells(2026, 3, kCairo, kNow));
}
BENCHMARK(GregorianMonthGrid);

void MoonInfo(benchmark::State& state) {
    for (auto _ : state) benchmark::DoNotOptimize(LocalMoon::info(kNow, LocalLabels::en()));
}
BENCHMARK(MoonInfo);

void UpcomingEvents(benchmark::State& state) {
    for (auto _ : state)
        benchmark::DoNotOptimize(LocalHijri::upcomingEvents(kNow, 6, LocalLabels::en(), kCairo));
}
BENCHMARK(UpcomingEvents);

}  // namespace

int main(int argc, char** argv) {
    // The stored day offset is read from a private, empty defaults store, never the user's own.
    QTemporaryDir home;
    qputenv("XDG_CONFIG_HOME", home.path().toUtf8());
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("Orvane"));
    DefaultsStore::resetStandard();

    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    DefaultsStore::resetStandard();
    return 0;
}
