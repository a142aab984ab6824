#include <gtest/gtest.h>

#include "FileModes.h"
#include "OrvaneProcess.h"
#include "TempHome.h"
#include "platform/SingleInstance.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QHash>
#include <QProcess>
#include <QTest>

#include <signal.h>
#include <unistd.h>

// The install script on real tar archives, with real processes: a stand-in for the running clock, the real
// `orvane` as the old build (and as a good new one), and small programs standing in for broken builds.

namespace {

const char* const kFailsSelfCheck = "#!/bin/sh\n[ \"$1\" = --self-check ] && exit 3\nexec sleep 600\n";
const char* const kNeverAnswers = "#!/bin/sh\n[ \"$1\" = --self-check ] && exit 0\nexec sleep 600\n";

void writeFile(const QString& path, const QByteArray& bytes, bool executable = false) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly)) << path.toStdString();
    f.write(bytes);
    f.close();
    if (executable)
        f.setPermissions(f.permissions() | QFileDevice::ExeOwner | QFileDevice::ExeGroup |
                         QFileDevice::ExeOther);
}

bool alive(qint64 pid) {
    QFile status(QStringLiteral("/proc/%1/status").arg(pid));
    if (!status.open(QIODevice::ReadOnly)) return false;
    return !status.readAll().contains("State:\tZ");
}

struct UpdateScript : ::testing::Test {
    TempHome home;
    QString root = home.path() + QStringLiteral("/u");
    QString install = root + QStringLiteral("/apps/orvane");
    QString archive = home.cacheHome() + QStringLiteral("/Orvane/update/orvane-update.tar");
    QString status = root + QStringLiteral("/state/status");
    QString runtime = home.path() + QStringLiteral("/runtime");
    // A copy beside the test's files: the checkout may sit in a home folder that "nobody" cannot enter.
    QString scriptPath = home.path() + QStringLiteral("/update_orvane");
    QProcess clock;  // stands in for the running clock the script must stop only when ready
    QList<qint64> started;

    void SetUp() override {
        if (const QString why = offlineUnavailable(); !why.isEmpty()) GTEST_SKIP() << why.toStdString();
        // The old build: the real program, so that a rolled-back installation really runs again.
        ASSERT_TRUE(QDir().mkpath(install));
        ASSERT_TRUE(QFile::link(QStringLiteral(ORVANE_EXECUTABLE), install + QStringLiteral("/orvane")));
        writeFile(install + QStringLiteral("/VERSION"), "old");
        ASSERT_TRUE(
            QFile::copy(QStringLiteral(ORVANE_SOURCE_DIR "/resources/shell/update_orvane"), scriptPath));
        QFile::setPermissions(scriptPath, QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                              QFileDevice::ReadGroup | QFileDevice::ReadOther);
        QDir().mkpath(QFileInfo(status).absolutePath());
        clock.start(QStringLiteral("sleep"), {QStringLiteral("600")});
        ASSERT_TRUE(clock.waitForStarted());
    }
    void TearDown() override {
        for (qint64 pid : started)
            if (alive(pid)) {
                ::kill(pid_t(pid), SIGTERM);
                EXPECT_TRUE(QTest::qWaitFor([&] { return !alive(pid); }, 5000));
            }
        stopProcess(clock);
    }

