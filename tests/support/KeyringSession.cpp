#include "KeyringSession.h"

#include <QCoreApplication>
#include <QProcess>
#include <QStandardPaths>

namespace KeyringSession {

bool available() {
    return !QStandardPaths::findExecutable(QStringLiteral("gnome-keyring-daemon")).isEmpty() &&
           !QStandardPaths::findExecutable(QStringLiteral("dbus-run-session")).isEmpty();
}

bool runTest(const QString& gtestFilter, QProcessEnvironment environment) {
    environment.remove(QStringLiteral("DISPLAY"));
    // The child's keyring lives under the HOME the caller chose; inherited XDG folders would point it at
    // the surrounding session's keyring, whose password is not ours.
    for (const char* name : {"XDG_DATA_HOME", "XDG_CONFIG_HOME", "XDG_CACHE_HOME", "XDG_STATE_HOME"})
        environment.remove(QString::fromLatin1(name));
    QProcess child;
    child.setProcessEnvironment(environment);
    child.setProcessChannelMode(QProcess::ForwardedChannels);
    // The daemon returns before it owns its name on the bus; a child that asked in that moment would find
    // no keyring at all, so the child starts once the name is taken (or after 10 s, to fail on its own).
    const QString script =
        QStringLiteral(
            "eval \"$(echo -n pw | gnome-keyring-daemon --unlock --components=secrets 2>/dev/null)\"; "
            "for i in $(seq 100); do dbus-send --session --print-reply --dest=org.freedesktop.DBus / "
            "org.freedesktop.DBus.NameHasOwner string:org.freedesktop.secrets 2>/dev/null | "
            "grep -q 'boolean true' && break; sleep 0.1; done; "
            "exec \"$0\" --gtest_filter=") +
        gtestFilter;
    child.start(QStringLiteral("dbus-run-session"),
                {QStringLiteral("--"), QStringLiteral("sh"), QStringLiteral("-c"), script,
                 QCoreApplication::applicationFilePath()});
    return child.waitForFinished(60000) && child.exitStatus() == QProcess::NormalExit &&
           child.exitCode() == 0;
}

}  // namespace KeyringSession
