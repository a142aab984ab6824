#include <gtest/gtest.h>

#include "FullDisk.h"
#include "TempHome.h"
#include "platform/DefaultsStore.h"

#include <linux/capability.h>
#include <sys/syscall.h>
#include <unistd.h>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSignalSpy>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTest>
#include <QTimer>
#include <QUuid>
#include <cmath>
#include <csignal>
#include <cstdlib>
#include <functional>
#include <limits>
#include <memory>

namespace {

QString storePath(const TempHome& home) {
    return home.configHome() + QStringLiteral("/Orvane/defaults.sqlite3");
}

// A second connection to the same file, as another process would see it.
class Peer {
  public:
    explicit Peer(const QString& path) : name_(QUuid::createUuid().toString()) {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name_);
        db.setDatabaseName(path);
        db.open();
    }
    ~Peer() {
        QSqlDatabase::database(name_, false).close();
        QSqlDatabase::removeDatabase(name_);
    }
    bool exec(const QString& sql) { return QSqlQuery(QSqlDatabase::database(name_)).exec(sql); }
    QStringList keys() {
        QSqlQuery q(QSqlDatabase::database(name_));
        q.exec(QStringLiteral("SELECT key FROM defaults ORDER BY key"));
        QStringList list;
        while (q.next()) list.append(q.value(0).toString());
        return list;
    }

  private:
    QString name_;
};

// Collects the log lines of the store while it lives.
struct LogCapture {
    static inline QStringList lines;
    QtMessageHandler previous;
    LogCapture() {
        lines.clear();
        previous =
            qInstallMessageHandler([](QtMsgType, const QMessageLogContext& context, const QString& text) {
                if (QLatin1String(context.category) == QLatin1String("orvane.defaults")) lines.append(text);
            });
    }
    ~LogCapture() { qInstallMessageHandler(previous); }
};

}  // namespace

TEST(DefaultsStore, EveryTypeSurvivesAReopen) {
    using T = DefaultsStore::Type;
    const std::pair<const char*, DefaultsStore::Object> table[] = {
        {"b", {T::Bool, true}},
        {"bFalse", {T::Bool, false}},
        {"i", {T::Int, qint64(-9007199254740993LL)}},
        {"d", {T::Double, 0.1}},
        {"s", {T::String, QStringLiteral("Mecca \u0645\u0643\u0629\n\"'")}},
        {"emptyString", {T::String, QStringLiteral("")}},
        {"nullString", {T::String, QString()}},
        {"bytes", {T::Bytes, QByteArray("\0\xff\x01", 3)}},
        {"emptyBytes", {T::Bytes, QByteArray("", 0)}},
        {"nullBytes", {T::Bytes, QByteArray()}},
        {"list", {T::StringList, QStringList{QStringLiteral("a"), QString()}}},
        {"emptyList", {T::StringList, QStringList()}},
        {"map", {T::StringMap, QVariant::fromValue(DefaultsStore::StringMap{{QStringLiteral("k"), {}}})}},
        {"emptyMap", {T::StringMap, QVariant::fromValue(DefaultsStore::StringMap())}},
    };
    TempHome home;
    const QString path = storePath(home);
    {
        DefaultsStore store(path);
        ASSERT_TRUE(store.isPersistent());
        for (const auto& [key, object] : table) store.setObject(QLatin1String(key), object);
        store.setDouble(QStringLiteral("inf"), std::numeric_limits<double>::infinity());
        store.setString(QStringLiteral("gone"), QStringLiteral("x"));
        store.remove(QStringLiteral("gone"));
        EXPECT_TRUE(store.sync());
        EXPECT_TRUE(store.failure().isEmpty());
    }
    EXPECT_EQ(Peer(path).keys().size(), std::size(table) + 1);
    DefaultsStore store(path);
    for (const auto& [key, object] : table) {
        SCOPED_TRACE(key);
        const std::optional<DefaultsStore::Object> read = store.object(QLatin1String(key));
        ASSERT_TRUE(read.has_value());
        EXPECT_EQ(read->type, object.type);
        switch (object.type) {
            case T::String:
                EXPECT_EQ(read->value.toString(), object.value.toString());
                break;
            case T::Bytes:
                EXPECT_EQ(read->value.toByteArray(), object.value.toByteArray());
                break;
            case T::StringList:
                EXPECT_EQ(read->value.toStringList(), object.value.toStringList());
                break;
            case T::StringMap:
                EXPECT_EQ(read->value.value<DefaultsStore::StringMap>(),
                          object.value.value<DefaultsStore::StringMap>());
                break;
            default:
                EXPECT_EQ(*read, object);
        }
    }
    EXPECT_EQ(store.string(QStringLiteral("emptyString")), QString());
    EXPECT_TRUE(std::isinf(store.doubleValue(QStringLiteral("inf"))));
    EXPECT_FALSE(store.contains(QStringLiteral("gone")));
    EXPECT_EQ(store.keys().size(), std::size(table) + 1);
}

