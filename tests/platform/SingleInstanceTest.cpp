#include <gtest/gtest.h>

#include "StrangerAccount.h"
#include "TempHome.h"
#include "platform/SingleInstance.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QLocalSocket>
#include <QProcess>
#include <QTemporaryDir>
#include <QtEndian>

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>
#include <cstring>
#include <thread>

namespace {

// Set in the child process of the two-process test; names the socket of its parent.
constexpr auto childNameVariable = "ORVANE_TEST_INSTANCE_NAME";

struct Received {
    std::vector<QStringList> messages;
};

void collect(SingleInstance& instance, Received& received) {
    QObject::connect(&instance, &SingleInstance::messageReceived,
                     [&received](const QStringList& args) { received.messages.push_back(args); });
}

template <class Done>
void spinUntil(Done done, int ms = 5000) {
    QElapsedTimer t;
    t.start();
    while (!done() && t.elapsed() < ms) QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
}

// A later launch runs its blocking start() on another thread while this one serves the event loop, as two
// processes would.
SingleInstance::Role launchAgain(const QStringList& places, const QStringList& args) {
    SingleInstance::Role role = SingleInstance::Role::Unavailable;
    bool finished = false;
    std::thread later([&] {
        SingleInstance second(places);
        role = second.start(args);
        finished = true;
    });
    spinUntil([&] { return finished; });
    later.join();
    return role;
}
SingleInstance::Role launchAgain(const QString& name, const QStringList& args) {
    return launchAgain(QStringList{name}, args);
}

class SingleInstanceTest : public ::testing::Test {
  protected:
    QTemporaryDir dir;
    QString name() const { return dir.filePath(QStringLiteral("orvane.instance")); }
};

}  // namespace

TEST_F(SingleInstanceTest, SecondLaunchForwardsALinkOrAPlainReopen) {
    SingleInstance first(name());
    Received received;
    collect(first, received);
    ASSERT_EQ(first.start({}), SingleInstance::Role::Primary);

    EXPECT_EQ(launchAgain(name(), {QStringLiteral("orvane://adhan?prayer=asr")}),
              SingleInstance::Role::Forwarded);
    EXPECT_EQ(launchAgain(name(), {}), SingleInstance::Role::Forwarded);
    EXPECT_EQ(launchAgain(name(), {QStringLiteral("--flag"), QStringLiteral("\u0639\u0635\u0631 ok")}),
              SingleInstance::Role::Forwarded);
    spinUntil([&] { return received.messages.size() >= 3; }, 1000);
    ASSERT_EQ(received.messages.size(), 3u);
    EXPECT_EQ(received.messages[0], QStringList{QStringLiteral("orvane://adhan?prayer=asr")});
    EXPECT_TRUE(received.messages[1].isEmpty());
    EXPECT_EQ(received.messages[2],
              (QStringList{QStringLiteral("--flag"), QStringLiteral("\u0639\u0635\u0631 ok")}));
}

TEST_F(SingleInstanceTest, TheNameIsFreeAgainOnceTheInstanceIsGone) {
    {
        SingleInstance first(name());
        ASSERT_EQ(first.start({}), SingleInstance::Role::Primary);
    }
    SingleInstance next(name());
    EXPECT_EQ(next.start({}), SingleInstance::Role::Primary);
}

