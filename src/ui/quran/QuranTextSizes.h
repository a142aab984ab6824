#pragma once

#include "services/AppSettings.h"

#include <QString>

// The reading sizes of the Quran reader, in pixels: the stored size name (unknown names read as huge) picks
// a row, and reading full screen enlarges every value by 1.12.
namespace QuranTextSizes {

struct Row {
    qreal arabic;
    qreal translation;
    qreal surahName;
    qreal arabicLineSpacing;
    qreal translationLineSpacing;
};

using Size = AppSettings::QuranTextSize;

Size parse(const QString& raw);
Row row(Size size, bool fullscreen);
// "Small", "Normal", "Large" or "Huge".
QString label(Size size);
// The stored name after moving `steps` along small, normal, large, huge, clamped at both ends.
QString stepped(const QString& raw, int steps);

inline constexpr qreal fullscreenFactor = 1.12;

}  // namespace QuranTextSizes
