#pragma once

#include <QCoro/QCoroTask>
#include <QDBusConnection>
#include <QDBusServiceWatcher>
#include <QList>
#include <QObject>
#include <QString>
#include <QVariantMap>

// A client of the desktop's notification server (org.freedesktop.Notifications on the session bus): posts
// and closes notifications for Orvane and reports the actions and closings of the notifications it posted.
// An id means something only to the server that gave it: a new server numbers from 1 again.
class DesktopNotifications : public QObject {
    Q_OBJECT
  public:
    struct Action {
        QString key;    // what comes back in actionInvoked; "default" is a click on the notification itself
        QString label;  // what the user sees on the button
    };

    struct Request {
        quint32 replacesId = 0;  // 0: a new notification
        QString icon;            // icon name or file URL; may be empty
        QString summary;
        QString body;
        QList<Action> actions;
        QVariantMap hints;      // e.g. "urgency" (uchar), "category", "desktop-entry"
        qint32 timeoutMs = -1;  // -1: the server's default, 0: stays until dismissed
    };

    static constexpr const char* service = "org.freedesktop.Notifications";
    static constexpr const char* path = "/org/freedesktop/Notifications";
    static constexpr const char* interface = "org.freedesktop.Notifications";
    // The closing reported for our notifications when their server leaves the bus or is replaced (the
    // protocol's "undefined" reason).
    static constexpr quint32 closedWithServer = 4;

    explicit DesktopNotifications(QObject* parent = nullptr);  // the session bus
    explicit DesktopNotifications(const QDBusConnection& bus, QObject* parent = nullptr);

    // Whether a notification server runs on the bus, or would be started by the bus on the first call.
    bool isServicePresent() const;

    // Posts (or replaces) a notification. The server's id, or 0 when nothing was posted (no bus, no
    // server, an error or no answer within a few seconds); 0 is never a valid id.
    QCoro::Task<quint32> notify(Request request);

    // Asks the server to take a notification down; nothing happens for an id we did not post.
    void close(quint32 id);

    // Ids of posted notifications not yet reported closed (newest last).
    QList<quint32> liveIds() const;

  signals:
    void actionInvoked(quint32 id, const QString& actionKey);
    void notificationClosed(quint32 id, quint32 reason);

  private slots:
    // The message names the server that sent it, the only one whose ids can be ours.
    void onActionInvoked(uint id, const QString& actionKey, const QDBusMessage& message);
    void onNotificationClosed(uint id, uint reason, const QDBusMessage& message);
    void onActivationToken(uint id, const QString& token, const QDBusMessage& message);

  private:
    struct Posted {
        quint32 id = 0;
        QString server;  // the unique bus name of the server that gave the id
        bool operator==(const Posted&) const = default;
    };

    void remember(const Posted& posted);
    void forgetAllBut(const QString& server);

    QDBusConnection bus_;
    QDBusServiceWatcher serverWatcher_;
    QList<Posted> live_;
};
