#include "AlertsShown.h"
#include "QuickHarness.h"
#include "SettingsTestWorld.h"
#include "ui/common/Theme.h"

#include <gtest/gtest.h>

#include <QAccessible>
#include <QSignalSpy>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTest>

using namespace Qt::Literals::StringLiterals;

namespace {

struct SettingsViewFixture : ::testing::Test {
    static void SetUpTestSuite() {
        qputenv("QT_QUICK_CONTROLS_STYLE", "Basic");
        QAccessible::setActive(true);
    }

    SettingsTestWorld world;
    std::unique_ptr<SettingsController> controller = world.window(u"general"_s);
    QuickHarness harness;
    QQuickItem* view = nullptr;

    void SetUp() override {
        controller->appear();
        view = harness.load(R"(
            import QtQuick
            import Orvane.Settings
            SettingsView { learnAdhanBuiltInURL: "https://video.example.org/learn" }
        )",
                            QSize(640, 520), {{u"controller"_s, QVariant::fromValue(controller.get())}});
        ASSERT_NE(view, nullptr);
        harness.settle(100);
    }

    // Walks the Tab chain from the Done button until it comes back, with each stop's accessible name and
    // role.
    QList<std::pair<QString, QAccessible::Role>> tabChain() {
        QList<std::pair<QString, QAccessible::Role>> stops;
        QQuickItem* done = findItem(view, u"doneButton"_s);
        done->forceActiveFocus();
        harness.settle(10);
        for (int i = 0; i < 200; ++i) {
            QQuickItem* item = harness.window().activeFocusItem();
            if (!item || (i > 0 && item == done)) break;
            QAccessibleInterface* a = QAccessible::queryAccessibleInterface(item);
            stops.append({a ? a->text(QAccessible::Name) : QString(), a ? a->role() : QAccessible::NoRole});
            QTest::keyClick(&harness.window(), Qt::Key_Tab);
        }
        return stops;
    }
};

}  // namespace

TEST_F(SettingsViewFixture, EveryPaneDrawsAndEveryStopOfItsTabChainIsNamed) {
    // The row of pane tabs is one stop, and so is each segment picker.
    const std::pair<const char*, int> panes[] = {{"general", 11},  {"adhan", 15}, {"alerts", 4},
                                                 {"location", 10}, {"api", 11},   {"account", 3}};
    for (const auto& [pane, minimumStops] : panes) {
        controller->setSelectedPane(QLatin1String(pane));
        harness.settle(50);
        const QImage image = harness.grab(u"settings-"_s + QLatin1String(pane));
        EXPECT_GT(countPixelsNear(image, Theme::gold()), 50) << pane;  // the highlighted tab and "Done"
        const auto stops = tabChain();
        EXPECT_GE(stops.size(), minimumStops) << pane;
        for (const auto& [name, role] : stops) {
            EXPECT_FALSE(name.trimmed().isEmpty()) << pane << " role " << int(role);
            EXPECT_NE(role, QAccessible::NoRole) << pane << " " << name.toStdString();
        }
    }
}

