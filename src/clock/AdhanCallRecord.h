#pragma once

#include <QList>
#include <cstdint>

class DefaultsStore;

// The calls to prayer that have sounded, by prayer and civil day of the place, kept in the defaults store:
// a clock started again within a prayer's minute (a session ended during the call, an autostart after a
// crash) does not sound it a second time. Holds the last week, as the notifications' record does.
class AdhanCallRecord {
  public:
    static constexpr const char* storeKey = "orvane.adhan.called";

    explicit AdhanCallRecord(DefaultsStore& store);

    // Whether the call of the prayer at `index` of PrayerSchedule::keys sounded on `day` (days since 1970).
    // Allocates nothing: the clock asks every second.
    bool holds(int index, std::int64_t day) const;
    void add(int index, std::int64_t day);

  private:
    struct Entry {
        std::int64_t day = 0;
        int index = 0;
    };

    DefaultsStore& store_;
    QList<Entry> entries_;  // oldest first
};
