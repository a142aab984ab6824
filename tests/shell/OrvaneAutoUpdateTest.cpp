#include <gtest/gtest.h>

#include "Await.h"
#include "FakeClock.h"
#include "FileModes.h"
#include "FixtureServer.h"
#include "FullDisk.h"
#include "OrvaneProcess.h"
#include "TempHome.h"
#include "platform/DefaultsStore.h"
#include "platform/Endpoints.h"
#include "platform/SingleInstance.h"
#include "shell/OrvaneAutoUpdate.h"
#include "shell/QuietMoment.h"
#include "ui/shell/UpdatePrompt.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTest>

#include <signal.h>

using Outcome = OrvaneAutoUpdate::Outcome;

namespace {

QByteArray manifest(qint64 build, const QString& url, const QByteArray& sha, bool force) {
    // The "mac" entry names another operating system's archive; only "linux" is this build's.
    return QStringLiteral(
               R"({"linux":{"version":"2.0","build_number":%1,"download_url":"%2",)"
               R"("checksum_sha256":"%3","force_update":%4,"release_notes":"Faster dial"},)"
               R"("mac":{"version":"9","build_number":999,"download_url":"https://127.0.0.1/mac.zip",)"
               R"("checksum_sha256":"%3"},"ios":{"version":"9","build_number":999}})")
        .arg(build)
        .arg(url, QString::fromLatin1(sha), force ? QStringLiteral("true") : QStringLiteral("false"))
        .toUtf8();
}

struct UpdateFixture : ::testing::Test {
    TempHome home;
    FixtureServer server;                                   // the manifest host
    FixtureServer downloads{FixtureServer::Scheme::Https};  // where archives come from
    DefaultsStore store{home.configHome() + QStringLiteral("/defaults.sqlite3")};
    QByteArray archive = QByteArray("pretend tar archive ") + QByteArray(200000, 'z');
    QByteArray sha = QCryptographicHash::hash(archive, QCryptographicHash::Sha256).toHex();
    QString installDir = home.path() + QStringLiteral("/apps/orvane");
    QList<OrvaneAutoUpdate::InstallRequest> handed;

    void SetUp() override {
        FixtureServer::trustCertificate();
        Endpoints::setCurrent(Endpoints::allAt(server.origin()));
        FixtureServer::Reply r;
        r.body = archive;
        r.headers = {{"Content-Type", "application/octet-stream"}};
        downloads.route(QStringLiteral("/dl/orvane.tar"), r);
        QDir().mkpath(installDir);
    }
    void TearDown() override { Endpoints::setCurrent(Endpoints::builtIn()); }

    QString downloadUrl() const { return downloads.origin().toString() + QStringLiteral("/dl/orvane.tar"); }
    void serve(qint64 build, bool force, const QByteArray& checksum = {}) {
        server.routeJson(OrvaneAutoUpdate::manifestPath(),
                         manifest(build, downloadUrl(), checksum.isEmpty() ? sha : checksum, force));
    }

    Outcome check(OrvaneAutoUpdate& updater) { return await(updater.checkNow()); }

    std::unique_ptr<OrvaneAutoUpdate> updater(qint64 runningBuild) {
        auto u = std::make_unique<OrvaneAutoUpdate>(store, runningBuild);
        u->setInstallDir(installDir);
        u->setInstaller([this](const OrvaneAutoUpdate::InstallRequest& request) {
            QFile f(request.archivePath);
            if (!f.open(QIODevice::ReadOnly) || f.readAll() != archive) return QStringLiteral("no archive");
            handed << request;
            return QString();
        });
        return u;
    }
};

}  // namespace

TEST_F(UpdateFixture, AForcedBuildIsDownloadedIntoTheCacheVerifiedAndHandedOverWhileTheClockRuns) {
    serve(42, true);
    auto u = updater(41);
    QSignalSpy quitting(qApp, &QCoreApplication::aboutToQuit);
    EXPECT_EQ(check(*u), Outcome::Installing);
    ASSERT_EQ(handed.size(), 1);
    EXPECT_TRUE(handed[0].archivePath.startsWith(home.cacheHome() + QStringLiteral("/Orvane/")));
    EXPECT_EQ(handed[0].checksumSha256, QString::fromLatin1(sha));
    EXPECT_EQ(handed[0].installDir, installDir);
    EXPECT_EQ(handed[0].buildNumber, 42);
    EXPECT_TRUE(u->installing());
    EXPECT_EQ(downloads.requestsTo(QStringLiteral("/dl/orvane.tar")).size(), 1);
    EXPECT_GT(store.integer(QStringLiteral("orvane.update.lastCheck")), 0);
    // The clock stays up until the script has staged and checked the new build.
    QTest::qWait(100);
    EXPECT_TRUE(quitting.isEmpty());
}