TEST_F(SettingsViewFixture, TabsReturnAndEscapeWorkFromTheKeyboard) {
    QQuickItem* tab = findItem(view, u"tab_alerts"_s);
    ASSERT_NE(tab, nullptr);
    tab->forceActiveFocus();
    QTest::keyClick(&harness.window(), Qt::Key_Return);
    EXPECT_EQ(controller->selectedPane(), u"alerts"_s);

    // Return opens a picker's list; Down and Return pick the next row.
    controller->setSelectedPane(u"general"_s);
    harness.settle(30);
    QQuickItem* units = findItem(view, u"unitsBox"_s);
    ASSERT_NE(units, nullptr);
    units->forceActiveFocus();
    QTest::keyClick(&harness.window(), Qt::Key_Return);
    harness.settle(50);
    QObject* list = units->property("popup").value<QObject*>();
    ASSERT_NE(list, nullptr);
    EXPECT_TRUE(list->property("visible").toBool());
    QTest::keyClick(&harness.window(), Qt::Key_Down);
    // The row the arrow is on is the one a screen reader reads.
    QQuickItem* rows = list->property("contentItem").value<QQuickItem*>();
    QQuickItem* arrowed = nullptr;
    ASSERT_TRUE(
        QMetaObject::invokeMethod(rows, "itemAtIndex", Q_RETURN_ARG(QQuickItem*, arrowed), Q_ARG(int, 1)));
    QAccessibleInterface* row = QAccessible::queryAccessibleInterface(arrowed);
    ASSERT_NE(row, nullptr);
    EXPECT_TRUE(row->state().focused && row->state().selected) << row->text(QAccessible::Name).toStdString();
    QTest::keyClick(&harness.window(), Qt::Key_Return);
    harness.settle(50);
    EXPECT_EQ(world.settings.unitsMode(), u"metric"_s);
    EXPECT_FALSE(list->property("visible").toBool());

    // As a radio group, a segment picker is one Tab stop and the arrow keys choose its segments.
    QQuickItem* twelveHour = findItem(view, u"clockFormat_0"_s);
    ASSERT_NE(twelveHour, nullptr);
    twelveHour->forceActiveFocus(Qt::TabFocusReason);
    QTest::keyClick(&harness.window(), Qt::Key_Right);
    EXPECT_TRUE(world.settings.use24HourClock());
    EXPECT_EQ(harness.window().activeFocusItem(), findItem(view, u"clockFormat_1"_s));
    QTest::keyClick(&harness.window(), Qt::Key_Tab);
    EXPECT_FALSE(harness.window().activeFocusItem()->objectName().startsWith(u"clockFormat"_s));
    // So is the row of pane tabs, and the arrows choose the pane beside.
    findItem(view, u"tab_general"_s)->forceActiveFocus(Qt::TabFocusReason);
    QTest::keyClick(&harness.window(), Qt::Key_Left);
    EXPECT_EQ(controller->selectedPane(), u"account"_s);
    QTest::keyClick(&harness.window(), Qt::Key_Right);
    QTest::keyClick(&harness.window(), Qt::Key_Right);
    harness.settle(30);
    EXPECT_EQ(controller->selectedPane(), u"adhan"_s);
    EXPECT_EQ(harness.window().activeFocusItem(), findItem(view, u"tab_adhan"_s));
    QTest::keyClick(&harness.window(), Qt::Key_Tab);
    EXPECT_FALSE(harness.window().activeFocusItem()->objectName().startsWith(u"tab_"_s));
    controller->setSelectedPane(u"general"_s);
    harness.settle(30);

    units->forceActiveFocus();
    QSignalSpy apply(controller.get(), &SettingsController::applyRequested);
    QSignalSpy close(controller.get(), &SettingsController::closeRequested);
    QTest::keyClick(&harness.window(), Qt::Key_Escape);
    EXPECT_EQ(apply.count(), 1);
    EXPECT_EQ(close.count(), 1);
}

TEST_F(SettingsViewFixture, KeyboardFocusShowsOnFilledControlsToo) {
    const auto ring = [&](QQuickItem* item, const QString& grabName) {
        return countPixelsAround(harness.grab(grabName), item, Qt::white);
    };
    // Done has the focus as the settings open.
    QQuickItem* done = findItem(view, u"doneButton"_s);
    ASSERT_TRUE(done->hasActiveFocus());
    EXPECT_GT(ring(done, u"settings-focus-done"_s), done->width());
    controller->setSelectedPane(u"adhan"_s);
    harness.settle(30);
    for (const QString& name : {u"adhanOnOff"_s, u"playLength_0"_s, u"vibrate"_s}) {
        QQuickItem* item = findItem(view, name);
        ASSERT_NE(item, nullptr) << name.toStdString();
        item->forceActiveFocus(Qt::TabFocusReason);
        EXPECT_GT(ring(item, u"settings-focus-"_s + name), item->width()) << name.toStdString();
    }
}

TEST_F(SettingsViewFixture, TheAdhanButtonIsGreenToTurnOnAndRedToTurnOff) {
    controller->setSelectedPane(u"adhan"_s);
    harness.settle(30);
    QQuickItem* button = findItem(view, u"adhanOnOff"_s);
    ASSERT_NE(button, nullptr);
    const auto filledWith = [&](const QString& text, const QColor& tint) {
        harness.settle(30);
        EXPECT_EQ(button->property("text").toString(), text);
        const QRect drawn = button->mapRectToScene(QRectF(0, 0, button->width(), button->height())).toRect();
        const QImage fill = harness.grab(u"settings-adhan-"_s + text).copy(drawn);
        return countPixelsNear(fill, tint) > fill.width() * fill.height() / 2;
    };
    world.settings.setNotifyMode(u"beep"_s);
    EXPECT_TRUE(filledWith(u"Turn Off Adhan"_s, QColor(0xc0, 0x39, 0x2b)));
    world.settings.setNotifyMode(u"off"_s);
    EXPECT_TRUE(filledWith(u"Turn On Adhan"_s, Theme::green()));
}

