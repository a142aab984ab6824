#pragma once

#include "Await.h"
#include "FixtureServer.h"
#include "TempHome.h"
#include "platform/DefaultsStore.h"
#include "platform/Endpoints.h"
#include "platform/SecretStore.h"
#include "services/AppSettings.h"

#include <gtest/gtest.h>
#include <QTest>
#include <QUuid>
#include <memory>

// One test's world for the settings: a private HOME with its own defaults database, keyring items filed
// under a service name of their own, no device id override, and the own server on a fixture server.
class SettingsTestEnv {
  public:
    SettingsTestEnv()
        : savedEndpoints_(Endpoints::current()),
          savedService_(SecretStore::serviceName()),
          savedEnvId_(qgetenv("ORVANE_DEVICE_ID")) {
        qunsetenv("ORVANE_DEVICE_ID");
        SecretStore::setServiceName(QStringLiteral("OrvaneTest-") +
                                    QUuid::createUuid().toString(QUuid::WithoutBraces));
        SecretStore::resetBackoff();
        Endpoints::setCurrent(Endpoints::allAt(server.origin()));
        reopen();
    }
    ~SettingsTestEnv() {
        settings.reset();
        store.reset();
        settleKeyring();
        for (const char* account : {"orvane.deviceId", "orvane.clockId"})
            await(SecretStore::remove(QLatin1String(account)));
        SecretStore::setServiceName(savedService_);
        Endpoints::setCurrent(savedEndpoints_);
        if (savedEnvId_.isNull()) {
            qunsetenv("ORVANE_DEVICE_ID");
        } else {
            qputenv("ORVANE_DEVICE_ID", savedEnvId_);
        }
    }

    QString storePath() const { return home.configHome() + QStringLiteral("/Orvane/defaults.sqlite3"); }

    // A new process's view of the same files: the store is read again from disk.
    void reopen() {
        settings.reset();
        store.reset();
        store = std::make_unique<DefaultsStore>(storePath());
    }

    // Constructs the settings and lets their keyring calls finish, as a start-up does before anyone looks.
    AppSettings& start() {
        settings = std::make_unique<AppSettings>(*store);
        settleKeyring();
        return *settings;
    }

    static void settleKeyring() {
        EXPECT_TRUE(QTest::qWaitFor([] { return AppSettings::keyringIdle(); }, 15000))
            << "keyring calls still under way";
    }

    QString scoped(const QString& name) const {
        return QStringLiteral("profile.") + store->string(QStringLiteral("deviceId")).value_or(QString()) +
               u'.' + name;
    }

    // What the keyring holds once the settings' own writes, which run on without being awaited, are done.
    static std::optional<QString> keyring(const char* account) {
        settleKeyring();
        const auto r = await(SecretStore::read(QLatin1String(account)));
        if (r.status != SecretStore::Status::Ok) return std::nullopt;
        return QString::fromUtf8(r.data);
    }

    TempHome home;
    FixtureServer server;
    std::unique_ptr<DefaultsStore> store;
    std::unique_ptr<AppSettings> settings;

  private:
    Endpoints savedEndpoints_;
    QString savedService_;
    QByteArray savedEnvId_;
};
