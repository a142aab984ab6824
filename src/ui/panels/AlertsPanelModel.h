#pragma once

#include "PanelModel.h"

#include <QColor>
#include <QPointer>

class AdhanPlayer;

// The alerts panel's texts and colours: the alert line from the bundle, and the emergency and call rows,
// which mirror the call-to-prayer player when `followSharedPlayer` is set (the face) or take the values
// written to them (previews and tests).
class AlertsPanelModel : public PanelModel {
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(QString title READ title NOTIFY changed)
    Q_PROPERTY(QString noAlertsText READ noAlertsText NOTIFY changed)
    Q_PROPERTY(bool checked READ checked NOTIFY changed)
    Q_PROPERTY(int count READ count NOTIFY changed)
    Q_PROPERTY(bool severe READ severe NOTIFY changed)
    Q_PROPERTY(QColor accentColor READ accentColor NOTIFY changed)
    Q_PROPERTY(QString iconName READ iconName NOTIFY changed)
    Q_PROPERTY(QString tickerText READ tickerText NOTIFY changed)
    Q_PROPERTY(QColor red READ red CONSTANT)

    Q_PROPERTY(
        bool followSharedPlayer READ followSharedPlayer WRITE setFollowSharedPlayer NOTIFY playerChanged)
    Q_PROPERTY(bool emergencyRinging MEMBER emergencyRinging_ NOTIFY playerChanged)
    Q_PROPERTY(QString emergencyTitle MEMBER emergencyTitle_ NOTIFY playerChanged)
    Q_PROPERTY(QString emergencyBody MEMBER emergencyBody_ NOTIFY playerChanged)
    Q_PROPERTY(bool ringing MEMBER ringing_ NOTIFY playerChanged)
    Q_PROPERTY(QString activeTitle MEMBER activeTitle_ NOTIFY playerChanged)
    Q_PROPERTY(QString activeText MEMBER activeText_ NOTIFY playerChanged)
    Q_PROPERTY(QString blessingLine READ blessingLine CONSTANT)

  public:
    explicit AlertsPanelModel(QObject* parent = nullptr);

    QString title() const { return bundle().label(QStringLiteral("status_alerts")); }
    // The calm line: "no alerts" only for a list the feeds answered, else that they could not be checked.
    QString noAlertsText() const {
        return bundle().label(checked() ? QStringLiteral("no_alerts") : QStringLiteral("alerts_unchecked"));
    }
    bool checked() const { return bundle().alertsChecked(); }
    int count() const { return int(bundle().alerts.size()); }
    bool severe() const { return severe_; }
    QColor accentColor() const;
    QString iconName() const;
    const QString& tickerText() const { return ticker_; }

    bool followSharedPlayer() const { return followShared_; }
    void setFollowSharedPlayer(bool follow);
    // Mirrors `player` (tests hand in their own; the face uses the shared one).
    void followPlayer(AdhanPlayer* player);
    static QString blessingLine();

    Q_INVOKABLE void stopEmergency();

    // The platform's red and orange.
    static QColor red() { return QColor::fromRgbF(1.0f, 0.23f, 0.19f); }
    static QColor orange() { return QColor::fromRgbF(1.0f, 0.58f, 0.0f); }

  signals:
    void playerChanged();

  protected:
    void refresh() override;

  private:
    void readPlayer();

    bool severe_ = false;
    QString ticker_;
    bool followShared_ = false;
    QPointer<AdhanPlayer> player_;
    QList<QMetaObject::Connection> playerConnections_;
    bool emergencyRinging_ = false;
    QString emergencyTitle_;
    QString emergencyBody_;
    bool ringing_ = false;
    QString activeTitle_;
    QString activeText_;
};
