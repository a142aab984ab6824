#include <gtest/gtest.h>

#include "TempHome.h"
#include "services/AdhanAudioCache.h"

#include <QDir>
#include <QFile>

namespace {

class InstallTest : public ::testing::Test {
  protected:
    QString source(const char* name, qsizetype bytes, char fill = 'a') {
        const QString path = home.path() + QLatin1Char('/') + QLatin1String(name);
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(QByteArray(bytes, fill));
        return path;
    }
    static QByteArray installed(const char* kind) {
        QFile f(AdhanAudioCache::customPath(QLatin1String(kind)));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    // Only the installed files: no temporary copy is left behind.
    static QStringList folderEntries() {
        return QDir(AdhanAudioCache::folder()).entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot);
    }
    TempHome home;
};

}  // namespace

TEST_F(InstallTest, KindsAndPaths) {
    EXPECT_EQ(AdhanAudioCache::customPath(QStringLiteral("fajr")),
              home.dataHome() + QStringLiteral("/Orvane/Adhan/fajr.mp3"));
    EXPECT_EQ(AdhanAudioCache::customPath(QStringLiteral("regular")),
              home.dataHome() + QStringLiteral("/Orvane/Adhan/regular.mp3"));
    for (const char* kind : {"", "Fajr", "../fajr", "dhuhr"}) {
        EXPECT_TRUE(AdhanAudioCache::customPath(QLatin1String(kind)).isEmpty()) << kind;
        EXPECT_FALSE(AdhanAudioCache::installCustom(QLatin1String(kind), source("ok.mp3", 5000))) << kind;
        EXPECT_FALSE(AdhanAudioCache::hasCustom(QLatin1String(kind))) << kind;
    }
}

TEST_F(InstallTest, SizeBoundary) {
    EXPECT_TRUE(AdhanAudioCache::installCustom(QStringLiteral("fajr"), source("1001.mp3", 1001)));
    EXPECT_TRUE(AdhanAudioCache::hasCustom(QStringLiteral("fajr")));
    EXPECT_EQ(installed("fajr").size(), 1001);

    EXPECT_FALSE(AdhanAudioCache::installCustom(QStringLiteral("regular"), source("1000.mp3", 1000)));
    EXPECT_FALSE(AdhanAudioCache::hasCustom(QStringLiteral("regular")));
    EXPECT_EQ(folderEntries(), QStringList{QStringLiteral("fajr.mp3")});
}

TEST_F(InstallTest, AFailedInstallKeepsTheInstalledFile) {
    ASSERT_TRUE(AdhanAudioCache::installCustom(QStringLiteral("regular"), source("first.mp3", 4000, 'f')));
    const QByteArray before = installed("regular");

    EXPECT_FALSE(AdhanAudioCache::installCustom(QStringLiteral("regular"), source("short.mp3", 1000, 's')));
    EXPECT_FALSE(AdhanAudioCache::installCustom(QStringLiteral("regular"),
                                                home.path() + QStringLiteral("/missing.mp3")));
    EXPECT_FALSE(AdhanAudioCache::installCustom(QStringLiteral("regular"), home.path()));  // a folder
    const QString locked = source("locked.mp3", 4000, 'l');
    QFile::setPermissions(locked, QFileDevice::Permissions());
    QFile probe(locked);
    if (probe.open(QIODevice::ReadOnly)) {
        probe.close();
        GTEST_LOG_(INFO)
            << "running as a user who reads every file; the unreadable case is covered by the folder";
    } else {
        EXPECT_FALSE(AdhanAudioCache::installCustom(QStringLiteral("regular"), locked));
    }

    EXPECT_EQ(installed("regular"), before);
    EXPECT_TRUE(AdhanAudioCache::hasCustom(QStringLiteral("regular")));
    EXPECT_EQ(folderEntries(), QStringList{QStringLiteral("regular.mp3")});

    ASSERT_TRUE(AdhanAudioCache::installCustom(QStringLiteral("regular"), source("second.mp3", 3000, 'n')));
    EXPECT_EQ(installed("regular"), QByteArray(3000, 'n'));
}

TEST_F(InstallTest, AnOversizedRecordingIsRefused) {
    EXPECT_FALSE(AdhanAudioCache::installCustom(QStringLiteral("fajr"),
                                                source("huge.mp3", AdhanAudioCache::maxCustomBytes + 1)));
    EXPECT_FALSE(AdhanAudioCache::hasCustom(QStringLiteral("fajr")));
    EXPECT_TRUE(folderEntries().isEmpty());
}

TEST_F(InstallTest, ClearRemovesOnlyThatKind) {
    ASSERT_TRUE(AdhanAudioCache::installCustom(QStringLiteral("fajr"), source("a.mp3", 2000)));
    ASSERT_TRUE(AdhanAudioCache::installCustom(QStringLiteral("regular"), source("b.mp3", 2000)));
    AdhanAudioCache::clearCustom(QStringLiteral("other"));
    AdhanAudioCache::clearCustom(QStringLiteral("fajr"));
    AdhanAudioCache::clearCustom(QStringLiteral("fajr"));  // already gone: nothing happens
    EXPECT_FALSE(AdhanAudioCache::hasCustom(QStringLiteral("fajr")));
    EXPECT_TRUE(AdhanAudioCache::hasCustom(QStringLiteral("regular")));
}

TEST_F(InstallTest, ASmallFileLeftInPlaceIsNoCustomRecording) {
    QDir().mkpath(AdhanAudioCache::folder());
    QFile f(AdhanAudioCache::customPath(QStringLiteral("fajr")));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(QByteArray(1000, 'x'));
    f.close();
    EXPECT_FALSE(AdhanAudioCache::hasCustom(QStringLiteral("fajr")));
}