    // Packs `files` (name -> content; names ending in "*" are executable) under one top-level folder;
    // `writableByAll` gives each of them, and the folder, the archive's mode that any account may write.
    void pack(const QHash<QString, QByteArray>& files, bool writableByAll = false) {
        const QString payload = root + QStringLiteral("/payload");
        QDir(payload).removeRecursively();
        for (auto it = files.begin(); it != files.end(); ++it) {
            QString name = it.key();
            const bool executable = name.endsWith(QLatin1Char('*'));
            if (executable) name.chop(1);
            const QString path = payload + QStringLiteral("/orvane-2/") + name;
            writeFile(path, it.value(), executable);
            if (writableByAll) ::chmod(QFile::encodeName(path).constData(), executable ? 0777 : 0666);
        }
        if (writableByAll)
            ::chmod(QFile::encodeName(payload + QStringLiteral("/orvane-2")).constData(), 0777);
        QDir().mkpath(QFileInfo(archive).absolutePath());
        ASSERT_EQ(
            QProcess::execute(QStringLiteral("tar"), {QStringLiteral("-C"), payload, QStringLiteral("-czf"),
                                                      archive, QStringLiteral("orvane-2")}),
            0);
    }
    QString sha() const {
        QFile f(archive);
        f.open(QIODevice::ReadOnly);
        return QString::fromLatin1(QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha256).toHex());
    }

    // Runs the script to its end; as root the unwritable case runs it as "nobody".
    QHash<QString, QString> run(const QString& checksum, const QStringList& wrapper = {}) {
        QProcess script;
        script.setProcessEnvironment(orvaneEnvironment(runtime));
        script.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        const QStringList arguments = {
            scriptPath,          archive, checksum, install, QString::number(clock.processId()), status,
            QStringLiteral("42")};
        // Offline, so the builds the script starts never reach a real server.
        const QStringList command = wrapper + QStringList{QStringLiteral("/bin/bash")} + arguments;
        startOffline(script, command.mid(1), command.first());
        EXPECT_TRUE(script.waitForFinished(90000));
        QHash<QString, QString> result;
        QFile f(status);
        if (f.open(QIODevice::ReadOnly))
            for (const QByteArray& line : f.readAll().split('\n'))
                if (const qsizetype eq = line.indexOf('='); eq > 0)
                    result.insert(QString::fromUtf8(line.left(eq)), QString::fromUtf8(line.mid(eq + 1)));
        result.insert(QStringLiteral("exit"), QString::number(script.exitCode()));
        if (const qint64 pid = result.value(QStringLiteral("pid")).toLongLong(); pid > 0) started << pid;
        return result;
    }

    QByteArray installedVersion() const {
        QFile f(install + QStringLiteral("/VERSION"));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    bool answers() {
        SingleInstance probe(instanceName(runtime));
        return probe.ping(2000);
    }
    void expectUntouched(const QHash<QString, QString>& result, const char* stage) {
        EXPECT_EQ(result.value(QStringLiteral("outcome")), QStringLiteral("failed")) << stage;
        EXPECT_EQ(result.value(QStringLiteral("stage")), QLatin1String(stage));
        EXPECT_EQ(result.value(QStringLiteral("build")), QStringLiteral("42"));
        EXPECT_NE(result.value(QStringLiteral("exit")), QStringLiteral("0"));
        EXPECT_EQ(installedVersion(), QByteArray("old")) << stage;
        EXPECT_TRUE(QFileInfo(install + QStringLiteral("/orvane")).isSymLink()) << stage;
        EXPECT_FALSE(QFile::exists(install + QStringLiteral(".old"))) << stage;
        EXPECT_EQ(QDir(QFileInfo(install).absolutePath())
                      .entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
                  QStringList{QStringLiteral("orvane")})
            << stage << ": no staging folder is left behind";
        EXPECT_EQ(clock.state(), QProcess::Running) << stage << ": the clock was stopped for nothing";
    }
};

}  // namespace

TEST_F(UpdateScript, ABadChecksumInstallsNothingAndDropsTheArchive) {
    pack({{QStringLiteral("orvane*"), kNeverAnswers}, {QStringLiteral("VERSION"), "new"}});
    expectUntouched(run(QString(64, QLatin1Char('0'))), "checksum");
    EXPECT_FALSE(QFile::exists(archive));
}

TEST_F(UpdateScript, ACorruptArchiveInstallsNothing) {
    writeFile(archive, QByteArray(4096, '\x7f') + "not a tar archive at all");
    expectUntouched(run(sha()), "unpack");
}

TEST_F(UpdateScript, AnArchiveWithoutTheProgramInstallsNothing) {
    pack({{QStringLiteral("README"), "no program here"}, {QStringLiteral("VERSION"), "new"}});
    expectUntouched(run(sha()), "no-executable");
}

TEST_F(UpdateScript, ABuildThatFailsItsSelfCheckInstallsNothing) {
    pack({{QStringLiteral("orvane*"), kFailsSelfCheck}, {QStringLiteral("VERSION"), "new"}});
    expectUntouched(run(sha()), "self-check");
}