TEST_F(SingleInstanceTest, ASocketLeftBehindByACrashIsTakenOver) {
    // A bound socket that nobody listens on is what a killed instance leaves.
    const QByteArray path = name().toLocal8Bit();
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    ASSERT_GE(fd, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path, path.constData(), size_t(path.size()));
    ASSERT_EQ(::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    ::close(fd);

    SingleInstance instance(name());
    Received received;
    collect(instance, received);
    ASSERT_EQ(instance.start({}), SingleInstance::Role::Primary);
    EXPECT_EQ(launchAgain(name(), {QStringLiteral("x")}), SingleInstance::Role::Forwarded);
    spinUntil([&] { return !received.messages.empty(); }, 1000);
    EXPECT_EQ(received.messages.size(), 1u);
}

TEST_F(SingleInstanceTest, StrangeClientsAreDroppedAndTheInstanceKeepsServing) {
    SingleInstance first(name());
    Received received;
    collect(first, received);
    ASSERT_EQ(first.start({}), SingleInstance::Role::Primary);

    struct Case {
        const char* what;
        QByteArray bytes;
    };
    QByteArray huge(4, '\0');
    qToBigEndian<quint32>(0xFFFFFFFFu, huge.data());
    QByteArray tooLong(4, '\0');
    qToBigEndian<quint32>(quint32(SingleInstance::maxMessageBytes + 1), tooLong.data());
    tooLong.append(QByteArray(SingleInstance::maxMessageBytes + 1, 'a'));
    QByteArray overrun(4, '\0');
    qToBigEndian<quint32>(2u, overrun.data());
    overrun.append("abcdef");
    const Case cases[] = {{"a length of 4 GB", huge},
                          {"a message over the limit", tooLong},
                          {"more bytes than announced", overrun},
                          {"a short header, then silence", QByteArray(2, '\0')}};
    for (const Case& c : cases) {
        QLocalSocket socket;
        socket.connectToServer(name());
        ASSERT_TRUE(socket.waitForConnected(1000)) << c.what;
        socket.write(c.bytes);
        socket.flush();
        spinUntil([&] { return socket.state() == QLocalSocket::UnconnectedState; }, 300);
        EXPECT_TRUE(received.messages.empty()) << c.what;
    }
    EXPECT_EQ(launchAgain(name(), {QStringLiteral("orvane://play?prayer=fajr")}),
              SingleInstance::Role::Forwarded);
    spinUntil([&] { return !received.messages.empty(); }, 1000);
    ASSERT_EQ(received.messages.size(), 1u);
    EXPECT_EQ(received.messages[0], QStringList{QStringLiteral("orvane://play?prayer=fajr")});
}

TEST_F(SingleInstanceTest, AnOverlongMessageIsRefusedAtOnce) {
    SingleInstance first(name());
    Received received;
    collect(first, received);
    ASSERT_EQ(first.start({}), SingleInstance::Role::Primary);
    QElapsedTimer elapsed;
    elapsed.start();
    EXPECT_EQ(launchAgain(name(), {QString(SingleInstance::maxMessageBytes + 1, u'a')}),
              SingleInstance::Role::Refused);
    EXPECT_LT(elapsed.elapsed(), 3000);
    EXPECT_TRUE(received.messages.empty());
}

TEST_F(SingleInstanceTest, ASecondProcessHandsItsLinkToTheFirst) {
    SingleInstance first(name());
    Received received;
    collect(first, received);
    ASSERT_EQ(first.start({}), SingleInstance::Role::Primary);

    QProcess later;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QString::fromLatin1(childNameVariable), name());
    later.setProcessEnvironment(env);
    later.start(QCoreApplication::applicationFilePath(),
                {QStringLiteral("--gtest_filter=SingleInstanceLaterLaunch.*")});
    ASSERT_TRUE(later.waitForStarted(5000));
    spinUntil([&] { return later.state() == QProcess::NotRunning; }, 15000);
    ASSERT_EQ(later.state(), QProcess::NotRunning);
    EXPECT_EQ(later.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(later.exitCode(), 0) << later.readAllStandardOutput().toStdString();
    ASSERT_EQ(received.messages.size(), 1u);
    EXPECT_EQ(received.messages[0], QStringList{QStringLiteral("orvane://adhan?prayer=asr")});
}

// The later launch of the two-process test; on its own it has nothing to do.
TEST(SingleInstanceLaterLaunch, ForwardsAndExits) {
    const QString name = qEnvironmentVariable(childNameVariable);
    if (name.isEmpty()) GTEST_SKIP() << "runs only as the second process of the test above";
    SingleInstance later(name);
    EXPECT_EQ(later.start({QStringLiteral("orvane://adhan?prayer=asr")}), SingleInstance::Role::Forwarded);
}

TEST(SingleInstanceName, IsPerUser) {
    const QStringList places = SingleInstance::defaultPlaces();
    ASSERT_FALSE(places.isEmpty());
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty())
        EXPECT_EQ(places, QStringList{runtime + QStringLiteral("/orvane.instance")});
    else
        EXPECT_TRUE(places[0].contains(QStringLiteral("orvane-") + QString::number(::geteuid())));
}

TEST_F(SingleInstanceTest, AnotherAccountAtEitherEndIsNeverHandedALinkNorBelieved) {
    SingleInstance first(name());
    Received received;
    collect(first, received);
    ASSERT_EQ(first.start({}), SingleInstance::Role::Primary);

    // A launch that finds another account listening hands it nothing, believes no answer and takes the
    // place.
    SingleInstance later(name());
    later.trustOnly(::geteuid() + 1);
    EXPECT_FALSE(later.ping(1000));
    EXPECT_EQ(later.start({QStringLiteral("orvane://play?prayer=asr")}), SingleInstance::Role::Primary);
    // An instance drops another account's connection unread.
    collect(later, received);
    EXPECT_EQ(launchAgain(name(), {QStringLiteral("orvane://play?prayer=asr")}),
              SingleInstance::Role::Unanswered);
    spinUntil([] { return false; }, 200);
    EXPECT_TRUE(received.messages.empty());
}

