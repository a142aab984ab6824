#include <gtest/gtest.h>

#include <QFile>
#include <QSignalSpy>
#include <QTest>

#include "QuickHarness.h"

namespace {

bool mapped(const char* library) {
    QFile maps(QStringLiteral("/proc/self/maps"));
    return maps.open(QIODevice::ReadOnly) && maps.readAll().contains(library);
}

TEST(FocusButton, PressesFromTheKeyboardAndTheMouseWithoutQuickControls) {
    QuickHarness harness;
    QQuickItem* root = harness.load(R"(
        import QtQuick
        import Orvane.Common
        FocusButton { objectName: "button"; text: "Play"; width: 80; height: 30 }
    )",
                                    QSize(80, 30));
    ASSERT_NE(root, nullptr);
    // The face's buttons must not bring the controls' libraries into every clock.
    EXPECT_FALSE(mapped("libQt6QuickTemplates2"));
    QSignalSpy clicked(root, SIGNAL(clicked()));
    QTest::mouseClick(&harness.window(), Qt::LeftButton, {}, QPoint(40, 15));
    EXPECT_EQ(clicked.count(), 1);
    EXPECT_TRUE(root->hasActiveFocus());
    EXPECT_FALSE(root->property("visualFocus").toBool());  // a click gives focus without the ring
    QTest::keyPress(&harness.window(), Qt::Key_Space);
    EXPECT_TRUE(root->property("down").toBool());
    EXPECT_EQ(clicked.count(), 1);
    QTest::keyRelease(&harness.window(), Qt::Key_Space);
    QTest::keyClick(&harness.window(), Qt::Key_Return);
    EXPECT_EQ(clicked.count(), 3);
}

}  // namespace
