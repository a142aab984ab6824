#include <gtest/gtest.h>

#include "TempHome.h"
#include "platform/DefaultsStore.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <cmath>
#include <csignal>
#include <limits>

namespace {

QString storePath(const TempHome& home) {
    return home.configHome() + QStringLiteral("/Orvane/defaults.sqlite3");
}

}  // namespace

TEST(DefaultsStore, EveryTypeSurvivesAReopen) {
    TempHome home;
    const QString path = storePath(home);
    {
        DefaultsStore store(path);
        ASSERT_TRUE(store.isPersistent());
        EXPECT_TRUE(store.setBool(QStringLiteral("b"), true));
        EXPECT_TRUE(store.setInteger(QStringLiteral("i"), -9007199254740993LL));
        EXPECT_TRUE(store.setDouble(QStringLiteral("d"), 0.1));
        EXPECT_TRUE(store.setDouble(QStringLiteral("inf"), std::numeric_limits<double>::infinity()));
        EXPECT_TRUE(store.setString(QStringLiteral("s"), QStringLiteral("Mecca \u0645\u0643\u0629\n\"'")));
        EXPECT_TRUE(store.setData(QStringLiteral("bytes"), QByteArray("\0\xff\x01", 3)));
        EXPECT_TRUE(store.setStringList(QStringLiteral("list"), {QStringLiteral("a"), QString()}));
        EXPECT_TRUE(store.setStringMap(QStringLiteral("map"), {{QStringLiteral("k"), QStringLiteral("v")}}));
        EXPECT_TRUE(store.setString(QStringLiteral("gone"), QStringLiteral("x")));
        EXPECT_TRUE(store.remove(QStringLiteral("gone")));
    }
    DefaultsStore store(path);
    EXPECT_TRUE(store.boolean(QStringLiteral("b")));
    EXPECT_EQ(store.object(QStringLiteral("b"))->type, DefaultsStore::Type::Bool);
    EXPECT_EQ(store.integer(QStringLiteral("i")), -9007199254740993LL);
    EXPECT_EQ(store.doubleValue(QStringLiteral("d")), 0.1);
    EXPECT_TRUE(std::isinf(store.doubleValue(QStringLiteral("inf"))));
    EXPECT_EQ(*store.string(QStringLiteral("s")), QStringLiteral("Mecca \u0645\u0643\u0629\n\"'"));
    EXPECT_EQ(*store.data(QStringLiteral("bytes")), QByteArray("\0\xff\x01", 3));
    EXPECT_EQ(*store.stringList(QStringLiteral("list")), (QStringList{QStringLiteral("a"), QString()}));
    EXPECT_EQ(store.stringMap(QStringLiteral("map"))->value(QStringLiteral("k")), QStringLiteral("v"));
    EXPECT_FALSE(store.contains(QStringLiteral("gone")));
    EXPECT_EQ(store.keys().size(), 8);
}

struct Conversion {
    DefaultsStore::Object stored;
    std::optional<QString> asString;
    qint64 asInteger;
    double asDouble;
    bool asBool;
};

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
        EXPECT_TRUE(store.setString(QStringLiteral("deviceId"), QStringLiteral("D1")));
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

TEST(DefaultsStore, UnwritableLocationStillWorksInMemoryAndSaysSo) {
    TempHome home;
    QFile blocker(home.configHome() + QStringLiteral("/Orvane"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));  // a file where the folder should be
    blocker.close();
    DefaultsStore store(storePath(home));
    EXPECT_FALSE(store.isPersistent());
    EXPECT_FALSE(store.setInteger(QStringLiteral("asr"), 2));
    EXPECT_EQ(store.integer(QStringLiteral("asr")), 2);
    EXPECT_FALSE(store.sync());
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

// Runs in a child process: writes one key and dies at once, skipping every destructor and clean close.
TEST(DefaultsStore, ChildWritesThenIsKilled) {
    const QString path = qEnvironmentVariable("ORVANE_DEFAULTS_CHILD_PATH");
    if (path.isEmpty()) GTEST_SKIP() << "runs only as the child of WriteSurvivesAKilledProcess";
    auto* store = new DefaultsStore(path);
    store->setString(QStringLiteral("clockId"), QStringLiteral("clk-0123abcd"));
    std::raise(SIGKILL);
}

TEST(DefaultsStore, WriteSurvivesAKilledProcess) {
    TempHome home;
    const QString path = storePath(home);
    QProcess child;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("ORVANE_DEFAULTS_CHILD_PATH"), path);
    child.setProcessEnvironment(env);
    child.start(QCoreApplication::applicationFilePath(),
                {QStringLiteral("--gtest_filter=DefaultsStore.ChildWritesThenIsKilled")});
    ASSERT_TRUE(child.waitForFinished(30000));
    EXPECT_EQ(child.exitStatus(), QProcess::CrashExit);
    DefaultsStore store(path);
    EXPECT_EQ(store.string(QStringLiteral("clockId")), QStringLiteral("clk-0123abcd"));
}
