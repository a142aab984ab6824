#pragma once

#include <QList>
#include <cstdint>
#include <optional>

class DefaultsStore;

// The calls to prayer that have sounded, by prayer, civil day of the place and the prayer's instant, kept in
// the defaults store: a clock started again within a prayer's minute (a session ended during the call, an
// autostart after a crash) does not sound it a second time, nor does a new zone of the computer that puts
// the place on another day. Holds the last week, as the notifications' record does.
class AdhanCallRecord {
  public:
    static constexpr const char* storeKey = "orvane.adhan.called";

    explicit AdhanCallRecord(DefaultsStore& store);

    // Whether the call of the prayer at `index` of PrayerSchedule::keys sounded on `day` (days since 1970),
    // or for its instant `atMs` counted on another day. Allocates nothing: the clock asks every second.
    bool holds(int index, std::int64_t day, std::int64_t atMs) const;
    void add(int index, std::int64_t day, std::int64_t atMs);

  private:
    struct Entry {
        std::int64_t day = 0;
        int index = 0;
        std::optional<std::int64_t> atMs;  // entries written before the instant was kept have none
    };

    DefaultsStore& store_;
    QList<Entry> entries_;  // oldest first
};
