#pragma once

#include "clock/AdhanCallRecord.h"
#include "clock/PrayerSchedule.h"
#include "engine/APIClient.h"
#include "model/ClockBundle.h"
#include "model/SettingsSnapshot.h"

#include <QCoro/QCoroTask>
#include <QDateTime>
#include <QObject>
#include <QPointer>
#include <QTimer>
#include <QUrl>
#include <cstdint>
#include <optional>

class AdhanPlayer;
class AppSettings;
class ClockLoadSteps;
class LocationManager;
class MacPrayerAlarmService;
class NotificationScheduler;
class SystemTimeZone;

// The clock's state on the GUI thread: the current instant (set every second), the bundle of the current
// place and day, and the rules around them: reload when due and at the place's change of day, ring each
// prayer once per civil day, raise new emergency alerts once, cache the bundle for the next start, check in.
class ClockViewModel : public QObject {
    Q_OBJECT
    Q_PROPERTY(QDateTime now READ now NOTIFY nowChanged)
    Q_PROPERTY(bool hasBundle READ hasBundle NOTIFY bundleChanged)
    Q_PROPERTY(QUrl dialLogoURL READ dialLogoURL NOTIFY dialLogoURLChanged)
    Q_PROPERTY(double faceAspect READ faceAspect WRITE setFaceAspect NOTIFY faceAspectChanged)

  public:
    // The objects a load and a trigger reach; the process's shared ones unless a test hands its own.
    struct Collaborators {
        AdhanPlayer* player = nullptr;
        NotificationScheduler* notifications = nullptr;
        MacPrayerAlarmService* alarms = nullptr;
        SystemTimeZone* systemZone = nullptr;
    };

    static constexpr int refreshCheckEveryTicks = 60;
    // Unforced check-ins closer together than this after one reached the server are skipped (start-up and
    // the first load both send one); one that never arrived leaves the next free to go.
    static constexpr std::int64_t checkinSpacingMs = 10 * 60 * 1000;
    static constexpr int seenEmergencyLimit = 500;

    ClockViewModel(AppSettings& settings, ClockLoadSteps& steps, QObject* parent = nullptr);
    ClockViewModel(AppSettings& settings, ClockLoadSteps& steps, Collaborators collaborators,
                   QObject* parent = nullptr);
    ~ClockViewModel() override;

    const QDateTime& now() const { return now_; }
    const std::optional<ClockBundle>& bundle() const { return bundle_; }
    bool hasBundle() const { return bundle_.has_value(); }
    const QUrl& dialLogoURL() const { return dialLogoURL_; }
    double faceAspect() const { return faceAspect_; }
    void setFaceAspect(double aspect);

    // Device coordinates rank after the fixed place and before the cached bundle's. In automatic mode every
    // load also asks the device for a fresh fix, and a fix that lies further than this from the loaded
    // place reloads the clock there.
    static constexpr double devicePlaceMovedKm = 5.0;
    void setLocationManager(LocationManager* manager);

    // Publishes the cached bundle of this device; an absent or undecodable one leaves the state empty.
    bool hydrateFromCache();

    // One full load for a place, in order: Hijri offset, bundle, the resolved place into the settings,
    // publish, cache, notifications and alarms, emergency alerts, then the assets (their dial logo and
    // theme reach the face when they arrive), check-in. Nothing after publishing waits on the server before
    // the assets. A load overtaken by a newer one stops writing. False when it was overtaken.
    QCoro::Task<bool> load(double lat, double lon, std::optional<QString> cityOverride,
                           std::optional<QString> countryOverride, bool force);
    struct Place {
        double lat = 0;
        double lon = 0;
        std::optional<QString> city;  // the fixed place's own name
    };
    // The best known place: the fixed one, the device's, then the cached bundle's; nothing when none is.
    std::optional<Place> bestKnownPlace();
    // Loads the best known place. False when no place is known (or the load was overtaken).
    QCoro::Task<bool> resolveAndLoad(bool force);
    bool isLoading() const { return loadsInFlight_ > 0; }

