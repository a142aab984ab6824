#include <gtest/gtest.h>

#include "AtSpiTree.h"
#include "MakkahProfile.h"
#include "OrvaneProcess.h"
#include "TempHome.h"
#include "platform/DefaultsStore.h"
#include "ui/calendar/CalendarState.h"
#include "ui/calendar/CalendarTexts.h"

#include <QDateTime>
#include <QTest>

using namespace Qt::Literals::StringLiterals;

// The real program on an X server of its own, used the way a screen reader's user would: the face's
// "Calendar" button opens the month calendar, whose controls are all read by name, the "Hijri" switch
// shows today's Hijri month and "Done" closes the sheet again.

namespace {

const LocalHijri::Location kMakkah{21.4225, 39.8262, 3};

QString dump(const QList<AtSpiNode>& nodes) {
    QStringList lines;
    for (const AtSpiNode& n : nodes) lines << n.role + u": "_s + n.name;
    return lines.join(u'\n');
}

void seedMakkah() {
    DefaultsStore::resetStandard();
    seedMakkahProfile("TEST-PROCESS");
    DefaultsStore::standard().sync();
}

}  // namespace

TEST(CalendarRealRun, TheFacesCalendarButtonOpensTheMonthCalendarOfTheRealProgram) {
    AccessibleDesktop desktop;
    QString whyNot;
    if (!desktop.start(whyNot)) GTEST_SKIP() << whyNot.toStdString();
    if (const QString why = offlineUnavailable(); !why.isEmpty()) GTEST_SKIP() << why.toStdString();
    TempHome home;
    seedMakkah();
    // Today's day at the place, as the sheet will show it.
    CalendarState today = CalendarState::create(kMakkah, QDateTime::currentMSecsSinceEpoch());
    const CalendarTexts::Context english{u"en"_s, today.offsetSeconds(), {}};
    const QList<LocalHijri::MonthCell> days = today.cells();
    const auto todayIndex = today.selectedIndex(days);
    ASSERT_TRUE(todayIndex.has_value());
    const LocalHijri::MonthCell& day = days[*todayIndex];
    const QString todayName = CalendarTexts::longGregorian(day.gregorian.toMSecsSinceEpoch(), english) +
                              u", "_s + CalendarTexts::hijriDate(day, english);
    DefaultsStore::resetStandard();

    DesktopOrvane orvane(desktop.environment(), home.path());
    ASSERT_TRUE(orvane.waitForStarted(5000));

    AtSpiTree tree(desktop.busAddress());
    ASSERT_TRUE(QTest::qWaitFor([&] { return tree.applicationCount() > 0; }, 15000));
    // The face comes once the first bundle is built.
    ASSERT_TRUE(QTest::qWaitFor([&] { return tree.press(u"push button"_s, u"Calendar"_s); }, 30000))
        << dump(tree.readAll()).toStdString();

    QList<AtSpiNode> nodes;
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return hasNode(nodes = tree.readAll(), u"push button"_s, u"Next year"_s); }, 30000))
        << dump(nodes).toStdString() << "\nrunning: " << (orvane.state() == QProcess::Running);
    for (const char* name : {"Done", "Today", "Previous year", "Previous month", "Next month", "Next year"})
        EXPECT_TRUE(hasNode(nodes, u"push button"_s, QString::fromLatin1(name))) << name << "\n"
                                                                                 << dump(nodes).toStdString();
    for (const char* name : {"Gregorian", "Hijri"})
        EXPECT_TRUE(hasNode(nodes, u"radio button"_s, QString::fromLatin1(name))) << name;
    EXPECT_TRUE(hasNode(nodes, u"push button"_s, todayName)) << todayName.toStdString() << "\n"
                                                             << dump(nodes).toStdString();
    EXPECT_TRUE(hasNode(nodes, QString(), CalendarTexts::gregorianTitle(today.gy, today.gm, english)))
        << dump(nodes).toStdString();

    ASSERT_TRUE(tree.press(u"radio button"_s, u"Hijri"_s)) << dump(nodes).toStdString();
    const QString hijriTitle = CalendarTexts::hijriTitle(today.hy, today.hm, english);
    EXPECT_TRUE(QTest::qWaitFor([&] { return hasNode(tree.readAll(), QString(), hijriTitle); }, 5000))
        << hijriTitle.toStdString() << "\n"
        << dump(tree.readAll()).toStdString();

    ASSERT_TRUE(tree.press(u"push button"_s, u"Done"_s));
    EXPECT_TRUE(
        QTest::qWaitFor([&] { return !hasNode(tree.readAll(), u"push button"_s, u"Next year"_s); }, 5000));
    EXPECT_EQ(orvane.state(), QProcess::Running);
}
