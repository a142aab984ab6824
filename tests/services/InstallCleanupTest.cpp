#include <gtest/gtest.h>

#include "SettingsTestEnv.h"
#include "services/AdhanAudioCache.h"
#include "services/CacheFolder.h"
#include "services/InstallCleanup.h"

#include <QDir>
#include <QFile>

namespace {

void touch(const QString& path) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    if (f.open(QIODevice::WriteOnly)) f.write("x");
}

}  // namespace

TEST(InstallCleanup, NewBuildDropsCachesAndKeepsSettingsIdentifiersAndUserFiles) {
    SettingsTestEnv env;
    QString device, clock;
    {
        AppSettings& s = env.start();
        s.setMethod(QStringLiteral("MWL"));
        s.setAsr(2);
        s.setLang(QStringLiteral("ur"));
        s.setAcceptedPrivacy(true);
        device = s.deviceId();
        clock = s.clockId();
    }
    env.store->setData(QStringLiteral("netCache.v1.data.weather:1.000,2.000"), "{}");
    env.store->setDouble(QStringLiteral("netCache.v1.ts.weather:1.000,2.000"), 1.0);
    env.store->setString(InstallCleanup::buildMarkerKey, QStringLiteral("0"));  // an older build
    env.store->setData(InstallCleanup::pendingNotificationsKey, "[]");
    const QString fajr = AdhanAudioCache::folder() + QStringLiteral("/fajr.mp3");
    touch(fajr);
    touch(InstallCleanup::cacheFolder() + QStringLiteral("/logos/1.png"));
    const QString logo = CacheFolder::path(QStringLiteral("Logos")) + QStringLiteral("/1.png");
    const QString edition = CacheFolder::path(QStringLiteral("Quran")) + QStringLiteral("/quran-simple.json");
    touch(logo);
    touch(edition);
    env.store->sync();
    env.reopen();

    AppSettings& s = env.start();
    EXPECT_EQ(s.method(), QStringLiteral("MWL"));
    EXPECT_EQ(s.asr(), 2);
    EXPECT_EQ(s.lang(), QStringLiteral("ur"));
    EXPECT_TRUE(s.acceptedPrivacy());
    EXPECT_EQ(s.deviceId(), device);
    EXPECT_EQ(s.clockId(), clock);
    EXPECT_TRUE(QFile::exists(fajr));
    EXPECT_TRUE(QFile::exists(edition));
    EXPECT_FALSE(QFile::exists(logo));
    EXPECT_FALSE(env.store->contains(InstallCleanup::pendingNotificationsKey));
    EXPECT_FALSE(QDir(InstallCleanup::cacheFolder()).exists());
    for (const QString& key : env.store->keys())
        EXPECT_FALSE(key.startsWith(QLatin1String("netCache.v1."))) << key.toStdString();
    EXPECT_EQ(env.store->string(InstallCleanup::buildMarkerKey), QString::number(BuildInfo::buildNumber()));
    EXPECT_EQ(env.store->string(InstallCleanup::serverHostMarkerKey), env.server.origin().host());
}

TEST(InstallCleanup, SameBuildAndHostTouchesNothing) {
    SettingsTestEnv env;
    InstallCleanup::runIfNeededBeforeSettingsLoad(*env.store);
    env.store->setData(QStringLiteral("netCache.v1.data.x"), "{}");
    touch(InstallCleanup::cacheFolder() + QStringLiteral("/url/entry"));
    InstallCleanup::runIfNeededBeforeSettingsLoad(*env.store);
    EXPECT_TRUE(env.store->contains(QStringLiteral("netCache.v1.data.x")));
    EXPECT_TRUE(QFile::exists(InstallCleanup::cacheFolder() + QStringLiteral("/url/entry")));
    // Another server host is another set of answers.
    env.store->setString(InstallCleanup::serverHostMarkerKey, QStringLiteral("old.example.org"));
    InstallCleanup::runIfNeededBeforeSettingsLoad(*env.store);
    EXPECT_FALSE(env.store->contains(QStringLiteral("netCache.v1.data.x")));
}

TEST(InstallCleanup, ACacheFolderMovedThroughASymlinkGoesAsTheLinkAndItsTargetKeepsTheUsersFiles) {
    SettingsTestEnv env;
    const QStringList folders = {InstallCleanup::cacheFolder(), CacheFolder::path(QStringLiteral("Logos")),
                                 CacheFolder::path(QStringLiteral("NoStreetView")),
                                 CacheFolder::path(QStringLiteral("Blessings"))};
    const auto elsewhere = [&](qsizetype i) { return env.home.path() + QStringLiteral("/disk/%1").arg(i); };
    for (qsizetype i = 0; i < folders.size(); ++i) {
        touch(elsewhere(i) + QStringLiteral("/mine.txt"));
        QDir().mkpath(QFileInfo(folders[i]).absolutePath());
        ASSERT_TRUE(QFile::link(elsewhere(i), folders[i]));
    }
    env.store->setString(InstallCleanup::buildMarkerKey, QStringLiteral("0"));
    InstallCleanup::runIfNeededBeforeSettingsLoad(*env.store);
    for (qsizetype i = 0; i < folders.size(); ++i) {
        EXPECT_TRUE(QFile::exists(elsewhere(i) + QStringLiteral("/mine.txt"))) << folders[i].toStdString();
        EXPECT_FALSE(QFileInfo(folders[i]).isSymLink()) << folders[i].toStdString();
    }
}

TEST(AdhanAudioCache, PurgeRemovesOnlyTheOldDownloadLeftovers) {
    TempHome home;
    const QString dir = AdhanAudioCache::folder();
    for (const char* name :
         {"manifest.json", "fajr.mp3.download", "regular.mp3.download", "fajr.mp3", "regular.mp3"}) {
        touch(dir + u'/' + QLatin1String(name));
    }
    AdhanAudioCache::purgeLegacyServerCacheArtifacts();
    AdhanAudioCache::purgeLegacyServerCacheArtifacts();  // nothing left to remove is fine
    EXPECT_EQ(QDir(dir).entryList(QDir::Files, QDir::Name),
              (QStringList{QStringLiteral("fajr.mp3"), QStringLiteral("regular.mp3")}));
}
