#pragma once

#include <QByteArray>
#include <QString>
#include <array>
#include <optional>

// The one response cache: the last good answer of each network-backed computation, kept in the defaults
// store with the moment it was stored, and the freshness rule every caller shares. Also the two tables the
// settings window offers (weather providers, refresh intervals).
namespace NetworkDiscipline {

struct WeatherProvider {
    const char* id;
    const char* label;
    const char* models;  // forecast model of the request; nullptr: the service's automatic choice
};

inline constexpr std::array<WeatherProvider, 5> weatherProviders{{
    {"openmeteo", "Open-Meteo (auto best)", nullptr},
    {"openmeteo_best", "Open-Meteo best match", "best_match"},
    {"openmeteo_gfs", "Open-Meteo GFS", "gfs_seamless"},
    {"openmeteo_ecmwf", "Open-Meteo ECMWF", "ecmwf_ifs025"},
    {"openmeteo_icon", "Open-Meteo DWD ICON", "icon_seamless"},
}};

struct IntervalChoice {
    int hours;
    const char* label;
};

inline constexpr std::array<IntervalChoice, 8> intervalChoices{{
    {1, "Every 1 hour"},
    {2, "Every 2 hours"},
    {3, "Every 3 hours"},
    {4, "Every 4 hours"},
    {6, "Every 6 hours"},
    {8, "Every 8 hours"},
    {12, "Every 12 hours (≈2×/day)"},
    {24, "Once a day"},
}};

// The provider row of that identifier (exact, case-sensitive), or nothing.
const WeatherProvider* provider(const QString& id);

// Seconds an entry stays fresh for a refresh setting in hours: one hour when the setting is below 1.
double maxAgeSeconds(qint64 hours);

// Latitude and longitude each rounded to three decimals, halves away from zero, as "%.3f,%.3f".
QString coordinateKey(double lat, double lon);

// The shortest decimal text that reads back as the same double, always with a fractional part (40.0,
// -74.006) and in exponent form only for very small or very large magnitudes, as query values want it.
QString decimalText(double value);

}  // namespace NetworkDiscipline
