#include <gtest/gtest.h>

#include "shell/QuietMoment.h"

#include <QDateTime>

namespace {

ClockBundle placeAt(double tzOffsetHours, const QString& fajr, const QString& isha) {
    ClockBundle bundle;
    bundle.location.tzOffsetHours = tzOffsetHours;
    bundle.prayers = {{QStringLiteral("fajr"), fajr},
                      {QStringLiteral("sunrise"), QStringLiteral("06:00")},
                      {QStringLiteral("dhuhr"), QStringLiteral("12:00")},
                      {QStringLiteral("asr"), QStringLiteral("--:--")},
                      {QStringLiteral("maghrib"), QStringLiteral("18:00")},
                      {QStringLiteral("isha"), isha}};
    return bundle;
}

std::int64_t at(const char* isoUtc) {
    return QDateTime::fromString(QLatin1String(isoUtc), Qt::ISODate).toMSecsSinceEpoch();
}

}  // namespace

TEST(QuietMoment, NoRestartNearAPrayerTimeOrWhileACallSounds) {
    const std::optional<ClockBundle> makkah = placeAt(3, QStringLiteral("05:00"), QStringLiteral("19:30"));
    // Summer nights far north: isha just before midnight at one place, fajr just after at another.
    const std::optional<ClockBundle> lateIsha = placeAt(0, QStringLiteral("03:00"), QStringLiteral("23:59"));
    const std::optional<ClockBundle> earlyFajr = placeAt(0, QStringLiteral("00:01"), QStringLiteral("21:00"));
    struct Case {
        const char* name;
        std::optional<ClockBundle> bundle;
        const char* now;
        bool sounding;
        bool quiet;
    } cases[] = {
        {"dhuhr minus 3 min", makkah, "2026-03-10T08:57:00Z", false, true},
        {"dhuhr minus 2 min", makkah, "2026-03-10T08:58:00Z", false, false},
        {"at dhuhr", makkah, "2026-03-10T09:00:00Z", false, false},
        {"dhuhr plus 2 min", makkah, "2026-03-10T09:02:00Z", false, false},
        {"dhuhr plus 2 min 1 s", makkah, "2026-03-10T09:02:01Z", false, true},
        {"between prayers, a call sounding", makkah, "2026-03-10T10:30:00Z", true, false},
        {"sunrise is no prayer", makkah, "2026-03-10T03:00:00Z", false, true},
        {"an unknown time is no prayer", makkah, "2026-03-10T12:30:00Z", false, true},
        {"isha of the day before, after midnight", lateIsha, "2026-03-11T00:01:00Z", false, false},
        {"later that night", lateIsha, "2026-03-11T00:01:01Z", false, true},
        {"fajr of the next day, before midnight", earlyFajr, "2026-03-10T23:59:30Z", false, false},
        {"earlier that night", earlyFajr, "2026-03-10T23:58:59Z", false, true},
        {"no place known", std::nullopt, "2026-03-10T09:00:00Z", false, true},
        {"no place known, a call sounding", std::nullopt, "2026-03-10T09:00:00Z", true, false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(QuietMoment::isQuiet(c.bundle, at(c.now), c.sounding), c.quiet) << c.name;
}
