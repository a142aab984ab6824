#include "engine/LocalMoon.h"

#include "engine/CivilDay.h"

#include <array>
#include <cmath>

namespace LocalMoon {

namespace {

constexpr double kReferenceNewMoon = 2451550.1;
constexpr double kSynodicMonth = 29.53058867;
constexpr double kJ2000 = 2451545.0;
constexpr double kJulianCentury = 36525.0;
constexpr double kMeanDistanceKm = 385000.56;

constexpr std::array<const char*, 8> kPhaseKeys = {"new_moon",       "waxing_crescent", "first_quarter",
                                                   "waxing_gibbous", "full_moon",       "waning_gibbous",
                                                   "last_quarter",   "waning_crescent"};

struct MonthMoon {
    const char* key;
    const char* english;
};
constexpr std::array<MonthMoon, 12> kMonthMoons = {{
    {"moon_wolf", "Wolf Moon"},
    {"moon_snow", "Snow Moon"},
    {"moon_worm", "Worm Moon"},
    {"moon_pink", "Pink Moon"},
    {"moon_flower", "Flower Moon"},
    {"moon_strawberry", "Strawberry Moon"},
    {"moon_buck", "Buck Moon"},
    {"moon_sturgeon", "Sturgeon Moon"},
    {"moon_harvest", "Harvest Moon"},
    {"moon_hunter", "Hunter's Moon"},
    {"moon_beaver", "Beaver Moon"},
    {"moon_cold", "Cold Moon"},
}};

struct EclipseRow {
    const char* date;
    const char* type;
    const char* region;
};

constexpr EclipseRow kLunarEclipses[] = {
    {"2026-03-03", "Total", "Asia, Australia, Americas"},
    {"2026-08-28", "Partial", "Americas, Europe, Africa"},
    {"2027-02-20", "Penumbral", "Americas, Europe, Africa"},
    {"2027-07-18", "Penumbral", "Asia, Australia"},
    {"2027-08-17", "Penumbral", "Americas, Pacific"},
    {"2028-01-12", "Partial", "Americas, Europe, Africa"},
    {"2028-07-06", "Partial", "Asia, Australia, Africa"},
    {"2028-12-31", "Total", "Europe, Africa, Asia"},
    {"2029-06-26", "Total", "Americas, Europe, Africa"},
    {"2029-12-20", "Total", "Americas, Europe, Africa"},
};

// Every solar eclipse up to the end of the table, partial ones included.
constexpr EclipseRow kSolarEclipses[] = {
    {"2026-02-17", "Annular", "Antarctica"},
    {"2026-08-12", "Total", "Greenland, Iceland, Spain"},
    {"2027-02-06", "Annular", "Chile, Argentina, Atlantic, Africa"},
    {"2027-08-02", "Total", "Morocco, Spain, Egypt, Saudi Arabia"},
    {"2028-01-26", "Annular", "Ecuador, Peru, Brazil"},
    {"2028-07-22", "Total", "Australia, New Zealand"},
    {"2029-01-14", "Partial", "North America"},
    {"2029-06-12", "Partial", "Arctic, Scandinavia, Alaska, Northern Asia"},
    {"2029-07-11", "Partial", "Southern Chile, Argentina"},
    {"2029-12-05", "Partial", "Southern Argentina, Chile, Antarctica"},
    {"2030-06-01", "Annular", "North Africa, Europe, Russia, Japan"},
    {"2030-11-25", "Total", "Southern Africa, Australia"},
};

// Fourteen distance terms of the lunar theory (Meeus, Astronomical Algorithms, ch. 47): coefficient in
// metres and the multipliers of D, M, M' and F.
struct DistanceTerm {
    double coefficient;
    int d, m, mPrime, f;
};
constexpr DistanceTerm kDistanceTerms[] = {
    {-20905355, 0, 0, 1, 0}, {-3699111, 2, 0, -1, 0}, {-2955968, 2, 0, 0, 0}, {-569925, 0, 0, 2, 0},
    {48888, 0, 1, 0, 0},     {-3149, 0, 0, 0, 2},     {246158, 2, 0, -2, 0},  {-152138, 2, -1, -1, 0},
    {-170733, 2, 0, 1, 0},   {-204586, 2, -1, 0, 0},  {-129620, 0, 1, -1, 0}, {108743, 1, 0, 0, 0},
    {104755, 0, 1, 1, 0},    {79661, 0, 0, 1, -2},
};

template <std::size_t N>
std::optional<Eclipse> next(const EclipseRow (&table)[N], const QDateTime& moment) {
    if (!moment.isValid()) return std::nullopt;
    const QString today = CivilDay::isoText(CivilDay::dayOf(moment.toMSecsSinceEpoch(), 0));
    for (const EclipseRow& row : table) {
        const QLatin1StringView date(row.date);
        if (date >= today)
            return Eclipse{date, QLatin1StringView(row.type), QString(QLatin1StringView(row.region))};
    }
    return std::nullopt;
}

// "waxing_gibbous" -> "Waxing Gibbous".
QString titled(const char* key) {
    QString text = QLatin1StringView(key);
    bool wordStart = true;
    for (QChar& c : text) {
        if (c == u'_') {
            c = u' ';
            wordStart = true;
        } else {
            if (wordStart) c = c.toUpper();
            wordStart = false;
        }
    }
    return text;
}

}  // namespace

double julianDay(const QDateTime& moment) {
    int year = 2000, month = 1, day = 1, hour = 0, minute = 0, second = 0;
    if (moment.isValid()) {
        const std::int64_t ms = moment.toMSecsSinceEpoch();
        const std::int64_t days = CivilDay::dayOf(ms, 0);
        const CivilDay::Date date = CivilDay::civilFromDays(days);
        const std::int64_t secondOfDay = (ms - days * CivilDay::kMsPerDay) / 1000;
        year = date.year;
        month = date.month;
        day = date.day;
        hour = int(secondOfDay / 3600);
        minute = int(secondOfDay / 60 % 60);
        second = int(secondOfDay % 60);
    }
    if (month < 3) {
        year -= 1;
        month += 12;
    }
    const double a = std::floor(year / 100.0);
    const double b = 2 - a + std::floor(a * 0.25);
    return std::floor(365.25 * (year + 4716)) + std::floor(30.6001 * (month + 1)) + day +
           (hour + minute / 60.0 + second / 3600.0) / 24.0 + b - 1524.5;
}

double distanceKm(double jd) {
    const double t = (jd - kJ2000) / kJulianCentury;
    const double radians = M_PI / 180.0;
    const double d = std::fmod(297.8501921 + 445267.1114034 * t, 360.0) * radians;
    const double m = std::fmod(357.5291092 + 35999.0502909 * t, 360.0) * radians;
    const double mPrime = std::fmod(134.9633964 + 477198.8675055 * t, 360.0) * radians;
    const double f = std::fmod(93.272095 + 483202.0175233 * t, 360.0) * radians;
    double r = 0;
    for (const DistanceTerm& term : kDistanceTerms)
        r += term.coefficient * std::cos(term.d * d + term.m * m + term.mPrime * mPrime + term.f * f);
    return r / 1000.0 + kMeanDistanceKm;
}

std::optional<Eclipse> nextLunarEclipse(const QDateTime& moment) {
    return next(kLunarEclipses, moment);
}
std::optional<Eclipse> nextSolarEclipse(const QDateTime& moment) {
    return next(kSolarEclipses, moment);
}

Moon info(const QDateTime& moment, const JsonCoding::StringMap& labels) {
    const double jd = julianDay(moment);
    double age = std::fmod(jd - kReferenceNewMoon, kSynodicMonth);
    if (age < 0) age += kSynodicMonth;
    const double p = age / kSynodicMonth;
    const char* phase = kPhaseKeys[std::size_t(p * 8 + 0.5) % 8];

    const auto label = [&labels](const char* key) -> std::optional<QString> {
        const auto it = labels.constFind(QLatin1StringView(key));
        if (it == labels.constEnd()) return std::nullopt;
        return *it;
    };

    // The month of the full moon's name is the device's own month, as the user reads the calendar.
    const int month = moment.isValid() ? moment.toLocalTime().date().month() : 1;
    const MonthMoon& monthMoon = kMonthMoons[std::size_t(std::clamp(month, 1, 12) - 1)];

    Moon moon;
    moon.phase = QLatin1StringView(phase);
    moon.phaseName = label(phase).value_or(titled(phase));
    moon.ageDays = std::round(age * 10) / 10;
    moon.cycleDays = 29;
    moon.illuminationPct = qint64(std::round((1 - std::cos(2 * M_PI * p)) / 2 * 100));
    moon.waxing = p < 0.5;
    moon.distanceKm = qint64(std::llround(distanceKm(jd)));
    moon.name = label(monthMoon.key).value_or(QString(QLatin1StringView(monthMoon.english)));
    moon.nameKey = QString(QLatin1StringView(monthMoon.key));
    moon.nextEclipse = nextLunarEclipse(moment);
    moon.nextSolarEclipse = nextSolarEclipse(moment);
    return moon;
}

}  // namespace LocalMoon