TEST_F(UpdateScript, AnUnwritableInstallFolderIsNotTouched) {
    pack({{QStringLiteral("orvane*"), kNeverAnswers}, {QStringLiteral("VERSION"), "new"}});
    QStringList wrapper;
    if (::geteuid() == 0) {
        // Root writes anywhere; the script runs as a user who cannot change the installation.
        for (const QString& folder : {home.path(), root, QFileInfo(status).absolutePath(),
                                      QFileInfo(archive).absolutePath(), runtime})
            QFile::setPermissions(folder, QFileDevice::Permissions(0x7777));
        wrapper = {QStringLiteral("setpriv"), QStringLiteral("--reuid=65534"),
                   QStringLiteral("--regid=65534"), QStringLiteral("--clear-groups")};
        QFile::setPermissions(archive, QFileDevice::Permissions(0x6444));
    } else {
        QFile::setPermissions(install, QFileDevice::ReadOwner | QFileDevice::ExeOwner);
        QFile::setPermissions(QFileInfo(install).absolutePath(),
                              QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    }
    const QString checksum = sha();
    expectUntouched(run(checksum, wrapper), "not-writable");
    EXPECT_EQ(sha(), checksum) << "the archive is left for the installation's own updater";
    QFile::setPermissions(QFileInfo(install).absolutePath(), QFileDevice::Permissions(0x7700));
    QFile::setPermissions(install, QFileDevice::Permissions(0x7700));
}

TEST_F(UpdateScript, ABuildThatNeverAnswersIsRolledBackAndTheOldOneRuns) {
    pack({{QStringLiteral("orvane*"), kNeverAnswers}, {QStringLiteral("VERSION"), "new"}});
    const QHash<QString, QString> result = run(sha());
    EXPECT_EQ(result.value(QStringLiteral("outcome")), QStringLiteral("rolled-back"));
    EXPECT_EQ(result.value(QStringLiteral("stage")), QStringLiteral("no-answer"));
    EXPECT_NE(result.value(QStringLiteral("exit")), QStringLiteral("0"));
    EXPECT_TRUE(clock.state() == QProcess::NotRunning || clock.waitForFinished(3000))
        << "the clock had to make way for the new build";
    EXPECT_EQ(installedVersion(), QByteArray("old"));
    EXPECT_TRUE(QFileInfo(install + QStringLiteral("/orvane")).isSymLink());
    EXPECT_FALSE(QFile::exists(install + QStringLiteral(".old")));
    EXPECT_FALSE(QFile::exists(install + QStringLiteral(".failed")));
    // The old build is running again and answers as the one clock.
    const qint64 pid = result.value(QStringLiteral("pid")).toLongLong();
    ASSERT_GT(pid, 0);
    EXPECT_TRUE(QTest::qWaitFor([&] { return answers(); }, 20000));
    EXPECT_TRUE(alive(pid));
}

TEST_F(UpdateScript, AGoodBuildReplacesTheOldOneWhichIsKept) {
    QFile real(QStringLiteral(ORVANE_EXECUTABLE));
    ASSERT_TRUE(real.open(QIODevice::ReadOnly));
    pack({{QStringLiteral("orvane*"), real.readAll()}, {QStringLiteral("VERSION"), "new"}}, true);
    // Started by a clock whose umask takes nothing away, it still installs nothing another account may
    // change.
    const QHash<QString, QString> result =
        run(sha(), {QStringLiteral("sh"), QStringLiteral("-c"), QStringLiteral("umask 000 && exec \"$@\""),
                    QStringLiteral("sh")});
    EXPECT_EQ(result.value(QStringLiteral("outcome")), QStringLiteral("installed"));
    EXPECT_EQ(result.value(QStringLiteral("exit")), QStringLiteral("0"));
    EXPECT_TRUE(clock.state() == QProcess::NotRunning || clock.waitForFinished(3000));
    EXPECT_EQ(installedVersion(), QByteArray("new"));
    EXPECT_FALSE(QFileInfo(install + QStringLiteral("/orvane")).isSymLink());
    EXPECT_TRUE(QFileInfo(install + QStringLiteral(".old/orvane")).isSymLink());
    EXPECT_FALSE(QFile::exists(archive));
    for (const QString& installed :
         {install, install + QStringLiteral("/orvane"), install + QStringLiteral("/VERSION")})
        EXPECT_EQ(modeOf(installed) & 022, 0) << installed.toStdString();
    const qint64 pid = result.value(QStringLiteral("pid")).toLongLong();
    ASSERT_GT(pid, 0);
    EXPECT_TRUE(alive(pid));
    EXPECT_TRUE(answers());
}
