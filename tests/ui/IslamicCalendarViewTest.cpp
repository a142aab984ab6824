#include <gtest/gtest.h>

#include "PrivateHome.h"
#include "QuickHarness.h"
#include "SampleBundle.h"
#include "ui/calendar/IslamicCalendarController.h"
#include "ui/common/Theme.h"

#include <QAccessible>
#include <QDateTime>
#include <QTest>

using namespace Qt::Literals::StringLiterals;

namespace {

// The evening of 13 August 2026 in UTC: 14 August, 1 Rabi al-Awwal 1448, in Makkah (+3).
const double kOpenedAt = double(QDateTime(QDate(2026, 8, 13), QTime(22, 0), Qt::UTC).toMSecsSinceEpoch());

class CalendarView : public ::testing::Test {
  protected:
    QQuickItem* open(const ClockBundle& bundle, QSize size = QSize(720, 680)) {
        QQuickItem* root = harness.load(R"(
            import QtQuick
            import Orvane.Common
            import Orvane.Calendar
            Rectangle {
                color: Theme.bg
                property var sample
                property real openedAt: 0
                property int dismissals: 0
                Loader {
                    anchors.fill: parent
                    active: parent.openedAt > 0
                    sourceComponent: IslamicCalendarView {
                        objectName: "calendar"
                        bundle: sample
                        now: openedAt
                        onDismissed: dismissals += 1
                    }
                }
            })",
                                        size);
        if (!root) return nullptr;
        root->setProperty("sample", QVariant::fromValue(bundle));
        root->setProperty("openedAt", kOpenedAt);
        harness.settle(150);
        view = findItem(root, u"calendar"_s);
        if (view) controller = view->property("calendar").value<IslamicCalendarController*>();
        return root;
    }

    QString text(const char* name) const {
        return findItem(view, QString::fromLatin1(name))->property("text").toString();
    }
    QString focused() const {
        QQuickItem* item = harness.window().activeFocusItem();
        while (item && item->objectName().isEmpty()) item = item->parentItem();
        return item ? item->objectName() : QString();
    }
    void press(Qt::Key key) {
        QTest::keyClick(&harness.window(), key);
        harness.settle(30);
    }
    static QString accessibleName(QQuickItem* item) {
        QAccessibleInterface* face = QAccessible::queryAccessibleInterface(item);
        return face ? face->text(QAccessible::Name) : QString();
    }

    PrivateHome home;
    mutable QuickHarness harness;
    QQuickItem* view = nullptr;
    IslamicCalendarController* controller = nullptr;
};

}  // namespace

