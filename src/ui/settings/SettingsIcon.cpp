#include "ui/settings/SettingsIcon.h"

#include <array>

namespace {

struct Symbol {
    const char* name;
    const char* file;
};

constexpr std::array<Symbol, 7> kSymbols{{
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
    for (const auto& symbol : kSymbols)
        if (name == QLatin1StringView(symbol.name))
            return QStringLiteral(":/qt/qml/Orvane/Settings/icons/%1.svg")
                .arg(QLatin1StringView(symbol.file));
    return SymbolIcon::resourceFor(name);
}
