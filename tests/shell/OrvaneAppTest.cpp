#include <gtest/gtest.h>

#include "Await.h"
#include "FileBytes.h"
#include "FixtureServer.h"
#include "NotificationMock.h"
#include "OrvaneProcess.h"
#include "OwnMappings.h"
#include "TempHome.h"
#include "WholeApp.h"
#include "clock/AdhanPlayer.h"
#include "clock/AppEvents.h"
#include "clock/ClockViewModel.h"
#include "clock/MacPrayerAlarmService.h"
#include "model/AdhanTexts.h"
#include "platform/DefaultsStore.h"
#include "platform/Endpoints.h"
#include "platform/Http.h"
#include "platform/SecretStore.h"
#include "platform/SingleInstance.h"
#include "shell/CloseNotice.h"
#include "shell/OrvaneApp.h"
#include "ui/shell/RootController.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QQuickItem>
#include <QQuickWindow>
#include <QScreen>
#include <QSignalSpy>
#include <QTest>
#include <QUuid>
#include <cstring>
#include <functional>
#include <memory>
#include <vector>

namespace {

using AppFixture = WholeApp;

// Dirty kilobytes of the main thread's heap.
long heapDirtyKb() {
    return mappingKb([](const QByteArray& header) { return header.trimmed().endsWith("[heap]"); },
                     "Private_Dirty:");
}

}  // namespace

TEST_F(AppFixture, WithoutConsentTheNoticeShowsAndStartupStillRuns) {
    OrvaneApp app(false);
    ASSERT_TRUE(app.start());
    EXPECT_EQ(app.window()->objectName(), QStringLiteral("main"));
    // 1280 x 860 by default, shrunk with its proportions into a smaller screen.
    const QSize size = app.window()->size();
    EXPECT_NEAR(double(size.width()) / size.height(), 1280.0 / 860.0, 0.01);
    EXPECT_LE(size.width(), std::max(1280, app.window()->screen()->availableGeometry().width()));
    EXPECT_FALSE(app.root()->consentGiven());
    // Start-up went on behind the notice: no place is known, so the error is set and settings open at
    // location.
    EXPECT_TRUE(QTest::qWaitFor([&] { return !app.root()->errorText().isEmpty(); }, 5000));
    EXPECT_EQ(app.root()->errorText(), RootController::noLocationText());
    EXPECT_TRUE(app.root()->showSettings());
    EXPECT_EQ(app.root()->settingsPane(), QStringLiteral("location"));
    // The server was asked for the saved address and the check-in on the way.
    EXPECT_FALSE(server.requestsTo(QStringLiteral("/v1/clock_address")).isEmpty());
    QTest::qWait(200);
    grab(app.window(), "consent.png");

    // The foreground refresh waits for consent.
    const int before = server.log().size();
    app.root()->foregroundRefresh();
    QTest::qWait(200);
    EXPECT_EQ(server.log().size(), before);
}

TEST_F(AppFixture, ADamagedSettingsFileIsSetAsideAndTheFirstScreenSaysWhere) {
    const QString path = DefaultsStore::standardPath();
    ASSERT_TRUE(QDir().mkpath(QFileInfo(path).absolutePath()));
    FileBytes::write(path, QByteArray(8192, '\x5a'));

    OrvaneApp app(false);
    ASSERT_TRUE(app.start());
    EXPECT_FALSE(app.root()->consentGiven());
    const QString kept = DefaultsStore::standard().movedAsideTo();
    ASSERT_TRUE(QFile::exists(kept));
    auto* notice = app.window()->findChild<QQuickItem*>(QStringLiteral("settingsResetNotice"));
    ASSERT_NE(notice, nullptr);
    EXPECT_TRUE(notice->isVisible());
    EXPECT_TRUE(notice->property("text").toString().contains(kept));
    QTest::qWait(200);
    grab(app.window(), "settings-reset.png");
}

TEST_F(AppFixture, NoPlaceLooksAgainOnceAfterEightSeconds) {
    DefaultsStore::standard().setBool(scoped("acceptedPrivacy"), true);
    OrvaneApp app(false);
    ASSERT_TRUE(app.start());
    ASSERT_TRUE(QTest::qWaitFor([&] { return !app.root()->errorText().isEmpty(); }, 5000));
    grab(app.window(), "no-place.png");
    // Now a place becomes known behind the settings' back (the last bundle's place); the one re-check
    // picks it up without any other prompt.
    DefaultsStore::standard().setDouble(QStringLiteral("cachedBundleLat.%1").arg(QLatin1String(kDevice)),
                                        21.4225);
    DefaultsStore::standard().setDouble(QStringLiteral("cachedBundleLon.%1").arg(QLatin1String(kDevice)),
                                        39.8262);
    EXPECT_FALSE(app.root()->hasBundle());
    EXPECT_TRUE(QTest::qWaitFor([&] { return app.root()->hasBundle(); }, 12000));
}

