#include "engine/LocalQibla.h"

#include <array>
#include <cmath>
#include <numbers>

namespace LocalQibla {

namespace {
constexpr double radiansPerDegree = std::numbers::pi / 180.0;
}

double bearing(double lat, double lon) {
    if (!std::isfinite(lat) || !std::isfinite(lon)) return std::nan("");
    const double phi = lat * radiansPerDegree;
    const double deltaLambda = (kaabaLongitude - lon) * radiansPerDegree;
    const double y = std::sin(deltaLambda);
    const double x =
        std::cos(phi) * std::tan(kaabaLatitude * radiansPerDegree) - std::sin(phi) * std::cos(deltaLambda);
    const double degrees = std::atan2(y, x) / radiansPerDegree;
    return std::fmod(degrees + 360.0, 360.0);
}

QString compassPoint(double bearing) {
    static const std::array<QString, 8> names = {
        QStringLiteral("N"), QStringLiteral("NE"), QStringLiteral("E"), QStringLiteral("SE"),
        QStringLiteral("S"), QStringLiteral("SW"), QStringLiteral("W"), QStringLiteral("NW"),
    };
    if (!std::isfinite(bearing)) return {};
    // Negative angles would otherwise give a negative index; taking the angle modulo 360 first keeps
    // every sector boundary where it is for bearings already in [0, 360).
    double normalised = std::fmod(bearing, 360.0);
    if (normalised < 0) normalised += 360.0;
    const auto index = static_cast<long long>((normalised + 22.5) / 45.0) % 8;
    return names[static_cast<size_t>(index)];
}

}  // namespace LocalQibla