TEST(DefaultsStore, ARefusedValueIsDroppedAndLaterWritesStillReachTheDisk) {
    TempHome home;
    const QString path = storePath(home);
    DefaultsStore store(path);
    Peer peer(path);
    // The database refuses one key, as it would a value it cannot hold.
    ASSERT_TRUE(
        peer.exec(QStringLiteral("CREATE TRIGGER refuse BEFORE INSERT ON defaults WHEN NEW.key = "
                                 "'refused' BEGIN SELECT RAISE(ABORT, 'refused'); END")));
    LogCapture log;
    store.setString(QStringLiteral("before"), QStringLiteral("1"));
    store.setString(QStringLiteral("refused"), QStringLiteral("x"));
    store.setString(QStringLiteral("sameRound"), QStringLiteral("2"));
    EXPECT_TRUE(store.sync());
    store.setString(QStringLiteral("later"), QStringLiteral("3"));
    QCoreApplication::processEvents();
    EXPECT_EQ(peer.keys(),
              (QStringList{QStringLiteral("before"), QStringLiteral("later"), QStringLiteral("sameRound")}));
    ASSERT_EQ(log.lines.size(), 1);
    EXPECT_TRUE(log.lines.first().contains(QStringLiteral("refused")));
    // A refused value is not a store failure, and the memory keeps what the user set.
    EXPECT_TRUE(store.failure().isEmpty());
    EXPECT_EQ(store.string(QStringLiteral("refused")), QStringLiteral("x"));
}

TEST(DefaultsStore, WritesOfOnePassReachTheDiskTogetherAtItsEnd) {
    TempHome home;
    const QString path = storePath(home);
    DefaultsStore store(path);
    Peer peer(path);
    for (int i = 0; i < 25; ++i) store.setInteger(QStringLiteral("k%1").arg(i, 2, 10, QLatin1Char('0')), i);
    EXPECT_TRUE(peer.keys().isEmpty());
    QCoreApplication::processEvents();
    EXPECT_EQ(peer.keys().size(), 25);
    store.remove(QStringLiteral("k00"));
    store.setInteger(QStringLiteral("k01"), 100);
    EXPECT_EQ(peer.keys().size(), 25);
    EXPECT_TRUE(store.sync());  // a sync does not wait for the pass to end
    EXPECT_EQ(peer.keys().size(), 24);
    EXPECT_EQ(DefaultsStore(path).integer(QStringLiteral("k01")), 100);
}

TEST(DefaultsStore, ADatabaseThatCannotBeWrittenIsReportedAndCaughtUpLater) {
    TempHome home;
    const QString path = storePath(home);
    DefaultsStore store(path);
    QSignalSpy changed(&store, &DefaultsStore::failureChanged);
    {
        Peer holder(path);
        ASSERT_TRUE(holder.exec(QStringLiteral("BEGIN EXCLUSIVE")));  // another writer holds the file
        store.setString(QStringLiteral("city"), QStringLiteral("London"));
        EXPECT_FALSE(store.sync());
        EXPECT_TRUE(store.failure().contains(path));
        EXPECT_EQ(changed.size(), 1);
        holder.exec(QStringLiteral("ROLLBACK"));
    }
    store.setInteger(QStringLiteral("asr"), 2);
    QCoreApplication::processEvents();
    EXPECT_TRUE(store.failure().isEmpty());
    EXPECT_EQ(changed.size(), 2);
    EXPECT_EQ(Peer(path).keys(), (QStringList{QStringLiteral("asr"), QStringLiteral("city")}));
}

struct Conversion {
    DefaultsStore::Object stored;
    std::optional<QString> asString;
    qint64 asInteger;
    double asDouble;
    bool asBool;
};

