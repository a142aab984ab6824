#pragma once

#include <QMap>
#include <QString>
#include <QStringView>
#include <array>
#include <optional>

// The on-device prayer-time calculator: seven calculation methods, the Asr shadow factor and the
// high-latitude rules, each time computed in one pass of solar-angle formulas with its own sun position.
namespace LocalPrayerTimes {

struct MethodAngles {
    QString name;
    double fajr = 0;
    double isha = 0;
    std::optional<double> ishaMinutes;
    std::optional<double> maghribAngle;
};

// The seven methods by key ("MWL", "ISNA", "Egypt", "Makkah", "Karachi", "Tehran", "Jafari").
const QMap<QString, MethodAngles>& methods();

// The six output keys in the order every consumer lists them.
inline constexpr std::array<const char*, 6> kTimeKeys = {"fajr", "sunrise", "dhuhr",
                                                         "asr",  "maghrib", "isha"};

// Local clock hours in [0, 24) of one day, NaN where a time does not exist. Indexable in kTimeKeys order so
// callers can walk the keys without building a dictionary.
struct DayTimes {
    double fajr, sunrise, dhuhr, asr, maghrib, isha;

    double at(std::size_t index) const;
    // NaN for a key that is not one of the six.
    double value(QStringView key) const;
};

// The nearest minute of an hour value wrapped into the day, as "HH:MM"; "--:--" when the value is NaN or
// infinite. Exactly five ASCII characters into `out`, no terminator: formatting many days allocates nothing.
void writeClockText(double hours, char* out);

class Calculator {
  public:
    // An unknown method key computes with "MWL"; asr and highLat are kept as given.
    Calculator(const QString& method, int asr, const QString& highLat);

    const QString& methodKey() const { return methodKey_; }
    int asr() const { return asr_; }
    const QString& highLat() const { return highLat_; }
    const MethodAngles& angles() const { return m_; }

    // Gregorian year, month, day at a place (degrees, north and east positive), the place's UTC offset in
    // hours and its elevation in metres. Pure arithmetic: no allocation, safe from any thread.
    DayTimes times(int year, int month, int day, double lat, double lon, double tzOffsetHours,
                   double elevation = 0) const;

  private:
    enum class Rule { None, Seventh, Middle, Angle };

    QString methodKey_;
    int asr_;
    QString highLat_;
    MethodAngles m_;
    Rule rule_;
    // Sines of the method's fixed depressions, the same every day.
    double sinFajr_, sinIsha_, sinMaghrib_;
};

}  // namespace LocalPrayerTimes
