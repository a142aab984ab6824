#pragma once

#include <gtest/gtest.h>

#include "FixtureServer.h"
#include "MakkahProfile.h"
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

    static QString scoped(const char* name) { return profileKey(kDevice, name); }

    void seedMakkah() { seedMakkahProfile(kDevice); }

    void grab(QQuickWindow* window, const char* name) {
        const QString dir = QStringLiteral(ORVANE_SCREENSHOT_DIR);
        QDir().mkpath(dir);
        window->grabWindow().save(dir + QLatin1Char('/') + QLatin1String(name));
    }
};
