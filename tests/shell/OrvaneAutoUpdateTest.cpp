#include <gtest/gtest.h>

#include "Await.h"
#include "FixtureServer.h"
#include "TempHome.h"
#include "platform/DefaultsStore.h"
#include "platform/Endpoints.h"
#include "shell/OrvaneAutoUpdate.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>

namespace {

QByteArray manifest(qint64 build, const QString& url, const QByteArray& sha, bool force) {
    return QStringLiteral(R"({"mac":{"version":"2.0","build_number":%1,"download_url":"%2",)"
                          R"("checksum_sha256":"%3","force_update":%4,"release_notes":"Faster dial"},)"
                          R"("ios":{"version":"9","build_number":999}})")
        .arg(build)
        .arg(url, QString::fromLatin1(sha), force ? QStringLiteral("true") : QStringLiteral("false"))
        .toUtf8();
}

struct UpdateFixture : ::testing::Test {
    TempHome home;
    FixtureServer server;
    DefaultsStore store{home.configHome() + QStringLiteral("/defaults.sqlite3")};
    QByteArray archive = QByteArray("pretend tar archive ") + QByteArray(2000, 'z');
    QByteArray sha = QCryptographicHash::hash(archive, QCryptographicHash::Sha256).toHex();
    QStringList handed;

    void SetUp() override {
        Endpoints::setCurrent(Endpoints::allAt(server.origin()));
        FixtureServer::Reply r;
        r.body = archive;
        r.headers = {{"Content-Type", "application/octet-stream"}};
        server.route(QStringLiteral("/dl/orvane.tar"), r);
    }
    void TearDown() override { Endpoints::setCurrent(Endpoints::builtIn()); }

    QString downloadUrl() const { return server.origin().toString() + QStringLiteral("/dl/orvane.tar"); }

    OrvaneAutoUpdate::Outcome check(OrvaneAutoUpdate& updater) { return await(updater.checkNow()); }

    std::unique_ptr<OrvaneAutoUpdate> updater(qint64 runningBuild) {
        auto u = std::make_unique<OrvaneAutoUpdate>(store, runningBuild);
        u->setInstaller([this](const QString& path) {
            QFile f(path);
            if (!f.open(QIODevice::ReadOnly) || f.readAll() != archive) return false;
            handed << path;
            return true;
        });
        return u;
    }
};

}  // namespace

TEST_F(UpdateFixture, ForcedNewerBuildWithGoodChecksumIsHandedToTheScript) {
    server.routeJson(OrvaneAutoUpdate::manifestPath(), manifest(42, downloadUrl(), sha, true));
    auto u = updater(41);
    EXPECT_EQ(check(*u), OrvaneAutoUpdate::Outcome::Installing);
    EXPECT_EQ(handed.size(), 1);
    EXPECT_GT(store.integer(QStringLiteral("orvane.update.lastCheck")), 0);
}

TEST_F(UpdateFixture, NothingIsInstalledThatWasNotVerified) {
    struct Case {
        const char* name;
        qint64 manifestBuild;
        QByteArray checksum;
        OrvaneAutoUpdate::Outcome expected;
    } cases[] = {
        {"bad checksum", 42, QByteArray(64, 'a'), OrvaneAutoUpdate::Outcome::ChecksumMismatch},
        {"same build", 41, sha, OrvaneAutoUpdate::Outcome::NoUpdate},
        {"older build", 7, sha, OrvaneAutoUpdate::Outcome::NoUpdate},
        {"malformed checksum", 42, QByteArray("xyz"), OrvaneAutoUpdate::Outcome::NoUpdate},
    };
    for (const Case& c : cases) {
        server.routeJson(OrvaneAutoUpdate::manifestPath(),
                         manifest(c.manifestBuild, downloadUrl(), c.checksum, true));
        auto u = updater(41);
        EXPECT_EQ(check(*u), c.expected) << c.name;
        EXPECT_TRUE(handed.isEmpty()) << c.name;
    }
}

TEST_F(UpdateFixture, ServerTroubleIsAQuietFailure) {
    auto u = updater(41);
    server.routeJson(OrvaneAutoUpdate::manifestPath(), "{\"error\":true}", 500);
    EXPECT_EQ(check(*u), OrvaneAutoUpdate::Outcome::Failed);
    server.routeJson(OrvaneAutoUpdate::manifestPath(), "not json");
    EXPECT_EQ(check(*u), OrvaneAutoUpdate::Outcome::NoUpdate);
    server.routeJson(OrvaneAutoUpdate::manifestPath(), manifest(42, downloadUrl(), sha, true));
    server.routeJson(QStringLiteral("/dl/orvane.tar"), "gone", 404);
    EXPECT_EQ(check(*u), OrvaneAutoUpdate::Outcome::Failed);
    server.setOffline(true);
    EXPECT_EQ(check(*u), OrvaneAutoUpdate::Outcome::Failed);
    EXPECT_TRUE(handed.isEmpty());
}

