#include <gtest/gtest.h>

#include "ClockTestSupport.h"
#include "clock/AppEvents.h"
#include "clock/MacPrayerAlarmService.h"

#include <QWindow>

using clocktest::bundleFor;
using clocktest::fivePrayers;

namespace {

std::int64_t utc(const char* iso) {
    return QDateTime::fromString(QLatin1String(iso), Qt::ISODate).toMSecsSinceEpoch();
}

struct Posted {
    QList<QString> prayers;
    int reopened = 0;
    QMetaObject::Connection a, b;
    Posted() {
        a = QObject::connect(&AppEvents::shared(), &AppEvents::playPrayer,
                             [this](const QString& p, bool force) {
                                 EXPECT_FALSE(force);
                                 prayers << p;
                             });
        b = QObject::connect(&AppEvents::shared(), &AppEvents::reopenWindow, [this] { ++reopened; });
    }
    ~Posted() {
        QObject::disconnect(a);
        QObject::disconnect(b);
    }
};

}  // namespace

TEST(MacPrayerAlarmService, FiresOncePerPrayerWithinItsMinuteOnThePlacesClock) {
    MacPrayerAlarmService service;
    // 12:20 at UTC-4 is 16:20 UTC.
    service.reschedule(bundleFor(1, 1, -4.0, utc("2026-07-01T12:00:00Z"),
                                 fivePrayers("04:10", "12:20", "16:00", "20:30", "22:00")));
    Posted posted;
    service.check(utc("2026-07-01T16:19:59Z"));
    EXPECT_TRUE(posted.prayers.isEmpty());
    for (int s = 0; s < 120; ++s) service.check(utc("2026-07-01T16:20:00Z") + s * 1000);
    EXPECT_EQ(posted.prayers, QList<QString>{QStringLiteral("dhuhr")});
    EXPECT_EQ(posted.reopened, 1) << "no window is visible, so it comes forward";
}

TEST(MacPrayerAlarmService, ASleptThroughPrayerIsNotReplayedButTheNextFires) {
    MacPrayerAlarmService service;
    service.reschedule(bundleFor(1, 1, 0.0, utc("2026-07-01T12:00:00Z"),
                                 fivePrayers("04:10", "12:20", "16:00", "20:30", "22:00")));
    Posted posted;
    service.check(utc("2026-07-01T12:19:30Z"));
    service.check(utc("2026-07-01T12:21:00Z"));  // woke 60 s after dhuhr began
    EXPECT_TRUE(posted.prayers.isEmpty());
    service.check(utc("2026-07-01T16:00:30Z"));
    EXPECT_EQ(posted.prayers, QList<QString>{QStringLiteral("asr")});
    // The next day rings from that day's own times, never from the day before's: they stay silent until the
    // clock hands over today's, and so do times whose zone has changed its clocks since.
    service.check(utc("2026-07-02T16:00:05Z"));
    EXPECT_EQ(posted.prayers.size(), 1);
    ClockBundle next = bundleFor(51.5, -0.13, 1.0, utc("2026-07-02T12:00:00Z"),
                                 fivePrayers("04:10", "12:20", "16:01", "20:30", "22:00"));
    next.location.timeZone = QStringLiteral("Europe/London");
    next.generatedAt = QStringLiteral("2026-07-02T12:00:00Z");
    service.reschedule(next);
    service.check(utc("2026-07-02T15:00:05Z"));
    service.check(utc("2026-07-02T15:01:05Z"));
    EXPECT_EQ(posted.prayers, (QList<QString>{QStringLiteral("asr"), QStringLiteral("asr")}));
    next.generatedAt = QStringLiteral("2026-10-24T12:00:00Z");  // the clocks go back at 01:00Z on the 25th
    next.date.gregorian = QStringLiteral("2026-10-25");
    service.reschedule(next);
    service.check(utc("2026-10-25T03:10:05Z"));  // 04:10 at the old offset
    EXPECT_EQ(posted.prayers.size(), 2);
}

TEST(MacPrayerAlarmService, OnlyAHiddenOrMinimizedWindowIsBroughtForwardAndQuittingStopsTheTimer) {
    MacPrayerAlarmService service;
    service.reschedule(bundleFor(1, 1, 0.0, utc("2026-07-01T12:00:00Z"),
                                 fivePrayers("04:10", "12:20", "16:00", "20:30", "22:00")));
    QWindow window;
    window.show();
    Posted posted;
    service.check(utc("2026-07-01T20:30:10Z"));
    EXPECT_EQ(posted.prayers, QList<QString>{QStringLiteral("maghrib")});
    EXPECT_EQ(posted.reopened, 0);
    window.showMinimized();
    service.check(utc("2026-07-01T22:00:10Z"));
    EXPECT_EQ(posted.reopened, 1);
    window.hide();

    service.start();
    EXPECT_TRUE(service.isRunning());
    QMetaObject::invokeMethod(QCoreApplication::instance(), "aboutToQuit", Qt::DirectConnection);
    EXPECT_FALSE(service.isRunning());
}

TEST(MacPrayerAlarmService, NothingBeforeTimesAreKnownAndUnusableTimesAreSkipped) {
    MacPrayerAlarmService service;
    Posted posted;
    service.check(utc("2026-07-01T12:20:00Z"));
    service.reschedule(bundleFor(1, 1, 0.0, utc("2026-07-01T12:00:00Z"),
                                 fivePrayers("--:--", "99:99", "16:00", "", "22:00")));
    for (const char* at : {"2026-07-01T00:00:00Z", "2026-07-01T16:00:00Z", "2026-07-01T22:00:59Z"})
        service.check(utc(at));
    EXPECT_EQ(posted.prayers, (QList<QString>{QStringLiteral("asr"), QStringLiteral("isha")}));
}