TEST_F(CalendarView, OpensOnTodaysGregorianMonthAndSwitchesToTheHijriMonthAroundIt) {
    ASSERT_NE(open(sampleBundle()), nullptr);
    ASSERT_NE(controller, nullptr);
    EXPECT_EQ(text("title"), u"August 2026"_s);
    EXPECT_EQ(text("subtitle"), u"18 Safar \u2013 18 Rabi I 1448 AH"_s);
    EXPECT_EQ(text("detailHijri"), u"1 Rabi al-Awwal 1448 AH"_s);
    EXPECT_EQ(text("detailGregorian"), u"Friday, 14 August 2026"_s);
    EXPECT_TRUE(findItem(view, u"detailCard"_s)->isVisible());
    EXPECT_EQ(controller->rowCount(), 6);  // August 2026 starts on Saturday
    const QImage gregorian = harness.grab(u"calendar-gregorian"_s);
    EXPECT_GT(countPixelsNear(gregorian, Theme::gold(), 10), 800);  // today's solid tile and the title

    // The arrows move the selection from the grid, which has the keyboard when the sheet opens.
    press(Qt::Key_Right);
    EXPECT_EQ(text("detailGregorian"), u"Saturday, 15 August 2026"_s);
    press(Qt::Key_Down);
    EXPECT_EQ(text("detailGregorian"), u"Saturday, 22 August 2026"_s);
    EXPECT_TRUE(accessibleName(harness.window().activeFocusItem()).startsWith(u"Saturday, 22 August 2026"_s));

    QQuickItem* hijriSegment = findItem(view, u"hijriSegment"_s);
    ASSERT_NE(hijriSegment, nullptr);
    QTest::mouseClick(
        &harness.window(), Qt::LeftButton, {},
        hijriSegment->mapToScene(QPointF(hijriSegment->width() / 2, hijriSegment->height() / 2)).toPoint());
    harness.settle(50);
    EXPECT_TRUE(controller->useHijriGrid());
    EXPECT_EQ(text("title"), u"Rabi al-Awwal 1448 AH"_s);
    EXPECT_EQ(text("subtitle"), u"Aug 2026 \u2013 Sep 2026"_s);
    EXPECT_EQ(text("detailHijri"), u"9 Rabi al-Awwal 1448 AH"_s);  // the selection stays on 22 August
    const QImage hijri = harness.grab(u"calendar-hijri"_s);
    // Today stays solid gold, the selected day is outlined in gold over its translucent fill.
    EXPECT_GT(countPixelsNear(hijri, Theme::gold(), 10), 800);

    QMetaObject::invokeMethod(findItem(view, u"todayButton"_s), "clicked");
    EXPECT_EQ(text("detailHijri"), u"1 Rabi al-Awwal 1448 AH"_s);
    EXPECT_TRUE(controller->useHijriGrid());

    // The clock's zone moves back a day while the sheet is open: "Today" is the clock's day when pressed.
    ClockBundle moved = sampleBundle();
    moved.location.tzOffsetHours = -7;
    view->parentItem()->parentItem()->setProperty("sample", QVariant::fromValue(moved));
    QMetaObject::invokeMethod(findItem(view, u"todayButton"_s), "clicked");
    EXPECT_EQ(text("detailGregorian"), u"Thursday, 13 August 2026"_s);
    EXPECT_TRUE(controller->useHijriGrid());
}

