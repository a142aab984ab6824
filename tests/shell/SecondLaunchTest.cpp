#include <gtest/gtest.h>

#include "OrvaneProcess.h"
#include "StrangerAccount.h"
#include "TempHome.h"
#include "platform/SingleInstance.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QLocalServer>
#include <QLocalSocket>
#include <QTest>
#include <QThread>
#include <memory>

namespace {
// Written by a clock as it starts; a launch that only waits never opens it.
QString clockStore(const TempHome& home) {
    return home.configHome() + QStringLiteral("/Orvane/defaults.sqlite3");
}

// A first instance in this process and a later real launch, both in the test's own runtime folder.
struct LaterLaunch : ::testing::Test {
    TempHome home;
    const QString runtime = home.path() + QStringLiteral("/runtime");
    QProcess later;
    std::unique_ptr<SingleInstance> first;
    QList<QStringList> received;
    QList<QByteArray> tokens;

    void SetUp() override {
        if (const QString why = offlineUnavailable(); !why.isEmpty()) GTEST_SKIP() << why.toStdString();
        later.setProcessEnvironment(orvaneEnvironment(runtime));
        first = std::make_unique<SingleInstance>(instanceName(runtime));
        ASSERT_EQ(first->start({}), SingleInstance::Role::Primary);
        QObject::connect(first.get(), &SingleInstance::messageReceived,
                         [this](const QStringList& arguments, const QByteArray& token) {
                             received << arguments;
                             tokens << token;
                         });
    }
    void TearDown() override { stopProcess(later); }
};

}  // namespace

// A second real launch against a first instance that is too busy to answer within the launch's 3 s.

