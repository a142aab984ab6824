#pragma once

#include <gtest/gtest.h>

#include "FixtureServer.h"
#include "TempHome.h"
#include "platform/DefaultsStore.h"
#include "platform/Endpoints.h"
#include "platform/SecretStore.h"

#include <QDir>
#include <QQuickWindow>
#include <QUuid>

// A whole application in a private HOME, with the network answered by an empty fixture server.
struct WholeApp : ::testing::Test {
    static constexpr const char* kDevice = "TEST-DEVICE";
    TempHome home;
    FixtureServer server;

    void SetUp() override {
        qputenv("ORVANE_DEVICE_ID", kDevice);
        SecretStore::setServiceName(QStringLiteral("OrvaneTest-") +
                                    QUuid::createUuid().toString(QUuid::WithoutBraces));
        DefaultsStore::resetStandard();
        Endpoints::setCurrent(Endpoints::allAt(server.origin()));
    }
    void TearDown() override {
        DefaultsStore::resetStandard();
        Endpoints::setCurrent(Endpoints::builtIn());
        qunsetenv("ORVANE_DEVICE_ID");
        qunsetenv("ORVANE_PHONE");
    }

    static QString scoped(const char* name) {
        return QStringLiteral("profile.%1.%2").arg(QLatin1String(kDevice), QLatin1String(name));
    }

    void seedMakkah() {
        DefaultsStore& store = DefaultsStore::standard();
        store.setBool(scoped("acceptedPrivacy"), true);
        store.setBool(scoped("useManualLocation"), true);
        store.setDouble(scoped("manualLat"), 21.4225);
        store.setDouble(scoped("manualLon"), 39.8262);
        store.setString(scoped("manualCity"), QStringLiteral("Makkah"));
        store.setDouble(scoped("manualTzOffsetHours"), 3.0);
    }

    void grab(QQuickWindow* window, const char* name) {
        const QString dir = QStringLiteral(ORVANE_SCREENSHOT_DIR);
        QDir().mkpath(dir);
        window->grabWindow().save(dir + QLatin1Char('/') + QLatin1String(name));
    }
};
