#pragma once

#include "model/ClockBundle.h"

#include <QLocale>
#include <QString>

// Days, grid arithmetic and card texts of the forecast strip.
namespace ForecastLayout {

inline constexpr int maxDays = 16;
inline constexpr double compactBelow = 88;
inline constexpr double gridSpacing = 8;
inline constexpr double rowCardHeight = 72;

// The bundle's forecast in stored order, at most 16 days.
QList<DailyWeather> allDays(const ClockBundle& bundle);
// "16 days": the larger of `count` and the days shown, never below zero.
QString title(const ClockBundle& bundle, int count);

// Rows of four, at least one.
int rows(int dayCount);
// Height of each row so that the rows and their gaps fill `height`; never below 1.
double rowHeight(int dayCount, double height);
bool isCompact(double rowHeight);

// Abbreviated weekday of a "yyyy-MM-dd" date in `locale`; other text unchanged.
QString weekday(const QString& date, const QLocale& locale);
// Symbol name of a forecast condition key (day forms only).
QString icon(const QString& condition);
// Symbol name of the current condition, with night forms where they exist.
QString currentIcon(const QString& condition, bool isDay);

// "15 km/h" or "9 mph".
QString windCompact(qint64 kmh, bool metric);
// "40%", or empty when the day has no chance of precipitation worth a line.
QString precipitation(const std::optional<qint64>& percent);
// "/"-joined maximum and minimum in the user's units.
QString temperatures(const DailyWeather& day, bool metric);

}  // namespace ForecastLayout