// Another account that could change the script while bash reads it would run its own commands as the user.
TEST_F(UpdateFixture, UnderAUmaskThatTakesNothingTheDownloadTheScriptAndItsRecordsAreTheUsersAlone) {
    serve(42, true);
    auto u = updater(41);
    const ProcessUmask none(0);
    ASSERT_EQ(check(*u), Outcome::Installing);
    // No archive where the script looks: it only reports, and writes what it writes for every outcome.
    ASSERT_EQ(OrvaneAutoUpdate::runInstallScript({home.path() + QStringLiteral("/absent.tar"),
                                                  QString::fromLatin1(sha), installDir,
                                                  OrvaneAutoUpdate::statusPath(), 42, 0}),
              QString());
    ASSERT_TRUE(QTest::qWaitFor([] { return QFile::exists(OrvaneAutoUpdate::statusPath()); }, 20000));
    const QString update = OrvaneAutoUpdate::updateFolder(), record = OrvaneAutoUpdate::recordFolder();
    for (const auto& [own, mode] : {std::pair{home.cacheHome() + QStringLiteral("/Orvane"), 0700},
                                    {update, 0700},
                                    {update + QStringLiteral("/orvane-update.tar"), 0600},
                                    {update + QStringLiteral("/update_orvane"), 0600},
                                    {record, 0700},
                                    {record + QStringLiteral("/update.log"), 0600},
                                    {OrvaneAutoUpdate::statusPath(), 0600}})
        EXPECT_EQ(modeOf(own), mode) << own.toStdString();
}

TEST_F(UpdateFixture, NothingIsInstalledThatWasNotVerified) {
    const QString plainUrl = server.origin().toString() + QStringLiteral("/dl/orvane.tar");
    server.route(QStringLiteral("/dl/orvane.tar"), FixtureServer::Reply{200, archive, {}, {}});
    struct Case {
        const char* name;
        QByteArray manifest;
        Outcome expected;
    } cases[] = {
        {"bad checksum", manifest(42, downloadUrl(), QByteArray(64, 'a'), true), Outcome::ChecksumMismatch},
        {"same build", manifest(41, downloadUrl(), sha, true), Outcome::NoUpdate},
        {"older build", manifest(7, downloadUrl(), sha, true), Outcome::NoUpdate},
        {"malformed checksum", manifest(42, downloadUrl(), "xyz", true), Outcome::NoUpdate},
        {"plain http download", manifest(42, plainUrl, sha, true), Outcome::NoUpdate},
        {"no linux entry",
         QStringLiteral(
             R"({"mac":{"version":"2.0","build_number":42,"download_url":"%1","checksum_sha256":"%2"}})")
             .arg(downloadUrl(), QString::fromLatin1(sha))
             .toUtf8(),
         Outcome::NoUpdate},
    };
    for (const Case& c : cases) {
        server.routeJson(OrvaneAutoUpdate::manifestPath(), c.manifest);
        auto u = updater(41);
        EXPECT_EQ(check(*u), c.expected) << c.name;
        EXPECT_TRUE(handed.isEmpty()) << c.name;
        EXPECT_FALSE(QFile::exists(OrvaneAutoUpdate::updateFolder() + QStringLiteral("/orvane-update.tar")))
            << c.name;
    }
    EXPECT_TRUE(server.requestsTo(QStringLiteral("/dl/orvane.tar")).isEmpty()) << "plain HTTP was fetched";
}

TEST_F(UpdateFixture, ServerTroubleIsAQuietFailure) {
    auto u = updater(41);
    server.routeJson(OrvaneAutoUpdate::manifestPath(), "{\"error\":true}", 500);
    EXPECT_EQ(check(*u), Outcome::Failed);
    server.routeJson(OrvaneAutoUpdate::manifestPath(), "not json");
    EXPECT_EQ(check(*u), Outcome::NoUpdate);
    serve(42, true);
    downloads.routeJson(QStringLiteral("/dl/orvane.tar"), "gone", 404);
    EXPECT_EQ(check(*u), Outcome::Failed);
    downloads.setOffline(true);
    EXPECT_EQ(check(*u), Outcome::Failed);
    EXPECT_TRUE(handed.isEmpty());
    EXPECT_FALSE(QFile::exists(OrvaneAutoUpdate::updateFolder() + QStringLiteral("/orvane-update.tar")));
}

