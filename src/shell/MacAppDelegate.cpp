#include "shell/MacAppDelegate.h"

#include "clock/AppEvents.h"
#include "clock/MacPrayerAlarmService.h"
#include "clock/NotificationScheduler.h"
#include "engine/LocalHijri.h"
#include "shell/OrvaneAutoUpdate.h"

std::function<void()> MacAppDelegate::reopenHandler;

MacAppDelegate::MacAppDelegate(OrvaneAutoUpdate* updater, QObject* parent)
    : QObject(parent), updater_(updater) {
    connect(&AppEvents::shared(), &AppEvents::reopenWindow, this, [this] { reopen(false); });
}

void MacAppDelegate::applicationDidFinishLaunching() {
    LocalHijri::runBirthdaySmoke();
    NotificationScheduler::shared().configure();
    NotificationScheduler::shared().requestAuthorization();
    MacPrayerAlarmService::shared().start();
    if (reopenHandler) reopenHandler();
    if (updater_) updater_->start();
}

void MacAppDelegate::reopen(bool fresh) {
    if (reopenHandler) reopenHandler();
    if (fresh) AppEvents::shared().post(QString::fromLatin1(AppEvents::openFreshName));
}

void MacAppDelegate::applicationWillTerminate() {
    MacPrayerAlarmService::shared().stop();
    if (updater_) updater_->stop();
}
