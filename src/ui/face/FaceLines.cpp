#include "FaceLines.h"

#include "PlaceDateFormat.h"
#include "PlaceTime.h"
#include "engine/LocalHijri.h"
#include "model/ClockBundle.h"
#include "model/DisplayFormat.h"

#include <QLocale>

namespace FaceLines {

namespace {
const QString kDot = QStringLiteral(" \u00B7 ");
const QString kWideDot = QStringLiteral("  \u00B7  ");
}  // namespace

QString digitalTime(std::int64_t utcMs, double tzOffsetHours, const QString& lang, bool use24Hour) {
    static const QString h24 = QStringLiteral("HH:mm:ss");
    static const QString h12 = QStringLiteral("h:mm:ss a");
    return PlaceDateFormat::format(utcMs, lang, PlaceTime::fixedOffsetSeconds(tzOffsetHours),
                                   use24Hour ? h24 : h12);
}

QString gregorianText(std::int64_t utcMs, double tzOffsetHours, const QString& lang) {
    static const QString pattern = QStringLiteral("EEEE, MMM d, yyyy");
    return PlaceDateFormat::format(utcMs, lang, PlaceTime::fixedOffsetSeconds(tzOffsetHours), pattern);
}

QString hijriText(int day, const QString& monthName, int year) {
    return QString::number(day) + QLatin1Char(' ') + monthName + QLatin1Char(' ') + QString::number(year) +
           QStringLiteral(" AH");
}

QString hijriMonthName(int month, const ClockBundle& bundle) {
    return LocalHijri::monthName(month, bundle.labels);
}

QString nextPrayerLine(const ClockBundle& bundle, bool use24Hour) {
    return bundle.label(QStringLiteral("next_prayer")) + QStringLiteral(": ") + bundle.nextPrayer.name +
           QLatin1Char(' ') +
           DisplayFormat::prayerTime(bundle.nextPrayer.time, use24Hour, QLocale(bundle.lang));
}

QString learnButtonTitle(const QString& customTitle, const ClockBundle& bundle) {
    const QString trimmed = customTitle.trimmed();
    return trimmed.isEmpty() ? bundle.label(QStringLiteral("learn_adhan")) : trimmed;
}

QString cityTitle(const ClockBundle& bundle) {
    return bundle.location.city ? bundle.location.city->toUpper() : QStringLiteral("\u2014");
}

Credits credits(const ClockBundle& bundle, const QString& clockId) {
    Credits c;
    c.clockId = bundle.label(QStringLiteral("clock_id")) + QStringLiteral(": ") + clockId;
    if (!bundle.sources) return c;
    const Sources& s = *bundle.sources;
    c.hasSources = true;
    c.network = bundle.label(QStringLiteral("data_network")) + QStringLiteral(": ") + s.network.nickname +
                kDot + s.network.continent;
    QString alerts = bundle.label(QStringLiteral("alerts_word")) + QStringLiteral(": ") + s.alerts.nickname;
    // On the device an inactive alerts source is one no feed answered; only a server speaks of coverage.
    if (!s.alerts.active) {
        const bool onDevice = s.network.code == QLatin1String("local");
        alerts += QStringLiteral(" (") +
                  bundle.label(onDevice ? QStringLiteral("not_checked") : QStringLiteral("coverage_coming")) +
                  u')';
    }
    c.feeds = bundle.label(QStringLiteral("weather_word")) + QStringLiteral(": ") + s.weather.nickname +
              kWideDot + alerts + kWideDot + bundle.label(QStringLiteral("prayer_qibla")) +
              QStringLiteral(": ") + s.prayer.nickname + kWideDot +
              bundle.label(QStringLiteral("moon_word")) + QStringLiteral(": ") +
              (s.moon ? s.moon->nickname : QStringLiteral("NASA"));
    return c;
}

}  // namespace FaceLines