// Another account was there first in the shared temporary folder, at the name earlier builds used or the
// one this build makes its folder under: the user's clock still starts, once.
TEST(SingleInstanceStranger, NeverStopsTheClockNorLetsASecondOneStart) {
    if (const QString why = StrangerAccount::unavailable(); !why.isEmpty()) GTEST_SKIP() << why.toStdString();
    const QString user = QString::number(::geteuid());
    const struct Case {
        const char* what;
        bool listening;
        QString path;
    } cases[] = {{"a listener at the old name", true, QStringLiteral("/orvane-instance-") + user},
                 {"a plain file at the user's folder name", false, QStringLiteral("/orvane-") + user}};
    for (const Case& c : cases) {
        TempHome home;
        StrangerAccount stranger;
        const QString path = stranger.tmp() + c.path;
        ASSERT_TRUE(c.listening ? stranger.listen(path) : stranger.leaveFile(path)) << c.what;
        SingleInstance first;
        Received received;
        collect(first, received);
        EXPECT_EQ(first.start({QStringLiteral("orvane://play?prayer=asr")}), SingleInstance::Role::Primary)
            << c.what;
        EXPECT_EQ(launchAgain(SingleInstance::defaultPlaces(), {QStringLiteral("orvane://play?prayer=isha")}),
                  SingleInstance::Role::Forwarded)
            << c.what;
        spinUntil([&] { return !received.messages.empty(); }, 1000);
        EXPECT_EQ(received.messages.size(), 1u) << c.what;
    }
}

TEST_F(SingleInstanceTest, APingIsAnsweredWithoutReachingTheClockAndNeverTakesTheName) {
    {
        SingleInstance nobody(name());
        EXPECT_FALSE(nobody.ping(500));
        EXPECT_FALSE(QFile::exists(name()));
    }
    SingleInstance first(name());
    Received received;
    collect(first, received);
    ASSERT_EQ(first.start({}), SingleInstance::Role::Primary);
    bool answered = false;
    bool finished = false;
    std::thread installer([&] {
        SingleInstance probe(name());
        answered = probe.ping(3000);
        finished = true;
    });
    spinUntil([&] { return finished; });
    installer.join();
    EXPECT_TRUE(answered);
    spinUntil([] { return false; }, 200);
    EXPECT_TRUE(received.messages.empty());
}

// An update is checked with the earlier build's own program, which asks at the name it used itself (and with
// no look at the folder): the new clock answers there too, after one that was killed left its socket behind,
// and only to its own account.
TEST(SingleInstanceFormerName, AnEarlierBuildAskingAtItsOwnNameFindsTheClock) {
    WithoutRuntimeFolder session;
    const QString former = SingleInstance::formerName();
    ASSERT_EQ(former, session.tmp() + QStringLiteral("/orvane-instance-") + QString::number(::getuid()));
    {  // a socket nobody listens on any more
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        std::strncpy(address.sun_path, QFile::encodeName(former).constData(), sizeof address.sun_path - 1);
        const int left = ::socket(AF_UNIX, SOCK_STREAM, 0);
        ASSERT_EQ(::bind(left, reinterpret_cast<const sockaddr*>(&address), sizeof address), 0);
        ::close(left);
    }
    SingleInstance clock;
    ASSERT_EQ(clock.start({}), SingleInstance::Role::Primary);
    ASSERT_TRUE(clock.answerAlsoAt(former));
    const auto earlierBuildPings = [&] {
        QByteArray answer;
        bool finished = false;
        std::thread asker([&] {
            QLocalSocket socket;
            socket.connectToServer(former);
            const QByteArray ping = QByteArrayLiteral("--instance-ping");
            char header[4];
            qToBigEndian<quint32>(quint32(ping.size()), header);
            if (socket.waitForConnected(1000) && socket.write(QByteArray(header, 4) + ping) > 0 &&
                socket.waitForReadyRead(2000))
                answer = socket.readAll();
            finished = true;
        });
        spinUntil([&] { return finished; });
        asker.join();
        return answer;
    };
    EXPECT_EQ(earlierBuildPings(), QByteArray("\x01"));
    clock.trustOnly(::geteuid() + 1);
    EXPECT_EQ(earlierBuildPings(), QByteArray());
}
