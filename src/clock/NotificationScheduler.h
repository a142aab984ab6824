#pragma once

#include "model/ClockBundle.h"
#include "model/SettingsSnapshot.h"

#include <QCoro/QCoroTask>
#include <QHash>
#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QTimer>
#include <cstdint>
#include <optional>

class DefaultsStore;
class DesktopNotifications;

// Keeps a week of prayer notifications and posts each at its minute through the desktop's notification
// server, which holds nothing for the future itself. The schedule lives in our own persisted pending list, so
// a restart keeps it. Permission is emulated: asked once (remembered), allowed while a notification server
// exists. Actions on a posted notification play the full call or open the window.
class NotificationScheduler : public QObject {
    Q_OBJECT
  public:
    static constexpr const char* category = "ADHAN_PLAY_FULL";
    static constexpr const char* playFullAction = "PLAY_FULL_ADHAN";
    static constexpr const char* openAppAction = "OPEN_APP";
    static constexpr const char* threadIdentifier = "prayer-adhan";
    static constexpr const char* pendingKey = "orvane.notifications.pending";
    static constexpr const char* askedKey = "orvane.notifications.asked";
    // The prayer requests already posted, oldest first: a clock set back or a reload never posts them again.
    static constexpr const char* deliveredKey = "orvane.notifications.delivered";
    static constexpr int scheduleDays = 7;

    // Mirrors the statuses the settings window maps to text.
    enum Status { NotDetermined = 0, Denied = 1, Authorized = 2 };

    struct Request {
        QString identifier;  // "adhan.<yyyymmdd>.<key>" or "emergency.<alert id>"
        std::int64_t fireAtMs = 0;
        QString title;
        QString body;
        QString prayer;  // the prayer key; empty for an emergency alert
        QString threadIdentifier;
        QString categoryIdentifier;
        bool operator==(const Request&) const = default;

        static std::optional<Request> fromJson(const QJsonValue& value);
        QJsonValue toJson() const;
    };
    // The stored schedule in those bytes: every readable request, in stored order; anything else is skipped.
    static QList<Request> decodePending(const QByteArray& bytes);

    // The process's scheduler over the session bus and the standard defaults store.
    static NotificationScheduler& shared();
    NotificationScheduler(DesktopNotifications& client, DefaultsStore& store, QObject* parent = nullptr);
    ~NotificationScheduler() override;

    // Hooks up the actions and starts posting what is due; reloads the persisted schedule. Repeatable.
    Q_INVOKABLE void configure();
    // Remembers that permission was asked and announces the answer once, queued on the GUI thread.
    Q_INVOKABLE void requestAuthorization();
    Q_INVOKABLE int authorizationStatus() const;
    // The desktop's notification settings: GNOME, KDE, then XFCE; the first that starts wins.
    Q_INVOKABLE void openSystemSettings();
    // Program and arguments tried by openSystemSettings(), in order.
    static QList<QStringList> settingsCommands();

    // Replaces the prayer requests with those of today and the next six days at the bundle's place: the
    // bundle's own times for its day, each other day's computed with the settings' method at the offset the
    // place's zone has that day. With the mode "off" none remain. Emergency requests are not touched.
    void reschedule(const ClockBundle& bundle, const SettingsSnapshot& settings);
    static QList<Request> prayerRequests(const ClockBundle& bundle, const SettingsSnapshot& settings,
                                         std::int64_t nowMs);

    // Posts an emergency alert at once; the server's id, 0 when nothing was posted.
    QCoro::Task<quint32> postEmergency(QString alertId, QString title, QString body);

    const QList<Request>& pending() const { return pending_; }
    // Posts every request whose time has come; requests more than a minute late are dropped unposted.
    void deliverDue(std::int64_t nowMs);

  signals:
    // A request reached the notification server (id 0: the server did not take it).
    void delivered(const QString& identifier, quint32 id);

  private:
    void onActionInvoked(quint32 id, const QString& actionKey);
    void loadPending();
    void savePending();
    void loadDelivered();
    void recordDelivered(const QList<Request>& posted);
    QCoro::Task<> post(Request request);

    NotificationScheduler(DesktopNotifications& client, DefaultsStore* store, QObject* parent);
    // The process's scheduler outlives any one standard store (each test home opens its own, and the
    // application object closes it on the way out), so it looks the store up at each use.
    DefaultsStore& store() const;

    DesktopNotifications& client_;
    DefaultsStore* store_;  // null: the standard store of the moment
    QList<Request> pending_;
    QStringList delivered_;                  // identifiers of the last week's posted prayers, oldest first
    QHash<quint32, QString> postedPrayers_;  // server id -> prayer key ("" for an emergency)
    QTimer timer_;
    bool configured_ = false;
};
