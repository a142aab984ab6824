#include "FileModes.h"
#include "SettingsTestWorld.h"
#include "platform/Autostart.h"
#include "services/AdhanAudioCache.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTest>

using namespace Qt::Literals::StringLiterals;

TEST(SettingsController, OpeningAtLocationAsksForOneRebuild) {
    SettingsTestWorld world;
    auto window = world.window(u"location"_s);
    QSignalSpy apply(window.get(), &SettingsController::applyRequested);
    window->appear();
    EXPECT_EQ(window->selectedPane(), u"location"_s);
    EXPECT_EQ(apply.count(), 1);
}

TEST(SettingsController, EveryArrivalAtLocationAsksOnceAndOtherPanesNever) {
    SettingsTestWorld world;
    auto window = world.window();
    QSignalSpy apply(window.get(), &SettingsController::applyRequested);
    window->appear();
    EXPECT_EQ(apply.count(), 0);
    for (const char* pane : {"adhan", "alerts", "api", "account", "general", "nonsense"})
        window->setSelectedPane(QLatin1String(pane));
    EXPECT_EQ(apply.count(), 0);
    EXPECT_EQ(window->selectedPane(), u"general"_s);
    for (const char* pane : {"location", "general", "location"}) window->setSelectedPane(QLatin1String(pane));
    EXPECT_EQ(apply.count(), 2);
}

TEST(SettingsController, DoneAsksForARebuildThenCloses) {
    SettingsTestWorld world;
    auto window = world.window(u"unknown pane"_s);
    window->appear();
    EXPECT_EQ(window->selectedPane(), u"general"_s);
    QStringList order;
    QObject::connect(window.get(), &SettingsController::applyRequested, [&] { order << u"apply"_s; });
    QObject::connect(window.get(), &SettingsController::closeRequested, [&] { order << u"close"_s; });
    window->done();
    EXPECT_EQ(order, (QStringList{u"apply"_s, u"close"_s}));
}

TEST(SettingsController, NotificationStatusLines) {
    const std::pair<int, const char*> table[] = {
        {0, "Notifications: not requested"}, {1, "Notifications: denied"},  {2, "Notifications: allowed"},
        {3, "Notifications: allowed"},       {4, "Notifications: allowed"}, {5, "Notifications: unknown"},
        {-1, "Notifications: unknown"},
    };
    for (const auto& [status, text] : table)
        EXPECT_EQ(SettingsChoices::notificationStatusText(status), QString::fromUtf8(text)) << status;

    SettingsTestWorld world;
    auto window = world.window();
    window->appear();
    EXPECT_EQ(window->notifStatusText(), u"Checking\u2026"_s);
    EXPECT_TRUE(QTest::qWaitFor([&] { return window->notifStatusText().startsWith(u"Notifications: "_s); }));
}

TEST(SettingsController, DisplayNameIsStoredSanitizedAndTheOpeningValueIsLeftAlone) {
    SettingsTestWorld world;
    world.settings.setDisplayName(u"  old@name "_s);  // stored before the window opened
    auto window = world.window();
    window->appear();
    EXPECT_EQ(world.settings.displayName(), u"  old@name "_s);

    window->editDisplayName(u"Ahmed "_s);
    EXPECT_EQ(world.settings.displayName(), u"Ahmed"_s);
    window->editDisplayName(u"Ahmed Khan"_s);
    EXPECT_EQ(world.settings.displayName(), u"Ahmed Khan"_s);
    for (const char* bad : {"me@example.org", "My iCloud", "APPLE ID of mine", " \t\x01 "}) {
        window->editDisplayName(QString::fromUtf8(bad));
        EXPECT_EQ(world.settings.displayName(), QString()) << bad;
    }
    QString longName = QString(79, u'a') + u' ' + QString(20, u'b');
    window->editDisplayName(longName);
    EXPECT_EQ(world.settings.displayName(), QString(79, u'a'));
    // A write from anywhere else while the window is open is sanitized too.
    world.settings.setDisplayName(u" Zaid\n"_s);
    EXPECT_EQ(world.settings.displayName(), u"Zaid"_s);
    window->clearDisplayName();
    EXPECT_EQ(world.settings.displayName(), QString());
}

