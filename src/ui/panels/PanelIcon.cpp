#include "PanelIcon.h"

#include "ui/common/SymbolIcon.h"

#include <array>

namespace {

constexpr std::array<SymbolIcon::Drawing, 18> kSymbols{{
    {"checkmark.shield.fill", "checkmark-shield"},
    {"bell.badge.fill", "bell-badge"},
    {"speaker.wave.3.fill", "speaker-wave"},
    {"moon.circle.fill", "moon-circle"},
    {"sun.max.circle.fill", "sun-circle"},
    {"cloud.fill", "cloud"},
    {"cloud.sun.fill", "cloud-sun"},
    {"cloud.moon.fill", "cloud-moon"},
    {"cloud.fog.fill", "cloud-fog"},
    {"cloud.drizzle.fill", "cloud-drizzle"},
    {"cloud.rain.fill", "cloud-rain"},
    {"cloud.sleet.fill", "cloud-sleet"},
    {"cloud.snow.fill", "cloud-snow"},
    {"cloud.bolt.rain.fill", "cloud-bolt-rain"},
    {"map", "map"},
    {"eye.slash", "eye-slash"},
    {"safari", "safari"},
    {"location.north.fill", "location-north"},
}};

}  // namespace

PanelIcon::PanelIcon(QQuickItem* parent) : SymbolIcon(parent) {
    setSize(16);
}

QString PanelIcon::resourceFor(const QString& name) {
    return SymbolIcon::resourceFor(name, kSymbols, QLatin1StringView(":/qt/qml/Orvane/Panels/icons"));
}
