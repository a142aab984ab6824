#include "FullDisk.h"

#include <gtest/gtest.h>
#include <unistd.h>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

namespace FullDisk {

namespace {

constexpr const char* kRequest = "ORVANE_FULL_DISK";
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

// GTEST_SKIP returns from the function it stands in, which must give nothing.
void skip(const QString& why) {
    GTEST_SKIP() << why.toStdString();
}

// In the test: what the child is to mount ("tmpfs|folder|bytes" or "ext4|folder|image"), made ready;
// empty with the reason in `why` where it cannot be.
QString prepare(Kind kind, qint64 tmpfsBytes, const QString& folder, QString* why) {
    if (QStandardPaths::findExecutable(QStringLiteral("unshare")).isEmpty() ||
        run(QStringLiteral("unshare"), unshareArguments() << QStringLiteral("true")) != 0) {
        *why = QStringLiteral("no mount namespace of its own can be made here (unshare)");
        return {};
    }
    QDir().mkpath(folder);
    if (kind == Kind::Tmpfs) return QStringLiteral("tmpfs|%1|%2").arg(folder).arg(tmpfsBytes);
    const QString image = folder + QStringLiteral(".img");
    QFile file(image);
    if (!file.open(QIODevice::WriteOnly) || !file.resize(kImageBytes)) {
        *why = QStringLiteral("no room for a disk image at ") + image;
        return {};
    }
    file.close();
    QByteArray output;
    // No blocks kept for root: the disk is as full for the test as for anyone.
    if (run(QStringLiteral("mkfs.ext4"),
            {QStringLiteral("-q"), QStringLiteral("-F"), QStringLiteral("-b"), QStringLiteral("1024"),
             QStringLiteral("-m"), QStringLiteral("0"), image},
            &output) != 0) {
        *why = QStringLiteral("mkfs.ext4 could not make an image: ") + QString::fromLocal8Bit(output);
        return {};
    }
    return QStringLiteral("ext4|%1|%2").arg(folder, image);
}

// In the test: runs it again with `request`, and makes the child's outcome the test's.
void runChild(const QString& request) {
    const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
    QProcess child;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QLatin1String(kRequest), request);
    child.setProcessEnvironment(env);
    child.setProcessChannelMode(QProcess::MergedChannels);
    child.start(
        QStringLiteral("unshare"),
        unshareArguments() << QCoreApplication::applicationFilePath()
                           << QStringLiteral("--gtest_filter=%1.%2")
                                  .arg(QLatin1String(test->test_suite_name()), QLatin1String(test->name())));
    if (!child.waitForFinished(180000)) child.kill();
    child.waitForFinished();
    QByteArray output = child.readAll();
    if (child.exitStatus() == QProcess::CrashExit)
        output += "\nthe child was ended by signal " + QByteArray::number(child.exitCode());
    // gtest writes a skip's reason between "Skipped" and the "[  SKIPPED ]" line.
    if (const qsizetype end = output.indexOf("\n[  SKIPPED ]"); end >= 0) {
        const qsizetype start = output.lastIndexOf("Skipped\n", end);
        skip(QString::fromLocal8Bit(start < 0 ? output : output.mid(start + 8, end - start - 8)));
        return;
    }
    EXPECT_TRUE(child.exitStatus() == QProcess::NormalExit && child.exitCode() == 0 &&
                output.contains("[  PASSED  ] 1 test"))
        << output.toStdString();
}

// In the child: mounts what the test asked for and gives its folder; empty with the reason in `why`.
QString mountRequested(const QStringList& request, QString* why) {
    const QString& folder = request.at(1);
    QStringList arguments;
    if (request.first() == u"ext4")
        arguments << QStringLiteral("-o") << QStringLiteral("loop") << request.at(2) << folder;
    else
        arguments << QStringLiteral("-t") << QStringLiteral("tmpfs") << QStringLiteral("-o")
                  << QStringLiteral("size=%1,mode=0700").arg(request.at(2)) << QStringLiteral("tmpfs")
                  << folder;
    QByteArray output;
    if (run(QStringLiteral("mount"), arguments, &output) != 0) {
        *why = QStringLiteral("the file system could not be mounted (a loop device needs root): ") +
               QString::fromLocal8Bit(output);
        return {};
    }
    return folder;
}

}  // namespace

QString mountedInChild(Kind kind, qint64 tmpfsBytes) {
    QString why;
    if (const QStringList request = qEnvironmentVariable(kRequest).split(u'|'); request.size() == 3) {
        const QString folder = mountRequested(request, &why);
        if (folder.isEmpty()) skip(why);
        return folder;
    }
    // The folder, and the image behind it, outlive the child's mount and go with the test.
    const QTemporaryDir dir;
    const QString request = prepare(kind, tmpfsBytes, dir.path() + QStringLiteral("/disk"), &why);
    if (request.isEmpty())
        skip(why);
    else
        runChild(request);
    return {};
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
