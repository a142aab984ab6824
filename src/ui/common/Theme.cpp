#include "Theme.h"

#include <array>

namespace {

struct TextStyleSize {
    const char* name;
    qreal points;
    bool bold;
};

// The desktop sizes of the system text styles; the face's design points are laid out against these.
constexpr std::array<TextStyleSize, 11> kTextStyles{{
    {"largeTitle", 26, false},
    {"title", 22, false},
    {"title2", 17, false},
    {"title3", 15, false},
    {"headline", 13, true},
    {"body", 13, false},
    {"callout", 12, false},
    {"subheadline", 11, false},
    {"footnote", 10, false},
    {"caption", 10, false},
    {"caption2", 10, false},
}};

const TextStyleSize* find(const QString& style) {
    for (const auto& entry : kTextStyles)
        if (style == QLatin1StringView(entry.name)) return &entry;
    return nullptr;
}

}  // namespace

qreal Theme::textSize(const QString& style) {
    const TextStyleSize* entry = find(style);
    return entry ? entry->points : find(QStringLiteral("body"))->points;
}

bool Theme::textStyleIsBold(const QString& style) {
    const TextStyleSize* entry = find(style);
    return entry && entry->bold;
}
