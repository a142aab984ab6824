#include "ProbeBundle.h"

#include <QStringList>
#include <cstdio>

// orvane-probe-bundle --option value ...: what "orvane-probe bundle" runs. One JSON line on standard output;
// bad arguments give one line on standard error and exit status 2.
int main(int argc, char** argv) {
    QStringList arguments;
    for (int i = 1; i < argc; ++i) arguments << QString::fromLocal8Bit(argv[i]);
    const ProbeBundle::Result result = ProbeBundle::run(arguments);
    if (!result.error.isEmpty()) {
        std::fprintf(stderr, "orvane-probe: %s\n", result.error.toUtf8().constData());
        return 2;
    }
    std::fwrite(result.output.constData(), 1, size_t(result.output.size()), stdout);
    return std::fflush(stdout) == 0 ? 0 : 1;
}
