#include "platform/DesktopNotifications.h"

#include <QCoreApplication>
#include <QCoro/QCoroSignal>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDBusReply>
#include <QPointer>
#include <QStringList>

namespace {

// A hung notification server must not hold up the clock.
constexpr int callTimeoutMs = 5000;

// Servers send NotificationClosed for every notification that expires or is dismissed, so this bound only
// matters when one never does; the oldest ids are forgotten first.
constexpr qsizetype maxRemembered = 256;

}  // namespace

DesktopNotifications::DesktopNotifications(QObject* parent)
    : DesktopNotifications(QDBusConnection::sessionBus(), parent) {}

DesktopNotifications::DesktopNotifications(const QDBusConnection& bus, QObject* parent)
    : QObject(parent), bus_(bus) {
    if (!bus_.isConnected()) return;
    bus_.connect(QString::fromLatin1(service), QString::fromLatin1(path), QString::fromLatin1(interface),
                 QStringLiteral("ActionInvoked"), this, SLOT(onActionInvoked(uint, QString, QDBusMessage)));
    bus_.connect(QString::fromLatin1(service), QString::fromLatin1(path), QString::fromLatin1(interface),
                 QStringLiteral("NotificationClosed"), this,
                 SLOT(onNotificationClosed(uint, uint, QDBusMessage)));
    bus_.connect(QString::fromLatin1(service), QString::fromLatin1(path), QString::fromLatin1(interface),
                 QStringLiteral("ActivationToken"), this,
                 SLOT(onActivationToken(uint, QString, QDBusMessage)));
    // A server that leaves or is replaced takes its notifications with it, and the next one hands out the
    // same numbers to other programs.
    serverWatcher_.setConnection(bus_);
    serverWatcher_.setWatchMode(QDBusServiceWatcher::WatchForOwnerChange);
    serverWatcher_.addWatchedService(QString::fromLatin1(service));
    connect(&serverWatcher_, &QDBusServiceWatcher::serviceOwnerChanged, this,
            [this](const QString&, const QString&, const QString& newOwner) { forgetAllBut(newOwner); });
}

bool DesktopNotifications::isServicePresent() const {
    if (!bus_.isConnected() || !bus_.interface()) return false;
    const QString name = QString::fromLatin1(service);
    const QDBusReply<bool> registered = bus_.interface()->isServiceRegistered(name);
    if (registered.isValid() && registered.value()) return true;
    // Several desktops start their notification daemon on the first call only.
    const QDBusReply<QStringList> activatable = bus_.interface()->activatableServiceNames();
    return activatable.isValid() && activatable.value().contains(name);
}

QCoro::Task<quint32> DesktopNotifications::notify(Request request) {
    if (!bus_.isConnected()) co_return 0u;
    QStringList actions;
    actions.reserve(request.actions.size() * 2);
    for (const Action& action : request.actions) {
        if (action.key.isEmpty()) continue;
        actions << action.key << action.label;
    }
    // Tells the server which process asked, as desktops use to tie a notification to its program.
    request.hints.insert(QStringLiteral("sender-pid"), QCoreApplication::applicationPid());
    QDBusMessage call =
        QDBusMessage::createMethodCall(QString::fromLatin1(service), QString::fromLatin1(path),
                                       QString::fromLatin1(interface), QStringLiteral("Notify"));
    call << QStringLiteral("Orvane") << static_cast<uint>(request.replacesId) << request.icon
         << request.summary << request.body << actions << request.hints
         << static_cast<int>(request.timeoutMs);

    QPointer<DesktopNotifications> self(this);
    auto* watcher = new QDBusPendingCallWatcher(bus_.asyncCall(call, callTimeoutMs));
    co_await qCoro(watcher, &QDBusPendingCallWatcher::finished);
    const QDBusPendingReply<uint> reply = *watcher;
    watcher->deleteLater();
    if (!self || reply.isError() || !reply.isValid()) co_return 0u;
    const quint32 id = reply.value();
    if (id != 0) self->remember({id, reply.reply().service()});
    co_return id;
}

void DesktopNotifications::close(quint32 id) {
    if (id == 0 || !liveIds().contains(id) || !bus_.isConnected()) return;
    QDBusMessage call =
        QDBusMessage::createMethodCall(QString::fromLatin1(service), QString::fromLatin1(path),
                                       QString::fromLatin1(interface), QStringLiteral("CloseNotification"));
    call << static_cast<uint>(id);
    // The answer carries nothing; the closing is reported through NotificationClosed.
    bus_.asyncCall(call, callTimeoutMs);
}

QList<quint32> DesktopNotifications::liveIds() const {
    QList<quint32> ids;
    ids.reserve(live_.size());
    for (const Posted& posted : live_) ids.append(posted.id);
    return ids;
}

void DesktopNotifications::remember(const Posted& posted) {
    live_.removeOne(posted);  // a replaced notification keeps its id
    live_.append(posted);
    if (live_.size() > maxRemembered) live_.remove(0, live_.size() - maxRemembered);
}

void DesktopNotifications::forgetAllBut(const QString& server) {
    QList<quint32> gone;
    live_.removeIf([&](const Posted& posted) {
        if (posted.server == server) return false;
        gone.append(posted.id);
        return true;
    });
    for (const quint32 id : gone) emit notificationClosed(id, closedWithServer);
}

void DesktopNotifications::onActionInvoked(uint id, const QString& actionKey, const QDBusMessage& message) {
    if (!live_.contains(Posted{id, message.service()})) return;  // another program's notification
    emit actionInvoked(id, actionKey);
}

void DesktopNotifications::onActivationToken(uint id, const QString& token, const QDBusMessage& message) {
    if (!live_.contains(Posted{id, message.service()}) || token.isEmpty()) return;
    // A server sends a clicked notification's token just before its action. The window the action brings
    // forward needs it on Wayland, and Qt's Wayland plugin takes it from the environment when it activates a
    // window; bringing the window forward clears it again.
    qputenv("XDG_ACTIVATION_TOKEN", token.toUtf8());
}

void DesktopNotifications::onNotificationClosed(uint id, uint reason, const QDBusMessage& message) {
    if (!live_.removeOne(Posted{id, message.service()})) return;
    emit notificationClosed(id, reason);
}
