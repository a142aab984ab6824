#pragma once

#include "model/AlertRecords.h"
#include "model/JsonCoding.h"

#include <QDateTime>

// The moon of a moment, computed on the device: mean-lunation phase, illumination and age, the distance
// from a short lunar series, the traditional name of the month's full moon, and the next lunar and solar
// eclipse from built-in tables.
namespace LocalMoon {

// Julian Day of the moment's UTC calendar date and time (whole seconds).
double julianDay(const QDateTime& moment);

// Kilometres between the centres of the earth and the moon at a Julian Day.
double distanceKm(double julianDay);

// `labels` names the phase and the month's moon; missing labels fall back to built-in English.
Moon info(const QDateTime& moment, const JsonCoding::StringMap& labels);

// The first eclipse of each table on or after the moment's UTC date; nothing after a table ends.
std::optional<Eclipse> nextLunarEclipse(const QDateTime& moment);
std::optional<Eclipse> nextSolarEclipse(const QDateTime& moment);

}  // namespace LocalMoon
