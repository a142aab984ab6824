#include "engine/CivilDay.h"
#include "engine/LocalHijri.h"
#include "engine/LocalHijriCalendar.h"

#include <cstdio>

namespace LocalHijri {

namespace {

QDateTime utcMidnight(int year, int month, int day) {
    return QDateTime::fromMSecsSinceEpoch(CivilDay::daysFromCivil(year, month, day) * CivilDay::kMsPerDay,
                                          Qt::UTC);
}

}  // namespace

bool verifyBirthday1983() {
    if (civilYMD(utcMidnight(1983, 2, 27)) != YMD{1403, 5, 14}) return false;

    const std::optional<std::int64_t> back = LocalHijriCalendar::toDay(1403, 5, 14);
    if (!back || CivilDay::civilFromDays(*back) != CivilDay::Date{1983, 2, 27}) return false;

    // Long past, so the stored day offset never enters this check.
    const QList<MonthCell> cells = gregorianMonthCells(1983, 2, std::nullopt, utcMidnight(2026, 1, 1));
    if (cells.size() != 28) return false;
    for (const MonthCell& cell : cells) {
        if (cell.gregorian.toUTC().date().day() == 27)
            return cell.hijriDay == 14 && cell.hijriMonth == 5 && cell.hijriYear == 1403;
    }
    return false;
}

bool verifyTodaySafar1448(const std::optional<QDateTime>& reference) {
    const QDateTime instant = reference.value_or(utcMidnight(2026, 8, 13));
    return displayYMD(instant, std::nullopt, instant) == YMD{1448, 2, 30};
}

void runBirthdaySmoke() {
    if (!verifyBirthday1983())
        std::fputs("[Orvane] Hijri smoke FAILED: 27 Feb 1983 != 14 Jumada al-Awwal 1403 AH\n", stdout);
    if (!verifyTodaySafar1448())
        std::fputs("[Orvane] Hijri smoke FAILED: 13 Aug 2026 != 30 Safar 1448 AH\n", stdout);
    std::fflush(stdout);
}

}  // namespace LocalHijri
