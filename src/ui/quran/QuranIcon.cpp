#include "ui/quran/QuranIcon.h"

#include <array>

namespace {

constexpr std::array<SymbolIcon::Drawing, 9> kSymbols{{
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
    return SymbolIcon::resourceFor(name, kSymbols, QLatin1StringView(":/qt/qml/Orvane/Quran/icons"));
}
