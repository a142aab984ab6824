#include <gtest/gtest.h>

#include "WholeApp.h"
#include "engine/CivilDay.h"
#include "services/AppSettings.h"
#include "shell/OrvaneApp.h"
#include "ui/calendar/IslamicCalendarController.h"
#include "ui/shell/LearnAdhanController.h"
#include "ui/shell/LearnAdhanVideo.h"
#include "ui/shell/RootController.h"
#include "ui/shell/ShellTexts.h"

#include <QQuickItem>
#include <QQuickWindow>
#include <QSignalSpy>
#include <QTest>

using namespace Qt::Literals::StringLiterals;

namespace {

// The whole application on a fixed place, with the browser caught.
struct RootSheetsFixture : WholeApp {
    QList<QUrl> opened;

    void SetUp() override {
        WholeApp::SetUp();
        LearnAdhanController::setDefaultOpener([this](const QUrl& url) {
            opened.append(url);
            return true;
        });
        seedMakkah();
    }
    void TearDown() override {
        LearnAdhanController::setDefaultOpener(nullptr);
        WholeApp::TearDown();
    }
};

// Items made by a Repeater have only a visual parent, so they are searched in the item tree.
QQuickItem* findVisual(QQuickItem* item, const QString& name) {
    if (!item || item->objectName() == name) return item;
    for (QQuickItem* child : item->childItems())
        if (QQuickItem* found = findVisual(child, name)) return found;
    return nullptr;
}

}  // namespace

TEST_F(RootSheetsFixture, TheFacesLearnCapsuleOpensTheSheetWhichOpensTheLinkAndCloses) {
    OrvaneApp app(false);
    ASSERT_TRUE(app.start());
    ASSERT_TRUE(QTest::qWaitFor([&] { return app.root()->hasBundle(); }, 10000));
    app.root()->settingsObject()->setShowBlessingsSplash(false);
    app.root()->settingsObject()->setLearnAdhanVideoURL(u"https://videos.example.org/learn"_s);

    QObject* face = app.window()->findChild<QObject*>(u"faceController"_s);
    ASSERT_NE(face, nullptr);
    EXPECT_EQ(app.window()->findChild<QQuickItem*>(u"learnAdhanView"_s), nullptr);
    face->setProperty("showLearnAdhan", true);

    QQuickItem* sheet = nullptr;
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return (sheet = app.window()->findChild<QQuickItem*>(u"learnAdhanView"_s)) != nullptr; },
        3000));
    EXPECT_TRUE(sheet->isVisible());
    EXPECT_GE(sheet->width(), 720);
    EXPECT_GE(sheet->height(), 480);
    ASSERT_EQ(opened.size(), 1);
    EXPECT_EQ(opened.constFirst(), QUrl(u"https://videos.example.org/learn"_s));
    QTest::qWait(300);
    grab(app.window(), "learn-adhan-sheet.png");

    QMetaObject::invokeMethod(sheet, "dismissed");
    EXPECT_FALSE(face->property("showLearnAdhan").toBool());
    app.quit();
}

