#include "StatusPills.h"

#include "clock/PrayerSchedule.h"
#include "model/ClockBundle.h"

#include <QVariantMap>
#include <algorithm>

namespace StatusPills {

QString pillText(const QString& title, bool ok, qint64 count) {
    const QString value =
        count >= 1 ? QString::number(count) : (ok ? QStringLiteral("OK") : QStringLiteral("\u2014"));
    return title + QStringLiteral(": ") + value;
}

QList<Pill> pills(const ClockBundle& bundle, bool sunPictureWorked) {
    const bool hasWeather = bundle.weather.has_value();
    const bool alertsChecked = bundle.alertsChecked();
    const PrayerSchedule::Minutes minutes = PrayerSchedule::minutesOf(bundle.prayers);
    const bool allPrayers = std::all_of(minutes.begin(), minutes.end(), [](auto m) { return m.has_value(); });
    return {
        {pillText(bundle.label(QStringLiteral("status_prayers")), allPrayers), allPrayers},
        {pillText(bundle.label(QStringLiteral("status_weather")), hasWeather), hasWeather},
        {pillText(bundle.label(QStringLiteral("status_alerts")), alertsChecked, bundle.alerts.size()),
         alertsChecked},
        {pillText(bundle.label(QStringLiteral("status_geo")), true), true},
        // The observatory's name is the same in every language.
        {pillText(QStringLiteral("NASA"), sunPictureWorked), sunPictureWorked},
    };
}

QVariantList toVariant(const QList<Pill>& pills) {
    QVariantList list;
    for (const Pill& pill : pills) list.append(QVariantMap{{"text", pill.text}, {"ok", pill.ok}});
    return list;
}

}  // namespace StatusPills
