#include <gtest/gtest.h>

#include "platform/SystemTimeZone.h"

#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>

// A folder standing in for /etc: the zone link replaced by a rename (as timedated and the system settings
// do) and the zone's name rewritten in place are each announced once; a look that finds nothing new is
// silent.
TEST(SystemTimeZone, AReplacedLinkAndARewrittenNameAreEachAnnouncedOnce) {
    QTemporaryDir etc;
    const QString link = etc.filePath(QStringLiteral("localtime"));
    const QString name = etc.filePath(QStringLiteral("timezone"));
    // Written over in place, in one write, with no truncation between.
    const auto writeName = [&](const char* text) {
        QFile file(name);
        ASSERT_TRUE(file.open(QIODevice::ReadWrite));
        file.write(text);
    };
    ASSERT_TRUE(QFile::link(QStringLiteral("/usr/share/zoneinfo/Etc/UTC"), link));
    writeName("Etc/UTC\n");
    SystemTimeZone zone(etc.path());
    QSignalSpy changed(&zone, &SystemTimeZone::changed);
    const std::uint64_t before = SystemTimeZone::changeCount();

    ASSERT_TRUE(
        QFile::link(QStringLiteral("/usr/share/zoneinfo/Europe/Istanbul"), link + QStringLiteral(".new")));
    ASSERT_EQ(::rename(QFile::encodeName(link + QStringLiteral(".new")), QFile::encodeName(link)), 0);
    ASSERT_TRUE(changed.wait(5000));
    writeName("Europe/Istanbul\n");
    ASSERT_TRUE(changed.wait(5000));
    zone.recheck();
    EXPECT_EQ(changed.count(), 2);
    EXPECT_EQ(SystemTimeZone::changeCount(), before + 2);
}
