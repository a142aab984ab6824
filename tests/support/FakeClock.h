#pragma once

#include "platform/Clock.h"

// Fixes the process clock for the life of the object and returns it to the system clock afterwards.
class FakeClock {
public:
    explicit FakeClock(const QDateTime& start) { Clock::setFixed(start); }
    explicit FakeClock(const char* isoUtc) { Clock::setFixed(QDateTime::fromString(QLatin1String(isoUtc), Qt::ISODate)); }
    ~FakeClock() { Clock::useSystem(); }
    FakeClock(const FakeClock&) = delete;
    FakeClock& operator=(const FakeClock&) = delete;

    void advanceSeconds(qint64 s) { Clock::advance(s * 1000); }
    void set(const QDateTime& instant) { Clock::setFixed(instant); }
    QDateTime now() const { return Clock::now(); }
};
