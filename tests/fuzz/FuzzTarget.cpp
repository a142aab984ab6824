// One libFuzzer target: the parser check named by ORVANE_FUZZ_TARGET at build time. A broken rule is a
// finding like a crash, so the input is kept and printed with the rules it broke.

#include "ParserChecks.h"

#include <QCoreApplication>

#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    // ICU-backed parts (time zones, grapheme breaks) and QStandardPaths want an application object.
    static QCoreApplication app(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const ParserChecks::Target* target = ParserChecks::find(ORVANE_FUZZ_TARGET);
    if (!target) std::abort();
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));
    const QStringList broken = target->check(bytes);
    if (!broken.isEmpty()) {
        for (const QString& rule : broken) std::fprintf(stderr, "broken: %s\n", qPrintable(rule));
        std::abort();
    }
    return 0;
}