// A huge row (a cached reply grown past reason by another program) is not loaded into memory.
TEST(DefaultsStore, AValuePastItsLimitIsSkippedUnread) {
    TempHome home;
    const QString path = storePath(home);
    {
        DefaultsStore store(path);
        store.setString(QStringLiteral("city"), QStringLiteral("Makkah"));
        ASSERT_TRUE(store.sync());
    }
    ASSERT_TRUE(Peer(path).exec(QStringLiteral(
        "INSERT INTO defaults VALUES ('netCache.v1.data.theme', 5, zeroblob(17 * 1024 * 1024))")));
    DefaultsStore store(path);
    EXPECT_EQ(store.string(QStringLiteral("city")), QStringLiteral("Makkah"));
    EXPECT_FALSE(store.contains(QStringLiteral("netCache.v1.data.theme")));
}

TEST(DefaultsStore, ReadsConvertBetweenTypes) {
    using T = DefaultsStore::Type;
    const Conversion table[] = {
        {{T::String, QStringLiteral("12")}, QStringLiteral("12"), 12, 12.0, true},
        {{T::String, QStringLiteral("abc")}, QStringLiteral("abc"), 0, 0.0, false},
        {{T::String, QStringLiteral("  -7.5x")}, QStringLiteral("  -7.5x"), -7, -7.5, true},
        {{T::String, QStringLiteral("true")}, QStringLiteral("true"), 0, 0.0, true},
        {{T::String, QStringLiteral("YES")}, QStringLiteral("YES"), 0, 0.0, true},
        {{T::String, QStringLiteral("1")}, QStringLiteral("1"), 1, 1.0, true},
        {{T::String, QStringLiteral("no")}, QStringLiteral("no"), 0, 0.0, false},
        {{T::String, QStringLiteral("000")}, QStringLiteral("000"), 0, 0.0, false},
        {{T::String, QString()}, QString(), 0, 0.0, false},
        {{T::String, QStringLiteral("99999999999999999999")},
         QStringLiteral("99999999999999999999"),
         std::numeric_limits<qint64>::max(),
         1e20,
         true},
        {{T::Int, qint64(12)}, QStringLiteral("12"), 12, 12.0, true},
        {{T::Int, qint64(0)}, QStringLiteral("0"), 0, 0.0, false},
        {{T::Double, 2.5}, QStringLiteral("2.5"), 2, 2.5, true},
        {{T::Double, -3.9}, QStringLiteral("-3.9"), -3, -3.9, true},
        {{T::Double, std::nan("")}, QStringLiteral("nan"), 0, std::nan(""), true},
        {{T::Bool, true}, QStringLiteral("1"), 1, 1.0, true},
        {{T::Bool, false}, QStringLiteral("0"), 0, 0.0, false},
        {{T::Bytes, QByteArray("12")}, std::nullopt, 0, 0.0, false},
        {{T::StringList, QStringList{QStringLiteral("1")}}, std::nullopt, 0, 0.0, false},
    };
    TempHome home;
    DefaultsStore store(storePath(home));
    for (const Conversion& row : table) {
        SCOPED_TRACE(row.stored.value.toString().toStdString());
        store.setObject(QStringLiteral("k"), row.stored);
        EXPECT_EQ(store.string(QStringLiteral("k")), row.asString);
        EXPECT_EQ(store.integer(QStringLiteral("k")), row.asInteger);
        if (std::isnan(row.asDouble)) {
            EXPECT_TRUE(std::isnan(store.doubleValue(QStringLiteral("k"))));
        } else {
            EXPECT_EQ(store.doubleValue(QStringLiteral("k")), row.asDouble);
        }
        EXPECT_EQ(store.boolean(QStringLiteral("k")), row.asBool);
    }
    EXPECT_FALSE(store.string(QStringLiteral("absent")).has_value());
    EXPECT_EQ(store.integer(QStringLiteral("absent")), 0);
    EXPECT_FALSE(store.boolean(QStringLiteral("absent")));
    store.setString(QStringLiteral("k"), QStringLiteral("a"));
    EXPECT_FALSE(store.stringList(QStringLiteral("k")).has_value());
}

