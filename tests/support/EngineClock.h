#pragma once

#include "FixtureServer.h"
#include "TempHome.h"
#include "clock/AdhanPlayer.h"
#include "clock/ClockLoadSteps.h"
#include "clock/ClockViewModel.h"
#include "clock/MacPrayerAlarmService.h"
#include "clock/NotificationScheduler.h"
#include "engine/LocalBundleBuilder.h"
#include "platform/DefaultsStore.h"
#include "platform/DesktopNotifications.h"
#include "platform/Endpoints.h"
#include "platform/SystemTimeZone.h"
#include "services/AppSettings.h"

// The clock over the real bundle engine for one test, in a private home with the standard store, every
// remote service at a loopback server with no routes (so each answers nothing), and its own scheduler,
// player and alarm service. For test programs that link the clock layer.
class EngineClock {
    // Set up before and torn down after everything below.
    struct Environment {
        explicit Environment(const char* deviceId) { qputenv("ORVANE_DEVICE_ID", deviceId); }
        ~Environment() {
            Endpoints::setCurrent(Endpoints::builtIn());
            qunsetenv("ORVANE_DEVICE_ID");
        }
    };
    // Opens the standard store inside the private home and closes it before the home goes.
    struct StandardStore {
        StandardStore() { DefaultsStore::resetStandard(); }
        ~StandardStore() { DefaultsStore::resetStandard(); }
    };

  public:
    // The engine itself builds; the other steps answer at once, and a check-in never reaches a server.
    class Steps : public ClockLoadSteps {
      public:
        int builds = 0;
        QCoro::Task<> syncHijri(double, double, QDateTime, bool) override { co_return; }
        QCoro::Task<ClockBundle> build(double lat, double lon, SettingsSnapshot settings,
                                       std::optional<QString> city, std::optional<QString> country,
                                       bool force) override {
            ++builds;
            co_return co_await LocalBundleBuilder::build(lat, lon, settings, city, country, force);
        }
        QCoro::Task<std::optional<ThemeConfig>> syncAssets(SettingsSnapshot, ClockBundle, bool) override {
            co_return std::nullopt;
        }
        DialLogoPick pickDialLogo(int index) override { return {std::nullopt, index}; }
        QCoro::Task<APIClient::CheckinReply> checkin(QJsonObject, std::chrono::milliseconds) override {
            co_return APIClient::CheckinReply::Unreached;
        }
    };

    explicit EngineClock(const char* deviceId) : environment_(deviceId) {
        Endpoints::setCurrent(Endpoints::allAt(server.origin()));
    }
    ~EngineClock() { player.stop(); }

  private:
    Environment environment_;
    TempHome home_;
    StandardStore store_;

  public:
    FixtureServer server;
    AppSettings settings{DefaultsStore::standard()};
    DesktopNotifications client;
    NotificationScheduler scheduler{client, DefaultsStore::standard()};
    AdhanPlayer player;
    MacPrayerAlarmService alarms;
    // Its own look at the computer's zone, taken when the test's world begins.
    SystemTimeZone systemZone{QStringLiteral("/etc")};
    Steps steps;
    ClockViewModel vm{settings, steps,
                      ClockViewModel::Collaborators{&player, &scheduler, &alarms, &systemZone}};
};
