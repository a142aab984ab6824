#pragma once

#include <QObject>
#include <QString>

// The application's in-process notifications, one signal each, on one object for the life of the process.
// Posters and listeners never know each other: the alarm timer and the notification server post a prayer,
// the root view plays it; the settings window hears that the notification permission changed.
class AppEvents : public QObject {
    Q_OBJECT
  public:
    // The names the events go by in logs and deep links.
    static constexpr const char* playPrayerName = "OrvanePlayPrayer";
    static constexpr const char* openFreshName = "OrvaneOpenFresh";
    static constexpr const char* openNotificationSettingsName = "OrvaneOpenNotificationSettings";
    static constexpr const char* notificationAuthChangedName = "OrvaneNotificationAuthChanged";

    static AppEvents& shared();

    // Posts one of the events above by name, with the user info of "OrvanePlayPrayer" ("prayer", "force").
    // Unknown names are ignored; false when nothing was posted.
    bool post(const QString& name, const QString& prayer = {}, bool force = false);

  signals:
    void playPrayer(const QString& prayer, bool force);  // "OrvanePlayPrayer"
    void openFresh();                                    // "OrvaneOpenFresh"
    void openNotificationSettings();                     // "OrvaneOpenNotificationSettings"
    void notificationAuthChanged();                      // "OrvaneNotificationAuthChanged"
    // The window should come forward (a notification was clicked, a prayer time came with no window).
    void reopenWindow();

  private:
    AppEvents() = default;
};
