#include "engine/LocalHijriCalendar.h"

#include "engine/CivilDay.h"

#include <unicode/calendar.h>
#include <unicode/timezone.h>

#include <cmath>
#include <cstring>
#include <memory>

namespace LocalHijriCalendar {

namespace {

// Far beyond any date a clock needs, and well inside what ICU's arithmetic handles exactly.
constexpr std::int64_t kDayLimit = 50'000'000;
constexpr int kYearLimit = 100'000;

icu::Calendar* calendar() {
    thread_local std::unique_ptr<icu::Calendar> instance = [] {
        UErrorCode status = U_ZERO_ERROR;
        std::unique_ptr<icu::Calendar> made(icu::Calendar::createInstance(
            icu::TimeZone::getGMT()->clone(), icu::Locale("en@calendar=islamic-umalqura"), status));
        if (U_FAILURE(status) || !made || std::strcmp(made->getType(), "islamic-umalqura") != 0) made.reset();
        return made;
    }();
    return instance.get();
}

}  // namespace

std::optional<LocalHijri::YMD> fromDay(std::int64_t day) {
    icu::Calendar* c = calendar();
    if (!c || day < -kDayLimit || day > kDayLimit) return std::nullopt;
    UErrorCode status = U_ZERO_ERROR;
    c->setTime(double(day) * CivilDay::kMsPerDay, status);
    const int year = c->get(UCAL_YEAR, status);
    const int month = c->get(UCAL_MONTH, status) + 1;
    const int dayOfMonth = c->get(UCAL_DATE, status);
    if (U_FAILURE(status)) return std::nullopt;
    return LocalHijri::YMD{year, month, dayOfMonth};
}

std::optional<std::int64_t> toDay(int year, int month, int day) {
    icu::Calendar* c = calendar();
    if (!c || std::abs(year) > kYearLimit || std::abs(month) > 1200 || std::abs(day) > 40000)
        return std::nullopt;
    UErrorCode status = U_ZERO_ERROR;
    c->clear();
    c->set(year, month - 1, day);
    const double ms = c->getTime(status);
    if (U_FAILURE(status) || !std::isfinite(ms)) return std::nullopt;
    // The calendar is in UTC, so a day starts on a whole day of ms; floor guards against any rounding.
    return std::int64_t(std::floor(ms / double(CivilDay::kMsPerDay) + 1e-9));
}

}  // namespace LocalHijriCalendar
