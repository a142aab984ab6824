#pragma once

#include <QString>
#include <cstdint>

struct ClockBundle;

// The texts of the face's centre card, header and credits, composed from the bundle, the instant and the
// settings: the place's zone and the bundle's language, with the Gregorian calendar pinned.
namespace FaceLines {

// "13:05:09", or "1:05:09 PM" in the 12-hour form with the language's day-period symbol.
QString digitalTime(std::int64_t utcMs, double tzOffsetHours, const QString& lang, bool use24Hour);
// "Monday, Mar 9, 2026".
QString gregorianText(std::int64_t utcMs, double tzOffsetHours, const QString& lang);
// "30 Safar 1448 AH".
QString hijriText(int day, const QString& monthName, int year);
// The bundle's "hmonth_<n>" label, else the built-in English one, else "Month <n>".
QString hijriMonthName(int month, const ClockBundle& bundle);
// "Next: Asr 3:52 PM".
QString nextPrayerLine(const ClockBundle& bundle, bool use24Hour);
// The user's own title trimmed, else the "learn_adhan" label.
QString learnButtonTitle(const QString& customTitle, const ClockBundle& bundle);
// The city upper-cased, or an em dash.
QString cityTitle(const ClockBundle& bundle);

struct Credits {
    bool hasSources = false;
    QString network;  // "Data network: On device · Asia"
    QString feeds;    // weather, alerts, prayer and moon credits on one line
    QString clockId;  // "Clock ID: clk-…"
};
Credits credits(const ClockBundle& bundle, const QString& clockId);

}  // namespace FaceLines
