#include "ui/settings/SettingsIcon.h"

#include <array>

namespace {

constexpr std::array<SymbolIcon::Drawing, 7> kSymbols{{
    {"globe", "globe"},
    {"speaker.wave.2.fill", "speaker-wave"},
    {"bell.badge.fill", "bell-badge"},
    {"mappin.and.ellipse", "mappin-ellipse"},
    {"chevron.left.forwardslash.chevron.right", "code-chevrons"},
    {"person.crop.circle", "person-circle"},
    {"mappin.circle.fill", "mappin-circle"},
}};

}  // namespace

SettingsIcon::SettingsIcon(QQuickItem* parent) : SymbolIcon(parent) {
    setSize(16);
}

QString SettingsIcon::resourceFor(const QString& name) {
    return SymbolIcon::resourceFor(name, kSymbols, QLatin1StringView(":/qt/qml/Orvane/Settings/icons"));
}
