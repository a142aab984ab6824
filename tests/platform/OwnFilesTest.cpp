#include <gtest/gtest.h>

#include "TempHome.h"
#include "platform/OwnFiles.h"

#include <sys/stat.h>
#include <unistd.h>
#include <QDir>
#include <QFileInfo>

TEST(OwnFiles, AFolderAnotherAccountHoldsIsNeitherUsedNorWrittenInto) {
    if (::geteuid() != 0) GTEST_SKIP() << "making a folder another account's needs root";
    TempHome home;
    // As a fixed name under the temporary folder, which any account can make first.
    const QString theirs = home.path() + QStringLiteral("/tmp/Orvane");
    ASSERT_TRUE(QDir().mkpath(theirs));
    ASSERT_EQ(::chmod(QFile::encodeName(theirs).constData(), 0777), 0);
    ASSERT_EQ(::chown(QFile::encodeName(theirs).constData(), 65534, 65534), 0);
    EXPECT_FALSE(OwnFiles::makeFolder(theirs));
    EXPECT_FALSE(OwnFiles::makeFolder(theirs + QStringLiteral("/Logos")));
    EXPECT_FALSE(QFileInfo::exists(theirs + QStringLiteral("/Logos")));
}
