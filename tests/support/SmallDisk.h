#pragma once

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QString>
#include <QStringList>

// A disk that fills: a tmpfs of a few hundred kilobytes mounted over one of the test's folders, inside a
// mount namespace of the test's own so that nothing outside it sees the mount. The test runs again as a child
// of itself under `unshare -m` (as root) or `unshare -rm` (as a user allowed namespaces).
namespace SmallDisk {

// True inside the child that runInOwnMountNamespace() starts.
inline bool inOwnMountNamespace() {
    return qEnvironmentVariableIsSet("ORVANE_MOUNT_CHILD");
}

// A command prefix granting a mount namespace in which a tmpfs can be mounted, or empty where the system
// grants none.
inline QStringList namespacePrefix() {
    static const QStringList prefix = [] {
        for (const QStringList& candidate : {QStringList{QStringLiteral("unshare"), QStringLiteral("-m")},
                                             QStringList{QStringLiteral("unshare"), QStringLiteral("-rm")}}) {
            QProcess probe;
            // The probe's mount goes with its namespace.
            probe.start(candidate.first(), candidate.mid(1) << QStringLiteral("mount") << QStringLiteral("-t")
                                                            << QStringLiteral("tmpfs") << QStringLiteral("-o")
                                                            << QStringLiteral("size=4k")
                                                            << QStringLiteral("tmpfs") << QDir::tempPath());
            if (probe.waitForFinished(5000) && probe.exitStatus() == QProcess::NormalExit &&
                probe.exitCode() == 0)
                return candidate;
        }
        return QStringList();
    }();
    return prefix;
}

// Runs the current test again in a mount namespace of its own; true when that child passed.
inline bool runInOwnMountNamespace() {
    const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
    QStringList command = namespacePrefix();
    if (command.isEmpty() || test == nullptr) return false;
    QProcess child;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("ORVANE_MOUNT_CHILD"), QStringLiteral("1"));
    child.setProcessEnvironment(env);
    child.setProcessChannelMode(QProcess::ForwardedChannels);
    command << QCoreApplication::applicationFilePath()
            << QStringLiteral("--gtest_filter=%1.%2")
                   .arg(QLatin1String(test->test_suite_name()), QLatin1String(test->name()));
    child.start(command.takeFirst(), command);
    return child.waitForFinished(180000) && child.exitStatus() == QProcess::NormalExit &&
           child.exitCode() == 0;
}

// Mounts a tmpfs of `size` (as mount(8) takes it: "512k") over `folder`, which must exist.
inline bool mount(const QString& folder, const QString& size) {
    return QProcess::execute(
               QStringLiteral("mount"),
               {QStringLiteral("-t"), QStringLiteral("tmpfs"), QStringLiteral("-o"),
                QStringLiteral("size=%1,mode=0700").arg(size), QStringLiteral("tmpfs"), folder}) == 0;
}

inline void unmount(const QString& folder) {
    QProcess::execute(QStringLiteral("umount"), {folder});
}

// Takes every block left with the file `path`; true once the disk refused more.
inline bool fill(const QString& path) {
    QFile filler(path);
    if (!filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) return false;
    const QByteArray block(64 * 1024, 'f');
    for (int i = 0; i < 100000; ++i)
        if (filler.write(block) != block.size()) return true;
    return false;
}

}  // namespace SmallDisk
