#include "engine/LocalPrayerTimes.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>

namespace LocalPrayerTimes {

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kDegrees = 180.0 / M_PI;
constexpr double kRadians = M_PI / 180.0;

double dsin(double d) {
    return std::sin(d * kRadians);
}
double dcos(double d) {
    return std::cos(d * kRadians);
}
double dtan(double d) {
    return std::tan(d * kRadians);
}

// Qt's string hashing leaves the upper halves of the AVX registers in use (Qt 6.4 on AVX-512 processors), and
// while they are, every SSE instruction of the arithmetic below waits on them: a day then takes about nine
// times as long. Clearing them costs one instruction and changes no value.
#if defined(__x86_64__)
__attribute__((target("avx"))) void clearUpperVectorHalves() {
    __builtin_ia32_vzeroupper();
}

void leaveWideVectorState() {
    static const bool avx = __builtin_cpu_supports("avx");
    if (avx) clearUpperVectorHalves();
}
#else
void leaveWideVectorState() {}
#endif

// Into [0, 24); a tiny negative value would round to exactly 24 and is taken as midnight.
double wrapDay(double x) {
    const double w = x - 24.0 * std::floor(x / 24.0);
    return w >= 24.0 ? 0.0 : w;
}

// Julian day at 0 h UT of a Gregorian date.
double julian(int year, int month, int day) {
    if (month < 3) {
        year -= 1;
        month += 12;
    }
    const double a = std::floor(year / 100.0);
    const double b = 2 - a + std::floor(a / 4.0);
    return std::floor(365.25 * (year + 4716)) + std::floor(30.6001 * (month + 1)) + day + b - 1524.5;
}

// The sun's place on the ecliptic at a Julian day, the part both the transit and the declination need.
struct Ecliptic {
    double q;     // mean longitude, degrees
    double sinL;  // of the apparent longitude
    double cosL;
    double sinE;  // of the obliquity
    double cosE;
};

Ecliptic ecliptic(double jd) {
    const double d = jd - 2451545.0;
    const double g = std::fmod(357.529 + 0.98560028 * d, 360.0);
    const double q = std::fmod(280.459 + 0.98564736 * d, 360.0);
    const double l = std::fmod(q + 1.915 * dsin(g) + 0.020 * dsin(2 * g), 360.0);
    const double e = 23.439 - 0.00000036 * d;
    return {q, dsin(l), dcos(l), dsin(e), dcos(e)};
}

// Clock hours of the transit at longitude 0 (before the place's own shift).
double transit(const Ecliptic& sun) {
    const double ra = wrapDay(std::atan2(sun.cosE * sun.sinL, sun.cosL) * kDegrees / 15.0);
    return wrapDay(12.0 - (sun.q / 15.0 - ra));
}

double declination(const Ecliptic& sun) {
    return std::asin(std::clamp(sun.sinE * sun.sinL, -1.0, 1.0)) * kDegrees;
}

// The sun at one moment of the day as the hour angles need it, with the latitude's sine and cosine folded
// in once for every altitude asked of it.
struct Moment {
    double noon;
    double decl;     // degrees
    double sinProd;  // sin(latitude) sin(declination)
    double cosProd;  // cos(latitude) cos(declination)
};

Moment at(double jDate, double dayFraction, double sinLat, double cosLat) {
    const Ecliptic sun = ecliptic(jDate + dayFraction);
    const double decl = declination(sun);
    return {transit(sun), decl, sinLat * dsin(decl), cosLat * dcos(decl)};
}

// Hours from transit at which the sun's altitude has the sine `sinAltitude` (negative below the horizon), NaN
// when the sun never reaches it that day.
double hourAngle(double sinAltitude, const Moment& m) {
    const double cosH = (sinAltitude - m.sinProd) / m.cosProd;
    if (!(std::fabs(cosH) <= 1.0)) return kNaN;
    return std::acos(cosH) * kDegrees / 15.0;
}

}  // namespace

const QMap<QString, MethodAngles>& methods() {
    static const QMap<QString, MethodAngles> table = {
        {QStringLiteral("MWL"), {QStringLiteral("Muslim World League"), 18, 17, {}, {}}},
        {QStringLiteral("ISNA"), {QStringLiteral("Islamic Society of N. America"), 15, 15, {}, {}}},
        {QStringLiteral("Egypt"), {QStringLiteral("Egyptian General Authority"), 19.5, 17.5, {}, {}}},
        {QStringLiteral("Makkah"), {QStringLiteral("Umm al-Qura, Makkah"), 18.5, 0, 90.0, {}}},
        {QStringLiteral("Karachi"), {QStringLiteral("Univ. of Islamic Sciences, Karachi"), 18, 18, {}, {}}},
        {QStringLiteral("Tehran"), {QStringLiteral("Inst. of Geophysics, Tehran"), 17.7, 14, {}, 4.5}},
        {QStringLiteral("Jafari"), {QStringLiteral("Shia Ithna-Ashari"), 16, 14, {}, 4.0}},
    };
    return table;
}