TEST_F(UpdateFixture, AnUpdaterGoneDuringItsCheckIsNotTouched) {
    serve(42, false);
    auto u = updater(41);
    QCoro::Task<Outcome> pending = u->checkNow();  // waits on the manifest
    u.reset();
    EXPECT_EQ(await(std::move(pending)), Outcome::Failed);
    EXPECT_TRUE(server.requestsTo(QStringLiteral("/dl/orvane.tar")).isEmpty());
}

TEST_F(UpdateFixture, AnOptionalUpdateIsOfferedOncePerVersion) {
    serve(42, false);
    auto u = updater(41);
    QSignalSpy offered(u.get(), &OrvaneAutoUpdate::updateAvailable);
    EXPECT_EQ(check(*u), Outcome::AwaitingUser);
    ASSERT_EQ(offered.size(), 1);
    EXPECT_EQ(offered[0][0].toString(), QStringLiteral("2.0"));
    EXPECT_EQ(offered[0][1].toString(), QStringLiteral("Faster dial"));
    EXPECT_TRUE(handed.isEmpty());
    u->installPending();
    EXPECT_EQ(handed.size(), 1);

    auto later = updater(41);
    EXPECT_EQ(check(*later), Outcome::AlreadyAsked);
}

TEST_F(UpdateFixture, AnInstallationThatCannotReplaceItselfIsToldHowAndNothingIsDownloaded) {
    for (const bool force : {false, true}) {
        store.setString(QStringLiteral("orvane.update.askedVersion"), QString());
        serve(42, force);
        auto u = updater(41);
        u->setInstallDir(QStringLiteral("/usr/bin"));
        QSignalSpy manual(u.get(), &OrvaneAutoUpdate::manualUpdateAvailable);
        EXPECT_EQ(check(*u), Outcome::NotSelfUpdating);
        ASSERT_EQ(manual.size(), 1);
        EXPECT_EQ(manual[0][0].toString(), QStringLiteral("2.0"));
        EXPECT_TRUE(manual[0][2].toString().contains(QStringLiteral("/usr/bin")));
        EXPECT_TRUE(manual[0][2].toString().contains(QStringLiteral("package")));
        EXPECT_EQ(check(*u), Outcome::AlreadyAsked);
    }
    EXPECT_TRUE(downloads.log().isEmpty());
    EXPECT_TRUE(handed.isEmpty());
}

TEST_F(UpdateFixture, AFailedInstallIsReportedAndThatBuildIsNotTriedAgain) {
    serve(42, true);
    auto u = updater(41);
    QSignalSpy failed(u.get(), &OrvaneAutoUpdate::installFailed);
    ASSERT_EQ(check(*u), Outcome::Installing);
    // What the script writes when the new build fails its self-check (this clock was never stopped).
    QDir().mkpath(OrvaneAutoUpdate::recordFolder());
    QFile status(OrvaneAutoUpdate::statusPath());
    ASSERT_TRUE(status.open(QIODevice::WriteOnly));
    status.write("outcome=failed\nstage=self-check\nbuild=42\npid=\n");
    status.close();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !failed.isEmpty(); }, 3000));
    EXPECT_TRUE(failed[0][0].toString().contains(QStringLiteral("self-check")));
    EXPECT_FALSE(u->installing());

    downloads.clearLog();
    EXPECT_EQ(check(*u), Outcome::NoUpdate);
    EXPECT_TRUE(downloads.log().isEmpty());
    EXPECT_EQ(handed.size(), 1);

    // A roll-back found at the next start is reported by the build that runs again.
    ASSERT_TRUE(status.open(QIODevice::WriteOnly));
    status.write("outcome=rolled-back\nstage=no-answer\nbuild=43\npid=77\n");
    status.close();
    serve(41, false);
    server.clearLog();
    auto restarted = updater(41);
    QSignalSpy rolledBack(restarted.get(), &OrvaneAutoUpdate::installFailed);
    restarted->start();
    ASSERT_EQ(rolledBack.size(), 1);
    EXPECT_TRUE(rolledBack[0][0].toString().contains(QStringLiteral("went back")));
    EXPECT_FALSE(QFile::exists(OrvaneAutoUpdate::statusPath()));
    restarted->stop();
    // The start's own check runs to its end before the updater goes.
    EXPECT_TRUE(QTest::qWaitFor([&] { return !server.log().isEmpty(); }, 3000));
    QTest::qWait(200);
}

