#pragma once

#include <QString>

// The direction of prayer: the great-circle bearing from a place to the Kaaba and its compass name.
namespace LocalQibla {

inline constexpr double kaabaLatitude = 21.4225241;
inline constexpr double kaabaLongitude = 39.8261818;

// Initial great-circle bearing in degrees clockwise from true north, in [0, 360); not a number when a
// coordinate is not a finite number, so a caller cannot mistake bad input for a direction.
double bearing(double lat, double lon);

// One of "N", "NE", "E", "SE", "S", "SW", "W", "NW", each covering 45 degrees centred on its direction.
// Any finite angle is taken modulo 360 (so -10 is "N" and -100 is "W"); a bearing that is not a number
// has no name and gives the empty string.
QString compassPoint(double bearing);

}  // namespace LocalQibla
