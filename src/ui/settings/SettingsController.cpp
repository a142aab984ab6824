#include "ui/settings/SettingsController.h"

#include "clock/AdhanPlayer.h"
#include "clock/AppEvents.h"
#include "clock/NotificationScheduler.h"
#include "platform/Autostart.h"
#include "services/AdhanAudioCache.h"
#include "services/AppSettings.h"
#include "ui/settings/SettingsChoices.h"

#include <QPointer>
#include <QTimer>

using namespace Qt::Literals::StringLiterals;

SettingsController::SettingsController(AppSettings& settings, QString initialPane, QVariantList methods,
                                       std::optional<double> biasLat, std::optional<double> biasLon,
                                       LocationSearch::Services services, QObject* parent)
    : QObject(parent),
      settings_(settings),
      location_(settings, std::move(services)),
      reclaim_(settings),
      initialPane_(panes().contains(initialPane) ? initialPane : panes().first()),
      methods_(std::move(methods)) {
    location_.setParent(this);
    reclaim_.setParent(this);
    location_.setBias(biasLat, biasLon);
    connect(&location_, &LocationSearch::applied, this, &SettingsController::applyRequested);
    connect(&reclaim_, &ClockIdReclaim::applied, this, &SettingsController::applyRequested);
    connect(&AppEvents::shared(), &AppEvents::notificationAuthChanged, this,
            &SettingsController::refreshNotificationStatus);
    // Only changes after the window opened are sanitized; the stored name it opens with stays as it is.
    connect(&settings_, &AppSettings::displayNameChanged, this,
            &SettingsController::sanitizeStoredDisplayName);
    refreshCustomAdhan();
}

const QStringList& SettingsController::panes() {
    static const QStringList list{u"general"_s,  u"adhan"_s, u"alerts"_s,
                                  u"location"_s, u"api"_s,   u"account"_s};
    return list;
}

void SettingsController::appear() {
    location_.setCityQuery(settings_.manualCity());
    refreshNotificationStatus();
    const bool registered = Autostart::isEnabled();
    if (registered != launchAtLogin_) {
        launchAtLogin_ = registered;
        Q_EMIT launchAtLoginChanged();
    }
    setSelectedPane(initialPane_);
}

void SettingsController::setSelectedPane(const QString& pane) {
    if (pane == selectedPane_ || !panes().contains(pane)) return;
    selectedPane_ = pane;
    Q_EMIT selectedPaneChanged();
    if (pane == "location"_L1) Q_EMIT applyRequested();
}

void SettingsController::done() {
    Q_EMIT applyRequested();
    Q_EMIT closeRequested();
}

void SettingsController::setLaunchAtLogin(bool on) {
    if (on == launchAtLogin_) return;
    launchAtLogin_ = on;
    Q_EMIT launchAtLoginChanged();
    const bool ok = on ? Autostart::enable() : Autostart::disable();
    if (ok) return;
    const bool actual = Autostart::isEnabled();
    if (actual == launchAtLogin_) return;
    launchAtLogin_ = actual;
    Q_EMIT launchAtLoginChanged();
}

void SettingsController::refreshNotificationStatus() {
    // Read after this event-loop pass, so the line reads "Checking…" until the answer is in; only the
    // newest request sets it.
    const quint64 generation = ++statusGeneration_;
    QPointer<SettingsController> self(this);
    QTimer::singleShot(0, this, [self, generation] {
        if (!self || generation != self->statusGeneration_) return;
        const QString text =
            SettingsChoices::notificationStatusText(NotificationScheduler::shared().authorizationStatus());
        if (text == self->notifStatusText_) return;
        self->notifStatusText_ = text;
        Q_EMIT self->notifStatusTextChanged();
    });
}

void SettingsController::allowNotifications() {
    NotificationScheduler::shared().configure();
    NotificationScheduler::shared().requestAuthorization();
    refreshNotificationStatus();
}

void SettingsController::openSystemSettings() {
    NotificationScheduler::shared().openSystemSettings();
}

void SettingsController::turnOnAdhan() {
    settings_.setNotifyMode(u"adhan"_s);
}

void SettingsController::turnOffAdhan() {
    settings_.setNotifyMode(u"off"_s);
    AdhanPlayer::shared().stop();
}

void SettingsController::refreshCustomAdhan() {
    const bool fajr = AdhanAudioCache::hasCustom(u"fajr"_s);
    const bool regular = AdhanAudioCache::hasCustom(u"regular"_s);
    if (fajr == fajrCustom_ && regular == regularCustom_) return;
    fajrCustom_ = fajr;
    regularCustom_ = regular;
    Q_EMIT customAdhanChanged();
}

void SettingsController::installCustomAdhan(const QString& kind, const QUrl& file) {
    if (!file.isLocalFile()) return;
    AdhanAudioCache::installCustom(kind, file.toLocalFile());
    refreshCustomAdhan();
}

void SettingsController::clearCustomAdhan(const QString& kind) {
    AdhanAudioCache::clearCustom(kind);
    refreshCustomAdhan();
}

void SettingsController::editDisplayName(const QString& text) {
    settings_.setDisplayName(AppSettings::sanitizeDisplayName(text));
}

void SettingsController::useAccountName() {
    settings_.refillDisplayNameFromAccount();
}

void SettingsController::clearDisplayName() {
    settings_.setDisplayName(QString());
}

void SettingsController::sanitizeStoredDisplayName() {
    const QString stored = settings_.displayName();
    const QString clean = AppSettings::sanitizeDisplayName(stored);
    if (clean != stored) settings_.setDisplayName(clean);
}
