#include "engine/LocalHijriCalendar.h"

#include "engine/CivilDay.h"

#include <unicode/calendar.h>
#include <unicode/timezone.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <memory>
#include <vector>

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

std::optional<LocalHijri::YMD> icuFromDay(std::int64_t day) {
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

std::optional<std::int64_t> icuToDay(int year, int month, int day) {
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

// ICU finds the Umm al-Qura date of a day by summing month lengths from the start of its table, tens of
// microseconds per call. The month starts of the table's years are read from ICU once (forming a date is
// cheap) and searched instead; dates outside those years still go to ICU.
class MonthStarts {
  public:
    static constexpr int kFirstYear = 1300;
    static constexpr int kLastYear = 1600;

    MonthStarts() {
        for (int year = kFirstYear; year <= kLastYear + 1; ++year) {
            for (int month = 1; month <= 12; ++month) {
                const std::optional<std::int64_t> start = icuToDay(year, month, 1);
                if (!start || (!starts_.empty() && *start <= starts_.back())) {
                    starts_.clear();  // an ICU without the table: leave everything to ICU
                    return;
                }
                starts_.push_back(*start);
            }
        }
    }

    std::optional<LocalHijri::YMD> fromDay(std::int64_t day) const {
        if (starts_.empty() || day < starts_.front() || day >= starts_[kTableMonths]) return std::nullopt;
        const auto next = std::upper_bound(starts_.begin(), starts_.begin() + kTableMonths + 1, day);
        const auto index = int(next - starts_.begin()) - 1;
        return LocalHijri::YMD{kFirstYear + index / 12, index % 12 + 1, int(day - starts_[index]) + 1};
    }

    std::optional<std::int64_t> toDay(int year, int month, int day) const {
        if (starts_.empty() || year < kFirstYear || year > kLastYear || month < 1 || month > 12)
            return std::nullopt;
        if (std::abs(day) > 40000) return std::nullopt;
        // Lenient like ICU: day 30 of a 29-day month is the next month's first.
        return starts_[std::size_t((year - kFirstYear) * 12 + month - 1)] + day - 1;
    }

  private:
    static constexpr int kTableMonths = (kLastYear - kFirstYear + 1) * 12;
    std::vector<std::int64_t> starts_;  // kTableMonths + 12 entries: the table's months and the year after
};

const MonthStarts& monthStarts() {
    static const MonthStarts table;
    return table;
}

}  // namespace

std::optional<LocalHijri::YMD> fromDay(std::int64_t day) {
    if (const auto cached = monthStarts().fromDay(day)) return cached;
    return icuFromDay(day);
}

std::optional<std::int64_t> toDay(int year, int month, int day) {
    if (const auto cached = monthStarts().toDay(year, month, day)) return cached;
    return icuToDay(year, month, day);
}

std::optional<LocalHijri::YMD> fromDayUncached(std::int64_t day) {
    return icuFromDay(day);
}

}  // namespace LocalHijriCalendar
