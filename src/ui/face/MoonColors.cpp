#include "MoonColors.h"

#include <array>

namespace {

struct Tint {
    const char* key;
    float r, g, b;
};

constexpr std::array<Tint, 12> kTints{{
    {"moon_wolf", 0.80f, 0.86f, 1.00f},
    {"moon_snow", 0.88f, 0.92f, 1.00f},
    {"moon_worm", 0.85f, 0.74f, 0.60f},
    {"moon_pink", 1.00f, 0.72f, 0.82f},
    {"moon_flower", 0.78f, 0.95f, 0.78f},
    {"moon_strawberry", 1.00f, 0.45f, 0.42f},
    {"moon_buck", 0.98f, 0.80f, 0.55f},
    {"moon_sturgeon", 0.98f, 0.88f, 0.62f},
    {"moon_harvest", 1.00f, 0.66f, 0.30f},
    {"moon_hunter", 0.96f, 0.45f, 0.28f},
    {"moon_beaver", 0.84f, 0.88f, 0.96f},
    {"moon_cold", 0.80f, 0.90f, 1.00f},
}};

}  // namespace

QColor MoonColors::tint(const QString& key) {
    for (const Tint& t : kTints)
        if (key == QLatin1StringView(t.key)) return QColor::fromRgbF(t.r, t.g, t.b);
    return QColor::fromRgbF(0.98f, 0.93f, 0.80f);
}
