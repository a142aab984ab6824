#include "ProbeCommands.h"
#include "ProbeOutput.h"

#include <unistd.h>
#include <QStringList>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

namespace {

// The bundle command needs the whole clock stack (keyring, place database, coroutine HTTP client), so it is
// its own program beside this one and the engine's commands start without loading it. It takes over this
// process: its output and exit status are the command's.
int runBundle(int argc, char** argv) {
    std::error_code error;
    const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
    const std::string program = (self.parent_path() / "orvane-probe-bundle").string();
    std::vector<char*> arguments{const_cast<char*>(program.c_str())};
    for (int i = 2; i < argc; ++i) arguments.push_back(argv[i]);
    arguments.push_back(nullptr);
    if (!error) ::execv(program.c_str(), arguments.data());
    std::fprintf(stderr, "orvane-probe: cannot run %s: %s\n", program.c_str(),
                 std::strerror(error ? error.value() : errno));
    return 2;
}

}  // namespace

// orvane-probe COMMAND --option value ...: one compact JSON value per line on standard output; bad
// arguments give one line on standard error and exit status 2.
int main(int argc, char** argv) {
    if (argc < 2) {
        std::fputs("usage: orvane-probe prayers|hijri|moon|qibla|events|bundle --option value ...\n", stderr);
        return 2;
    }
    if (std::strcmp(argv[1], "bundle") == 0) return runBundle(argc, argv);
    QStringList arguments;
    for (int i = 2; i < argc; ++i) arguments << QString::fromLocal8Bit(argv[i]);
    ProbeOutput out;
    const QString error = ProbeCommands::run(QString::fromLocal8Bit(argv[1]), arguments, out);
    if (!error.isEmpty()) {
        std::fprintf(stderr, "orvane-probe: %s\n", error.toUtf8().constData());
        return 2;
    }
    return out.finish() ? 0 : 1;
}
