#pragma once

#include "FileBytes.h"
#include "FixtureServer.h"
#include "TempHome.h"
#include "platform/DefaultsStore.h"
#include "platform/Endpoints.h"

#include <gtest/gtest.h>

// One disk-cache test: a private data folder and defaults store, and every service pointed at a fixture
// server. The built-in endpoints and a fresh standard store come back afterwards.
class AssetCacheTest : public ::testing::Test, protected FileBytes {
  protected:
    void SetUp() override {
        DefaultsStore::resetStandard();
        Endpoints::setCurrent(Endpoints::allAt(server.origin()));
    }
    void TearDown() override {
        Endpoints::setCurrent(Endpoints::builtIn());
        DefaultsStore::resetStandard();
    }

    // Serves a fixture file of tests/fixtures/assets with the given headers.
    void serve(const QString& path, const QString& fixture, QList<QPair<QByteArray, QByteArray>> headers = {},
               int status = 200) {
        FixtureServer::Reply reply;
        reply.status = status;
        reply.body = FixtureServer::fixture(QStringLiteral("assets/") + fixture);
        reply.headers = headers.isEmpty()
                            ? QList<QPair<QByteArray, QByteArray>>{{"Content-Type", "application/json"}}
                            : headers;
        server.route(path, reply);
    }

    static QByteArray asset(const QString& fixture) {
        return FixtureServer::fixture(QStringLiteral("assets/") + fixture);
    }

    int countRequests(const QByteArray& method, const QString& pathPrefix) const {
        int n = 0;
        for (const auto& r : server.log())
            if (r.method == method && r.path.startsWith(pathPrefix)) ++n;
        return n;
    }

    TempHome home;
    FixtureServer server;
};
