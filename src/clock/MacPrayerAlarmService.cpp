#include "clock/MacPrayerAlarmService.h"

#include "clock/AppEvents.h"
#include "engine/CivilDay.h"
#include "model/ClockBundle.h"
#include "platform/Clock.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QWindow>
#include <cstdlib>
#include <limits>

namespace {

// A minimized window is visible to Qt but not to the user.
bool anyWindowShown() {
    if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance())) return false;
    for (const QWindow* window : QGuiApplication::topLevelWindows())
        if (window->isVisible() && !(window->windowStates() & Qt::WindowMinimized)) return true;
    return false;
}

}  // namespace

MacPrayerAlarmService& MacPrayerAlarmService::shared() {
    static MacPrayerAlarmService* service = new MacPrayerAlarmService;
    return *service;
}

MacPrayerAlarmService::MacPrayerAlarmService(QObject* parent) : QObject(parent) {
    firedDay_.fill(std::numeric_limits<std::int64_t>::min());
    firedAt_.fill(std::numeric_limits<std::int64_t>::min() / 2);
    // A coarse one-second timer wakes on the whole second with the clock's other one-second checks: one
    // wake-up a second for all of them behind a closed window. The trigger window is far wider than its
    // slack.
    timer_.setInterval(1000);
    timer_.setTimerType(Qt::CoarseTimer);
    connect(&timer_, &QTimer::timeout, this, [this] { check(Clock::nowMs()); });
    if (QCoreApplication* app = QCoreApplication::instance())
        connect(app, &QCoreApplication::aboutToQuit, this, &MacPrayerAlarmService::stop);
}

void MacPrayerAlarmService::start() {
    timer_.start();
}

void MacPrayerAlarmService::stop() {
    timer_.stop();
}

void MacPrayerAlarmService::reschedule(const ClockBundle& bundle) {
    day_ = PrayerSchedule::dayOf(bundle);
    hasTimes_ = true;
}

void MacPrayerAlarmService::check(std::int64_t nowMs) {
    if (!hasTimes_ || !PrayerSchedule::holds(day_, nowMs)) return;
    const PrayerSchedule::Minutes& minutes = day_.minutes;
    const int offset = PrayerSchedule::offsetSeconds(day_.tzOffsetHours, nowMs);
    const std::int64_t today = CivilDay::dayOf(nowMs, offset);
    for (int i = 0; i < PrayerSchedule::kCount; ++i) {
        if (!minutes[i] || firedDay_[i] == today) continue;
        const std::int64_t at = PrayerSchedule::instantOf(today, *minutes[i], offset);
        const std::int64_t since = nowMs - at;
        if (since < 0 || since >= PrayerSchedule::kTriggerWindowMs ||
            std::abs(at - firedAt_[i]) < PrayerSchedule::kSameCallWithinMs)
            continue;
        firedDay_[i] = today;
        firedAt_[i] = at;
        const QString prayer(PrayerSchedule::keys[i]);
        if (!anyWindowShown()) emit AppEvents::shared().reopenWindow();
        emit AppEvents::shared().playPrayer(prayer, false);
        emit fired(prayer);
    }
}