TEST(DefaultsStore, CorruptDatabaseIsMovedAsideAndAFreshOneUsed) {
    TempHome home;
    const QString path = storePath(home);
    QDir().mkpath(QFileInfo(path).absolutePath());
    {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(QByteArray(8192, '\x5a'));
    }
    {
        DefaultsStore store(path);
        EXPECT_TRUE(store.isPersistent());
        EXPECT_TRUE(store.keys().isEmpty());
        store.setString(QStringLiteral("deviceId"), QStringLiteral("D1"));
        EXPECT_TRUE(store.sync());
    }
    const QStringList aside =
        QDir(QFileInfo(path).absolutePath()).entryList({QStringLiteral("defaults.sqlite3.broken-*")});
    ASSERT_EQ(aside.size(), 1);
    QFile kept(QFileInfo(path).absolutePath() + u'/' + aside.first());
    ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
    EXPECT_EQ(kept.readAll(), QByteArray(8192, '\x5a'));
    DefaultsStore reopened(path);
    EXPECT_EQ(reopened.string(QStringLiteral("deviceId")), QStringLiteral("D1"));
}

namespace {

// Makes file permissions bind for this thread even when the tests run as root, by setting aside the
// capability that overrides them; restored on destruction.
class PermissionsBind {
  public:
    PermissionsBind() {
        syscall(SYS_capget, &header_, saved_);
        __user_cap_data_struct reduced[2] = {saved_[0], saved_[1]};
        reduced[0].effective &= ~((1u << CAP_DAC_OVERRIDE) | (1u << CAP_DAC_READ_SEARCH));
        syscall(SYS_capset, &header_, reduced);
    }
    ~PermissionsBind() { syscall(SYS_capset, &header_, saved_); }

  private:
    __user_cap_header_struct header_{_LINUX_CAPABILITY_VERSION_3, 0};
    __user_cap_data_struct saved_[2]{};
};

// Something in the way of the settings file while the store opens it.
class Obstacle {
  public:
    virtual ~Obstacle() = default;
};

class ExclusiveHolder : public Obstacle {
  public:
    explicit ExclusiveHolder(const QString& path) : peer_(path) {
        // Held past the store's busy timeout, as another program that keeps the file would.
        peer_.exec(QStringLiteral("PRAGMA locking_mode=EXCLUSIVE"));
        peer_.exec(QStringLiteral("BEGIN EXCLUSIVE"));
    }

