#include <gtest/gtest.h>

#include "DeviceZone.h"
#include "engine/PlaceZone.h"

#include <QDateTime>

namespace {

std::int64_t utc(const char* iso) {
    return QDateTime::fromString(QLatin1String(iso), Qt::ISODate).toMSecsSinceEpoch();
}

}  // namespace

TEST(PlaceZone, NextChangeOfANamedZone) {
    struct Row {
        const char* zone;
        const char* after;
        const char* next;  // nullptr: none
    };
    const Row rows[] = {
        {"Europe/London", "2026-03-01T00:00:00Z", "2026-03-29T01:00:00Z"},
        {"Europe/London", "2026-03-29T01:00:00Z", "2026-10-25T01:00:00Z"},  // strictly after
        {"America/New_York", "2026-10-01T00:00:00Z", "2026-11-01T06:00:00Z"},
        {"Australia/Sydney", "2026-01-15T00:00:00Z", "2026-04-04T16:00:00Z"},
        {"Asia/Riyadh", "2026-01-01T00:00:00Z", nullptr},  // no daylight saving for decades
        {"Etc/GMT-3", "2026-01-01T00:00:00Z", nullptr},    // a fixed offset
        {"UTC", "2026-01-01T00:00:00Z", nullptr},
        {"Mars/Olympus", "2026-01-01T00:00:00Z", nullptr},
        {"", "2026-01-01T00:00:00Z", nullptr},
    };
    for (const Row& r : rows) {
        const std::optional<std::int64_t> next =
            PlaceZone::nextTransitionMs(QLatin1String(r.zone), utc(r.after));
        if (r.next)
            EXPECT_EQ(next, utc(r.next)) << r.zone << " after " << r.after;
        else
            EXPECT_FALSE(next) << r.zone << " after " << r.after;
    }
}

TEST(PlaceZone, OffsetAtTheInstant) {
    EXPECT_EQ(PlaceZone::offsetHours(QStringLiteral("Europe/London"), utc("2026-03-29T00:59:59Z")), 0.0);
    EXPECT_EQ(PlaceZone::offsetHours(QStringLiteral("Europe/London"), utc("2026-03-29T01:00:00Z")), 1.0);
    EXPECT_EQ(PlaceZone::offsetHours(QStringLiteral("Asia/Kathmandu"), utc("2026-03-29T01:00:00Z")), 5.75);
    EXPECT_FALSE(PlaceZone::offsetHours(QStringLiteral("Mars/Olympus"), 0));
}

TEST(PlaceZone, ThisComputersZoneByName) {
    {
        DeviceZone zone("Europe/Lisbon");
        EXPECT_EQ(PlaceZone::deviceZoneId(), QStringLiteral("Europe/Lisbon"));
    }
    {
        DeviceZone zone("Asia/Kathmandu");
        EXPECT_EQ(PlaceZone::deviceZoneId(), QStringLiteral("Asia/Kathmandu"));
    }
    DeviceZone rule("XYZ-3");  // a bare rule names no zone
    EXPECT_EQ(PlaceZone::deviceZoneId(), QString());
}
