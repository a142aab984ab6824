#pragma once

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QProcess>
#include <QProcessEnvironment>
#include <QStandardPaths>
#include <QString>
#include <QStringList>

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

// A command prefix that runs a program with no network at all (a network namespace of its own, whose only
// loopback is down): no request leaves the machine and none waits on a name server, whatever network the
// machine has. Empty when the system grants no namespace.
inline QStringList offlinePrefix() {
    static const QStringList prefix = [] {
        for (const QStringList& candidate : {QStringList{QStringLiteral("unshare"), QStringLiteral("-n")},
                                             QStringList{QStringLiteral("unshare"), QStringLiteral("-rn")}}) {
            QProcess probe;
            probe.start(candidate.first(), candidate.mid(1) << QStringLiteral("true"));
            if (probe.waitForFinished(5000) && probe.exitStatus() == QProcess::NormalExit &&
                probe.exitCode() == 0)
                return candidate;
        }
        return QStringList();
    }();
    return prefix;
}

// Why a test of the real program cannot run here, or empty when it can. The program is only ever run
// offline: a test must not depend on the real servers, nor on their names failing to resolve.
inline QString offlineUnavailable() {
    return offlinePrefix().isEmpty() ? QStringLiteral("needs a network namespace (unshare -n)") : QString();
}

// Starts `program` (the real `orvane` unless given) offline; see offlinePrefix(). Without a namespace it
// starts nothing, so the test fails rather than reach the network.
inline void startOffline(QProcess& process, const QStringList& arguments,
                         const QString& program = QStringLiteral(ORVANE_EXECUTABLE)) {
    QStringList command = offlinePrefix();
    if (command.isEmpty()) return;
    command << program << arguments;
    process.start(command.takeFirst(), command);
}

// True inside the child that runTestOffline() starts.
inline bool runningOffline() {
    return qEnvironmentVariableIsSet("ORVANE_OFFLINE_CHILD");
}

// Runs the current test again in a child of this test program that is offline but for a loopback of its
// own, where the test's fixture servers listen: for a test in which code under test starts the real
// program. True when the child ran and passed.
inline bool runTestOffline() {
    const QString ip = QStandardPaths::findExecutable(QStringLiteral("ip"),
                                                      {QStringLiteral("/usr/sbin"), QStringLiteral("/sbin")});
    const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
    if (ip.isEmpty() || test == nullptr) return false;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("ORVANE_OFFLINE_CHILD"), QStringLiteral("1"));
    QProcess child;
    child.setProcessEnvironment(env);
    child.setProcessChannelMode(QProcess::ForwardedChannels);
    startOffline(child,
                 {QStringLiteral("-c"), QStringLiteral("\"$0\" link set lo up && exec \"$1\" \"$2\""), ip,
                  QCoreApplication::applicationFilePath(),
                  QStringLiteral("--gtest_filter=%1.%2")
                      .arg(QLatin1String(test->test_suite_name()), QLatin1String(test->name()))},
                 QStringLiteral("sh"));
    return child.waitForFinished(180000) && child.exitStatus() == QProcess::NormalExit &&
           child.exitCode() == 0;
}

// A real `orvane` on a test's own desktop (`desktop` is that desktop's environment), with a runtime folder
// of its own under `home`, started at once and offline (see startOffline); asked to stop, then forced, when
// it goes.
struct DesktopOrvane : QProcess {
    DesktopOrvane(QProcessEnvironment desktop, const QString& home) {
        desktop.insert(
            QStringLiteral("XDG_RUNTIME_DIR"),
            orvaneEnvironment(home + QStringLiteral("/runtime")).value(QStringLiteral("XDG_RUNTIME_DIR")));
        desktop.insert(QStringLiteral("ORVANE_DEVICE_ID"), QStringLiteral("TEST-PROCESS"));
        setProcessEnvironment(desktop);
        setProcessChannelMode(QProcess::ForwardedChannels);
        startOffline(*this, {});
    }
    ~DesktopOrvane() override { stopProcess(*this); }
};
