#include <gtest/gtest.h>

#include "NotificationMock.h"
#include "shell/CloseNotice.h"

#include <QSignalSpy>
#include <QTest>

TEST(CloseNotice, PostsOnceAndItsActionsOpenOrQuit) {
    CloseNotice notice;
    QSignalSpy opened(&notice, &CloseNotice::openRequested);
    QSignalSpy quit(&notice, &CloseNotice::quitRequested);
    notice.windowClosed();
    ASSERT_TRUE(QTest::qWaitFor([&] { return notice.notificationId() != 0; }, 5000));
    const quint32 id = notice.notificationId();
    notice.windowClosed();
    QTest::qWait(200);
    EXPECT_EQ(notice.notificationId(), id);

    // Another program's notification is not ours to answer.
    notificationmock::emitSignal(QStringLiteral("ActionInvoked"), QStringLiteral("us"),
                                 {id + 1000, QStringLiteral("quit")});
    notificationmock::emitSignal(QStringLiteral("ActionInvoked"), QStringLiteral("us"),
                                 {id, QStringLiteral("default")});
    ASSERT_TRUE(QTest::qWaitFor([&] { return opened.size() == 1; }, 3000));
    notificationmock::emitSignal(QStringLiteral("ActionInvoked"), QStringLiteral("us"),
                                 {id, QStringLiteral("quit")});
    ASSERT_TRUE(QTest::qWaitFor([&] { return quit.size() == 1; }, 3000));
    EXPECT_EQ(opened.size(), 1);
}
