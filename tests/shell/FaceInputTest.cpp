#include "AlertsShown.h"
#include "WholeApp.h"
#include "clock/AdhanPlayer.h"
#include "shell/OrvaneApp.h"
#include "ui/shell/RootController.h"

#include <QAccessible>
#include <QQuickItem>
#include <QSignalSpy>
#include <QTest>
#include <functional>

namespace {

QQuickItem* itemNamed(QQuickItem* root, const QString& name) {
    if (!root) return nullptr;
    if (root->objectName() == name) return root;
    for (QQuickItem* child : root->childItems())
        if (QQuickItem* found = itemNamed(child, name)) return found;
    return nullptr;
}

bool isInside(const QQuickItem* item, const QQuickItem* ancestor) {
    for (; item; item = item->parentItem())
        if (item == ancestor) return true;
    return false;
}

// The name of the dialog a screen reader finds around the item; empty when it is in none.
QString dialogAround(QQuickItem* item) {
    for (; item; item = item->parentItem()) {
        QAccessibleInterface* a = QAccessible::queryAccessibleInterface(item);
        if (a && a->role() == QAccessible::Dialog) return a->text(QAccessible::Name);
    }
    return {};
}

// The whole application at Makkah with a forecast, the window shown and the face loaded.
struct FaceInput : WholeApp {
    std::unique_ptr<OrvaneApp> app;
    QObject* face = nullptr;

    void start(bool phone = false) {
        seedMakkah();
        server.routeFixture(QStringLiteral("/v1/forecast"), QStringLiteral("openmeteo_forecast_makkah.json"));
        app = std::make_unique<OrvaneApp>(phone);
        ASSERT_TRUE(app->start());
        ASSERT_TRUE(QTest::qWaitFor([&] { return app->root()->hasBundle(); }, 10000));
        face = app->window()->findChild<QObject*>(QStringLiteral("faceController"));
        ASSERT_NE(face, nullptr);
        QTest::qWait(300);
    }
    void TearDown() override {
        AdhanPlayer::shared().stop();
        if (app) app->quit();
        app.reset();
        WholeApp::TearDown();
    }
    QQuickItem* item(const char* name) const {
        return itemNamed(app->window()->contentItem(), QString::fromLatin1(name));
    }
    void clickOn(QQuickItem* target) {
        const QPointF centre = target->mapToScene(QPointF(target->width() / 2, target->height() / 2));
        QTest::mouseClick(app->window(), Qt::LeftButton, {}, centre.toPoint());
        QTest::qWait(50);
    }
    void key(Qt::Key k) {
        QTest::keyClick(app->window(), k);
        QTest::qWait(20);
    }
    QQuickItem* focused() const { return app->window()->activeFocusItem(); }
    // Tabs until the focused item has `name`; false after a whole round without it.
    bool tabTo(const char* name) {
        for (int i = 0; i < 60; ++i) {
            if (focused() && focused()->objectName() == QLatin1String(name)) return true;
            key(Qt::Key_Tab);
        }
        return false;
    }
    bool flag(const char* name) const { return face->property(name).toBool(); }
};

}  // namespace