TEST_F(SettingsViewFixture, AStoredValueOutsideTheRowsShowsNoRowAndIsKept) {
    world.settings.setUnitsMode(u"furlongs"_s);
    world.settings.setAlertsScope(u"state"_s);
    controller->setSelectedPane(u"general"_s);
    harness.settle(30);
    QQuickItem* units = findItem(view, u"unitsBox"_s);
    ASSERT_NE(units, nullptr);
    EXPECT_EQ(units->property("currentIndex").toInt(), -1);
    EXPECT_EQ(units->property("displayText").toString(), QString());
    EXPECT_EQ(world.settings.unitsMode(), u"furlongs"_s);
    controller->setSelectedPane(u"alerts"_s);
    harness.settle(30);
    QQuickItem* help = findItem(view, u"alertsHelp"_s);
    ASSERT_NE(help, nullptr);
    EXPECT_EQ(help->property("text").toString(),
              u"Your province/state only. Never other countries or states."_s);
    EXPECT_EQ(findItem(view, u"alertRangeBox"_s)->property("currentIndex").toInt(), -1);
    EXPECT_EQ(world.settings.alertsScope(), u"state"_s);
}

TEST_F(SettingsViewFixture, TheLocationPaneSearchesShowsRowsAndChooses) {
    world.settings.setUseManualLocation(true);
    world.autocompleteAnswer = {AddressSuggestion{u"Istanbul, Türkiye"_s, std::nullopt, 41.01, 28.97}};
    world.env.server.routeFixture(u"/v1/clock_address"_s, u"clock_address_post_ok.json"_s);
    controller->setSelectedPane(u"location"_s);
    harness.settle(30);
    QQuickItem* field = findItem(view, u"citySearchField"_s);
    ASSERT_NE(field, nullptr);
    field->forceActiveFocus();
    for (const char c : {'I', 's', 't', 'a'}) QTest::keyClick(&harness.window(), c);
    EXPECT_EQ(controller->location()->cityQuery(), u"Ista"_s);
    world.fireAll();
    harness.settle(50);
    QQuickItem* row = findItem(view, u"suggestion_0"_s);
    ASSERT_NE(row, nullptr);
    EXPECT_EQ(alertsShown(view), QStringList{u"1 suggestion"_s});
    harness.grab(u"settings-location-suggestions"_s);
    row->forceActiveFocus();
    QTest::keyClick(&harness.window(), Qt::Key_Return);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !controller->location()->lookupMessage().isEmpty(); }, 5000));
    harness.settle(50);
    // Screen readers hear the suggestions arrive and the outcome; the keyboard is back on the search.
    EXPECT_EQ(alertsShown(view), QStringList{controller->location()->lookupMessage()});
    EXPECT_EQ(harness.window().activeFocusItem(), field);
    EXPECT_EQ(world.settings.manualCity(), u"Istanbul, Türkiye"_s);
    EXPECT_EQ(findItem(view, u"currentPlace"_s)->property("text").toString(),
              u"Current: Istanbul, Türkiye"_s);
    harness.grab(u"settings-location-applied"_s);
}

TEST_F(SettingsViewFixture, AStoreThatCannotSaveIsSaidAtTheTop) {
    QQuickItem* banner = findItem(view, u"storeFailure"_s);
    ASSERT_NE(banner, nullptr);
    EXPECT_FALSE(banner->isVisible());
    {
        // Another writer holds the settings file, so the next write cannot be stored.
        QSqlDatabase holder = QSqlDatabase::addDatabase(u"QSQLITE"_s, u"holder"_s);
        holder.setDatabaseName(world.env.storePath());
        ASSERT_TRUE(holder.open());
        QSqlQuery lock(holder);
        ASSERT_TRUE(lock.exec(u"BEGIN EXCLUSIVE"_s));
        world.settings.setLang(u"ar"_s);
        world.env.store->sync();
        harness.settle(30);
        EXPECT_TRUE(banner->isVisible());
        EXPECT_EQ(banner->property("text").toString(), world.settings.storeFailure());
        EXPECT_FALSE(world.settings.storeFailure().isEmpty());
        harness.grab(u"settings-store-failure"_s);
        lock.exec(u"ROLLBACK"_s);
        lock.finish();
        holder.close();
    }
    QSqlDatabase::removeDatabase(u"holder"_s);
}