TEST(SettingsController, AdhanSwitchAndUnknownModes) {
    SettingsTestWorld world;
    auto window = world.window(u"adhan"_s);
    world.settings.setNotifyMode(u"Beep"_s);
    window->turnOffAdhan();
    EXPECT_EQ(world.settings.notifyMode(), u"off"_s);
    window->turnOnAdhan();
    EXPECT_EQ(world.settings.notifyMode(), u"adhan"_s);
}

TEST(SettingsController, InstalledAudioRows) {
    SettingsTestWorld world;
    auto window = world.window(u"adhan"_s);
    EXPECT_FALSE(window->fajrCustom());
    const QString big = world.env.home.path() + u"/call.mp3"_s;
    const QString tiny = world.env.home.path() + u"/tiny.mp3"_s;
    for (const auto& [path, size] : {std::pair{big, 4096}, std::pair{tiny, 1000}}) {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(QByteArray(size, 'x'));
    }
    window->installCustomAdhan(u"regular"_s, QUrl::fromLocalFile(tiny));
    EXPECT_FALSE(window->regularCustom());
    window->installCustomAdhan(u"fajr"_s, QUrl::fromLocalFile(big));
    EXPECT_TRUE(window->fajrCustom());
    EXPECT_FALSE(window->regularCustom());
    window->clearCustomAdhan(u"fajr"_s);
    EXPECT_FALSE(window->fajrCustom());
    EXPECT_FALSE(QFile::exists(AdhanAudioCache::customPath(u"fajr"_s)));
}

TEST(SettingsController, LaunchAtLoginWritesAndRemovesTheAutostartEntry) {
    SettingsTestWorld world;
    const QString entry = world.env.home.configHome() + u"/autostart/orvane.desktop"_s;
    EXPECT_EQ(Autostart::entryPath(), entry);
    auto window = world.window(u"account"_s);
    window->appear();
    EXPECT_FALSE(window->launchAtLogin());

    {
        // The session reads it; no other account may change what starts at login, whatever the umask.
        const ProcessUmask none(0);
        window->setLaunchAtLogin(true);
    }
    EXPECT_TRUE(window->launchAtLogin());
    EXPECT_EQ(modeOf(entry), 0644);
    EXPECT_EQ(modeOf(QFileInfo(entry).absolutePath()), 0755);
    QFile file(entry);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(file.readAll());
    EXPECT_TRUE(text.startsWith(u"[Desktop Entry]\n"_s));
    EXPECT_TRUE(text.contains(u"Exec=\""_s + QCoreApplication::applicationFilePath() + u"\"\n"_s))
        << text.toStdString();
    file.close();

    // A second window reads the entry back; the desktop's own "hidden" switch counts as off.
    auto again = world.window(u"account"_s);
    again->appear();
    EXPECT_TRUE(again->launchAtLogin());
    again->setLaunchAtLogin(false);
    EXPECT_FALSE(QFile::exists(entry));
    ASSERT_TRUE(Autostart::enable(u"/opt/Orvane Beta/orvane"_s));
    ASSERT_TRUE(file.open(QIODevice::Append));
    file.write("Hidden=true\n");
    file.close();
    EXPECT_FALSE(Autostart::isEnabled());
}

TEST(SettingsController, LaunchAtLoginSnapsBackWhenTheEntryCannotBeWritten) {
    SettingsTestWorld world;
    // A file where the autostart folder should be: the folder cannot be made.
    QFile blocker(world.env.home.configHome() + u"/autostart"_s);
    ASSERT_TRUE(QDir().mkpath(world.env.home.configHome()));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    auto window = world.window(u"account"_s);
    window->appear();
    QSignalSpy changed(window.get(), &SettingsController::launchAtLoginChanged);
    window->setLaunchAtLogin(true);
    EXPECT_FALSE(window->launchAtLogin());
    EXPECT_EQ(changed.count(), 2);  // on, then back off
}
