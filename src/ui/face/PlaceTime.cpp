#include "PlaceTime.h"

#include <QDateTime>
#include <cmath>

namespace PlaceTime {

std::optional<int> fixedOffsetSeconds(double tzOffsetHours) {
    if (!std::isfinite(tzOffsetHours)) return std::nullopt;
    const double seconds = std::trunc(tzOffsetHours * 3600);
    if (std::abs(seconds) > kMaxOffsetSeconds) return std::nullopt;
    return static_cast<int>(seconds);
}

namespace {

std::int64_t floorDiv(std::int64_t a, std::int64_t b) {
    return a / b - ((a % b != 0) && ((a < 0) != (b < 0)));
}

// Days since 1970-01-01 to a proleptic Gregorian date (H. Hinnant's civil_from_days).
void civilFromDays(std::int64_t z, int& year, int& month, int& day) {
    z += 719468;
    const std::int64_t era = floorDiv(z, 146097);
    const std::int64_t doe = z - era * 146097;
    const std::int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const std::int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const std::int64_t mp = (5 * doy + 2) / 153;
    day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    year = static_cast<int>(yoe + era * 400 + (month <= 2));
}

}  // namespace

Fields fields(std::int64_t utcMs, double tzOffsetHours) {
    Fields f;
    const std::optional<int> offset = fixedOffsetSeconds(tzOffsetHours);
    if (!offset) {
        const QDateTime local = QDateTime::fromMSecsSinceEpoch(utcMs, Qt::LocalTime);
        const QDate date = local.date();
        const QTime time = local.time();
        f.year = date.year();
        f.month = date.month();
        f.day = date.day();
        f.hour = time.hour();
        f.minute = time.minute();
        f.second = time.second();
        f.millisecond = time.msec();
        return f;
    }
    const std::int64_t localMs = utcMs + std::int64_t{*offset} * 1000;
    const std::int64_t days = floorDiv(localMs, 86'400'000);
    const std::int64_t msOfDay = localMs - days * 86'400'000;
    civilFromDays(days, f.year, f.month, f.day);
    f.hour = static_cast<int>(msOfDay / 3'600'000);
    f.minute = static_cast<int>(msOfDay / 60'000 % 60);
    f.second = static_cast<int>(msOfDay / 1000 % 60);
    f.millisecond = static_cast<int>(msOfDay % 1000);
    return f;
}

}  // namespace PlaceTime
