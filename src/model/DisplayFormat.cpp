#include "model/DisplayFormat.h"

#include "model/IntegerText.h"

#include <unicode/numberformatter.h>
#include <unicode/smpdtfmt.h>
#include <unicode/timezone.h>

#include <cmath>
#include <memory>
#include <optional>

using namespace Qt::Literals::StringLiterals;

namespace DisplayFormat {

namespace {

constexpr double milesPerKilometre = 0.621371;

QString fromIcu(const icu::UnicodeString& text) {
    return QString::fromUtf16(reinterpret_cast<const char16_t*>(text.getBuffer()), text.length());
}

icu::Locale icuLocale(const QLocale& locale) {
    return icu::Locale(locale.name().toLatin1().constData());
}

// Rounds half away from zero, or nothing when the value is not finite or does not fit 64 bits (the
// conversion itself would be undefined then).
std::optional<qint64> roundedInteger(double value) {
    const double rounded = std::round(value);
    if (!std::isfinite(rounded) || rounded < -9.2e18 || rounded > 9.2e18) return std::nullopt;
    return static_cast<qint64>(rounded);
}

QString figure(std::optional<qint64> value) {
    return value ? QString::number(*value) : QString::fromUtf16(missingFigure);
}

// The face formats the same few values again and again in one locale: keep the last formatter per thread
// instead of loading locale data on every call.
const icu::number::LocalizedNumberFormatter& distanceFormatter(const QLocale& locale) {
    thread_local QString cachedName;
    thread_local std::optional<icu::number::LocalizedNumberFormatter> cached;
    if (!cached || cachedName != locale.name()) {
        cachedName = locale.name();
        // Half-even on the decimal value, as a plain number formatter of the platform rounds by default.
        cached = icu::number::NumberFormatter::withLocale(icuLocale(locale))
                     .precision(icu::number::Precision::minMaxFraction(0, 1))
                     .roundingMode(UNUM_ROUND_HALFEVEN)
                     .sign(UNUM_SIGN_NEGATIVE);  // a value that rounds to zero never shows as "-0"
    }
    return *cached;
}

icu::SimpleDateFormat* twelveHourFormatter(const QLocale& locale) {
    thread_local QString cachedName;
    thread_local std::unique_ptr<icu::SimpleDateFormat> cached;
    thread_local bool tried = false;
    if (!tried || cachedName != locale.name()) {
        tried = true;
        cachedName = locale.name();
        UErrorCode status = U_ZERO_ERROR;
        cached =
            std::make_unique<icu::SimpleDateFormat>(icu::UnicodeString(u"h:mm a"), icuLocale(locale), status);
        if (U_FAILURE(status)) {
            cached.reset();
        } else {
            // The hour and minute are placed on a UTC day, so they must come back in UTC.
            cached->setTimeZone(*icu::TimeZone::getGMT());
        }
    }
    return cached.get();
}

QString twoDigits(qint64 value) {
    // As "%02d": at least two characters, the sign counting as one.
    if (value >= 0 && value < 10) return u'0' + QString::number(value);
    return QString::number(value);
}

}  // namespace

QString distance(double km, bool metric, const QLocale& locale) {
    const double value = metric ? km : km * milesPerKilometre;
    const QString unit = metric ? u" km"_s : u" mi"_s;
    if (!std::isfinite(value)) return QString::fromUtf16(missingFigure) + unit;
    UErrorCode status = U_ZERO_ERROR;
    const icu::UnicodeString text = distanceFormatter(locale).formatDouble(value, status).toString(status);
    if (U_FAILURE(status)) return QString::fromUtf16(missingFigure) + unit;
    return fromIcu(text) + unit;
}

QString temperature(qint64 celsius, bool metric) {
    if (metric) return QString::number(celsius) + u"°C"_s;
    // Multiply, divide, add, in that order, as the figures were always computed.
    const double fahrenheit = static_cast<double>(celsius) * 9.0 / 5.0 + 32.0;
    return figure(roundedInteger(fahrenheit)) + u"°F"_s;
}

QString wind(qint64 kmh, bool metric) {
    if (metric) return QString::number(kmh) + u" km/h"_s;
    return figure(roundedInteger(static_cast<double>(kmh) * milesPerKilometre)) + u" mph"_s;
}

QString prayerTime(const QString& time, bool use24Hour, const QLocale& locale) {
    if (time == "--:--"_L1) return time;
    const QList<QStringView> pieces = QStringView(time).split(u':', Qt::SkipEmptyParts);
    if (pieces.size() != 2) return time;
    const std::optional<qint64> hour = IntegerText::parse(pieces[0]);
    const std::optional<qint64> minute = IntegerText::parse(pieces[1]);
    if (!hour || !minute) return time;
    if (use24Hour) return twoDigits(*hour) + u':' + twoDigits(*minute);

    // Beyond any calendar's reach there is no point in time to format.
    constexpr qint64 limit = 1'000'000'000;
    if (*hour < -limit || *hour > limit || *minute < -limit || *minute > limit) return time;
    icu::SimpleDateFormat* formatter = twelveHourFormatter(locale);
    if (!formatter) return time;
    const double millis = static_cast<double>(*hour * 60 + *minute) * 60'000.0;
    icu::UnicodeString text;
    formatter->format(millis, text);
    return fromIcu(text);
}

}  // namespace DisplayFormat
