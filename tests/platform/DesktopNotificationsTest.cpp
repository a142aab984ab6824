#include <gtest/gtest.h>

#include "Await.h"
#include "NotificationMock.h"
#include "PrivateBus.h"
#include "platform/DesktopNotifications.h"

#include <QCoreApplication>
#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusVariant>
#include <QElapsedTimer>
#include <QUuid>

// These run against the mock notification server that the test command starts on a private session bus.
// Other tests may post to the same server at the same time, so each test finds its own calls by a unique
// summary and never clears the server's record.
namespace {

// What one signal of the client delivered, in order.
struct Seen {
    std::vector<std::pair<quint32, QString>> events;
    int count() const { return int(events.size()); }
};

// Runs the event loop until `seen` holds `count` events or `ms` have passed.
bool waitFor(const Seen& seen, int count, int ms = 3000) {
    QElapsedTimer t;
    t.start();
    while (seen.count() < count && t.elapsed() < ms)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    return seen.count() >= count;
}

void settle(int ms) {
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < ms) QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
}

void watch(DesktopNotifications& n, Seen& invoked, Seen& closed) {
    QObject::connect(&n, &DesktopNotifications::actionInvoked,
                     [&invoked](quint32 id, const QString& key) { invoked.events.emplace_back(id, key); });
    QObject::connect(&n, &DesktopNotifications::notificationClosed, [&closed](quint32 id, quint32 reason) {
        closed.events.emplace_back(id, QString::number(reason));
    });
}

// Posts a notification with only a summary; the server's id.
quint32 post(DesktopNotifications& n, const QString& summary) {
    DesktopNotifications::Request r;
    r.summary = summary;
    return await(n.notify(r));
}

QString uniqueSummary(const char* what) {
    return QString::fromLatin1(what) + QLatin1Char(' ') + QUuid::createUuid().toString(QUuid::WithoutBraces);
}

class DesktopNotificationsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        if (!QDBusConnection::sessionBus().isConnected() || !notifications.isServicePresent())
            GTEST_SKIP()
                << "no notification server on the session bus (run under scripts/with-test-services)";
    }
    DesktopNotifications notifications;
};

}  // namespace

TEST_F(DesktopNotificationsTest, NotifySendsEveryFieldAndReturnsTheServersId) {
    DesktopNotifications::Request r;
    r.summary = uniqueSummary("Asr");
    r.body = QStringLiteral("Time for Asr \u2014 4 rak'ahs");
    r.icon = QStringLiteral("orvane");
    r.actions = {{QStringLiteral("PLAY_FULL_ADHAN"), QStringLiteral("Play full adhan")},
                 {QStringLiteral("OPEN_APP"), QStringLiteral("Open")}};
    r.hints = {{QStringLiteral("category"), QStringLiteral("im.received")},
               {QStringLiteral("desktop-entry"), QStringLiteral("orvane")}};
    r.timeoutMs = 0;
    const quint32 id = await(notifications.notify(r));
    EXPECT_GT(id, 0u);
    EXPECT_TRUE(notifications.liveIds().contains(id));

    const auto calls = notificationmock::notifies(r.summary);
    ASSERT_EQ(calls.size(), 1u);
    const notificationmock::Notify& n = calls[0];
    EXPECT_EQ(n.appName, QStringLiteral("Orvane"));
    EXPECT_EQ(n.replacesId, 0u);
    EXPECT_EQ(n.icon, QStringLiteral("orvane"));
    EXPECT_EQ(n.body, r.body);
    EXPECT_EQ(n.actions, (QStringList{QStringLiteral("PLAY_FULL_ADHAN"), QStringLiteral("Play full adhan"),
                                      QStringLiteral("OPEN_APP"), QStringLiteral("Open")}));
    EXPECT_EQ(n.hints.value(QStringLiteral("category")).toString(), QStringLiteral("im.received"));
    EXPECT_EQ(n.hints.value(QStringLiteral("desktop-entry")).toString(), QStringLiteral("orvane"));
    EXPECT_EQ(n.hints.value(QStringLiteral("sender-pid")).toLongLong(), QCoreApplication::applicationPid());
    EXPECT_EQ(n.timeout, 0);
}

TEST_F(DesktopNotificationsTest, ReplacingKeepsTheIdAndActionsWithoutKeyAreDropped) {
    DesktopNotifications::Request r;
    r.summary = uniqueSummary("Maghrib");
    const quint32 first = await(notifications.notify(r));
    ASSERT_GT(first, 0u);
    r.replacesId = first;
    r.actions = {{QString(), QStringLiteral("no key")}, {QStringLiteral("default"), QString()}};
    EXPECT_EQ(await(notifications.notify(r)), first);
    EXPECT_EQ(notifications.liveIds().count(first), 1);
    const auto calls = notificationmock::notifies(r.summary);
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(calls[1].replacesId, first);
    EXPECT_EQ(calls[1].actions, (QStringList{QStringLiteral("default"), QString()}));
    EXPECT_EQ(calls[1].timeout, -1);
}