  private:
    Peer peer_;
};

class ReadOnlyFolder : public Obstacle {
  public:
    explicit ReadOnlyFolder(const QString& path) : folder_(QFileInfo(path).absolutePath()) {
        QFile::setPermissions(folder_, QFile::ReadOwner | QFile::ExeOwner);
        QFile::setPermissions(path, QFile::ReadOwner);
    }
    ~ReadOnlyFolder() override {
        QFile::setPermissions(folder_, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QFile::setPermissions(folder_ + QStringLiteral("/defaults.sqlite3"),
                              QFile::ReadOwner | QFile::WriteOwner);
    }

  private:
    QString folder_;
    PermissionsBind bind_;
};

struct OpenCase {
    const char* what;
    std::function<std::unique_ptr<Obstacle>(const QString& path)> obstruct;
    bool movedAside;
};

QStringList movedAsideFiles(const QString& path) {
    return QDir(QFileInfo(path).absolutePath()).entryList({QStringLiteral("defaults.sqlite3*.broken-*")});
}

}  // namespace

TEST(DefaultsStore, OnlyADamagedDatabaseIsMovedAsideAndABusyOrReadOnlyOneKeepsItsValues) {
    const OpenCase table[] = {
        {"held by another connection",
         [](const QString& path) { return std::make_unique<ExclusiveHolder>(path); }, false},
        {"in a read-only folder", [](const QString& path) { return std::make_unique<ReadOnlyFolder>(path); },
         false},
        {"not a database",
         [](const QString& path) {
             QFile f(path);
             f.open(QIODevice::WriteOnly);
             f.write(QByteArray(8192, '\x5a'));
             return std::make_unique<Obstacle>();
         },
         true},
    };
    for (const OpenCase& row : table) {
        SCOPED_TRACE(row.what);
        TempHome home;
        const QString path = storePath(home);
        {
            DefaultsStore earlier(path);
            earlier.setString(QStringLiteral("clockId"), QStringLiteral("clk-1"));
            earlier.setInteger(QStringLiteral("asr"), 2);
            ASSERT_TRUE(earlier.sync());
        }
        LogCapture log;
        auto obstacle = row.obstruct(path);
        DefaultsStore store(path);
        EXPECT_EQ(movedAsideFiles(path).size(), row.movedAside ? 1 : 0);
        // A file left in place is read, though it cannot be written.
        EXPECT_EQ(store.isReadOnly(), !row.movedAside);
        EXPECT_EQ(store.keys().size(), row.movedAside ? 0 : 2);
        // A new identifier, and a setting the file lacks.
        store.setString(QStringLiteral("clockId"), QStringLiteral("clk-new"));
        store.setString(QStringLiteral("city"), QStringLiteral("London"));
        if (row.movedAside) {
            EXPECT_TRUE(store.failure().isEmpty());
            EXPECT_TRUE(store.sync());
            EXPECT_EQ(log.lines.filter(QStringLiteral("moved aside")).size(), 1);
            EXPECT_EQ(DefaultsStore(path).string(QStringLiteral("clockId")), QStringLiteral("clk-new"));
            continue;
        }
        EXPECT_FALSE(store.isPersistent());
        EXPECT_TRUE(store.failure().contains(path));
        EXPECT_FALSE(store.sync());  // tried again, still in the way
        EXPECT_TRUE(log.lines.filter(QStringLiteral("moved aside")).isEmpty());
        obstacle.reset();
        EXPECT_TRUE(store.sync());
        EXPECT_TRUE(store.failure().isEmpty());
        // Written after the file was read, the writes made meanwhile are the user's and reach it.
        EXPECT_EQ(store.string(QStringLiteral("clockId")), QStringLiteral("clk-new"));
        EXPECT_EQ(store.integer(QStringLiteral("asr")), 2);
        DefaultsStore reopened(path);
        EXPECT_EQ(reopened.string(QStringLiteral("clockId")), QStringLiteral("clk-new"));
        EXPECT_EQ(reopened.integer(QStringLiteral("asr")), 2);
        EXPECT_EQ(reopened.string(QStringLiteral("city")), QStringLiteral("London"));
        EXPECT_TRUE(movedAsideFiles(path).isEmpty());
    }
}

TEST(DefaultsStore, UnwritableLocationStillWorksInMemoryAndSaysSo) {
    TempHome home;
    QFile blocker(home.configHome() + QStringLiteral("/Orvane"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));  // a file where the folder should be
    blocker.close();
    DefaultsStore store(storePath(home));
    EXPECT_FALSE(store.isPersistent());
    EXPECT_TRUE(store.failure().contains(storePath(home)));
    store.setInteger(QStringLiteral("asr"), 2);
    EXPECT_EQ(store.integer(QStringLiteral("asr")), 2);
    EXPECT_FALSE(store.sync());
    EXPECT_TRUE(
        store.failure().contains(QStringLiteral("tries again with the next change and shortly after")))
        << store.failure().toStdString();
}

TEST(DefaultsStore, StandardStoreFollowsTheConfigHome) {
    TempHome home;
    DefaultsStore::resetStandard();
    EXPECT_EQ(DefaultsStore::standard().path(), storePath(home));
    DefaultsStore::standard().setString(QStringLiteral("x"), QStringLiteral("y"));
    DefaultsStore::resetStandard();
    EXPECT_EQ(DefaultsStore::standard().string(QStringLiteral("x")), QStringLiteral("y"));
    DefaultsStore::resetStandard();
}

// Runs in a child process: writes one key, lets the event loop finish its pass and dies at once, skipping
// every destructor and clean close.
TEST(DefaultsStore, ChildWritesThenIsKilled) {
    const QString path = qEnvironmentVariable("ORVANE_DEFAULTS_CHILD_PATH");
    if (path.isEmpty()) GTEST_SKIP() << "runs only as the child of writeThenKill()";
    auto* store = new DefaultsStore(path);
    store->setString(QStringLiteral("clockId"), QStringLiteral("clk-0123abcd"));
    QCoreApplication::processEvents();
    std::raise(SIGKILL);
}

namespace {

// Runs ChildWritesThenIsKilled on the store at `path`; true once the child has died.
bool writeThenKill(const QString& path) {
    QProcess child;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("ORVANE_DEFAULTS_CHILD_PATH"), path);
    child.setProcessEnvironment(env);
    child.start(QCoreApplication::applicationFilePath(),
                {QStringLiteral("--gtest_filter=DefaultsStore.ChildWritesThenIsKilled")});
    return child.waitForFinished(30000) && child.exitStatus() == QProcess::CrashExit;
}

}  // namespace

TEST(DefaultsStore, WriteSurvivesAKilledProcess) {
    TempHome home;
    const QString path = storePath(home);
    ASSERT_TRUE(writeThenKill(path));
    DefaultsStore store(path);
    EXPECT_EQ(store.string(QStringLiteral("clockId")), QStringLiteral("clk-0123abcd"));
}