// The disk fills between the offer and the answer: the installer cannot be written whole.
TEST_F(UpdateFixture, AnInstallerTheFullDiskRefusesIsReportedAndTheUpdateOfferedAgain) {
    const QString cache = FullDisk::mountedInChild(FullDisk::Kind::Tmpfs, 512 * 1024);
    if (cache.isEmpty()) return;
    qputenv("XDG_CACHE_HOME", cache.toLocal8Bit());
    serve(42, false);
    auto u = updater(41);
    u->setInstaller(&OrvaneAutoUpdate::runInstallScript);
    UpdatePrompt prompt;
    QObject::connect(u.get(), &OrvaneAutoUpdate::installFailed, &prompt, &UpdatePrompt::reportFailure);
    ASSERT_EQ(check(*u), Outcome::AwaitingUser);
    const QString archivePath = OrvaneAutoUpdate::updateFolder() + QStringLiteral("/orvane-update.tar");
    ASSERT_TRUE(QFile::exists(archivePath));
    const QString filler = FullDisk::fill(cache);

    u->installPending();
    EXPECT_TRUE(prompt.visible());
    EXPECT_TRUE(prompt.message().contains(QStringLiteral("disk is full"))) << prompt.message().toStdString();
    EXPECT_FALSE(u->installing());
    EXPECT_FALSE(QFile::exists(archivePath));
    EXPECT_FALSE(QFile::exists(OrvaneAutoUpdate::updateFolder() + QStringLiteral("/update_orvane")));

    QFile::remove(filler);
    EXPECT_EQ(check(*u), Outcome::AwaitingUser);
}

// A script that never reports (killed, or its shell gone) leaves the clock free to check again.
TEST_F(UpdateFixture, AnInstallThatReportsNothingInItsTimeHasFailed) {
    serve(42, false);
    auto u = updater(41);
    u->setInstallTimeout(std::chrono::milliseconds(300));
    QSignalSpy failed(u.get(), &OrvaneAutoUpdate::installFailed);
    ASSERT_EQ(check(*u), Outcome::AwaitingUser);
    u->installPending();
    ASSERT_TRUE(u->installing());
    ASSERT_TRUE(failed.wait(3000));
    EXPECT_FALSE(u->installing());
    EXPECT_FALSE(QFile::exists(handed[0].archivePath));
    EXPECT_EQ(check(*u), Outcome::AwaitingUser);
}

TEST_F(UpdateFixture, AForcedUpdateWaitsForAQuietMomentAwayFromPrayerTimes) {
    // Dhuhr at 12:00 in a place at UTC+3, that is 09:00 UTC.
    ClockBundle bundle;
    bundle.location.tzOffsetHours = 3;
    bundle.prayers = {{QStringLiteral("fajr"), QStringLiteral("04:50")},
                      {QStringLiteral("sunrise"), QStringLiteral("06:05")},
                      {QStringLiteral("dhuhr"), QStringLiteral("12:00")},
                      {QStringLiteral("asr"), QStringLiteral("15:25")},
                      {QStringLiteral("maghrib"), QStringLiteral("18:10")},
                      {QStringLiteral("isha"), QStringLiteral("19:40")}};
    const std::optional<ClockBundle> published = bundle;
    bool playing = false;
    FakeClock clock("2026-03-10T08:59:00Z");

    serve(42, true);
    auto u = updater(41);
    u->setQuietCheck([&] { return QuietMoment::isQuiet(published, Clock::nowMs(), playing); });
    u->setQuietPollInterval(std::chrono::milliseconds(20));
    EXPECT_EQ(check(*u), Outcome::WaitingForQuiet);

    struct Step {
        qint64 secondsAfterDhuhr;
        bool playing;
        bool installs;
    } steps[] = {{-60, false, false}, {0, true, false},   {90, true, false}, {120, false, false},
                 {121, true, false},  {400, true, false}, {401, false, true}};
    for (const Step& s : steps) {
        clock.set(QDateTime::fromString(QStringLiteral("2026-03-10T09:00:00Z"), Qt::ISODate)
                      .addSecs(s.secondsAfterDhuhr));
        playing = s.playing;
        QTest::qWait(120);
        EXPECT_EQ(handed.size(), s.installs ? 1 : 0) << s.secondsAfterDhuhr << " s after dhuhr";
    }
    EXPECT_TRUE(u->installing());
}