TEST_F(DesktopNotificationsTest, ActionsOfOurNotificationsArriveAndOthersAreIgnored) {
    Seen invoked, closed;
    watch(notifications, invoked, closed);
    DesktopNotifications::Request r;
    r.summary = uniqueSummary("Fajr");
    r.actions = {{QStringLiteral("PLAY_FULL_ADHAN"), QStringLiteral("Play")}};
    const quint32 id = await(notifications.notify(r));
    ASSERT_GT(id, 0u);

    // An id far above anything the server handed out belongs to nobody here. A click's activation token
    // comes before its action, for the window the action brings forward.
    notificationmock::emitSignal(QStringLiteral("ActivationToken"), QStringLiteral("us"),
                                 {QVariant::fromValue(uint(id)), QStringLiteral("our-token")});
    notificationmock::emitSignal(QStringLiteral("ActivationToken"), QStringLiteral("us"),
                                 {QVariant::fromValue(uint(id + 100000)), QStringLiteral("their-token")});
    notificationmock::emitSignal(QStringLiteral("ActionInvoked"), QStringLiteral("us"),
                                 {QVariant::fromValue(uint(id + 100000)), QStringLiteral("PLAY_FULL_ADHAN")});
    notificationmock::emitSignal(QStringLiteral("ActionInvoked"), QStringLiteral("us"),
                                 {QVariant::fromValue(uint(id)), QStringLiteral("PLAY_FULL_ADHAN")});
    ASSERT_TRUE(waitFor(invoked, 1));
    EXPECT_EQ(qgetenv("XDG_ACTIVATION_TOKEN"), "our-token");
    qunsetenv("XDG_ACTIVATION_TOKEN");
    settle(200);  // the foreign one, had it been let through, would have arrived first
    ASSERT_EQ(invoked.count(), 1);
    EXPECT_EQ(invoked.events[0].first, id);
    EXPECT_EQ(invoked.events[0].second, QStringLiteral("PLAY_FULL_ADHAN"));
}

TEST_F(DesktopNotificationsTest, CloseReportsTheClosingOnceAndForgetsTheId) {
    Seen invoked, closed;
    watch(notifications, invoked, closed);
    const quint32 id = post(notifications, uniqueSummary("Isha"));
    ASSERT_GT(id, 0u);
    notifications.close(id);
    ASSERT_TRUE(waitFor(closed, 1));
    EXPECT_EQ(closed.events[0].first, id);
    EXPECT_EQ(closed.events[0].second, QStringLiteral("1"));  // the reason the mock server gives
    EXPECT_FALSE(notifications.liveIds().contains(id));

    // A late action or a second closing for a gone notification is not ours any more.
    notificationmock::emitSignal(QStringLiteral("ActionInvoked"), QStringLiteral("us"),
                                 {QVariant::fromValue(uint(id)), QStringLiteral("OPEN_APP")});
    notificationmock::emitSignal(QStringLiteral("NotificationClosed"), QStringLiteral("uu"),
                                 {QVariant::fromValue(uint(id)), QVariant::fromValue(uint(2))});
    settle(300);
    EXPECT_EQ(closed.count(), 1);
    EXPECT_EQ(invoked.count(), 0);
}

TEST(DesktopNotificationsReplacedServer, IdsOfTheServerThatLeftAreNotOursAnyMore) {
    // On a bus of its own: the tests sharing the common server would lose it.
    PrivateBus bus;
    ASSERT_FALSE(bus.startNotificationServer().isEmpty()) << "dbus-daemon and python3-dbusmock";
    DesktopNotifications notifications(bus.connection());
    Seen invoked, closed;
    watch(notifications, invoked, closed);
    const quint32 old = post(notifications, QStringLiteral("Dhuhr"));
    ASSERT_GT(old, 0u);

    // A new server takes the name and numbers from 1 again: the old id is another program's now.
    ASSERT_FALSE(bus.startNotificationServer().isEmpty());
    notificationmock::emitSignal(QStringLiteral("ActionInvoked"), QStringLiteral("us"),
                                 {QVariant::fromValue(uint(old)), QStringLiteral("default")},
                                 bus.connection());
    const quint32 fresh = post(notifications, QStringLiteral("Dhuhr"));
    EXPECT_EQ(fresh, old);
    notificationmock::emitSignal(QStringLiteral("ActionInvoked"), QStringLiteral("us"),
                                 {QVariant::fromValue(uint(fresh)), QStringLiteral("OPEN_APP")},
                                 bus.connection());
    ASSERT_TRUE(waitFor(invoked, 1));
    settle(200);
    EXPECT_EQ(invoked.events, (decltype(invoked.events){{fresh, QStringLiteral("OPEN_APP")}}));
    EXPECT_EQ(closed.events, (decltype(closed.events){{old, QStringLiteral("4")}}));
    EXPECT_EQ(notifications.liveIds(), QList<quint32>{fresh});
}

TEST(DesktopNotificationsNoBus, NothingIsPostedWithoutAConnection) {
    DesktopNotifications none(QDBusConnection(QStringLiteral("orvane-not-connected")));
    EXPECT_FALSE(none.isServicePresent());
    DesktopNotifications::Request r;
    r.summary = QStringLiteral("Dhuhr");
    EXPECT_EQ(await(none.notify(r)), 0u);
    none.close(1);  // harmless
    EXPECT_TRUE(none.liveIds().isEmpty());
}
