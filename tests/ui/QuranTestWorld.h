#pragma once

#include "Await.h"
#include "FixtureServer.h"
#include "QuranFixture.h"
#include "TempHome.h"
#include "platform/DefaultsStore.h"
#include "platform/Endpoints.h"
#include "services/AppSettings.h"
#include "services/QuranLibrary.h"

#include <memory>

// One Quran test's world: a private HOME with its own settings, the text service on a fixture server with
// the generated editions, and a library of its own.
struct QuranTestWorld {
    TempHome home;
    FixtureServer server;
    std::unique_ptr<DefaultsStore> store;
    std::unique_ptr<AppSettings> settings;
    std::unique_ptr<QuranLibrary> library = QuranLibrary::createDetached();

    QuranTestWorld() {
        qputenv("ORVANE_DEVICE_ID", "QURAN-TEST");
        Endpoints::setCurrent(Endpoints::allAt(server.origin()));
        QuranFixture::serveAll(server);
        store = std::make_unique<DefaultsStore>(home.path() + QStringLiteral("/defaults.sqlite3"));
        settings = std::make_unique<AppSettings>(*store);
    }
    ~QuranTestWorld() {
        settings.reset();
        store.reset();
        Endpoints::setCurrent(Endpoints::builtIn());
        qunsetenv("ORVANE_DEVICE_ID");
    }

    void load(const QString& code = QStringLiteral("en")) { await(library->ensureLoaded(code)); }
    QString scoped(const char* name) const {
        return QStringLiteral("profile.QURAN-TEST.") + QLatin1String(name);
    }
};
