#include "FullDisk.h"

#include <unistd.h>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>

namespace FullDisk {

namespace {

constexpr const char* kRequest = "ORVANE_FULL_DISK";
constexpr qint64 kTmpfsBytes = 4 * 1024 * 1024;
// Below 512 MB mkfs picks 1 KiB blocks anyway; asked for, they are what the test is about.
constexpr qint64 kImageBytes = 8 * 1024 * 1024;

// Root may make a mount namespace of its own; anyone else maps themselves to root in a user namespace.
QStringList unshareArguments() {
    QStringList arguments{QStringLiteral("--mount"), QStringLiteral("--propagation"),
                          QStringLiteral("private")};
    if (::geteuid() != 0) arguments.prepend(QStringLiteral("--map-root-user"));
    return arguments;
}

int run(const QString& program, const QStringList& arguments, QByteArray* output = nullptr) {
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, arguments);
    if (!process.waitForFinished(120000)) return -1;
    if (output) *output = process.readAll();
    return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
}

}  // namespace

ChildRun runChild(const QString& childTest, Kind kind, const QString& folder) {
    ChildRun result;
    if (QStandardPaths::findExecutable(QStringLiteral("unshare")).isEmpty() ||
        run(QStringLiteral("unshare"), unshareArguments() << QStringLiteral("true")) != 0) {
        result.skipped = QStringLiteral("no mount namespace of its own can be made here (unshare)");
        return result;
    }
    QDir().mkpath(folder);
    QString request = QStringLiteral("tmpfs|") + folder;
    if (kind == Kind::Ext4SmallBlocks) {
        const QString image = folder + QStringLiteral(".img");
        QFile file(image);
        if (!file.open(QIODevice::WriteOnly) || !file.resize(kImageBytes)) {
            result.skipped = QStringLiteral("no room for a disk image at ") + image;
            return result;
        }
        file.close();
        QByteArray output;
        // No blocks kept for root: the disk is as full for the test as for anyone.
        if (run(QStringLiteral("mkfs.ext4"),
                {QStringLiteral("-q"), QStringLiteral("-F"), QStringLiteral("-b"), QStringLiteral("1024"),
                 QStringLiteral("-m"), QStringLiteral("0"), image},
                &output) != 0) {
            result.skipped =
                QStringLiteral("mkfs.ext4 could not make an image: ") + QString::fromLocal8Bit(output);
            return result;
        }
        request = QStringLiteral("ext4|") + folder + u'|' + image;
    }
    QProcess child;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QLatin1String(kRequest), request);
    child.setProcessEnvironment(env);
    child.setProcessChannelMode(QProcess::MergedChannels);
    child.start(QStringLiteral("unshare"), unshareArguments()
                                               << QCoreApplication::applicationFilePath()
                                               << QStringLiteral("--gtest_filter=") + childTest);
    if (!child.waitForFinished(180000)) child.kill();
    child.waitForFinished();
    result.output = child.readAll();
    if (child.exitStatus() == QProcess::CrashExit)
        result.output += "\nthe child was ended by signal " + QByteArray::number(child.exitCode());
    if (result.output.contains("[  SKIPPED ]")) {
        result.skipped = QString::fromLocal8Bit(result.output);
        return result;
    }
    result.passed = child.exitStatus() == QProcess::NormalExit && child.exitCode() == 0 &&
                    result.output.contains("[  PASSED  ] 1 test");
    return result;
}

QString mountRequested(QString* why) {
    const QStringList request = qEnvironmentVariable(kRequest).split(u'|');
    if (request.size() < 2) {
        *why = QStringLiteral("runs only in a mount namespace of its own, as the child of another test");
        return {};
    }
    const QString& folder = request.at(1);
    QStringList arguments;
    if (request.first() == u"ext4")
        arguments << QStringLiteral("-o") << QStringLiteral("loop") << request.at(2) << folder;
    else
        arguments << QStringLiteral("-t") << QStringLiteral("tmpfs") << QStringLiteral("-o")
                  << QStringLiteral("size=%1").arg(kTmpfsBytes) << QStringLiteral("tmpfs") << folder;
    QByteArray output;
    if (run(QStringLiteral("mount"), arguments, &output) != 0) {
        *why = QStringLiteral("the file system could not be mounted (a loop device needs root): ") +
               QString::fromLocal8Bit(output);
        return {};
    }
    return folder;
}

QString fill(const QString& folder) {
    const QString path = folder + QStringLiteral("/filler");
    QFile filler(path);
    if (!filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) return path;
    // Large pieces first, then ever smaller ones, so the last free block is taken too.
    for (const qint64 piece : {qint64(64 * 1024), qint64(1024), qint64(1)}) {
        const QByteArray bytes(piece, 'f');
        while (filler.write(bytes) == piece && filler.flush()) {
        }
        filler.unsetError();
    }
    filler.close();
    ::sync();
    return path;
}

}  // namespace FullDisk