TEST_F(UpdateFixture, AnOptionalUpdateIsOfferedOncePerVersion) {
    server.routeJson(OrvaneAutoUpdate::manifestPath(), manifest(42, downloadUrl(), sha, false));
    auto u = updater(41);
    QSignalSpy offered(u.get(), &OrvaneAutoUpdate::updateAvailable);
    EXPECT_EQ(check(*u), OrvaneAutoUpdate::Outcome::AwaitingUser);
    ASSERT_EQ(offered.size(), 1);
    EXPECT_EQ(offered[0][0].toString(), QStringLiteral("2.0"));
    EXPECT_EQ(offered[0][1].toString(), QStringLiteral("Faster dial"));
    EXPECT_TRUE(handed.isEmpty());
    u->installPending();
    EXPECT_EQ(handed.size(), 1);

    auto later = updater(41);
    EXPECT_EQ(check(*later), OrvaneAutoUpdate::Outcome::AlreadyAsked);
}

TEST(UpdateScript, UnpacksOverTheInstallationAndKeepsTheOldOne) {
    QTemporaryDir dir;
    const QString root = dir.path();
    QDir().mkpath(root + QStringLiteral("/payload/orvane-2"));
    QFile newBinary(root + QStringLiteral("/payload/orvane-2/orvane"));
    ASSERT_TRUE(newBinary.open(QIODevice::WriteOnly));
    newBinary.write("new build");
    newBinary.close();
    QDir().mkpath(root + QStringLiteral("/install"));
    QFile oldBinary(root + QStringLiteral("/install/orvane"));
    ASSERT_TRUE(oldBinary.open(QIODevice::WriteOnly));
    oldBinary.write("old build");
    oldBinary.close();
    ASSERT_EQ(
        QProcess::execute(QStringLiteral("tar"),
                          {QStringLiteral("-C"), root + QStringLiteral("/payload"), QStringLiteral("-cf"),
                           root + QStringLiteral("/update.tar"), QStringLiteral("orvane-2")}),
        0);

    QFile script(QStringLiteral(ORVANE_SOURCE_DIR "/resources/shell/update_orvane"));
    ASSERT_TRUE(script.exists());
    const int rc = QProcess::execute(QStringLiteral("/bin/bash"),
                                     {script.fileName(), root + QStringLiteral("/update.tar"),
                                      root + QStringLiteral("/install"), QStringLiteral("999999999")});
    EXPECT_EQ(rc, 0);
    QFile installed(root + QStringLiteral("/install/orvane"));
    ASSERT_TRUE(installed.open(QIODevice::ReadOnly));
    EXPECT_EQ(installed.readAll(), QByteArray("new build"));
    EXPECT_TRUE(QFile::exists(root + QStringLiteral("/install.old/orvane")));
    EXPECT_FALSE(QFile::exists(root + QStringLiteral("/update.tar")));
}

TEST(UpdateScript, AFailedUnpackLeavesTheInstallationAlone) {
    QTemporaryDir dir;
    const QString root = dir.path();
    QDir().mkpath(root + QStringLiteral("/install"));
    QFile bad(root + QStringLiteral("/update.tar"));
    ASSERT_TRUE(bad.open(QIODevice::WriteOnly));
    bad.write("this is not a tar archive");
    bad.close();
    QFile keep(root + QStringLiteral("/install/orvane"));
    ASSERT_TRUE(keep.open(QIODevice::WriteOnly));
    keep.write("old build");
    keep.close();
    const int rc = QProcess::execute(QStringLiteral("/bin/bash"),
                                     {QStringLiteral(ORVANE_SOURCE_DIR "/resources/shell/update_orvane"),
                                      root + QStringLiteral("/update.tar"), root + QStringLiteral("/install"),
                                      QStringLiteral("999999999")});
    EXPECT_NE(rc, 0);
    EXPECT_TRUE(QFile::exists(root + QStringLiteral("/install/orvane")));
    EXPECT_FALSE(QFile::exists(root + QStringLiteral("/install.old")));
}
