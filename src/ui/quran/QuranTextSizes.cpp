#include "ui/quran/QuranTextSizes.h"

#include <algorithm>
#include <array>

namespace QuranTextSizes {

Size parse(const QString& raw) {
    return AppSettings::quranTextSizeFromRaw(raw).value_or(Size::Huge);
}

Row row(Size size, bool fullscreen) {
    static constexpr std::array<Row, 4> table{{
        {28, 18, 20, 12, 6},
        {40, 22, 26, 16, 8},
        {56, 28, 34, 20, 10},
        {84, 42, 48, 28, 14},
    }};
    Row r = table[std::size_t(size)];
    if (fullscreen) {
        for (qreal* value :
             {&r.arabic, &r.translation, &r.surahName, &r.arabicLineSpacing, &r.translationLineSpacing})
            *value *= fullscreenFactor;
    }
    return r;
}

QString label(Size size) {
    switch (size) {
        case Size::Small:
            return QStringLiteral("Small");
        case Size::Normal:
            return QStringLiteral("Normal");
        case Size::Large:
            return QStringLiteral("Large");
        case Size::Huge:
            break;
    }
    return QStringLiteral("Huge");
}

QString stepped(const QString& raw, int steps) {
    const QList<Size> order = AppSettings::allQuranTextSizes();
    const int position = int(order.indexOf(parse(raw)));
    const int moved = std::clamp(position + steps, 0, int(order.size()) - 1);
    return AppSettings::rawValue(order.at(moved));
}

}  // namespace QuranTextSizes