TEST_F(FaceInput, CallOverlayTakesEveryClickAndKey) {
    start();
    QSignalSpy plays(face, SIGNAL(playAdhanRequested(QString)));
    AdhanPlayer::shared().play({false,
                                QStringLiteral("Adhan"),
                                QStringLiteral("Allahu Akbar"),
                                QStringLiteral("Asr"),
                                QStringLiteral("Asr"),
                                {QStringLiteral("4 Fard")},
                                QStringLiteral("4")},
                               QStringLiteral("adhan"), 0, true);
    QQuickItem* overlay = item("adhanOverlay");
    ASSERT_NE(overlay, nullptr);
    ASSERT_TRUE(QTest::qWaitFor([&] { return overlay->isVisible() && overlay->opacity() == 1; }, 3000));
    // Screen readers announce the call as it appears; the face it covers is shown to them no more.
    const QString prayerLine = item("adhanPrayerLine")->property("text").toString();
    EXPECT_TRUE(prayerLine.startsWith(QLatin1String("Time for "))) << prayerLine.toStdString();
    const QStringList alerts = alertsShown(app->window()->contentItem());
    EXPECT_TRUE(alerts.contains(prayerLine)) << alerts.join(u'|').toStdString();
    EXPECT_TRUE(QAccessible::queryAccessibleInterface(item("capsule_play"))->state().invisible);

    // Clicks where the face's buttons lie, hidden under the overlay, change nothing beneath it.
    for (const char* name : {"capsule_calendar", "capsule_play", "capsule_sky", "settingsButton"}) {
        QQuickItem* target = item(name);
        ASSERT_NE(target, nullptr) << name;
        clickOn(target);
    }
    EXPECT_FALSE(flag("showCalendar"));
    EXPECT_FALSE(flag("showPlanetarium"));
    EXPECT_FALSE(app->root()->showSettings());
    EXPECT_EQ(plays.count(), 0);
    EXPECT_TRUE(AdhanPlayer::shared().ringing());

    // The keyboard stays on the overlay too: Stop holds the focus, Tab finds nothing of the face.
    QQuickItem* stop = item("adhanStop");
    ASSERT_NE(stop, nullptr);
    EXPECT_EQ(focused(), stop);
    for (int i = 0; i < 8; ++i) {
        key(Qt::Key_Tab);
        EXPECT_TRUE(isInside(focused(), overlay));
    }
    grab(app->window(), "call-overlay-holds-input.png");
    key(Qt::Key_Return);
    EXPECT_FALSE(AdhanPlayer::shared().ringing());
    EXPECT_EQ(plays.count(), 0);
    // Once it has gone, the keyboard is not left on its hidden Stop.
    ASSERT_TRUE(QTest::qWaitFor([&] { return !overlay->isVisible(); }, 3000));
    QTest::qWait(50);
    EXPECT_FALSE(isInside(focused(), overlay));
}

// A call that starts while a sheet is open is over it: Stop has the keyboard and answers a click and a
// screen reader's press at once, and the keyboard goes back into the sheet after.
TEST_F(FaceInput, ACallOverAnOpenSheetIsStoppedFromIt) {
    start();
    ASSERT_TRUE(tabTo("settingsButton"));
    key(Qt::Key_Space);
    ASSERT_TRUE(app->root()->showSettings());
    QTest::qWait(300);
    QQuickItem* inSheet = focused();
    ASSERT_TRUE(isInside(inSheet, item("settingsSheet")));
    QQuickItem* overlay = item("adhanOverlay");
    for (const bool byScreenReader : {false, true}) {
        AdhanPlayer::shared().play({true,
                                    QStringLiteral("Adhan"),
                                    QStringLiteral("Allahu Akbar"),
                                    QStringLiteral("Fajr"),
                                    QStringLiteral("Fajr"),
                                    {},
                                    {}},
                                   QStringLiteral("adhan"), 0, true);
        ASSERT_TRUE(QTest::qWaitFor([&] { return overlay->opacity() == 1; }, 3000));
        QQuickItem* stop = item("adhanStop");
        EXPECT_EQ(focused(), stop);
        EXPECT_TRUE(alertsShown(app->window()->contentItem())
                        .contains(item("adhanPrayerLine")->property("text").toString()));
        QAccessibleInterface* control = QAccessible::queryAccessibleInterface(stop);
        EXPECT_FALSE(control->state().disabled);
        key(Qt::Key_Tab);
        EXPECT_EQ(focused(), stop);
        if (byScreenReader)
            control->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
        else
            clickOn(stop);
        EXPECT_FALSE(AdhanPlayer::shared().ringing());
        ASSERT_TRUE(QTest::qWaitFor([&] { return !overlay->isVisible(); }, 3000));
        QTest::qWait(50);
        EXPECT_EQ(focused(), inSheet);
    }
    EXPECT_TRUE(app->root()->showSettings());
}

