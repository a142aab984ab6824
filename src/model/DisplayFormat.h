#pragma once

#include <QLocale>
#include <QString>

// The bundle keeps kilometres, whole degrees Celsius, whole km/h and 24-hour "HH:MM" strings; these turn
// them into what the face shows. Whether units are metric is the caller's (the settings decide it).
namespace DisplayFormat {

// "12.5 km" or "7.8 mi": at most one fraction digit, the locale's decimal mark and grouping.
QString distance(double km, bool metric, const QLocale& locale = QLocale());
// "21°C" or "70°F"; Fahrenheit rounded half away from zero, never "-0".
QString temperature(qint64 celsius, bool metric);
// "15 km/h" or "9 mph".
QString wind(qint64 kmh, bool metric);
// "05:07" or "5:07 AM" with the locale's AM/PM symbols; "--:--" and malformed input come back unchanged.
QString prayerTime(const QString& time, bool use24Hour, const QLocale& locale = QLocale());

// What a figure that cannot be shown (not finite, or too large to convert) is replaced with.
inline constexpr char16_t missingFigure[] = u"—";

}  // namespace DisplayFormat
