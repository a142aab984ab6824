// The Quran library's load: both stored editions (the Arabic text and a translation, 114 surahs and 6236
// ayahs each, generated in the service's reply shape) read, parsed and indexed, on the calling thread and
// through the library with its worker thread. The memory the loaded index holds is reported as a counter.
// A fixed baseline (summing a small array) is measured in the same run so figures can be read as ratios.
#include <benchmark/benchmark.h>

#include "Baseline.h"

#include "QuranFixture.h"
#include "platform/Http.h"
#include "services/CacheFolder.h"
#include "services/QuranLibrary.h"

#include <malloc.h>
#include <unistd.h>
#include <QCoreApplication>
#include <QCoro/QCoroTask>
#include <QFile>
#include <QTemporaryDir>
#include <numeric>

namespace {

BENCHMARK(Baseline);

QByteArray stored(const char* id) {
    QFile f(QuranLibrary::filePath(QLatin1String(id)));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void QuranParseAndIndex(benchmark::State& state) {
    const QByteArray arabic = stored("quran-uthmani");
    const QByteArray translation = stored("en.sahih");
    for (auto _ : state) {
        auto a = QuranText::parseEdition(arabic);
        auto t = QuranText::parseEdition(translation);
        QuranText::Index index = QuranText::buildIndex(std::get<QuranText::EditionDocument>(a),
                                                       std::get<QuranText::EditionDocument>(t));
        benchmark::DoNotOptimize(index.arabicByKey.size());
    }
    state.counters["stored_KiB"] = double(arabic.size() + translation.size()) / 1024.0;
}
BENCHMARK(QuranParseAndIndex)->Unit(benchmark::kMillisecond);

void QuranEnsureLoadedFromStoredFiles(benchmark::State& state) {
    auto library = QuranLibrary::createDetached();
    for (auto _ : state) QCoro::waitFor(library->ensureLoaded(QStringLiteral("en")));
    if (!library->isReady()) state.SkipWithError("the stored editions did not load");
}
BENCHMARK(QuranEnsureLoadedFromStoredFiles)->Unit(benchmark::kMillisecond)->UseRealTime();

double residentKiB() {
    long pages = 0, resident = 0;
    if (FILE* f = std::fopen("/proc/self/statm", "r")) {
        if (std::fscanf(f, "%ld %ld", &pages, &resident) != 2) resident = 0;
        std::fclose(f);
    }
    return double(resident) * double(sysconf(_SC_PAGESIZE)) / 1024.0;
}

double peakResidentKiB() {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly)) return 0;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmHWM:")) return line.mid(6).trimmed().split(' ').value(0).toDouble();
    return 0;
}

// What a loaded library keeps, measured once in the fresh process before any other benchmark runs: resident
// memory with the index in place less the memory before the first load (freed memory handed back first).
double heldKiB = 0;
double peakKiB = 0;

void measureHeldMemory() {
    malloc_trim(0);
    const double before = residentKiB();
    static auto library = QuranLibrary::createDetached();
    QCoro::waitFor(library->ensureLoaded(QStringLiteral("en")));
    malloc_trim(0);
    heldKiB = residentKiB() - before;
    peakKiB = peakResidentKiB() - before;
}

void QuranIndexHeldMemory(benchmark::State& state) {
    for (auto _ : state) benchmark::DoNotOptimize(heldKiB);
    state.counters["held_KiB"] = heldKiB;
    state.counters["peak_over_start_KiB"] = peakKiB;
}
BENCHMARK(QuranIndexHeldMemory)->Iterations(1);

}  // namespace

int main(int argc, char** argv) {
    QTemporaryDir home;
    qputenv("HOME", home.path().toUtf8());
    qputenv("XDG_DATA_HOME", (home.path() + QStringLiteral("/data")).toUtf8());
    QCoreApplication app(argc, argv);
    // Every edition a load reads is on disk, so nothing is asked of the network.
    Http::setOffline(true);
    for (const char* id : {"quran-uthmani", "en.sahih", "ur.jalandhry"})
        CacheFolder::writeAtomically(QuranLibrary::filePath(QLatin1String(id)),
                                     QuranFixture::edition(QLatin1String(id)));
    measureHeldMemory();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
