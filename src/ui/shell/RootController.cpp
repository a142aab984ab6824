#include "ui/shell/RootController.h"

#include "clock/AdhanPlayer.h"
#include "clock/AppEvents.h"
#include "clock/ClockViewModel.h"
#include "clock/NotificationScheduler.h"
#include "engine/APIClient.h"
#include "model/Server.h"
#include "services/AppSettings.h"
#include "services/LocationManager.h"
#include "services/LogoDiskCache.h"
#include "services/NetworkOnlineWatcher.h"
#include "ui/face/ClockFaceController.h"
#include "ui/settings/SettingsChoices.h"

#include <QPointer>

RootController::RootController(AppSettings& settings, ClockViewModel& clock, LocationManager* location,
                               QObject* parent)
    : QObject(parent), settings_(settings), clock_(clock), location_(location) {
    connect(&settings_, &AppSettings::acceptedPrivacyChanged, this, &RootController::consentGivenChanged);
    connect(&settings_, &AppSettings::acceptedPrivacyChanged, this, &RootController::updateSettingsWindow);
    connect(&settings_, &AppSettings::unitsModeChanged, this, &RootController::metricChanged);
    connect(&clock_, &ClockViewModel::bundleChanged, this, [this] {
        if (clock_.hasBundle()) setErrorText({});
        Q_EMIT hasBundleChanged();
    });

    // A new fixed place arrives as several property writes in a row; one reload serves them all.
    placeChange_.setSingleShot(true);
    placeChange_.setInterval(0);
    connect(&placeChange_, &QTimer::timeout, this, [this] { loadBestKnownPlace(false); });
    for (auto signal : {&AppSettings::useManualLocationChanged, &AppSettings::manualLatChanged,
                        &AppSettings::manualLonChanged, &AppSettings::manualCityChanged,
                        &AppSettings::manualPlaceIdChanged})
        connect(&settings_, signal, this, &RootController::placeSettingsChanged);

    recheck_.setSingleShot(true);
    recheck_.setInterval(recheckDelayMs);
    connect(&recheck_, &QTimer::timeout, this, [this] { loadBestKnownPlace(false); });

    // A device fix that arrives while no place is known is the place.
    if (location_) {
        connect(location_, &LocationManager::coordinateChanged, this, [this] {
            if (!clock_.hasBundle() && startupDone_) loadBestKnownPlace(false);
        });
    }

    AppEvents& events = AppEvents::shared();
    // "OrvanePlayPrayer" is answered by the clock state itself, so it plays with every window closed too.
    connect(&events, &AppEvents::openFresh, this, [this] {
        clock_.requestNewDialLogo();
        loadBestKnownPlace(false);
    });
    // The permission controls live on the Adhan pane, so that is where a request for them lands.
    connect(&events, &AppEvents::openNotificationSettings, this,
            [this] { openSettings(QStringLiteral("adhan")); });
}

QVariant RootController::bundle() const {
    return clock_.bundle() ? QVariant::fromValue(*clock_.bundle()) : QVariant();
}

bool RootController::metric() const {
    return settings_.effectiveMetric();
}

bool RootController::consentGiven() const {
    return settings_.acceptedPrivacy();
}
bool RootController::hasBundle() const {
    return clock_.hasBundle();
}
QString RootController::privacyURL() const {
    return Server::privacyURL().toString();
}

void RootController::setShowSettings(bool show) {
    if (show == showSettings_) return;
    showSettings_ = show;
    Q_EMIT showSettingsChanged();
    updateSettingsWindow();
}

void RootController::updateSettingsWindow() {
    const bool visible = showSettings_ && consentGiven();
    if (visible == (settingsWindow_ != nullptr)) return;
    if (!visible) {
        settingsWindow_->deleteLater();
        settingsWindow_ = nullptr;
        Q_EMIT settingsWindowChanged();
        return;
    }
    std::optional<double> biasLat, biasLon;
    if (const auto& bundle = clock_.bundle()) {
        biasLat = bundle->location.lat;
        biasLon = bundle->location.lon;
    } else if (location_ && location_->hasCoordinate()) {
        biasLat = location_->latitude();
        biasLon = location_->longitude();
    }
    auto* window = new SettingsController(
        settings_, settingsPane_, SettingsChoices::methods(), biasLat, biasLon,
        settingsServices_ ? *settingsServices_
                          : LocationSearch::Services(LocationSearch::defaultServices(this)),
        this);
    // Every rebuild the window asks for is forced, for the place the settings now hold. Without a place it
    // only shows the error: the user just closed the window and can open it again from there.
    connect(window, &SettingsController::applyRequested, this, [this] { loadBestKnownPlace(true, false); });
    connect(window, &SettingsController::closeRequested, this, [this, window] {
        setSettingsPane(window->selectedPane());
        setShowSettings(false);
    });
    settingsWindow_ = window;
    window->appear();
    Q_EMIT settingsWindowChanged();
}

void RootController::setSettingsPane(const QString& pane) {
    if (pane == settingsPane_) return;
    settingsPane_ = pane;
    Q_EMIT settingsPaneChanged();
}

void RootController::acceptPrivacy() {
    settings_.setAcceptedPrivacy(true);
}

