#pragma once

#include "clock/PrayerSchedule.h"

#include <QObject>
#include <QTimer>
#include <array>
#include <cstdint>

struct ClockBundle;

// The second alarm beside the clock's own tick: a one-second timer with its own copy of today's prayer times
// that keeps running with every window closed. At a prayer's minute it brings the window forward when none
// is visible and posts "OrvanePlayPrayer"; the clock's once-per-day guard makes the two alarms one call.
class MacPrayerAlarmService : public QObject {
    Q_OBJECT
  public:
    static MacPrayerAlarmService& shared();
    explicit MacPrayerAlarmService(QObject* parent = nullptr);

    // Starts the timer; quitting the application stops it.
    void start();
    void stop();
    bool isRunning() const { return timer_.isActive(); }

    // Takes its own copy of the times from the bundle that was just loaded.
    void reschedule(const ClockBundle& bundle);
    bool hasTimes() const { return hasTimes_; }

    // One check at `nowMs`: fires each prayer whose minute has begun less than a minute ago, once per day
    // and prayer instant. Times of a day that is no longer the place's (a wake across days, a change of
    // clocks) stay silent until the clock hands over today's.
    void check(std::int64_t nowMs);

  signals:
    // Emitted for each firing, after "OrvanePlayPrayer" was posted.
    void fired(const QString& prayer);

  private:
    QTimer timer_;
    PrayerSchedule::Day day_;
    bool hasTimes_ = false;
    // The day and the instant each prayer last fired for: a new zone of the computer may count the
    // instant just fired on another day.
    std::array<std::int64_t, PrayerSchedule::kCount> firedDay_;
    std::array<std::int64_t, PrayerSchedule::kCount> firedAt_;
};