TEST_F(RootSheetsFixture, TheCallOverlayCarriesTheCreditAndTheUpdateQuestionShows) {
    OrvaneApp app(false);
    ASSERT_TRUE(app.start());
    ASSERT_TRUE(QTest::qWaitFor([&] { return app.root()->hasBundle(); }, 10000));

    QQuickItem* credit = app.window()->findChild<QQuickItem*>(u"creditNote"_s);
    ASSERT_NE(credit, nullptr);
    EXPECT_EQ(credit->property("style").toString(), u"credit"_s);
    EXPECT_EQ(credit->property("text").toString(), ShellTexts::blessingsCredit());

    // The question is read from its file only when there is one to ask.
    const auto shown = [&] {
        QQuickItem* card = app.window()->findChild<QQuickItem*>(u"updateCard"_s);
        return card && card->isVisible();
    };
    EXPECT_EQ(app.window()->findChild<QQuickItem*>(u"updateCard"_s), nullptr);
    UpdatePrompt* prompt = app.root()->updatePrompt();
    prompt->offer(u"9.9.0"_s, u"Quieter alarms"_s);
    ASSERT_TRUE(QTest::qWaitFor(shown, 2000));
    QTest::qWait(200);
    grab(app.window(), "update-question.png");

    QSignalSpy declines(prompt, &UpdatePrompt::declined);
    QMetaObject::invokeMethod(app.window()->findChild<QObject*>(u"notNow"_s), "clicked");
    EXPECT_EQ(declines.count(), 1);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !shown(); }, 2000));

    // Where the installation is updated another way, the card says how and has one button.
    prompt->offerManual(u"9.9.0"_s, u"Quieter alarms"_s, u"Update it with your system's software updates."_s);
    ASSERT_TRUE(QTest::qWaitFor(shown, 2000));
    auto* dismiss = app.window()->findChild<QQuickItem*>(u"dismiss"_s);
    ASSERT_NE(dismiss, nullptr);
    EXPECT_TRUE(dismiss->isVisible());
    EXPECT_FALSE(app.window()->findChild<QQuickItem*>(u"installAndRestart"_s)->isVisible());
    EXPECT_EQ(app.window()->findChild<QQuickItem*>(u"updateMessage"_s)->property("text").toString(),
              prompt->message());
    QTest::qWait(200);
    grab(app.window(), "update-manual.png");
    QMetaObject::invokeMethod(dismiss, "clicked");
    EXPECT_EQ(declines.count(), 2);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !shown(); }, 2000));
    app.quit();
}

TEST_F(RootSheetsFixture, TheFacesCalendarCapsuleOpensTheMonthCalendarAtThePlacesToday) {
    OrvaneApp app(false);
    ASSERT_TRUE(app.start());
    ASSERT_TRUE(QTest::qWaitFor([&] { return app.root()->hasBundle(); }, 10000));
    QQuickWindow* window = app.window();
    window->resize(1280, 860);  // the offscreen screen is smaller than the face's own size
    QObject* face = window->findChild<QObject*>(u"faceController"_s);
    ASSERT_NE(face, nullptr);
    QQuickItem* capsule = nullptr;
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return (capsule = findVisual(window->contentItem(), u"capsule_calendar"_s)) != nullptr; },
        3000));
    QTest::qWait(200);

    const auto openByClick = [&] {
        QTest::mouseClick(
            window, Qt::LeftButton, {},
            capsule->mapToScene(QPointF(capsule->width() / 2, capsule->height() / 2)).toPoint());
        QQuickItem* sheet = nullptr;
        const bool shown = QTest::qWaitFor(
            [&] { return (sheet = window->findChild<QQuickItem*>(u"islamicCalendarView"_s)) != nullptr; },
            3000);
        return shown ? sheet : nullptr;
    };
    QQuickItem* sheet = openByClick();
    ASSERT_NE(sheet, nullptr);
    EXPECT_TRUE(face->property("showCalendar").toBool());
    EXPECT_GE(sheet->width(), 720);
    EXPECT_GE(sheet->height(), 640);
    auto* calendar = sheet->property("calendar").value<IslamicCalendarController*>();
    ASSERT_NE(calendar, nullptr);
    // Today in Makkah (+3), whatever the machine's zone.
    const std::int64_t now = std::int64_t(face->property("now").toDouble());
    const std::int64_t today = CivilDay::dayOf(now, 3 * 3600);
    EXPECT_EQ(calendar->state().selectedDate, CivilDay::startOfDayMs(today, 3 * 3600));
    EXPECT_EQ(calendar->state().gm, CivilDay::civilFromDays(today).month);
    EXPECT_TRUE(calendar->hasDetail());
    EXPECT_FALSE(calendar->useHijriGrid());
    calendar->setUseHijriGrid(true);
    QTest::qWait(300);
    grab(window, "calendar-sheet.png");

    QMetaObject::invokeMethod(sheet, "dismissed");
    EXPECT_FALSE(face->property("showCalendar").toBool());
    // Reopening forgets the mode.
    QTest::qWait(100);
    sheet = openByClick();
    ASSERT_NE(sheet, nullptr);
    calendar = sheet->property("calendar").value<IslamicCalendarController*>();
    ASSERT_NE(calendar, nullptr);
    EXPECT_FALSE(calendar->useHijriGrid());
    app.quit();
}
