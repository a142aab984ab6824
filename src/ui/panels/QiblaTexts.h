#pragma once

#include "model/ClockBundle.h"

#include <QString>

// Keys and captions of the qibla panel.
namespace QiblaTexts {

// A degree value rounded half away from zero as plain digits; the dash when it is not a finite number
// that fits an integer.
QString roundedInteger(double value);
// "515074--1278" for 51.5074, -0.1278; the dash in place of a coordinate that cannot be rounded.
QString locationKey(const LocationInfo& location);
// What makes the panel a new one: the place and both picture links.
QString identity(const ClockBundle& bundle);
// Missing images or a missing flag count as street view being there.
bool streetViewAvailable(const Qibla& qibla);

// "arrow points to Qibla · NE · 58°"
QString streetCaption(const ClockBundle& bundle);
// "NE · Qibla · 58°"
QString bearingCapsule(const ClockBundle& bundle);
// "Qibla · NE · 58°"
QString mapCaption(const ClockBundle& bundle);

}  // namespace QiblaTexts
