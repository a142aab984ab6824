#include "PlaceDateFormat.h"

#include "platform/SystemTimeZone.h"

#include <unicode/dtfmtsym.h>
#include <unicode/locid.h>
#include <unicode/simpletz.h>
#include <unicode/smpdtfmt.h>
#include <unicode/timezone.h>
#include <QDate>
#include <QRegularExpression>
#include <memory>
#include <vector>

namespace PlaceDateFormat {

namespace {

icu::UnicodeString toIcu(const QString& text) {
    return icu::UnicodeString(reinterpret_cast<const UChar*>(text.utf16()),
                              static_cast<int32_t>(text.size()));
}

QString fromIcu(const icu::UnicodeString& text) {
    return QString(reinterpret_cast<const QChar*>(text.getBuffer()), text.length());
}

// The bundle's language as an ICU locale with the Gregorian calendar forced, so "fa" or "ar-SA" still
// name Gregorian months. An empty or unreadable identifier falls back to English.
icu::Locale gregorianLocale(const QString& lang) {
    UErrorCode status = U_ZERO_ERROR;
    icu::Locale locale = icu::Locale::forLanguageTag(lang.toStdString(), status);
    if (U_FAILURE(status) || locale.isBogus() || std::string(locale.getLanguage()).empty())
        locale = icu::Locale("en");
    status = U_ZERO_ERROR;
    locale.setKeywordValue("calendar", "gregorian", status);
    return locale;
}

struct CachedFormat {
    QString lang;
    std::optional<int> offsetSeconds;
    QString pattern;
    // For a formatter in the system zone: the zone it was made in, counted by the changes seen.
    std::uint64_t systemZone = 0;
    std::unique_ptr<icu::SimpleDateFormat> formatter;
};

// A handful of formatters is all the face uses at once; the oldest goes when a new one is needed.
icu::SimpleDateFormat* formatterFor(const QString& lang, std::optional<int> offsetSeconds,
                                    const QString& pattern) {
    static thread_local std::vector<CachedFormat> cache;
    const std::uint64_t systemZone = offsetSeconds ? 0 : SystemTimeZone::changeCount();
    for (auto& entry : cache)
        if (entry.lang == lang && entry.offsetSeconds == offsetSeconds && entry.pattern == pattern &&
            entry.systemZone == systemZone)
            return entry.formatter.get();
    UErrorCode status = U_ZERO_ERROR;
    auto formatter = std::make_unique<icu::SimpleDateFormat>(toIcu(pattern), gregorianLocale(lang), status);
    if (U_FAILURE(status)) return nullptr;
    if (offsetSeconds)
        formatter->adoptTimeZone(
            new icu::SimpleTimeZone(*offsetSeconds * 1000, icu::UnicodeString(u"place")));
    else
        formatter->adoptTimeZone(icu::TimeZone::createDefault());
    if (cache.size() >= 8) cache.erase(cache.begin());
    cache.push_back({lang, offsetSeconds, pattern, systemZone, std::move(formatter)});
    return cache.back().formatter.get();
}

}  // namespace

QString format(std::int64_t utcMs, const QString& lang, std::optional<int> offsetSeconds,
               const QString& pattern) {
    icu::SimpleDateFormat* formatter = formatterFor(lang, offsetSeconds, pattern);
    if (!formatter) return {};
    icu::UnicodeString out;
    formatter->format(static_cast<UDate>(utcMs), out);
    return fromIcu(out);
}

std::optional<QString> formatCalendarDate(const QString& isoDate, const QString& lang,
                                          const QString& pattern) {
    static const QRegularExpression shape(QStringLiteral("^\\d{4}-\\d{1,2}-\\d{1,2}$"));
    if (!shape.match(isoDate).hasMatch()) return std::nullopt;
    const QStringList parts = isoDate.split(QLatin1Char('-'));
    const QDate date(parts[0].toInt(), parts[1].toInt(), parts[2].toInt());
    if (!date.isValid()) return std::nullopt;
    // Noon UTC of that day, formatted in UTC: the day written is the day shown, whatever the zone.
    const std::int64_t ms =
        (date.toJulianDay() - QDate(1970, 1, 1).toJulianDay()) * 86'400'000LL + 43'200'000LL;
    return format(ms, lang, 0, pattern);
}

QStringList veryShortWeekdaySymbols(const QString& lang) {
    UErrorCode status = U_ZERO_ERROR;
    const icu::DateFormatSymbols symbols(gregorianLocale(lang), status);
    if (U_FAILURE(status)) return {};
    int32_t count = 0;
    // ICU's list is indexed by its weekday numbers: entry 0 is unused, 1 is Sunday ... 7 Saturday.
    const icu::UnicodeString* names =
        symbols.getWeekdays(count, icu::DateFormatSymbols::FORMAT, icu::DateFormatSymbols::NARROW);
    if (!names || count < 8) return {};
    QStringList out;
    for (int i = 1; i <= 7; ++i) {
        if (names[i].isEmpty()) return {};
        out << fromIcu(names[i]);
    }
    return out;
}

}  // namespace PlaceDateFormat