TEST_F(FaceInput, TabReachesEveryActionAndReturnOrSpacePressesIt) {
    start();
    QStringList reached;
    for (int i = 0; i < 40; ++i) {
        key(Qt::Key_Tab);
        if (!focused()) continue;
        // What a screen reader announces for the focused control.
        QAccessibleInterface* control = QAccessible::queryAccessibleInterface(focused());
        ASSERT_NE(control, nullptr);
        EXPECT_EQ(control->role(), QAccessible::Button);
        reached << control->text(QAccessible::Name);
    }
    const QVariantMap labels = face->property("labels").toMap();
    for (const QString& expected :
         {QStringLiteral("Settings"), labels.value(QStringLiteral("play_adhan")).toString(),
          face->property("learnButtonTitle").toString(),
          labels.value(QStringLiteral("read_quran")).toString(),
          labels.value(QStringLiteral("calendar")).toString(),
          labels.value(QStringLiteral("sky_map")).toString()})
        EXPECT_TRUE(reached.contains(expected))
            << expected.toStdString() << " not in " << reached.join(u'|').toStdString();

    ASSERT_TRUE(tabTo("capsule_calendar"));
    key(Qt::Key_Return);
    EXPECT_TRUE(flag("showCalendar"));
    // An open sheet is a dialog named by its title; the face behind it is out of a screen reader's reach.
    EXPECT_EQ(dialogAround(focused()), labels.value(QStringLiteral("calendar")).toString());
    EXPECT_TRUE(QAccessible::queryAccessibleInterface(item("capsule_play"))->state().disabled);
    key(Qt::Key_Escape);
    EXPECT_FALSE(flag("showCalendar"));
    // Closed, it gives the focus back to the control that opened it.
    EXPECT_EQ(focused(), item("capsule_calendar"));

    ASSERT_TRUE(tabTo("capsule_learn"));
    key(Qt::Key_Space);
    EXPECT_TRUE(flag("showLearnAdhan"));
    QTest::qWait(100);
    EXPECT_EQ(focused(), item("learnDone"));
    // The sheet holds the keyboard: its Done is reached and closes it.
    ASSERT_TRUE(tabTo("learnDone"));
    grab(app->window(), "learn-sheet-keyboard.png");
    key(Qt::Key_Enter);
    EXPECT_FALSE(flag("showLearnAdhan"));
    EXPECT_EQ(focused(), item("capsule_learn"));

    ASSERT_TRUE(tabTo("settingsButton"));
    grab(app->window(), "face-keyboard-focus.png");
    key(Qt::Key_Space);
    EXPECT_TRUE(app->root()->showSettings());
    key(Qt::Key_Escape);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !app->root()->showSettings(); }, 3000));
    QTest::qWait(50);
    EXPECT_EQ(focused(), item("settingsButton"));
}

// The reader, closed by key or by mouse, gives the focus back to "Read Qur'an" as the sheets give it to their
// openers; its ring shows only when the keyboard was in use.
TEST_F(FaceInput, TheReaderGivesTheFocusBackAndTheRingShowsOnlyAfterKeys) {
    start();
    QQuickItem* opener = item("capsule_quran");
    ASSERT_NE(opener, nullptr);
    QQuickItem* ring = itemNamed(opener, QStringLiteral("focusRing"));
    ASSERT_TRUE(tabTo("capsule_quran"));
    key(Qt::Key_Return);
    ASSERT_TRUE(flag("showQuran"));
    QTest::qWait(200);
    key(Qt::Key_Escape);
    ASSERT_FALSE(flag("showQuran"));
    QTest::qWait(50);
    EXPECT_EQ(focused(), opener);
    EXPECT_TRUE(ring->isVisible());

    clickOn(opener);
    ASSERT_TRUE(flag("showQuran"));
    QTest::qWait(200);
    clickOn(itemNamed(item("quranOverlay"), QStringLiteral("doneButton")));
    ASSERT_FALSE(flag("showQuran"));
    QTest::qWait(50);
    EXPECT_EQ(focused(), opener);
    EXPECT_FALSE(ring->isVisible());
    // Nor on a sheet's opener after the mouse opened and closed it.
    QQuickItem* calendar = item("capsule_calendar");
    clickOn(calendar);
    ASSERT_TRUE(flag("showCalendar"));
    QTest::qWait(100);
    clickOn(item("doneButton"));
    ASSERT_FALSE(flag("showCalendar"));
    QTest::qWait(50);
    EXPECT_EQ(focused(), calendar);
    EXPECT_FALSE(itemNamed(calendar, QStringLiteral("focusRing"))->isVisible());
    grab(app->window(), "face-focus-after-mouse.png");
    // A key brings it back.
    key(Qt::Key_Tab);
    EXPECT_TRUE(itemNamed(focused(), QStringLiteral("focusRing"))->isVisible());
    // A screen reader's press opens it as a click does, and the focus comes back to the opener too.
    QAccessible::queryAccessibleInterface(opener)->actionInterface()->doAction(
        QAccessibleActionInterface::pressAction());
    ASSERT_TRUE(QTest::qWaitFor([&] { return flag("showQuran"); }, 1000));
    QTest::qWait(200);
    key(Qt::Key_Escape);
    ASSERT_FALSE(flag("showQuran"));
    QTest::qWait(50);
    EXPECT_EQ(focused(), opener);
}