TEST_F(CalendarView, EveryControlHasANameAndIsReachedFromTheKeyboard) {
    ASSERT_NE(open(sampleBundle()), nullptr);
    EXPECT_EQ(accessibleName(findItem(view, u"previousYear"_s)), u"Previous year"_s);
    EXPECT_EQ(accessibleName(findItem(view, u"nextMonth"_s)), u"Next month"_s);
    EXPECT_EQ(accessibleName(findItem(view, u"todayButton"_s)), u"Today"_s);
    EXPECT_EQ(accessibleName(findItem(view, u"doneButton"_s)), u"Done"_s);
    EXPECT_EQ(accessibleName(findItem(view, u"gregorianSegment"_s)), u"Gregorian"_s);
    EXPECT_EQ(accessibleName(findItem(view, u"hijriSegment"_s)), u"Hijri"_s);
    QQuickItem* day = harness.window().activeFocusItem();
    ASSERT_NE(day, nullptr);
    EXPECT_EQ(accessibleName(day), u"Friday, 14 August 2026, 1 Rabi al-Awwal 1448 AH"_s);

    // Tab walks through every control once and comes back to the selected day; the mode switch is one
    // stop, its chosen segment.
    QStringList seen;
    for (int i = 0; i < 9; ++i) {
        press(Qt::Key_Tab);
        seen << focused();
    }
    for (const char* name : {"doneButton", "todayButton", "previousYear", "previousMonth", "nextMonth",
                             "nextYear", "gregorianSegment"})
        EXPECT_TRUE(seen.contains(QString::fromLatin1(name))) << name << " " << seen.join(u' ').toStdString();
    EXPECT_FALSE(seen.contains(u"hijriSegment"_s)) << seen.join(u' ').toStdString();

    // A screen reader's press action steps like a click.
    QAccessibleInterface* nextYear = QAccessible::queryAccessibleInterface(findItem(view, u"nextYear"_s));
    ASSERT_NE(nextYear, nullptr);
    ASSERT_NE(nextYear->actionInterface(), nullptr);
    nextYear->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    harness.settle(50);
    EXPECT_EQ(text("title"), u"August 2027"_s);

    // Space on a focused arrow steps and selects the new month's first day.
    findItem(view, u"nextYear"_s)->forceActiveFocus(Qt::TabFocusReason);
    press(Qt::Key_Space);
    EXPECT_EQ(text("title"), u"August 2028"_s);
    EXPECT_EQ(text("detailGregorian"), u"Tuesday, 1 August 2028"_s);
    findItem(view, u"previousMonth"_s)->forceActiveFocus(Qt::TabFocusReason);
    press(Qt::Key_Space);
    EXPECT_EQ(text("title"), u"July 2028"_s);
    // The right arrow on the mode switch picks the Hijri grid.
    findItem(view, u"gregorianSegment"_s)->forceActiveFocus(Qt::TabFocusReason);
    press(Qt::Key_Right);
    EXPECT_TRUE(controller->useHijriGrid());
    EXPECT_TRUE(findItem(view, u"hijriSegment"_s)->property("checked").toBool());
    EXPECT_EQ(focused(), u"hijriSegment"_s);
    press(Qt::Key_Left);
    EXPECT_FALSE(findItem(view, u"hijriSegment"_s)->property("checked").toBool());
    EXPECT_TRUE(findItem(view, u"gregorianSegment"_s)->property("checked").toBool());
    press(Qt::Key_Space);  // on the segment already on, nothing changes
    EXPECT_FALSE(controller->useHijriGrid());
    findItem(view, u"doneButton"_s)->forceActiveFocus(Qt::TabFocusReason);
    press(Qt::Key_Space);
    EXPECT_EQ(view->parentItem()->parentItem()->property("dismissals").toInt(), 1);
    press(Qt::Key_Escape);
    EXPECT_EQ(view->parentItem()->parentItem()->property("dismissals").toInt(), 2);
}

TEST_F(CalendarView, ArabicNamesGregorianMonthsInArabicWithHijriNumbersInAscii) {
    ClockBundle bundle = sampleBundle();
    bundle.lang = u"ar"_s;
    bundle.rtl = true;
    bundle.labels.insert(u"hmonth_3"_s, u"ربيع الأول"_s);
    bundle.labels.insert(u"calendar_today"_s, u"اليوم"_s);
    ASSERT_NE(open(bundle), nullptr);
    EXPECT_TRUE(text("title").contains(u"أغسطس"_s)) << text("title").toStdString();
    EXPECT_EQ(text("detailHijri"), u"1 ربيع الأول 1448 AH"_s);
    EXPECT_EQ(accessibleName(findItem(view, u"todayButton"_s)), u"اليوم"_s);
    harness.grab(u"calendar-arabic"_s);
    controller->setUseHijriGrid(true);
    harness.settle(50);
    EXPECT_EQ(text("title"), u"ربيع الأول 1448 AH"_s);
    const QVariantMap first = controller->daySlots().value(controller->leadingBlanks()).toMap();
    EXPECT_EQ(first.value(u"day"_s).toString(), u"1"_s);
    EXPECT_EQ(first.value(u"caption"_s).toString(), u"١٤ أغسطس"_s);
}

TEST_F(CalendarView, APhoneWidthSheetKeepsSevenColumnsInsideTheWindow) {
    ASSERT_NE(open(sampleBundle(), QSize(402, 760)), nullptr);
    QQuickItem* grid = findItem(view, u"monthGrid"_s);
    ASSERT_NE(grid, nullptr);
    const QRectF box = grid->mapRectToScene(QRectF(0, 0, grid->width(), grid->height()));
    EXPECT_GE(box.left(), 16);
    EXPECT_LE(box.right(), 402 - 16);
    EXPECT_EQ(controller->daySlots().size(), 42);
    harness.grab(u"calendar-narrow"_s);
}