TEST_F(LaterLaunch, WaitsForABusyFirstInstanceAndHandsOverOnce) {
    QElapsedTimer elapsed;
    elapsed.start();
    startOffline(later, {QStringLiteral("orvane://adhan?prayer=asr")});
    ASSERT_TRUE(later.waitForStarted(5000));
    // The first instance's event loop is stuck for 6 s: the connection waits in the socket's queue.
    QThread::sleep(6);
    EXPECT_EQ(later.state(), QProcess::Running) << "gave up on a busy instance";
    EXPECT_FALSE(QFile::exists(clockStore(home))) << "started a second clock";
    ASSERT_TRUE(QTest::qWaitFor([&] { return later.state() == QProcess::NotRunning; }, 15000));
    EXPECT_EQ(later.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(later.exitCode(), 0) << later.readAllStandardError().toStdString();
    EXPECT_GE(elapsed.elapsed(), 6000);
    QTest::qWait(300);
    ASSERT_EQ(received.size(), 1);
    EXPECT_EQ(received[0], QStringList{QStringLiteral("orvane://adhan?prayer=asr")});
}

TEST_F(LaterLaunch, HandsOverTheTokenItsDesktopGaveIt) {
    QProcessEnvironment environment = later.processEnvironment();
    environment.insert(QStringLiteral("XDG_ACTIVATION_TOKEN"), QStringLiteral("wayland-token"));
    later.setProcessEnvironment(environment);
    startOffline(later, {QStringLiteral("orvane://play?prayer=asr")});
    ASSERT_TRUE(QTest::qWaitFor([&] { return later.state() == QProcess::NotRunning; }, 15000));
    EXPECT_EQ(later.exitCode(), 0);
    ASSERT_EQ(received.size(), 1);
    EXPECT_EQ(received[0], QStringList{QStringLiteral("orvane://play?prayer=asr")}) << "the link apart";
    EXPECT_EQ(tokens[0], "wayland-token");
}

TEST_F(LaterLaunch, AnOverlongLinkIsRefusedAtOnce) {
    startOffline(later, {QStringLiteral("orvane://adhan?prayer=asr&x=") + QString(70 * 1024, u'a')});
    ASSERT_TRUE(later.waitForStarted(5000));
    ASSERT_TRUE(QTest::qWaitFor([&] { return later.state() == QProcess::NotRunning; }, 15000))
        << "the launch waited on a live clock";
    EXPECT_EQ(later.exitCode(), 2);
    EXPECT_TRUE(later.readAllStandardError().contains("link is longer than"));
    EXPECT_TRUE(received.isEmpty());
    EXPECT_FALSE(QFile::exists(clockStore(home)));
}

TEST(SecondLaunch, StartsOnlyOnceTheSilentFirstInstanceIsGone) {
    if (const QString why = offlineUnavailable(); !why.isEmpty()) GTEST_SKIP() << why.toStdString();
    TempHome home;
    const QString runtime = home.path() + QStringLiteral("/runtime");
    QProcess later;
    later.setProcessEnvironment(orvaneEnvironment(runtime));

    // A first instance that takes connections and their bytes but never confirms.
    auto silent = std::make_unique<QLocalServer>();
    ASSERT_TRUE(silent->listen(instanceName(runtime)));
    QList<QLocalSocket*> held;
    QObject::connect(silent.get(), &QLocalServer::newConnection, [&] {
        while (QLocalSocket* s = silent->nextPendingConnection()) held << s;
    });

    startOffline(later, {});
    ASSERT_TRUE(later.waitForStarted(5000));
    // Well past the launch's own 3 s, however slowly a loaded machine starts it.
    ASSERT_TRUE(QTest::qWaitFor([&] { return !held.isEmpty(); }, 30000));
    QTest::qWait(5000);
    EXPECT_EQ(later.state(), QProcess::Running);
    EXPECT_FALSE(QFile::exists(clockStore(home))) << "started a second clock";

    // The first instance dies; its socket goes with it (and the waiting launch may take the name at once).
    silent.reset();
    bool answered = false;
    QElapsedTimer waited;
    waited.start();
    while (!answered && waited.elapsed() < 60000 && later.state() == QProcess::Running) {
        SingleInstance probe(instanceName(runtime));
        answered = probe.ping(1000);
        if (!answered) QTest::qWait(200);
    }
    EXPECT_TRUE(answered) << "the waiting launch did not become the clock";
    EXPECT_EQ(later.state(), QProcess::Running);
    EXPECT_TRUE(QFile::exists(clockStore(home)));
    stopProcess(later);
}

// Without a runtime folder, another account listening first at the shared temporary names (the one earlier
// builds used, and a folder of its own at the name of the user's folder) confirms every hand-over.
TEST(SecondLaunch, AnotherAccountListeningFirstGetsNoLinkAndTheClockStarts) {
    if (const QString why = offlineUnavailable(); !why.isEmpty()) GTEST_SKIP() << why.toStdString();
    if (const QString why = StrangerAccount::unavailable(); !why.isEmpty()) GTEST_SKIP() << why.toStdString();
    TempHome home;
    StrangerAccount stranger;
    const QString user = QString::number(::geteuid());
    ASSERT_TRUE(stranger.listen(stranger.tmp() + QStringLiteral("/orvane-instance-") + user));
    ASSERT_TRUE(stranger.listen(stranger.tmp() + QStringLiteral("/orvane-") + user +
                                QStringLiteral("/orvane.instance")));
    QProcessEnvironment environment = orvaneEnvironment(home.path() + QStringLiteral("/runtime"));
    environment.remove(QStringLiteral("XDG_RUNTIME_DIR"));
    QProcess clock, ping;
    clock.setProcessEnvironment(environment);
    ping.setProcessEnvironment(environment);

    startOffline(clock, {QStringLiteral("orvane://settings?prayer=asr")});
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return QFile::exists(clockStore(home)) || clock.state() == QProcess::NotRunning; }, 30000));
    EXPECT_TRUE(QFile::exists(clockStore(home))) << "no clock started";
    EXPECT_EQ(clock.state(), QProcess::Running);
    // The installer's question is answered by the user's clock, and by nothing once it has gone.
    for (const int answered : {0, 1}) {
        startOffline(ping, {SingleInstance::pingArgument()});
        ASSERT_TRUE(ping.waitForFinished(15000));
        EXPECT_EQ(ping.exitCode(), answered);
        stopProcess(clock);
    }
}
