#include <gtest/gtest.h>

#include "services/NetworkOnlineWatcher.h"

#include <QTest>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QStandardPaths>

using Path = NetworkPathProbe::Path;
using Reachability = QNetworkInformation::Reachability;

namespace {

// Set in the child that runs inside its own network namespace.
constexpr auto namespaceChildVariable = "ORVANE_TEST_IN_NETNS";


}  // namespace

TEST(NetworkPathProbe, OnlyFullReachabilityIsOnlineAndUnknownStaysUnknown) {
    const std::pair<Reachability, Path> rows[] = {
        {Reachability::Unknown, Path::Unknown}, {Reachability::Disconnected, Path::Offline},
        {Reachability::Local, Path::Offline},   {Reachability::Site, Path::Offline},
        {Reachability::Online, Path::Online},
    };
    for (const auto& [reachability, path] : rows)
        EXPECT_EQ(NetworkPathProbe::fromReachability(reachability), path) << int(reachability);
}

TEST(NetworkOnlineWatcher, FiresOncePerReturnFromOffline) {
    struct Row {
        const char* what;
        std::vector<Path> sequence;
        int expectedCalls;
    };
    const Row rows[] = {
        {"first news is online: nothing came back", {Path::Online}, 0},
        {"offline then online", {Path::Offline, Path::Online}, 1},
        {"repeated reports count once", {Path::Offline, Path::Offline, Path::Online, Path::Online}, 1},
        {"two outages, two returns", {Path::Offline, Path::Online, Path::Offline, Path::Online}, 2},
        {"unknown while offline still returns", {Path::Offline, Path::Unknown, Path::Online}, 1},
        {"unknown while online is no outage", {Path::Online, Path::Unknown, Path::Online}, 0},
        {"unknown alone is never offline", {Path::Unknown, Path::Online}, 0},
        {"still offline at the end", {Path::Online, Path::Offline}, 0},
    };
    for (const Row& row : rows) {
        NetworkPathProbe probe;
        NetworkOnlineWatcher watcher(&probe);
        int calls = 0, emitted = 0;
        watcher.start([&calls] { ++calls; });
        QObject::connect(&watcher, &NetworkOnlineWatcher::backOnline, [&emitted] { ++emitted; });
        for (Path p : row.sequence) probe.report(p);
        EXPECT_EQ(calls, row.expectedCalls) << row.what;
        EXPECT_EQ(emitted, row.expectedCalls) << row.what;
    }
}

TEST(NetworkOnlineWatcher, StartedWhileOfflineAndRearmingReplacesTheHandler) {
    NetworkPathProbe probe;
    probe.report(Path::Offline);
    NetworkOnlineWatcher watcher(&probe);  // learns the current path on creation
    int first = 0, second = 0;
    watcher.start([&first] { ++first; });
    watcher.start([&second] { ++second; });
    probe.report(Path::Online);
    EXPECT_EQ(first, 0);
    EXPECT_EQ(second, 1);
    watcher.stop();
    probe.report(Path::Offline);
    probe.report(Path::Online);
    EXPECT_EQ(second, 1);
    EXPECT_EQ(watcher.lastKnownPath(), Path::Online);
}

TEST(NetworkOnlineWatcher, SharedWatcherFollowsTheSystemProbe) {
    NetworkOnlineWatcher& watcher = NetworkOnlineWatcher::shared();
    EXPECT_EQ(&watcher, &NetworkOnlineWatcher::shared());
    const NetworkPathProbe* probe = NetworkPathProbe::system();
    ASSERT_NE(probe, nullptr);
    EXPECT_EQ(probe, NetworkPathProbe::system());
    if (probe->backendName().isEmpty()) {
        EXPECT_EQ(probe->path(), Path::Unknown);
    }
}

// The real backend in a private network namespace: a default route appearing and going away is the
// machine going online and offline. Runs as a child under `unshare -n`; skips where namespaces or `ip`
// are not to be had.
TEST(NetworkOnlineWatcherNamespace, RealRouteChangesFireOncePerReturn) {
    const QString unshare = QStandardPaths::findExecutable(QStringLiteral("unshare"));
    const QString ip = QStandardPaths::findExecutable(QStringLiteral("ip"),
                                                      {QStringLiteral("/usr/sbin"), QStringLiteral("/sbin")});
    if (unshare.isEmpty() || ip.isEmpty()) GTEST_SKIP() << "needs unshare and ip";
    QProcess child;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QString::fromLatin1(namespaceChildVariable), ip);
    child.setProcessEnvironment(env);
    child.setProcessChannelMode(QProcess::MergedChannels);
    child.start(unshare, {QStringLiteral("-n"), QCoreApplication::applicationFilePath(),
                          QStringLiteral("--gtest_filter=NetworkOnlineWatcherInNamespace.*")});
    ASSERT_TRUE(child.waitForFinished(60000));
    const QString output = QString::fromLocal8Bit(child.readAll());
    if (!output.contains(QStringLiteral("[ RUN      ]")))
        GTEST_SKIP() << "no private network namespace here: " << output.left(200).toStdString();
    if (output.contains(QStringLiteral("[  SKIPPED ]")))
        GTEST_SKIP() << "no reachability backend: " << output.right(400).toStdString();
    EXPECT_EQ(child.exitCode(), 0) << output.toStdString();
}

TEST(NetworkOnlineWatcherInNamespace, Child) {
    const QString ip = qEnvironmentVariable(namespaceChildVariable);
    if (ip.isEmpty()) GTEST_SKIP() << "runs only inside the namespace of the test above";
    auto run = [&ip](QStringList args) { return QProcess::execute(ip, args) == 0; };
    ASSERT_TRUE(
        run({QStringLiteral("link"), QStringLiteral("set"), QStringLiteral("lo"), QStringLiteral("up")}));

    NetworkPathProbe* probe = NetworkPathProbe::system();
    if (probe->backendName().isEmpty()) GTEST_SKIP() << "no reachability backend";
    NetworkOnlineWatcher watcher(probe);
    int calls = 0;
    watcher.start([&calls] { ++calls; });
    (void)QTest::qWaitFor([&] { return probe->path() == Path::Offline; }, 3000);
    ASSERT_EQ(probe->path(), Path::Offline) << probe->backendName().toStdString();

    const QStringList addRoute{QStringLiteral("route"), QStringLiteral("add"), QStringLiteral("default"),
                               QStringLiteral("dev"), QStringLiteral("lo")};
    const QStringList deleteRoute{QStringLiteral("route"), QStringLiteral("del"), QStringLiteral("default")};
    for (int round = 1; round <= 2; ++round) {
        ASSERT_TRUE(run(addRoute));
        EXPECT_TRUE(QTest::qWaitFor([&] { return calls == round; }, 5000)) << "round " << round;
        QTest::qWait(300);  // nothing more arrives for the same return
        EXPECT_EQ(calls, round);
        ASSERT_TRUE(run(deleteRoute));
        EXPECT_TRUE(QTest::qWaitFor([&] { return probe->path() == Path::Offline; }, 5000)) << "round " << round;
    }
    EXPECT_EQ(calls, 2);
}
