#pragma once

#include "model/ClockBundle.h"

#include <QLocale>
#include <QString>

// The moon and eclipse lines shared by the moon and sun side panels, the sky-detail block and the
// weather-and-moon panel.
namespace SkyTexts {

// "Waxing Gibbous · 82% lit"
QString phaseLine(const Moon& moon, const ClockBundle& bundle);
// "Day 12 of 29": the age cut toward zero; an age that is no finite whole number shows the dash.
QString dayLine(const Moon& moon, const ClockBundle& bundle);
// The distance in the user's units, or empty when the record has none.
QString distanceLine(const Moon& moon, bool metric);
// The full-moon name, or empty when absent or empty.
QString nameLine(const Moon& moon);

// "12 Aug 2026" from "2026-08-12" in the Gregorian calendar of `locale`; any other text comes back as it is.
QString formatEclipse(const QString& date, const QLocale& locale = QLocale());
// "Lunar Eclipse · Total"
QString eclipseTitle(const QString& title, const Eclipse& eclipse);
// The date line with the region when the record names one (also an empty one).
QString eclipseDateWithRegion(const Eclipse& eclipse, const ClockBundle& bundle,
                              const QLocale& locale = QLocale());

}  // namespace SkyTexts
