#include "WholeApp.h"
#include "clock/AppEvents.h"
#include "services/AppSettings.h"
#include "shell/OrvaneApp.h"
#include "ui/shell/RootController.h"

#include <QDir>
#include <QQuickItem>
#include <QQuickWindow>
#include <QSignalSpy>
#include <QTest>

using namespace Qt::Literals::StringLiterals;

namespace {

// The whole application with no place at all: nothing stored, no device location, the network refused.
struct SettingsWindowFixture : WholeApp {
    void SetUp() override {
        WholeApp::SetUp();
        server.setOffline(true);
    }

    static QQuickItem* item(QQuickWindow* window, const QString& name) {
        return window->findChild<QQuickItem*>(name);
    }
    static void press(QQuickWindow* window, QQuickItem* button) {
        ASSERT_NE(button, nullptr);
        button->forceActiveFocus();
        QTest::keyClick(window, Qt::Key_Return);
    }
};

}  // namespace

TEST_F(SettingsWindowFixture, TheWindowWaitsForConsentThenOpensAtLocationAndTheGearReopensTheLastPane) {
    OrvaneApp app(false);
    ASSERT_TRUE(app.start());
    RootController& root = *app.root();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !root.errorText().isEmpty(); }, 5000));
    EXPECT_TRUE(root.showSettings());
    EXPECT_EQ(root.settingsWindow(), nullptr);  // never over the consent notice

    press(app.window(), item(app.window(), u"acceptButton"_s));
    ASSERT_NE(root.settingsWindow(), nullptr);
    EXPECT_EQ(root.settingsWindow()->selectedPane(), u"location"_s);
    ASSERT_TRUE(QTest::qWaitFor([&] { return item(app.window(), u"settingsView"_s) != nullptr; }, 5000));
    grab(app.window(), "settings-over-error.png");

    QTest::keyClick(app.window(), Qt::Key_Escape);  // Escape is "Done"
    ASSERT_TRUE(QTest::qWaitFor([&] { return root.settingsWindow() == nullptr; }, 2000));
    EXPECT_EQ(root.errorText(), RootController::noLocationText());  // and the window stays closed
    QTest::qWait(300);
    EXPECT_EQ(root.settingsWindow(), nullptr);

    // The error screen's button has the keyboard again and opens the Location pane.
    QQuickItem* open = item(app.window(), u"openSettingsButton"_s);
    ASSERT_NE(open, nullptr);
    EXPECT_TRUE(open->hasActiveFocus());
    QTest::keyClick(app.window(), Qt::Key_Return);
    ASSERT_NE(root.settingsWindow(), nullptr);
    EXPECT_EQ(root.settingsWindow()->selectedPane(), u"location"_s);
    root.settingsWindow()->setSelectedPane(u"adhan"_s);
    root.settingsWindow()->done();
    ASSERT_TRUE(QTest::qWaitFor([&] { return root.settingsWindow() == nullptr; }, 2000));
    root.openSettings();  // what the face's gear does
    ASSERT_NE(root.settingsWindow(), nullptr);
    EXPECT_EQ(root.settingsWindow()->selectedPane(), u"adhan"_s);
    EXPECT_EQ(root.settingsWindow()->notifStatusText(), u"Checking\u2026"_s);  // fresh state

    // A request for the notification settings opens the pane that holds them.
    root.settingsWindow()->setSelectedPane(u"general"_s);
    root.settingsWindow()->done();
    ASSERT_TRUE(QTest::qWaitFor([&] { return root.settingsWindow() == nullptr; }, 2000));
    EXPECT_TRUE(AppEvents::shared().post(QLatin1String(AppEvents::openNotificationSettingsName)));
    ASSERT_NE(root.settingsWindow(), nullptr);
    EXPECT_EQ(root.settingsWindow()->selectedPane(), u"adhan"_s);
}

TEST_F(SettingsWindowFixture, AChosenPlaceBringsTheFace) {
    DefaultsStore::standard().setBool(scoped("acceptedPrivacy"), true);
    OrvaneApp app(false);
    ASSERT_TRUE(app.start());
    RootController& root = *app.root();
    ASSERT_TRUE(QTest::qWaitFor([&] { return root.settingsWindow() != nullptr; }, 5000));
    SettingsController& window = *root.settingsWindow();
    window.settingsObject()->setUseManualLocation(true);
    window.location()->choose(AddressSuggestion{u"Makkah, Saudi Arabia"_s, std::nullopt, 21.4225, 39.8262});
    ASSERT_TRUE(QTest::qWaitFor([&] { return root.hasBundle(); }, 10000));
    EXPECT_DOUBLE_EQ(root.settingsObject()->manualTzOffsetHours(), 3.0);
    window.done();
    ASSERT_TRUE(QTest::qWaitFor([&] { return root.settingsWindow() == nullptr; }, 2000));
    QTest::qWait(300);
    grab(app.window(), "face-after-settings.png");
}