// Runs in a child process: writes one key through the process's store and, in the same pass, ends with
// exit() from inside the event loop, as Qt's X11 plugin does when the display goes and libICE when the
// session manager does. No application object is destroyed.
TEST(DefaultsStore, ChildWritesThenExitsInsideTheEventLoop) {
    if (qEnvironmentVariableIsEmpty("ORVANE_DEFAULTS_EXIT_CHILD"))
        GTEST_SKIP() << "runs only as the child of WriteSurvivesAnExitInsideTheEventLoop";
    DefaultsStore::standard();
    QTimer::singleShot(0, [] {
        DefaultsStore::standard().setString(QStringLiteral("clockId"), QStringLiteral("clk-exit"));
        std::exit(1);
    });
    QCoreApplication::exec();
}

TEST(DefaultsStore, WriteSurvivesAnExitInsideTheEventLoop) {
    TempHome home;
    QProcess child;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("ORVANE_DEFAULTS_EXIT_CHILD"), QStringLiteral("1"));
    child.setProcessEnvironment(env);
    child.start(QCoreApplication::applicationFilePath(),
                {QStringLiteral("--gtest_filter=DefaultsStore.ChildWritesThenExitsInsideTheEventLoop")});
    ASSERT_TRUE(child.waitForFinished(30000));
    EXPECT_EQ(child.exitStatus(), QProcess::NormalExit);  // no crash on the way out
    EXPECT_EQ(child.exitCode(), 1);
    EXPECT_EQ(DefaultsStore(storePath(home)).string(QStringLiteral("clockId")), QStringLiteral("clk-exit"));
}

// On a small tmpfs of its own: a change the full disk refuses lands once room is made, with no further
// change, and the failure it showed goes.
TEST(DefaultsStore, ARefusedChangeIsSavedOnceTheDiskHasRoom) {
    const QString folder = FullDisk::mountedInChild(FullDisk::Kind::Tmpfs);
    if (folder.isEmpty()) return;
    const QString path = folder + QStringLiteral("/Orvane/defaults.sqlite3");
    DefaultsStore store(path);
    store.setString(QStringLiteral("city"), QStringLiteral("Makkah"));
    ASSERT_TRUE(store.sync());
    const QString filler = FullDisk::fill(folder);
    // Larger than the log the store already has, so it needs blocks the disk no longer has.
    const QString reply(256 * 1024, u'r');
    store.setString(QStringLiteral("city"), QStringLiteral("London"));
    store.setString(QStringLiteral("cachedReply"), reply);
    QCoreApplication::processEvents();
    ASSERT_FALSE(store.failure().isEmpty());
    EXPECT_TRUE(store.failure().contains(QStringLiteral("(disk full)"))) << store.failure().toStdString();
    ASSERT_TRUE(QFile::remove(filler));
    EXPECT_TRUE(
        QTest::qWaitFor([&] { return store.failure().isEmpty(); }, DefaultsStore::kMaxRetryMs + 5000));
    DefaultsStore reread(path);
    EXPECT_EQ(reread.string(QStringLiteral("city")), QStringLiteral("London"));
    EXPECT_EQ(reread.string(QStringLiteral("cachedReply")), reply);
}

// On a small ext4 of 1 KiB blocks of its own: a store killed with its log unchecked, then a start on the
// disk filled meanwhile. Rebuilding the log's index in a mapped file would touch blocks the disk cannot give.
// Once the disk has room again, the next write opens the file to other programs again.
TEST(DefaultsStore, AStartAfterAKillOnAFullDiskKeepsTheSettings) {
    const QString folder = FullDisk::mountedInChild(FullDisk::Kind::Ext4SmallBlocks);
    if (folder.isEmpty()) return;
    const QString path = folder + QStringLiteral("/Orvane/defaults.sqlite3");
    ASSERT_TRUE(writeThenKill(path));
    ASSERT_GT(QFileInfo(path + QStringLiteral("-wal")).size(), 0);
    ASSERT_TRUE(QFileInfo::exists(path + QStringLiteral("-shm")));
    const QString filler = FullDisk::fill(folder);
    DefaultsStore store(path);
    EXPECT_EQ(store.string(QStringLiteral("clockId")), QStringLiteral("clk-0123abcd"));
    ASSERT_TRUE(QFile::remove(filler));
    store.setString(QStringLiteral("city"), QStringLiteral("Makkah"));
    ASSERT_TRUE(store.sync());
    EXPECT_TRUE(Peer(path).keys().contains(QStringLiteral("city")));
}
