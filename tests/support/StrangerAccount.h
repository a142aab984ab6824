#pragma once

#include <QFile>
#include <QFileInfo>
#include <QLocalSocket>
#include <QString>
#include <QTemporaryDir>
#include <QTest>

#include <grp.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>
#include <cstring>
#include <vector>

// A session without a runtime folder, as under `su`: XDG_RUNTIME_DIR is unset and TMPDIR points at a folder
// every account may write (1777), as /tmp is shared.
class WithoutRuntimeFolder {
  public:
    WithoutRuntimeFolder() : oldTmp_(qgetenv("TMPDIR")), oldRuntime_(qgetenv("XDG_RUNTIME_DIR")) {
        ::chmod(QFile::encodeName(shared_.path()).constData(), 01777);
        qputenv("TMPDIR", shared_.path().toUtf8());
        qunsetenv("XDG_RUNTIME_DIR");
    }
    ~WithoutRuntimeFolder() {
        oldTmp_.isNull() ? qunsetenv("TMPDIR") : qputenv("TMPDIR", oldTmp_);
        if (!oldRuntime_.isNull()) qputenv("XDG_RUNTIME_DIR", oldRuntime_);
    }

    QString tmp() const { return shared_.path(); }

  private:
    QTemporaryDir shared_;
    QByteArray oldTmp_, oldRuntime_;
};

// Another local account ("nobody") sharing that temporary folder. It can be there first with a listener that
// confirms whatever it is handed, or with a plain file. Only root can act as another account.
class StrangerAccount : public WithoutRuntimeFolder {
  public:
    static constexpr uid_t uid = 65534;
    static QString unavailable() {
        return ::geteuid() == 0 ? QString() : QStringLiteral("needs root to act as another account");
    }

    ~StrangerAccount() {
        for (const pid_t pid : listeners_) {
            ::kill(pid, SIGKILL);
            ::waitpid(pid, nullptr, 0);
        }
    }

    // A listener of the account at `path`, in a folder of the account's own when the folder is missing.
    bool listen(const QString& path) {
        const QString folder = QFileInfo(path).absolutePath();
        if (!QFileInfo::exists(folder) && !own(folder, ::mkdir(QFile::encodeName(folder).constData(), 0755)))
            return false;
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        std::strncpy(address.sun_path, QFile::encodeName(path).constData(), sizeof address.sun_path - 1);
        const pid_t pid = ::fork();
        if (pid == 0) serve(address);
        if (pid > 0) listeners_.push_back(pid);
        return pid > 0 && QTest::qWaitFor([&] {
                   QLocalSocket probe;
                   probe.connectToServer(path);
                   return probe.waitForConnected(100);
               });
    }
    bool leaveFile(const QString& path) {
        QFile file(path);
        return own(path, file.open(QIODevice::WriteOnly) ? 0 : -1);
    }

  private:
    static bool own(const QString& path, int made) {
        return made == 0 && ::lchown(QFile::encodeName(path).constData(), uid, uid) == 0;
    }
    // In the forked child, system calls only: takes a message and confirms it.
    [[noreturn]] static void serve(const sockaddr_un& address) {
        const int server = ::socket(AF_UNIX, SOCK_STREAM, 0);
        if (::setgroups(0, nullptr) != 0 || ::setgid(uid) != 0 || ::setuid(uid) != 0 ||
            ::bind(server, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0 ||
            ::listen(server, 16) != 0)
            ::_exit(1);
        for (char buffer[4096];;) {
            const int client = ::accept(server, nullptr, nullptr);
            if (client >= 0 && ::read(client, buffer, sizeof buffer) > 0)
                ::send(client, "\x01", 1, MSG_NOSIGNAL);
            ::close(client);
        }
    }

    std::vector<pid_t> listeners_;
};
