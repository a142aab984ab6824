#include "ui/quran/QuranIcon.h"

#include <array>

namespace {

struct Symbol {
    const char* name;
    const char* file;
};

constexpr std::array<Symbol, 9> kSymbols{{
    {"chevron.left", "chevron-left"},
    {"chevron.right", "chevron-right"},
    {"chevron.left.circle.fill", "chevron-left-circle"},
    {"chevron.right.circle.fill", "chevron-right-circle"},
    {"arrow.up.left.and.arrow.down.right", "fullscreen"},
    {"list.bullet.rectangle", "list-rectangle"},
    {"textformat.size.smaller", "text-smaller"},
    {"textformat.size.larger", "text-larger"},
    {"book.closed", "book-closed"},
}};

}  // namespace

QuranIcon::QuranIcon(QQuickItem* parent) : SymbolIcon(parent) {}

QString QuranIcon::resourceFor(const QString& name) {
    for (const auto& symbol : kSymbols)
        if (name == QLatin1StringView(symbol.name))
            return QStringLiteral(":/qt/qml/Orvane/Quran/icons/%1.svg").arg(QLatin1StringView(symbol.file));
    return SymbolIcon::resourceFor(name);
}