void RootController::openSettings(const QString& pane) {
    // The user is at hand: a keyring that was locked may be unlocked now, or asked to be.
    settings_.retryKeyring();
    if (!pane.isEmpty()) setSettingsPane(pane);
    setShowSettings(true);
}

void RootController::setErrorText(const QString& text) {
    if (text == errorText_) return;
    errorText_ = text;
    Q_EMIT errorTextChanged();
}

void RootController::placeSettingsChanged() {
    if (startupDone_) placeChange_.start();
}

QCoro::Task<> RootController::runStartup() {
    clock_.hydrateFromCache();
    settings_.healIncompleteManualLocation();
    NetworkOnlineWatcher::shared().start([this] {
        const auto& bundle = clock_.bundle();
        const double lat = bundle ? bundle->location.lat : settings_.manualLat();
        const double lon = bundle ? bundle->location.lon : settings_.manualLon();
        clock_.presencePing(settings_, lat, lon, bundle, false);
    });
    // The address pull and the check-in go to the own server together and within the push's short bound;
    // neither holds back the first face of a place already known. A pulled address that moves the place
    // arrives as a change of the fixed-place settings, which reloads once start-up is done.
    QCoro::Task<bool> pull = settings_.pullSavedAddressFromServer(true, APIClient::startupTimeout);
    {
        const auto& bundle = clock_.bundle();
        const double lat = bundle ? bundle->location.lat : settings_.manualLat();
        const double lon = bundle ? bundle->location.lon : settings_.manualLon();
        clock_.presencePing(settings_, lat, lon, bundle, false, APIClient::startupTimeout);
    }
    // The controller may be gone when an await returns; nothing of it is touched then.
    const QPointer<RootController> self(this);
    // With no place at all, the server's saved address is the only one to wait for.
    if (!clock_.bestKnownPlace()) {
        co_await std::move(pull);
        if (!self) co_return;
    }
    startupDone_ = true;
    co_await loadBestKnownPlace(false);
    if (!self) co_return;
    if (!clock_.hasBundle() && !recheck_.isActive() && errorText_ == noLocationText()) recheck_.start();
}

QCoro::Task<> RootController::loadBestKnownPlace(bool force, bool openSettingsWhenNone) {
    const QPointer<RootController> self(this);
    const bool loaded = co_await clock_.resolveAndLoad(force);
    if (!self) co_return;
    if (loaded || clock_.hasBundle()) {
        setErrorText({});
        co_return;
    }
    // resolveAndLoad also answers false for an overtaken load; only "no place at all" is an error.
    const bool fixed = settings_.hasUsableFixedAddress();
    const bool device = location_ && location_->hasCoordinate();
    if (fixed || device) co_return;
    setErrorText(noLocationText());
    if (openSettingsWhenNone) openSettings(QStringLiteral("location"));
    if (location_) location_->requestLocation();
}

void RootController::firstAppearance() {
    if (appeared_) return;
    appeared_ = true;
    clock_.startTicking();
    NotificationScheduler::shared().configure();
    NotificationScheduler::shared().requestAuthorization();
}

void RootController::foregroundRefresh() {
    if (!consentGiven() || !startupDone_) return;
    loadBestKnownPlace(false);
}

AdhanPlayer* RootController::player() const {
    return &AdhanPlayer::shared();
}

void RootController::attachFace(ClockFaceController* face) {
    if (!face) return;
    QPointer<ClockFaceController> guarded(face);
    auto pushBundle = [this, guarded] {
        if (guarded && clock_.bundle()) guarded->setBundle(*clock_.bundle());
    };
    auto pushLogo = [this, guarded] {
        if (guarded) guarded->setDialLogoUrl(clock_.dialLogoURL());
    };
    auto pushSettings = [this, guarded] {
        if (!guarded) return;
        guarded->setUse24HourClock(settings_.use24HourClock());
        guarded->setLearnAdhanButtonTitle(settings_.learnAdhanButtonTitle());
    };
    pushBundle();
    // The face keeps its own time, ticking on the second while it is shown and reading the clock as it
    // reappears; the clock state's own tick would only redo its texts, twice a second or behind a closed
    // window.
    face->setNow(double(clock_.now().toMSecsSinceEpoch()));
    pushLogo();
    pushSettings();
    // The face reads the clock id once; the identifiers' own memo keeps repeated reads cheap anyway.
    face->setClockId(settings_.ensureLocalClockId());
    face->setLogoCacheDir(LogoDiskCache::directoryURL());
    connect(&clock_, &ClockViewModel::bundleChanged, face, pushBundle);
    connect(&clock_, &ClockViewModel::dialLogoURLChanged, face, pushLogo);
    connect(&settings_, &AppSettings::use24HourClockChanged, face, pushSettings);
    connect(&settings_, &AppSettings::learnAdhanButtonTitleChanged, face, pushSettings);
    connect(face, &ClockFaceController::faceAspectChanged, this,
            [this](double aspect) { clock_.setFaceAspect(aspect); });
    connect(face, &ClockFaceController::playAdhanRequested, this,
            [this](const QString& prayer) { clock_.triggerAdhan(prayer, true); });
    connect(face, &ClockFaceController::settingsRequested, this, [this] { openSettings(); });
}
