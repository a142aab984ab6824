#include "ProbeCommands.h"

#include <QStringList>
#include <cstdio>

// orvane-probe COMMAND --option value ...: one compact JSON value per line on standard output; bad
// arguments give one line on standard error and exit status 2.
int main(int argc, char** argv) {
    QStringList arguments;
    for (int i = 1; i < argc; ++i) arguments << QString::fromLocal8Bit(argv[i]);
    if (arguments.isEmpty()) {
        std::fputs("usage: orvane-probe prayers|hijri|moon|qibla|events|bundle --option value ...\n", stderr);
        return 2;
    }
    const QString command = arguments.takeFirst();
    const ProbeCommands::Result result = ProbeCommands::run(command, arguments);
    if (!result.error.isEmpty()) {
        std::fprintf(stderr, "orvane-probe: %s\n", result.error.toUtf8().constData());
        return 2;
    }
    std::fwrite(result.output.constData(), 1, size_t(result.output.size()), stdout);
    return std::fflush(stdout) == 0 ? 0 : 1;
}
