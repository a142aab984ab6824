#include "clock/AppEvents.h"

AppEvents& AppEvents::shared() {
    static AppEvents* events = new AppEvents;  // lives as long as the process; never destroyed mid-signal
    return *events;
}

bool AppEvents::post(const QString& name, const QString& prayer, bool force) {
    if (name == QLatin1String(playPrayerName)) {
        emit playPrayer(prayer, force);
    } else if (name == QLatin1String(openFreshName)) {
        emit openFresh();
    } else if (name == QLatin1String(openNotificationSettingsName)) {
        emit openNotificationSettings();
    } else if (name == QLatin1String(notificationAuthChangedName)) {
        emit notificationAuthChanged();
    } else {
        return false;
    }
    return true;
}
