// Whole bundle builds: warm (every network answer cached, as on most loads), cold against the loopback
// fixture server, and cold with the three place lookups each held back 300 ms, which shows whether they run
// together. A fixed baseline (summing a small array) is measured in the same run so figures can be read as
// ratios across machines.
#include <benchmark/benchmark.h>

#include "Baseline.h"

#include "FixtureServer.h"
#include "engine/LocalBundleBuilder.h"
#include "platform/Clock.h"
#include "platform/DefaultsStore.h"
#include "platform/Endpoints.h"

#include <QCoreApplication>
#include <QTemporaryDir>
#include <chrono>
#include <numeric>

namespace {

constexpr double kLat = 21.4225;
constexpr double kLon = 39.8262;
constexpr std::chrono::milliseconds kSlow{300};

BENCHMARK(Baseline);

// Every service the build asks, answered from the recorded replies; `delay` holds back the place lookups.
void serve(FixtureServer& server, std::chrono::milliseconds delay) {
    const auto fixture = [delay](const char* name, std::chrono::milliseconds wait) {
        FixtureServer::Reply reply;
        reply.body = FixtureServer::fixture(QStringLiteral("bundle-build/") + QLatin1String(name));
        reply.delay = wait;
        return reply;
    };
    server.route(QStringLiteral("/maps/api/timezone/json"), fixture("timezone_riyadh.json", delay));
    server.route(QStringLiteral("/maps/api/geocode/json"), fixture("geocode_makkah.json", delay));
    server.route(QStringLiteral("/maps/api/streetview/metadata"),
                 fixture("streetview_zero_results.json", delay));
    server.route(QStringLiteral("/v1/forecast"), fixture("forecast_makkah.json", {}));
    server.routeJson(QStringLiteral("/fdsnws/event/1/query"),
                     R"({"type":"FeatureCollection","features":[]})");
    Endpoints::setCurrent(Endpoints::allAt(server.origin(), QStringLiteral("bench-key")));
}

ClockBundle build(bool force) {
    return QCoro::waitFor(LocalBundleBuilder::build(kLat, kLon, SettingsSnapshot::defaults(), std::nullopt,
                                                    std::nullopt, force));
}

void BundleBuildWarm(benchmark::State& state) {
    FixtureServer server;
    serve(server, {});
    build(true);
    const qsizetype requests = server.log().size();
    for (auto _ : state) benchmark::DoNotOptimize(build(false));
    if (server.log().size() != requests) state.SkipWithError("a warm build made a request");
}
BENCHMARK(BundleBuildWarm)->Unit(benchmark::kMicrosecond);

void BundleBuildColdLoopback(benchmark::State& state) {
    FixtureServer server;
    serve(server, {});
    for (auto _ : state) benchmark::DoNotOptimize(build(true));
}
BENCHMARK(BundleBuildColdLoopback)->Unit(benchmark::kMillisecond)->UseRealTime();

void BundleBuildColdSlowPlaceLookups(benchmark::State& state) {
    FixtureServer server;
    serve(server, kSlow);
    for (auto _ : state) benchmark::DoNotOptimize(build(true));
}
BENCHMARK(BundleBuildColdSlowPlaceLookups)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);

}  // namespace

int main(int argc, char** argv) {
    // A private, empty defaults store and cache, never the user's own.
    QTemporaryDir home;
    qputenv("HOME", home.path().toUtf8());
    qputenv("XDG_CONFIG_HOME", (home.path() + QStringLiteral("/config")).toUtf8());
    qputenv("XDG_DATA_HOME", (home.path() + QStringLiteral("/data")).toUtf8());
    qputenv("XDG_CACHE_HOME", (home.path() + QStringLiteral("/cache")).toUtf8());
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("Orvane"));
    DefaultsStore::resetStandard();
    Clock::setFixed(QDateTime(QDate(2026, 12, 7), QTime(9, 0), Qt::UTC));
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    Endpoints::setCurrent(Endpoints::builtIn());
    DefaultsStore::resetStandard();
    return 0;
}