// From the manifest to the new build running: the real download, the bundled script and real programs.
TEST_F(UpdateFixture, AForcedUpdateEndsWithTheNewBuildRunningAndTheOldOneKept) {
    if (!runningOffline()) {
        if (const QString why = offlineUnavailable(); !why.isEmpty()) GTEST_SKIP() << why.toStdString();
        // The script starts the new build with this process's surroundings: all of it runs offline.
        EXPECT_TRUE(runTestOffline());
        return;
    }
    const QString runtime = home.path() + QStringLiteral("/runtime");
    const QByteArray previousRuntime = qgetenv("XDG_RUNTIME_DIR");
    qputenv("XDG_RUNTIME_DIR", orvaneEnvironment(runtime).value(QStringLiteral("XDG_RUNTIME_DIR")).toUtf8());
    ASSERT_TRUE(QFile::link(QStringLiteral(ORVANE_EXECUTABLE), installDir + QStringLiteral("/orvane")));

    const QString payload = home.path() + QStringLiteral("/payload/orvane-42");
    QDir().mkpath(payload);
    ASSERT_TRUE(QFile::copy(QStringLiteral(ORVANE_EXECUTABLE), payload + QStringLiteral("/orvane")));
    QFile version(payload + QStringLiteral("/VERSION"));
    ASSERT_TRUE(version.open(QIODevice::WriteOnly));
    version.write("42");
    version.close();
    const QString tarball = home.path() + QStringLiteral("/orvane-42.tar.gz");
    ASSERT_EQ(QProcess::execute(QStringLiteral("tar"),
                                {QStringLiteral("-C"), home.path() + QStringLiteral("/payload"),
                                 QStringLiteral("-czf"), tarball, QStringLiteral("orvane-42")}),
              0);
    QFile packed(tarball);
    ASSERT_TRUE(packed.open(QIODevice::ReadOnly));
    FixtureServer::Reply reply;
    reply.body = packed.readAll();
    downloads.route(QStringLiteral("/dl/orvane.tar"), reply);
    serve(42, true, QCryptographicHash::hash(reply.body, QCryptographicHash::Sha256).toHex());

    QProcess clock;  // stands in for this running clock, which the script stops once the new build is ready
    clock.start(QStringLiteral("sleep"), {QStringLiteral("600")});
    ASSERT_TRUE(clock.waitForStarted());
    {
        OrvaneAutoUpdate updater(store, 41);
        updater.setInstallDir(installDir);
        updater.setInstaller([&](OrvaneAutoUpdate::InstallRequest request) {
            EXPECT_EQ(request.clockPid, QCoreApplication::applicationPid());
            request.clockPid = clock.processId();
            return OrvaneAutoUpdate::runInstallScript(request);
        });
        ASSERT_EQ(check(updater), Outcome::Installing);
    }
    const bool finished =
        QTest::qWaitFor([] { return QFile::exists(OrvaneAutoUpdate::statusPath()); }, 90000);
    QFile log(OrvaneAutoUpdate::recordFolder() + QStringLiteral("/update.log"));
    log.open(QIODevice::ReadOnly);
    ASSERT_TRUE(finished) << log.readAll().toStdString();
    QFile statusFile(OrvaneAutoUpdate::statusPath());
    ASSERT_TRUE(statusFile.open(QIODevice::ReadOnly));
    const QByteArray status = statusFile.readAll();
    EXPECT_TRUE(status.startsWith("outcome=installed\n"))
        << status.toStdString() << log.readAll().toStdString();
    const qint64 pid = status.mid(status.indexOf("pid=") + 4).trimmed().toLongLong();

    EXPECT_TRUE(clock.state() == QProcess::NotRunning || clock.waitForFinished(3000));
    QFile installed(installDir + QStringLiteral("/VERSION"));
    ASSERT_TRUE(installed.open(QIODevice::ReadOnly));
    EXPECT_EQ(installed.readAll(), QByteArray("42"));
    EXPECT_TRUE(QFileInfo(installDir + QStringLiteral(".old/orvane")).isSymLink());
    EXPECT_FALSE(QFile::exists(OrvaneAutoUpdate::updateFolder() + QStringLiteral("/orvane-update.tar")));
    SingleInstance probe(instanceName(runtime));
    EXPECT_TRUE(probe.ping(3000));
    ASSERT_GT(pid, 0);
    ::kill(pid_t(pid), SIGTERM);
    EXPECT_TRUE(
        QTest::qWaitFor([&] { return !QFile::exists(QStringLiteral("/proc/%1/exe").arg(pid)); }, 10000));
    qputenv("XDG_RUNTIME_DIR", previousRuntime);
}
