#include <gtest/gtest.h>

#include "FullDisk.h"
#include "TempHome.h"
#include "platform/OwnFiles.h"

#include <sys/stat.h>
#include <unistd.h>
#include <QDir>
#include <QFileInfo>
#include <QSaveFile>

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

// The disk is full: a short file is held whole in the buffer until the commit, whose flush the disk refuses.
TEST(OwnFiles, AFileTheFullDiskRefusesLeavesTheOldOneAsItWas) {
    const QString folder = FullDisk::mountedInChild(FullDisk::Kind::Tmpfs, 64 * 1024);
    if (folder.isEmpty()) return;
    const QString path = folder + QStringLiteral("/secrets.json");
    QSaveFile old(path);
    ASSERT_TRUE(old.open(QIODevice::WriteOnly) && old.write("{\"old\":1}") == 9 && OwnFiles::commit(old));
    FullDisk::fill(folder);
    QSaveFile replacement(path);
    ASSERT_TRUE(replacement.open(QIODevice::WriteOnly));
    EXPECT_EQ(replacement.write("{\"new\":2}"), 9);
    EXPECT_FALSE(OwnFiles::commit(replacement));
    QFile kept(path);
    ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
    EXPECT_EQ(kept.readAll(), QByteArray("{\"old\":1}"));
}
