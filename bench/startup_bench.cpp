// Time from start to the first face for a known place with no cached bundle: with an own server that answers
// at once (the baseline) and with one that accepts connections and never answers. The public services are
// a loopback fixture server in both. Each iteration is a whole application in a fresh private home. Read the
// two figures as a ratio; a silent server should cost next to nothing.
#include <benchmark/benchmark.h>

#include "FixtureServer.h"
#include "MakkahProfile.h"
#include "SilentServer.h"
#include "TempHome.h"
#include "WholeAppBench.h"
#include "platform/DefaultsStore.h"
#include "platform/Endpoints.h"
#include "shell/OrvaneApp.h"
#include "ui/shell/RootController.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QTest>
#include <cstdio>
#include <cstdlib>

namespace {

constexpr const char* kDevice = "BENCH-STARTUP";

// One start in this process: a fresh private home, the servers, the application until its first face. The
// milliseconds go to standard output; -1 when no face came within a minute.
int runOnce(bool silentServer) {
    TempHome home;
    DefaultsStore::resetStandard();
    seedMakkahProfile(kDevice);
    FixtureServer services;
    SilentServer silent;
    Endpoints endpoints = Endpoints::allAt(services.origin());
    if (silentServer) endpoints.server = silent.origin();
    Endpoints::setCurrent(endpoints);
    QElapsedTimer elapsed;
    elapsed.start();
    OrvaneApp app(false);
    const bool shown = app.start() && QTest::qWaitFor([&] { return app.root()->hasBundle(); }, 60000);
    std::printf("%lld\n", shown ? static_cast<long long>(elapsed.elapsed()) : -1LL);
    std::fflush(stdout);
    // Ends here rather than unwinding an application with requests still hanging on the silent server.
    std::_Exit(0);
}

// Each iteration is a child process, since one process holds one application.
void firstFace(benchmark::State& state, const char* mode) {
    for (auto _ : state) {
        QProcess child;
        child.start(QCoreApplication::applicationFilePath(),
                    {QStringLiteral("--child"), QLatin1String(mode)});
        const bool done = child.waitForFinished(90000);
        const long long ms = done ? QByteArray(child.readAllStandardOutput()).trimmed().toLongLong() : -1;
        if (ms < 0) {
            state.SkipWithError("no face within a minute");
            break;
        }
        state.SetIterationTime(double(ms) / 1000.0);
    }
}

void FirstFaceAnsweringServer(benchmark::State& state) {
    firstFace(state, "answering");
}
void FirstFaceSilentServer(benchmark::State& state) {
    firstFace(state, "silent");
}
BENCHMARK(FirstFaceAnsweringServer)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(FirstFaceSilentServer)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace

int main(int argc, char** argv) {
    WholeAppBench::prepareEnvironment(kDevice);
    QApplication app(argc, argv);
    WholeAppBench::nameApplication();
    if (argc == 3 && qstrcmp(argv[1], "--child") == 0) return runOnce(qstrcmp(argv[2], "silent") == 0);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
