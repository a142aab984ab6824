#pragma once

#include <QDir>
#include <QProcess>
#include <QProcessEnvironment>
#include <QString>

// The environment for a real `orvane` run by a test: offscreen, with its own runtime folder (so its
// single-instance socket is private to the test) and the test's temporary HOME.
inline QProcessEnvironment orvaneEnvironment(const QString& runtimeDir) {
    QDir().mkpath(runtimeDir);
    QFile::setPermissions(runtimeDir,
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtimeDir);
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("QT_QUICK_BACKEND"), QStringLiteral("software"));
    env.insert(QStringLiteral("ORVANE_DEVICE_ID"), QStringLiteral("TEST-PROCESS"));
    return env;
}

inline QString instanceName(const QString& runtimeDir) {
    return runtimeDir + QStringLiteral("/orvane.instance");
}

// Ends a process the test started: asked first, then forced.
inline void stopProcess(QProcess& process) {
    if (process.state() == QProcess::NotRunning) return;
    process.terminate();
    if (!process.waitForFinished(5000)) {
        process.kill();
        process.waitForFinished(5000);
    }
}

// A real `orvane` on a test's own desktop (`desktop` is that desktop's environment), with a runtime folder
// of its own under `home`, started at once; asked to stop, then forced, when it goes.
struct DesktopOrvane : QProcess {
    DesktopOrvane(QProcessEnvironment desktop, const QString& home) {
        desktop.insert(
            QStringLiteral("XDG_RUNTIME_DIR"),
            orvaneEnvironment(home + QStringLiteral("/runtime")).value(QStringLiteral("XDG_RUNTIME_DIR")));
        desktop.insert(QStringLiteral("ORVANE_DEVICE_ID"), QStringLiteral("TEST-PROCESS"));
        setProcessEnvironment(desktop);
        setProcessChannelMode(QProcess::ForwardedChannels);
        start(QStringLiteral(ORVANE_EXECUTABLE), {});
    }
    ~DesktopOrvane() override { stopProcess(*this); }
};