TEST_F(AppFixture, FixedPlaceShowsTheFaceAndQuitStopsEveryTimer) {
    seedMakkah();
    OrvaneApp app(false);
    ASSERT_TRUE(app.start());
    ASSERT_TRUE(QTest::qWaitFor([&] { return app.root()->hasBundle(); }, 10000));
    EXPECT_TRUE(app.root()->errorText().isEmpty());
    EXPECT_EQ(app.clock()->bundle()->location.city.value_or(QString()), QStringLiteral("Makkah"));
    QTest::qWait(1500);
    grab(app.window(), "face-wide.png");

    QSignalSpy quitting(qApp, &QCoreApplication::aboutToQuit);
    app.quit();
    EXPECT_FALSE(AdhanPlayer::shared().ringing());
    // Nothing of the clock ticks on after Quit.
    const QDateTime frozen = app.clock()->now();
    QTest::qWait(1300);
    EXPECT_EQ(app.clock()->now(), frozen);
}

// With the window open nothing else gives back the heap a call's player freed.
TEST_F(AppFixture, TheEndOfACallGivesTheFreedHeapBack) {
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "AddressSanitizer keeps a heap of its own";
#endif
    seedMakkah();
    OrvaneApp app(false);
    ASSERT_TRUE(app.start());
    ASSERT_TRUE(QTest::qWaitFor([&] { return app.root()->hasBundle(); }, 10000));
    QTest::qWait(4000);  // past the release once the first face stands
    // Every other block freed: the ones kept hold the freed ones apart, so the heap cannot simply shrink.
    std::vector<std::unique_ptr<char[]>> blocks;
    for (int i = 0; i < 400; ++i) {
        blocks.emplace_back(new char[64 * 1024]);
        std::memset(blocks.back().get(), 1, 64 * 1024);
    }
    for (std::size_t i = 0; i < blocks.size(); i += 2) blocks[i].reset();
    const long before = heapDirtyKb();

    app.clock()->triggerAdhan(QStringLiteral("asr"), true);
    AdhanPlayer::shared().stop();
    EXPECT_TRUE(QTest::qWaitFor([&] { return heapDirtyKb() < before - 5'000; }, 10000))
        << before << " kB dirty before the call, " << heapDirtyKb() << " after";
}

TEST_F(AppFixture, PhoneWindowKeepsItsSize) {
    seedMakkah();
    OrvaneApp app(true);
    ASSERT_TRUE(app.start());
    EXPECT_EQ(app.window()->size(), QSize(402, 850));
    ASSERT_TRUE(QTest::qWaitFor([&] { return app.root()->hasBundle(); }, 10000));
    app.clock()->setFaceAspect(1.2);
    EXPECT_EQ(app.window()->size(), QSize(402, 850));
    QTest::qWait(1500);
    grab(app.window(), "face-phone.png");
}

TEST_F(AppFixture, TheWindowComesBackToItsSizeWhenTheFacesAspectDoes) {
    seedMakkah();
    OrvaneApp app(false);
    ASSERT_TRUE(app.start());
    ASSERT_TRUE(QTest::qWaitFor([&] { return app.root()->hasBundle(); }, 10000));
    QQuickWindow* window = app.window();
    // A real dawn call, over the face as it really lays out, leaves a size the user chose as it was.
    QTest::qWait(1500);
    window->resize(780, 540);
    AdhanPlayer::shared().play({true,
                                QStringLiteral("Fajr Adhan"),
                                AdhanTexts::table(u"en").fajr,
                                QStringLiteral("Fajr"),
                                QStringLiteral("Fajr"),
                                {},
                                {}},
                               QStringLiteral("adhan"), 0, true);
    QTest::qWait(1500);
    EXPECT_EQ(window->size(), QSize(780, 540));
    AdhanPlayer::shared().stop();
    QTest::qWait(2500);
    EXPECT_EQ(window->size(), QSize(780, 540));

    app.clock()->setFaceAspect(1.2);
    window->resize(800, 520);  // the user's choice
    app.clock()->setFaceAspect(1.5);
    const QSize before = window->size();
    // The face grows taller than the screen allows, and then comes back.
    app.clock()->setFaceAspect(1.0);
    EXPECT_GT(window->width(), 760) << "the face keeps its scaled canvas";
    app.clock()->setFaceAspect(1.5);
    EXPECT_EQ(window->size(), before);

    // Closed maximized, it opens again maximized.
    window->setWindowStates(Qt::WindowMaximized);
    ASSERT_TRUE(window->close());
    ASSERT_TRUE(QTest::qWaitFor([&] { return app.window() == nullptr; }, 3000));
    app.showWindow();
    ASSERT_NE(app.window(), nullptr);
    EXPECT_EQ(app.window()->windowStates(), Qt::WindowMaximized);
}

TEST_F(AppFixture, AMinimizedWindowComesBackAtACallAndOnALaterLaunch) {
    seedMakkah();
    OrvaneApp app(false);
    ASSERT_TRUE(app.start());
    QQuickWindow* window = app.window();
    const std::function<void()> asks[] = {[] { emit AppEvents::shared().reopenWindow(); },
                                          [&] { app.handleArguments({}, "launch-token"); }};
    for (const auto& ask : asks) {
        window->setWindowStates(Qt::WindowMaximized | Qt::WindowMinimized);
        ask();
        EXPECT_TRUE(window->isVisible());
        EXPECT_EQ(window->windowStates(), Qt::WindowMaximized) << "restored, and still maximized";
        EXPECT_FALSE(qEnvironmentVariableIsSet("XDG_ACTIVATION_TOKEN")) << "a token is used once";
    }
}

TEST_F(AppFixture, ALaterLaunchForwardsAPlayLinkToTheRunningClock) {
    if (const QString why = offlineUnavailable(); !why.isEmpty()) GTEST_SKIP() << why.toStdString();
    seedMakkah();
    OrvaneApp app(false);
    ASSERT_TRUE(app.start());
    ASSERT_TRUE(QTest::qWaitFor([&] { return app.root()->hasBundle(); }, 10000));

    // A real later launch of the program, with the same runtime folder, hands over its link and exits.
    QDir(home.path()).mkpath(QStringLiteral("runtime"));
    const QString runtime = home.path() + QStringLiteral("/runtime");
    QFile::setPermissions(runtime, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    qputenv("XDG_RUNTIME_DIR", runtime.toUtf8());
    SingleInstance running;
    ASSERT_EQ(running.start({}), SingleInstance::Role::Primary);
    QObject::connect(&running, &SingleInstance::messageReceived, &app, &OrvaneApp::handleArguments);
    QSignalSpy triggered(app.clock(), &ClockViewModel::adhanTriggered);

    QProcess later;
    startOffline(later, {QStringLiteral("orvane://adhan?prayer=asr")});
    ASSERT_TRUE(QTest::qWaitFor([&] { return later.state() == QProcess::NotRunning; }, 8000));
    EXPECT_EQ(later.exitCode(), 0);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !triggered.isEmpty(); }, 3000));
    EXPECT_EQ(triggered[0][0].toString(), QStringLiteral("asr"));
    AdhanPlayer::shared().stop();

    // Links that are not play links do nothing but reopen.
    triggered.clear();
    app.handleArguments({QStringLiteral("orvane://settings?prayer=asr"), QStringLiteral("orvane://adhan")});
    QTest::qWait(100);
    EXPECT_TRUE(triggered.isEmpty());
}

TEST_F(AppFixture, WithoutATrayTheFirstCloseSaysHowToComeBackAndCtrlQQuits) {
    seedMakkah();
    OrvaneApp app(false);
    ASSERT_TRUE(app.start());
    if (app.hasTrayIcon()) GTEST_SKIP() << "a tray host is present";
    ASSERT_TRUE(QTest::qWaitFor([&] { return app.root()->hasBundle(); }, 10000));
    // Other test programs post the same notice meanwhile: only this process's count.
    const auto ours = [] {
        auto found = notificationmock::notifies(CloseNotice::summary());
        std::erase_if(found, [](const notificationmock::Notify& n) {
            return n.hints.value(QStringLiteral("sender-pid")).toLongLong() !=
                   QCoreApplication::applicationPid();
        });
        return found;
    };
    const size_t before = ours().size();

    for (int close = 0; close < 2; ++close) {
        app.showWindow();
        ASSERT_TRUE(app.window()->close());
        EXPECT_FALSE(app.window()->isVisible());
        QTest::qWait(500);
    }
    const auto posted = ours();
    ASSERT_EQ(posted.size(), before + 1) << "one notice for the first close only";
    EXPECT_EQ(posted.back().body, CloseNotice::body());
    EXPECT_TRUE(posted.back().actions.contains(QStringLiteral("quit")));
    EXPECT_TRUE(posted.back().actions.contains(QStringLiteral("Quit Orvane")));
    // The clock runs on behind the closed window.
    const QDateTime ticking = app.clock()->now();
    QTest::qWait(1300);
    EXPECT_GT(app.clock()->now(), ticking);

    // Ctrl+Q in the window quits.
    app.showWindow();
    QSignalSpy quit(app.root(), &RootController::quitRequested);
    QTest::keyClick(app.window(), Qt::Key_Q, Qt::ControlModifier);
    ASSERT_EQ(quit.size(), 1);
    const QDateTime frozen = app.clock()->now();
    QTest::qWait(1300);
    EXPECT_EQ(app.clock()->now(), frozen);
}
