#include <gtest/gtest.h>

#include "FileBytes.h"
#include "FileModes.h"
#include "OrvaneProcess.h"
#include "TempHome.h"
#include "platform/DefaultsStore.h"

#include <signal.h>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTest>
#include <QUuid>

// The real program, as a logout ends it: a first run in a fresh home with a fixed place chosen by its
// coordinates alone, offline, ended by SIGTERM once its first load is done; then a second start, ended by
// SIGINT. Everything the first run wrote must be on disk, and the second must start from it. Both start
// under a umask that takes nothing away: what the clock keeps is the user's alone all the same.

namespace {

constexpr const char* kDevice = "E2E-DEVICE";

QString key(const char* format) {
    return QString::fromLatin1(format).arg(QLatin1String(kDevice));
}

// The rows of the settings database as another program reads them, key to stored bytes.
QHash<QString, QByteArray> rowsOnDisk(const QString& path) {
    QHash<QString, QByteArray> rows;
    const QString name = QUuid::createUuid().toString();
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(path);
        db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY"));
        if (db.open()) {
            QSqlQuery q(db);
            q.exec(QStringLiteral("SELECT key, value FROM defaults"));
            while (q.next()) rows.insert(q.value(0).toString(), q.value(1).toByteArray());
        }
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
    return rows;
}

class ClockRun {
  public:
    explicit ClockRun(const QString& runtime) {
        QProcessEnvironment env = orvaneEnvironment(runtime);
        env.insert(QStringLiteral("ORVANE_DEVICE_ID"), QLatin1String(kDevice));
        env.insert(QStringLiteral("QT_LOGGING_RULES"), QStringLiteral("orvane.*.info=true"));
        process_.setProcessEnvironment(env);
        process_.setProcessChannelMode(QProcess::MergedChannels);
        process_.setChildProcessModifier([] { ::umask(0); });
        startOffline(process_, {});
    }
    ~ClockRun() { stopProcess(process_); }

    bool waitForLine(const QString& text, int timeoutMs) {
        return QTest::qWaitFor(
                   [&] {
                       output_ += process_.readAll();
                       return output_.contains(text.toUtf8()) || process_.state() == QProcess::NotRunning;
                   },
                   timeoutMs) &&
               output_.contains(text.toUtf8());
    }

    // Sends the signal and gives the exit code of a clean end, or -1 for a crash or no end in time.
    int endWith(int signalNumber) {
        ::kill(pid_t(process_.processId()), signalNumber);
        if (!process_.waitForFinished(15000)) return -1;
        output_ += process_.readAll();
        return process_.exitStatus() == QProcess::NormalExit ? process_.exitCode() : -1;
    }

    const QByteArray& output() const { return output_; }

  private:
    QProcess process_;
    QByteArray output_;
};

void seedFixedPlaceWithoutPlaceId(const QString& path) {
    DefaultsStore store(path);
    store.setBool(key("profile.%1.acceptedPrivacy"), true);
    store.setBool(key("profile.%1.useManualLocation"), true);
    store.setDouble(key("profile.%1.manualLat"), 51.5074);
    store.setDouble(key("profile.%1.manualLon"), -0.1278);
    ASSERT_TRUE(store.sync());
}

// Files, and the clock's folders that hold them, as any account may change them.
void leaveOpen(const QStringList& paths) {
    const qsizetype home = QDir::homePath().size();
    for (const QString& path : paths) {
        if (!QFile::exists(path)) {
            QDir().mkpath(QFileInfo(path).absolutePath());
            FileBytes::write(path, "{}");
        }
        ::chmod(QFile::encodeName(path).constData(), 0666);
        for (QString folder = QFileInfo(path).absolutePath(); folder.mid(home).contains(u"/Orvane");
             folder = QFileInfo(folder).absolutePath())
            ::chmod(QFile::encodeName(folder).constData(), 0777);
    }
}

}  // namespace

TEST(QuitKeepsEveryWrite, SigtermAfterTheFirstLoadLeavesItOnDiskForTheNextStart) {
    if (const QString why = offlineUnavailable(); !why.isEmpty()) GTEST_SKIP() << why.toStdString();
    TempHome home;
    const QString path = home.configHome() + QStringLiteral("/Orvane/defaults.sqlite3");
    const QString runtime = home.path() + QStringLiteral("/runtime");
    seedFixedPlaceWithoutPlaceId(path);
    // What an older build left open to others, and beside it a link to a file that is not the clock's.
    const QString quran = home.dataHome() + QStringLiteral("/Orvane/Quran");
    const QString elsewhere = home.path() + QStringLiteral("/shared.json");
    leaveOpen({quran + QStringLiteral("/quran-simple.json"), elsewhere, path});
    ASSERT_TRUE(QFile::link(elsewhere, quran + QStringLiteral("/linked.json")));

    {
        ClockRun first(runtime);
        // Offline, a load can wait out the 60-second timeout of a request the network layer never ends.
        ASSERT_TRUE(first.waitForLine(QStringLiteral("loaded the bundle for"), 90000))
            << first.output().data();
        for (const QString& own : {path, path + QStringLiteral("-wal"), path + QStringLiteral("-shm"),
                                   quran + QStringLiteral("/quran-simple.json")})
            EXPECT_EQ(modeOf(own), 0600) << own.toStdString();
        for (const QString& own :
             {QFileInfo(path).absolutePath(), home.dataHome() + QStringLiteral("/Orvane"), quran})
            EXPECT_EQ(modeOf(own), 0700) << own.toStdString();
        EXPECT_EQ(modeOf(elsewhere), 0666);
        EXPECT_EQ(first.endWith(SIGTERM), 0) << first.output().data();
        EXPECT_TRUE(first.output().contains("quitting on SIGTERM"));
    }
    const QHash<QString, QByteArray> rows = rowsOnDisk(path);
    EXPECT_TRUE(rows.value(key("cachedBundle.%1")).startsWith("{")) << rows.keys().join(u' ').toStdString();
    EXPECT_TRUE(rows.value(QStringLiteral("orvane.notifications.pending")).startsWith("["));
    EXPECT_TRUE(rows.contains(key("cachedBundleLat.%1")));
    // The place id the fixed place never had is stored as the empty text it is.
    ASSERT_TRUE(rows.contains(key("profile.%1.manualPlaceId")));
    EXPECT_EQ(rows.value(key("profile.%1.manualPlaceId")), QByteArray());
    EXPECT_TRUE(rows.contains(key("profile.%1.clockId")));

    // The cache folder, emptied by the first start of a build, as a later start finds it.
    const QString sound = home.cacheHome() + QStringLiteral("/Orvane/Sounds/beep.wav");
    leaveOpen({sound});
    ClockRun second(runtime);
    ASSERT_TRUE(second.waitForLine(QStringLiteral("showing the cached bundle for London"), 30000))
        << second.output().data();
    EXPECT_EQ(modeOf(sound), 0600);
    EXPECT_EQ(modeOf(home.cacheHome() + QStringLiteral("/Orvane")), 0700);
    EXPECT_EQ(second.endWith(SIGINT), 0) << second.output().data();
    EXPECT_TRUE(second.output().contains("quitting on SIGINT"));
}
