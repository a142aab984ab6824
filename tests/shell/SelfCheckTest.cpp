#include <gtest/gtest.h>

#include "OrvaneProcess.h"
#include "TempHome.h"

#include <QDir>
#include <QProcess>

TEST(SelfCheck, TheBuiltProgramPassesWithoutTouchingUserData) {
    if (const QString why = offlineUnavailable(); !why.isEmpty()) GTEST_SKIP() << why.toStdString();
    TempHome home;
    QProcess check;
    startOffline(check, {QStringLiteral("--self-check")});
    ASSERT_TRUE(check.waitForFinished(60000));
    EXPECT_EQ(check.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(check.exitCode(), 0) << check.readAllStandardError().toStdString();
    EXPECT_EQ(check.readAllStandardOutput(), QByteArray("orvane self-check: ok\n"));
    for (const QString& folder : {home.configHome(), home.dataHome(), home.cacheHome()})
        EXPECT_TRUE(QDir(folder).isEmpty(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot))
            << folder.toStdString();
}
