#include "engine/CivilDay.h"

#include <cmath>

namespace CivilDay {

namespace {

std::int64_t floorDiv(std::int64_t a, std::int64_t b) {
    const std::int64_t q = a / b;
    return (a % b != 0 && ((a < 0) != (b < 0))) ? q - 1 : q;
}

}  // namespace

// Era-based conversion (400-year cycles of 146097 days), exact over the whole int range of years.
std::int64_t daysFromCivil(int year, int month, int day) {
    const std::int64_t y = std::int64_t(year) - (month <= 2 ? 1 : 0);
    const std::int64_t era = floorDiv(y, 400);
    const std::int64_t yoe = y - era * 400;
    const std::int64_t mp = (month + 9) % 12;
    const std::int64_t doy = (153 * mp + 2) / 5 + day - 1;
    const std::int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

Date civilFromDays(std::int64_t days) {
    const std::int64_t z = days + 719468;
    const std::int64_t era = floorDiv(z, 146097);
    const std::int64_t doe = z - era * 146097;
    const std::int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const std::int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const std::int64_t mp = (5 * doy + 2) / 153;
    const int day = int(doy - (153 * mp + 2) / 5 + 1);
    const int month = int(mp < 10 ? mp + 3 : mp - 9);
    return {int(yoe + era * 400 + (month <= 2 ? 1 : 0)), month, day};
}

int daysInMonth(int year, int month) {
    static constexpr int lengths[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12) return 0;
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return month == 2 && leap ? 29 : lengths[month - 1];
}

bool isValid(const Date& date) {
    return date.month >= 1 && date.month <= 12 && date.day >= 1 &&
           date.day <= daysInMonth(date.year, date.month);
}

int weekday(std::int64_t days) {
    // 1970-01-01 was a Thursday (5).
    return int(((days + 4) % 7 + 7) % 7) + 1;
}

std::optional<int> fixedOffsetSeconds(double hours) {
    if (!std::isfinite(hours)) return std::nullopt;
    const double seconds = std::trunc(hours * 3600.0);
    if (std::fabs(seconds) > kMaxOffsetSeconds) return std::nullopt;
    return int(seconds);
}

std::int64_t dayOf(std::int64_t msSinceEpoch, int offsetSeconds) {
    return floorDiv(msSinceEpoch + std::int64_t(offsetSeconds) * 1000, kMsPerDay);
}

std::int64_t startOfDayMs(std::int64_t days, int offsetSeconds) {
    return days * kMsPerDay - std::int64_t(offsetSeconds) * 1000;
}

int writeIsoText(const Date& date, char* buffer) {
    int n = 0;
    const auto put = [&](long long value, int width) {
        char digits[24];
        int count = 0;
        do {
            digits[count++] = char('0' + value % 10);
            value /= 10;
        } while (value > 0);
        while (count < width) digits[count++] = '0';
        while (count > 0) buffer[n++] = digits[--count];
    };
    long long year = date.year;
    if (year < 0) {
        buffer[n++] = '-';
        year = -year;
    }
    put(year, 4);
    buffer[n++] = '-';
    put(date.month, 2);
    buffer[n++] = '-';
    put(date.day, 2);
    return n;
}

QString isoText(const Date& date) {
    char buffer[kMaxIsoChars];
    return QString::fromLatin1(buffer, writeIsoText(date, buffer));
}

QString isoText(std::int64_t days) {
    return isoText(civilFromDays(days));
}

std::optional<Date> parseIso(QStringView text) {
    if (text.size() != 10 || text[4] != u'-' || text[7] != u'-') return std::nullopt;
    const auto number = [&](int from, int count) {
        int value = 0;
        for (int i = from; i < from + count; ++i) {
            const char16_t c = text[i].unicode();
            if (c < u'0' || c > u'9') return -1;
            value = value * 10 + (c - u'0');
        }
        return value;
    };
    const Date date{number(0, 4), number(5, 2), number(8, 2)};
    if (date.year < 0 || !isValid(date)) return std::nullopt;
    return date;
}

}  // namespace CivilDay
