#pragma once

#include "TempHome.h"
#include "engine/CivilDay.h"
#include "engine/LocalHijri.h"
#include "platform/DefaultsStore.h"

#include <gtest/gtest.h>

#include <QDateTime>
#include <ostream>

// Hijri tests run against a private defaults store, so the stored day offset is whatever the test puts.
class HijriTest : public ::testing::Test {
  protected:
    void SetUp() override { DefaultsStore::resetStandard(); }
    void TearDown() override { DefaultsStore::resetStandard(); }

    static void storeDayOffset(qint64 days) {
        DefaultsStore::standard().setInteger(QStringLiteral("hijri.authority.dayOffset"), days);
    }

    static QDateTime utc(int y, int m, int d, int hour = 0, int minute = 0) {
        return QDateTime::fromMSecsSinceEpoch(
            CivilDay::startOfDayMs(CivilDay::daysFromCivil(y, m, d), 0) + (hour * 60 + minute) * 60'000LL,
            Qt::UTC);
    }

    static LocalHijri::Location place(double tzOffsetHours) { return {21.4, 39.8, tzOffsetHours}; }

    TempHome home_;
};

namespace LocalHijri {
[[maybe_unused]] static void PrintTo(const YMD& d, std::ostream* os) {
    *os << d.year << "-" << d.month << "-" << d.day;
}
}  // namespace LocalHijri