double DayTimes::at(std::size_t index) const {
    switch (index) {
        case 0:
            return fajr;
        case 1:
            return sunrise;
        case 2:
            return dhuhr;
        case 3:
            return asr;
        case 4:
            return maghrib;
        case 5:
            return isha;
        default:
            return kNaN;
    }
}

double DayTimes::value(QStringView key) const {
    for (std::size_t i = 0; i < kTimeKeys.size(); ++i) {
        if (key == QLatin1StringView(kTimeKeys[i])) return at(i);
    }
    return kNaN;
}

void writeClockText(double hours, char* out) {
    if (!std::isfinite(hours)) {
        std::memcpy(out, "--:--", 5);
        return;
    }
    double w = hours + 1.0 / 120.0;
    w -= 24.0 * std::floor(w / 24.0);
    if (w >= 24.0) w = 0.0;
    const int h = int(w);
    const int m = int((w - h) * 60.0);
    out[0] = char('0' + h / 10);
    out[1] = char('0' + h % 10);
    out[2] = ':';
    out[3] = char('0' + m / 10);
    out[4] = char('0' + m % 10);
}

Calculator::Calculator(const QString& method, int asr, const QString& highLat)
    : methodKey_(methods().contains(method) ? method : QStringLiteral("MWL")),
      asr_(asr),
      highLat_(highLat),
      m_(methods().value(methodKey_)) {
    if (highLat == QLatin1StringView("none")) {
        rule_ = Rule::None;
    } else if (highLat == QLatin1StringView("seventh")) {
        rule_ = Rule::Seventh;
    } else if (highLat == QLatin1StringView("middle")) {
        rule_ = Rule::Middle;
    } else {
        rule_ = Rule::Angle;
    }
    sinFajr_ = dsin(-m_.fajr);
    sinIsha_ = dsin(-m_.isha);
    sinMaghrib_ = dsin(-m_.maghribAngle.value_or(0));
}

DayTimes Calculator::times(int year, int month, int day, double lat, double lon, double tzOffsetHours,
                           double elevation) const {
    leaveWideVectorState();
    const double jDate = julian(year, month, day) - lon / 360.0;
    const double riseSet = 0.833 + 0.0347 * std::sqrt(elevation > 0 ? elevation : 0.0);
    const double sinRiseSet = dsin(-riseSet);
    const double sinLat = dsin(lat);
    const double cosLat = dcos(lat);

    const Moment f = at(jDate, 5.0 / 24.0, sinLat, cosLat);
    double fajr = f.noon - hourAngle(sinFajr_, f);

    const Moment r = at(jDate, 6.0 / 24.0, sinLat, cosLat);
    const double sunrise = r.noon - hourAngle(sinRiseSet, r);

    const double dhuhr = transit(ecliptic(jDate + 12.0 / 24.0)) + 1.0 / 60.0;

    const Moment a = at(jDate, 13.0 / 24.0, sinLat, cosLat);
    const double shadowAltitude = std::atan2(1.0, double(asr_) + dtan(std::fabs(lat - a.decl))) * kDegrees;
    const double asr = a.noon + hourAngle(dsin(shadowAltitude), a);

    const Moment s = at(jDate, 18.0 / 24.0, sinLat, cosLat);
    const double sunset = s.noon + hourAngle(sinRiseSet, s);
    const double maghrib = m_.maghribAngle ? s.noon + hourAngle(sinMaghrib_, s) : sunset;

    double isha = m_.ishaMinutes ? maghrib + *m_.ishaMinutes / 60.0 : s.noon + hourAngle(sinIsha_, s);

    if (rule_ != Rule::None) {
        // NaN when sunrise or sunset does not exist; then every comparison below is false and a missing
        // fajr or isha stays missing.
        const double night = sunrise - sunset + 24.0;
        const auto portion = [&](double angle) {
            switch (rule_) {
                case Rule::Seventh:
                    return night / 7.0;
                case Rule::Middle:
                    return night / 2.0;
                default:
                    return night * angle / 60.0;
            }
        };
        const double fajrPortion = portion(m_.fajr);
        if (std::isnan(fajr) || sunrise - fajr > fajrPortion) fajr = sunrise - fajrPortion;
        if (!m_.ishaMinutes) {
            const double ishaPortion = portion(m_.isha);
            if (std::isnan(isha) || isha - sunset > ishaPortion) isha = sunset + ishaPortion;
        }
    }

    const double shift = tzOffsetHours - lon / 15.0;
    const auto local = [shift](double v) { return std::isnan(v) ? kNaN : wrapDay(v + shift); };
    return {local(fajr), local(sunrise), local(dhuhr), local(asr), local(maghrib), local(isha)};
}

}  // namespace LocalPrayerTimes
