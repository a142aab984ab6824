#pragma once

#include <QLatin1StringView>
#include <QStringView>
#include <span>

// How many rak'ahs each daily prayer has, line by line, for the overlay shown while the call plays. The
// words of each line are label keys, turned into text by the caller through the bundle's labels.
namespace Rakat {

struct Line {
    QLatin1StringView count;  // a digit, or "4+2"
    QLatin1StringView key;    // "rk_sunnah", "rk_fard", "rk_nafl" or "rk_witr"
};

struct Info {
    bool isJumah = false;         // the Friday congregational prayer: titled with the label "jumah"
    std::span<const Line> lines;  // constant data; valid for the life of the program
    int total = 0;                // stored, not summed: "4+2" is not a number
};

// Exact, case-sensitive prayer key; `friday` matters only for "dhuhr". Unknown keys give no lines and a
// total of 0. Allocates nothing.
Info info(QStringView prayer, bool friday);

}  // namespace Rakat
