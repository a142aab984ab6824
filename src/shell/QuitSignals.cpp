#include "shell/QuitSignals.h"

#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>
#include <QLoggingCategory>
#include <QSocketNotifier>
#include <cerrno>
#include <csignal>
#include <iterator>

namespace {

Q_LOGGING_CATEGORY(lcSignals, "orvane.signals")

// Written by the handler, read on the event loop. Only async-signal-safe calls touch it in the handler.
int pipeEnds[2] = {-1, -1};
constexpr int kSignals[] = {SIGTERM, SIGINT, SIGHUP};
// What each signal did before, given back when the handlers go.
struct sigaction previousActions[std::size(kSignals)] = {};

extern "C" void onQuitSignal(int number) {
    const int savedErrno = errno;
    const unsigned char byte = static_cast<unsigned char>(number);
    [[maybe_unused]] const ssize_t written = ::write(pipeEnds[1], &byte, 1);
    errno = savedErrno;
}

}  // namespace

QuitSignals::QuitSignals(QObject* parent) : QObject(parent) {
    if (pipeEnds[0] >= 0) return;  // another instance already owns the handlers
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, pipeEnds) != 0) {
        qCWarning(lcSignals) << "cannot watch for SIGTERM, SIGINT and SIGHUP:" << strerror(errno);
        pipeEnds[0] = pipeEnds[1] = -1;
        return;
    }
    // A full buffer must never block the handler; the first byte already asks to quit.
    ::fcntl(pipeEnds[1], F_SETFL, ::fcntl(pipeEnds[1], F_GETFL) | O_NONBLOCK);
    ::fcntl(pipeEnds[0], F_SETFL, ::fcntl(pipeEnds[0], F_GETFL) | O_NONBLOCK);
    notifier_ = new QSocketNotifier(pipeEnds[0], QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, &QuitSignals::drain);
    struct sigaction action = {};
    action.sa_handler = onQuitSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (std::size_t i = 0; i < std::size(kSignals); ++i) {
        ::sigaction(kSignals[i], nullptr, &previousActions[i]);
        // Started with nohup, the clock was asked to outlive its terminal.
        if (kSignals[i] == SIGHUP && previousActions[i].sa_handler == SIG_IGN) continue;
        ::sigaction(kSignals[i], &action, nullptr);
    }
}

QuitSignals::~QuitSignals() {
    if (!notifier_) return;
    for (std::size_t i = 0; i < std::size(kSignals); ++i)
        ::sigaction(kSignals[i], &previousActions[i], nullptr);
    delete notifier_;
    notifier_ = nullptr;
    ::close(pipeEnds[0]);
    ::close(pipeEnds[1]);
    pipeEnds[0] = pipeEnds[1] = -1;
}

void QuitSignals::drain() {
    unsigned char byte = 0;
    int last = 0;
    while (::read(pipeEnds[0], &byte, 1) == 1) last = byte;
    if (last == 0) return;
    qCInfo(lcSignals).noquote() << "quitting on"
                                << (last == SIGTERM  ? "SIGTERM"
                                    : last == SIGINT ? "SIGINT"
                                                     : "SIGHUP");
    emit received(last);
}