    void startTicking();
    void stopTicking();
    bool isTicking() const { return timer_.isActive(); }
    // One second of the clock, at Clock::now(). Allocates nothing when the next prayer did not change.
    void tick();

    void checkPrayerTriggers(std::int64_t nowMs);
    // Reloads when max(1, smallest refresh-hour setting) hours have passed since the last full load.
    void maybeRefreshIfDue(std::int64_t nowMs);
    // The instant the place's zone next changes its offset (the bundle is rebuilt then); nothing for a
    // place with a fixed offset.
    std::optional<std::int64_t> nextZoneChangeMs() const { return schedule_.zoneChangeMs; }

    // Starts the call for a prayer; unforced at most once per prayer per civil day of the bundle's place,
    // also across a restart.
    // A forced play (a test of the sound) counts as the prayer's call only from the prayer's minute on.
    Q_INVOKABLE void triggerAdhan(const QString& prayer, bool force);
    void triggerAdhan(const QString& prayer, const ClockBundle& bundle, bool force);

    // POSTs a presence check-in with the sanitized display name and this build's version; remembers
    // success in the settings. True when the server took it. An unforced one is skipped while another is
    // under way.
    QCoro::Task<bool> presencePing(AppSettings& settings, double lat, double lon,
                                   std::optional<ClockBundle> bundle, bool force,
                                   std::chrono::milliseconds timeout = APIClient::defaultRequestTimeout);

    // The next load picks a new dial logo (the window was reopened fresh).
    void requestNewDialLogo() { repickDialLogo_ = true; }

    std::int64_t lastFullLoadMs() const { return lastFullLoadMs_; }
    static QString cachedBundleKey(const QString& deviceId);

  signals:
    void nowChanged();
    void bundleChanged();
    void dialLogoURLChanged();
    void faceAspectChanged();
    // A call was started by a trigger (the player decides from the mode what is heard).
    void adhanTriggered(const QString& prayer, bool force);

  private:
    void publish(ClockBundle bundle);
    void cacheBundle(const ClockBundle& bundle, double lat, double lon);
    // Caches the bundle and gives its times to the notifications and the alarm service.
    void keep(const ClockBundle& bundle, double lat, double lon);
    QCoro::Task<> raiseEmergencyAlerts(ClockBundle bundle);
    void reloadSoftly();
    // When the shown times no longer belong to the place's day (midnight, a wake across days, the zone's
    // change of clocks, the computer's new zone for its own place), carries them to today on the device at
    // once and reloads. Integer work otherwise.
    void followTheDay(std::int64_t nowMs, bool deviceZoneMoved = false);
    void deviceZoneChanged();
    // The settings a bundle is built or carried with: the place is the device's own unless fixed.
    SettingsSnapshot buildSettings() const;
    // Whether the bundle's Hijri date is the one the stored day offset gives now.
    static bool showsConfirmedHijriDay(const ClockBundle& bundle);
    void devicePlaceChanged();

    AppSettings& settings_;
    ClockLoadSteps& steps_;
    Collaborators with_;
    QPointer<LocationManager> locationManager_;

    QDateTime now_;
    std::optional<ClockBundle> bundle_;
    QUrl dialLogoURL_;
    bool repickDialLogo_ = false;
    double faceAspect_ = 64.0 / 43.0;

    QTimer timer_;
    std::uint64_t tickCount_ = 0;
    std::uint64_t loadGeneration_ = 0;
    int loadsInFlight_ = 0;
    std::int64_t lastFullLoadMs_ = 0;
    std::int64_t newestLoadStartMs_ = 0;
    std::int64_t lastCheckinMs_ = 0;
    bool checkinInFlight_ = false;

    // Derived from the bundle when it is published, so the tick does integer work only.
    PrayerSchedule::Day schedule_;
    // Kept on disk, so a clock started again within a prayer's minute does not ring it twice.
    AdhanCallRecord called_;
};