// On a window smaller than the face's canvas, a control reports to screen readers, magnifiers and mouse
// review the rectangle it is drawn in.
TEST_F(FaceInput, AScaledFacesControlsReportWhereTheyAreDrawn) {
    start();
    app->window()->resize(1280, 720);
    QTest::qWait(300);
    ASSERT_LT(item("canvas")->scale(), 0.95);
    for (const char* name : {"capsule_play", "settingsButton"}) {
        QQuickItem* control = item(name);
        ASSERT_NE(control, nullptr) << name;
        const QRectF scene = control->mapRectToScene(QRectF(0, 0, control->width(), control->height()));
        const QRect drawn(app->window()->mapToGlobal(scene.topLeft().toPoint()), scene.size().toSize());
        const QRect reported = QAccessible::queryAccessibleInterface(control)->rect();
        EXPECT_LE((reported.topLeft() - drawn.topLeft()).manhattanLength(), 1) << name;
        EXPECT_LE(std::abs(reported.width() - drawn.width()) + std::abs(reported.height() - drawn.height()),
                  2)
            << name << " " << reported.width() << "x" << reported.height() << " drawn " << drawn.width()
            << "x" << drawn.height();
    }
}

// Start-up logs no QML warning (binding loops, failed picture requests) at any of the three widths.
class FaceStartWarnings : public FaceInput, public ::testing::WithParamInterface<int> {};

namespace {
QStringList* qmlWarnings = nullptr;
QtMessageHandler previousHandler = nullptr;
void keepQmlWarnings(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    const bool fromQml = message.contains(QLatin1String("qrc:/")) ||
                         message.contains(QLatin1String("file:/")) ||
                         message.contains(QLatin1String("Binding loop")) ||
                         QLatin1String(context.category ? context.category : "") == QLatin1String("qml");
    if (qmlWarnings && type >= QtWarningMsg && fromQml) qmlWarnings->append(message);
    if (previousHandler) previousHandler(type, context, message);
}
}  // namespace

TEST_P(FaceStartWarnings, NoQmlWarningAtStart) {
    const int width = GetParam();
    QStringList warnings;
    qmlWarnings = &warnings;
    previousHandler = qInstallMessageHandler(keepQmlWarnings);
    start(width == 402);
    if (width != 402) app->window()->resize(width, width * 860 / 1280);
    // The face is laid out at this width; a later fit to the small test screen would not undo that.
    EXPECT_EQ(app->window()->width(), width);
    QTest::qWait(1500);
    grab(app->window(), QStringLiteral("face-start-%1.png").arg(width).toLatin1().constData());
    qInstallMessageHandler(previousHandler);
    qmlWarnings = nullptr;
    EXPECT_TRUE(warnings.isEmpty()) << warnings.join(u'\n').toStdString();
}

INSTANTIATE_TEST_SUITE_P(Widths, FaceStartWarnings, ::testing::Values(1280, 900, 402));
