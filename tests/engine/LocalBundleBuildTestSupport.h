#pragma once

#include "Await.h"
#include "FixtureServer.h"
#include "TempHome.h"
#include "engine/LocalBundleBuilder.h"
#include "model/SettingsSnapshot.h"
#include "platform/DefaultsStore.h"
#include "platform/Endpoints.h"

#include <gtest/gtest.h>

#include <ctime>

// A private store, every service at the loopback fixture server, and the device in a fixed zone, for one
// bundle test.
class BundleBuildTest : public ::testing::Test {
  protected:
    static inline const QString kTimezone = QStringLiteral("/maps/api/timezone/json");
    static inline const QString kGeocode = QStringLiteral("/maps/api/geocode/json");
    static inline const QString kMetadata = QStringLiteral("/maps/api/streetview/metadata");
    static inline const QString kForecast = QStringLiteral("/v1/forecast");

    void SetUp() override {
        oldTz_ = qgetenv("TZ");
        hadTz_ = qEnvironmentVariableIsSet("TZ");
        qputenv("TZ", "UTC");
        tzset();
        DefaultsStore::resetStandard();
        useMapsKey(QString());
    }
    void TearDown() override {
        Endpoints::setCurrent(Endpoints::builtIn());
        DefaultsStore::resetStandard();
        if (hadTz_)
            qputenv("TZ", oldTz_);
        else
            qunsetenv("TZ");
        tzset();
    }

    // With no key the maps services are never asked and the offline place database answers.
    void useMapsKey(const QString& key) { Endpoints::setCurrent(Endpoints::allAt(server.origin(), key)); }

    // The fixed place's offset as the settings object leaves it: the value and its key in the store.
    static void storeManualOffset(SettingsSnapshot& s, double hours) {
        s.manualTzOffsetHours = hours;
        DefaultsStore::standard().setDouble(
            QStringLiteral("profile.") + s.deviceId + QStringLiteral(".manualTzOffsetHours"), hours);
    }

    static ClockBundle build(double lat, double lon, const SettingsSnapshot& s = SettingsSnapshot::defaults(),
                             std::optional<QString> city = std::nullopt,
                             std::optional<QString> country = std::nullopt, bool force = false) {
        return await(LocalBundleBuilder::build(lat, lon, s, std::move(city), std::move(country), force));
    }

    TempHome home;
    FixtureServer server;

  private:
    QByteArray oldTz_;
    bool hadTz_ = false;
};
