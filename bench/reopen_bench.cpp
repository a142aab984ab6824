// Time to bring the window back: from the reopen request to the first frame of the face. A closed window is
// released with its QML engine and built again when it reopens; the baseline is a window that was only
// hidden and is shown again as it was. Whole application, offscreen, software scene graph, fixed place.
#include <benchmark/benchmark.h>

#include "FixtureServer.h"
#include "MakkahProfile.h"
#include "TempHome.h"
#include "WholeAppBench.h"
#include "platform/DefaultsStore.h"
#include "platform/Endpoints.h"
#include "shell/OrvaneApp.h"
#include "ui/shell/RootController.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QQuickWindow>
#include <QTest>
#include <cstdio>
#include <cstdlib>
#include <memory>

namespace {

constexpr const char* kDevice = "BENCH-REOPEN";

// Shows the window and waits for its first frame; false when none came within ten seconds.
bool showAndWaitForFrame(OrvaneApp& app) {
    bool swapped = false;
    app.showWindow();
    if (!app.window()) return false;
    QObject::connect(
        app.window(), &QQuickWindow::frameSwapped, app.window(), [&swapped] { swapped = true; },
        Qt::DirectConnection);
    return QTest::qWaitFor([&] { return swapped; }, 10000);
}

// One application for every benchmark: a process holds one. Built at the first use, with its face shown;
// null when no face came within a minute.
OrvaneApp* shownApp() {
    struct World {
        TempHome home;
        FixtureServer services;
        std::unique_ptr<OrvaneApp> app;
    };
    static World* world = [] {
        auto* w = new World;
        DefaultsStore::resetStandard();
        seedMakkahProfile(kDevice);
        Endpoints::setCurrent(Endpoints::allAt(w->services.origin()));
        w->app = std::make_unique<OrvaneApp>(false);
        if (!w->app->start() || !QTest::qWaitFor([&] { return w->app->root()->hasBundle(); }, 60000) ||
            !showAndWaitForFrame(*w->app))
            w->app.reset();
        return w;
    }();
    return world->app.get();
}

void reopen(benchmark::State& state, bool close) {
    OrvaneApp* app = shownApp();
    if (!app) {
        state.SkipWithError("no face within a minute");
        return;
    }
    for (auto _ : state) {
        state.PauseTiming();
        if (close) {
            app->window()->close();
            if (!QTest::qWaitFor([&] { return app->window() == nullptr; }, 5000)) {
                state.ResumeTiming();
                state.SkipWithError("the closed window was not released");
                break;
            }
        } else {
            app->window()->hide();
        }
        QTest::qWait(200);
        state.ResumeTiming();
        QElapsedTimer elapsed;
        elapsed.start();
        if (!showAndWaitForFrame(*app)) {
            state.SkipWithError("the window did not come back");
            break;
        }
        state.SetIterationTime(double(elapsed.nsecsElapsed()) / 1e9);
    }
}

void ReopenHiddenWindow(benchmark::State& state) {
    reopen(state, false);
}
void ReopenReleasedWindow(benchmark::State& state) {
    reopen(state, true);
}
BENCHMARK(ReopenHiddenWindow)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(10);
BENCHMARK(ReopenReleasedWindow)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(10);

}  // namespace

int main(int argc, char** argv) {
    WholeAppBench::prepareEnvironment(kDevice);
    QApplication app(argc, argv);
    WholeAppBench::nameApplication();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    // Ends here rather than unwinding an application that is still running.
    std::fflush(stdout);
    std::_Exit(0);
}
