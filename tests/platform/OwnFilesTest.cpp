#include <gtest/gtest.h>

#include "SmallDisk.h"
#include "TempHome.h"
#include "platform/OwnFiles.h"

#include <sys/stat.h>
#include <unistd.h>
#include <QDir>
#include <QFileInfo>
#include <QSaveFile>
#include <QScopeGuard>
#include <QTemporaryDir>

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
    if (!SmallDisk::inOwnMountNamespace()) {
        if (SmallDisk::namespacePrefix().isEmpty()) GTEST_SKIP() << "needs a mount namespace (unshare -m)";
        EXPECT_TRUE(SmallDisk::runInOwnMountNamespace());
        return;
    }
    QTemporaryDir dir;
    ASSERT_TRUE(SmallDisk::mount(dir.path(), QStringLiteral("64k")));
    const auto unmount = qScopeGuard([&] { SmallDisk::unmount(dir.path()); });
    const QString path = dir.filePath(QStringLiteral("secrets.json"));
    QSaveFile old(path);
    ASSERT_TRUE(old.open(QIODevice::WriteOnly) && old.write("{\"old\":1}") == 9 && OwnFiles::commit(old));
    ASSERT_TRUE(SmallDisk::fill(dir.filePath(QStringLiteral("filler"))));
    QSaveFile replacement(path);
    ASSERT_TRUE(replacement.open(QIODevice::WriteOnly));
    EXPECT_EQ(replacement.write("{\"new\":2}"), 9);
    EXPECT_FALSE(OwnFiles::commit(replacement));
    QFile kept(path);
    ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
    EXPECT_EQ(kept.readAll(), QByteArray("{\"old\":1}"));
}
