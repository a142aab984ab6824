#include <gtest/gtest.h>

#include "DeviceZone.h"
#include "platform/SystemTimeZone.h"

#include <unicode/timezone.h>
#include <QElapsedTimer>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

namespace {

// A folder standing in for /etc, changed as timedated and the system settings change it: a new link renamed
// into place, the zone's name written over in place, in one write, with no truncation between.
struct EtcFolder {
    QTemporaryDir dir;
    QString link = dir.filePath(QStringLiteral("localtime"));

    void writeName(const char* text) const {
        QFile file(dir.filePath(QStringLiteral("timezone")));
        ASSERT_TRUE(file.open(QIODevice::ReadWrite));
        file.write(text);
    }
    void relink(const char* zone) const {
        ASSERT_TRUE(QFile::link(QStringLiteral("/usr/share/zoneinfo/") + QLatin1String(zone),
                                link + QStringLiteral(".new")));
        ASSERT_EQ(::rename(QFile::encodeName(link + QStringLiteral(".new")), QFile::encodeName(link)), 0);
    }
};

}  // namespace

// Each change of the zone in use is announced once, and the zone is the one the C library reads from the
// folder: a name rewritten beside the link changes nothing, a missing link is UTC whatever the name says,
// and a link back in place is followed, also after the name was rewritten in place meanwhile.
TEST(SystemTimeZone, EachChangeOfTheZoneInUseIsAnnouncedOnceAndItIsTheOneTheLinkNames) {
    const std::unique_ptr<icu::TimeZone> icuBefore(icu::TimeZone::createDefault());
    EtcFolder etc;
    etc.relink("Etc/UTC");
    etc.writeName("Etc/UTC\n");
    SystemTimeZone zone(etc.dir.path());
    QSignalSpy changed(&zone, &SystemTimeZone::changed);
    const std::uint64_t before = SystemTimeZone::changeCount();

    etc.relink("Europe/Istanbul");
    ASSERT_TRUE(changed.wait(5000));
    etc.writeName("Europe/Istanbul\n");
    EXPECT_FALSE(changed.wait(1000)) << "the zone in use did not change";
    ASSERT_TRUE(QFile::remove(etc.link));
    ASSERT_TRUE(changed.wait(5000));
    etc.writeName("Asia/Tokyo\n");
    zone.recheck();
    EXPECT_EQ(zone.zoneId(), QStringLiteral("UTC")) << "without the link the C library uses UTC";
    etc.relink("Europe/Berlin");
    etc.writeName("Europe/Berlin\n");
    ASSERT_TRUE(changed.wait(5000));
    zone.recheck();
    EXPECT_EQ(zone.zoneId(), QStringLiteral("Europe/Berlin"));
    icu::UnicodeString icuZone;
    EXPECT_EQ(std::unique_ptr<icu::TimeZone>(icu::TimeZone::createDefault())->getID(icuZone),
              icu::UnicodeString(u"Europe/Berlin"));
    EXPECT_EQ(changed.count(), 3);
    EXPECT_EQ(SystemTimeZone::changeCount(), before + 3);
    icu::TimeZone::setDefault(*icuBefore);
}

// A change of zone is seen while /etc keeps changing (a package upgrade), not when it quiets down; with TZ
// set, TZ is the zone in use and nothing in /etc is announced.
TEST(SystemTimeZone, AChangeIsSeenDuringChurnAndTZWinsOverTheFolder) {
    EtcFolder etc;
    etc.relink("Etc/UTC");
    SystemTimeZone zone(etc.dir.path());
    QSignalSpy changed(&zone, &SystemTimeZone::changed);
    const auto churn = [&](int ms) {
        const QString file = etc.dir.filePath(QStringLiteral("churn"));
        QElapsedTimer busy;
        busy.start();
        while (busy.elapsed() < ms) {
            ASSERT_TRUE(QFile(file + QStringLiteral(".new")).open(QIODevice::WriteOnly));
            ASSERT_EQ(::rename(QFile::encodeName(file + QStringLiteral(".new")), QFile::encodeName(file)), 0);
            QTest::qWait(40);
        }
    };
    etc.relink("Asia/Tokyo");
    churn(3000);
    EXPECT_EQ(changed.count(), 1) << "noticed before the churn ended";

    const DeviceZone tz("America/Denver");
    zone.recheck();
    EXPECT_EQ(zone.zoneId(), QStringLiteral("America/Denver"));
    etc.relink("Europe/Paris");
    churn(1000);
    zone.recheck();
    EXPECT_EQ(changed.count(), 2);
}
