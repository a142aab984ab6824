#include <gtest/gtest.h>

#include "Await.h"
#include "FixtureServer.h"
#include "engine/APIClient.h"
#include "platform/Endpoints.h"

#include <QJsonDocument>

namespace {

using Headers = QList<QPair<QByteArray, QByteArray>>;

class AssetsTest : public ::testing::Test {
  protected:
    void SetUp() override { Endpoints::setCurrent(Endpoints::allAt(server.origin())); }
    void TearDown() override { Endpoints::setCurrent(Endpoints::builtIn()); }

    void serve(const QString& path, const char* fixture, int status = 200, Headers headers = {}) {
        FixtureServer::Reply reply;
        reply.status = status;
        reply.body = FixtureServer::fixture(QStringLiteral("assets/") + QLatin1String(fixture));
        if (!headers.isEmpty()) reply.headers = headers;
        server.route(QString(path), reply);
    }

    const APIClient& api = APIClient::shared();
    FixtureServer server;
};

}  // namespace

TEST_F(AssetsTest, ThemeFromItsReplyOnly) {
    serve(QStringLiteral("/v1/theme"), "theme.json");
    std::optional<ThemeConfig> theme = await(api.fetchTheme());
    ASSERT_TRUE(theme);
    EXPECT_EQ(theme->moonInClock, false);
    EXPECT_EQ(theme->sunInClock, true);
    EXPECT_EQ(theme->moonSize, 140);
    EXPECT_FALSE(theme->sunSize);

    serve(QStringLiteral("/v1/theme"), "theme.json", 500);
    EXPECT_FALSE(await(api.fetchTheme()));  // an error status never stands for the theme
    serve(QStringLiteral("/v1/theme"), "theme_wrong_type.json");
    EXPECT_FALSE(await(api.fetchTheme()));
    server.clearRoutes();
    EXPECT_FALSE(await(api.fetchTheme()));  // the 404 page is JSON, and still no theme
    server.setOffline(true);
    EXPECT_FALSE(await(api.fetchTheme()));
}

TEST_F(AssetsTest, BrandingCountsOnlyWhenLogosAreAvailable) {
    serve(QStringLiteral("/v1/branding"), "branding.json");
    std::optional<Branding> branding = await(api.fetchBranding());
    ASSERT_TRUE(branding);
    EXPECT_EQ(branding->activeLogo, 2);
    EXPECT_EQ(branding->nosvVersion, QStringLiteral("3"));
    serve(QStringLiteral("/v1/branding"), "branding_unavailable.json");
    EXPECT_FALSE(await(api.fetchBranding()));
}

TEST_F(AssetsTest, BundleGivesItsThemeAndBranding) {
    serve(QStringLiteral("/v1/bundle"), "bundle_assets.json");
    const APIClient::BundleAssets assets = await(api.fetchBundleAssets());
    ASSERT_TRUE(assets.theme);
    EXPECT_EQ(assets.theme->sunSize, 96);
    ASSERT_TRUE(assets.branding);
    EXPECT_EQ(assets.branding->logoUrl, QStringLiteral("/v1/logo/1"));

    server.clearRoutes();
    const APIClient::BundleAssets none = await(api.fetchBundleAssets());
    EXPECT_FALSE(none.theme);
    EXPECT_FALSE(none.branding);
}

TEST_F(AssetsTest, LogoProbeReadsStatusAndVersion) {
    struct Row {
        int status;
        Headers headers;
        APIClient::LogoProbe::State state;
        const char* version;
    };
    const Row rows[] = {
        {200,
         {{"ETag", "\"v7\""}, {"Last-Modified", "Mon, 07 Dec 2026 04:00:00 GMT"}},
         APIClient::LogoProbe::State::Present,
         "\"v7\""},
        {200,
         {{"Last-Modified", "Mon, 07 Dec 2026 04:00:00 GMT"}},
         APIClient::LogoProbe::State::Present,
         "Mon, 07 Dec 2026 04:00:00 GMT"},
        {200, {{"Content-Type", "image/png"}}, APIClient::LogoProbe::State::Present, "99"},  // Content-Length
        {404, {{"Content-Type", "image/png"}}, APIClient::LogoProbe::State::Absent, ""},
        {410, {{"Content-Type", "image/png"}}, APIClient::LogoProbe::State::Absent, ""},
        {500, {{"Content-Type", "image/png"}}, APIClient::LogoProbe::State::Unknown, ""},
        {401, {{"Content-Type", "image/png"}}, APIClient::LogoProbe::State::Unknown, ""},
    };
    for (const Row& r : rows) {
        serve(QStringLiteral("/v1/logo/4"), "logo_green.png", r.status, r.headers);
        const APIClient::LogoProbe probe = await(api.probeLogo(4));
        EXPECT_EQ(probe.state, r.state) << r.status;
        EXPECT_EQ(probe.version, QLatin1String(r.version)) << r.status;
    }
    EXPECT_EQ(server.requestsTo(QStringLiteral("/v1/logo/4")).first().method, QByteArray("HEAD"));
    server.setOffline(true);
    EXPECT_EQ(await(api.probeLogo(4)).state, APIClient::LogoProbe::State::Unreachable);
}

TEST_F(AssetsTest, SlotsOutsideOneToTenAreNeverRequested) {
    for (int slot : {0, 11, -1}) {
        EXPECT_EQ(await(api.probeLogo(slot)).state, APIClient::LogoProbe::State::Unreachable);
        EXPECT_FALSE(await(api.fetchLogo(slot)));
    }
    EXPECT_TRUE(server.log().isEmpty());
}

TEST_F(AssetsTest, LogoDownloadsAreCapped) {
    serve(QStringLiteral("/v1/logo/10"), "logo_gold.png");
    EXPECT_EQ(await(api.fetchLogo(10)), FixtureServer::fixture(QStringLiteral("assets/logo_gold.png")));
    FixtureServer::Reply big;
    big.body = QByteArray(APIClient::maxImageBytes + 1, 'x');
    server.route(QStringLiteral("/v1/logo/10"), big);
    EXPECT_FALSE(await(api.fetchLogo(10)));
    big.body.chop(1);
    server.route(QStringLiteral("/v1/logo/10"), big);
    EXPECT_EQ(await(api.fetchLogo(10))->size(), APIClient::maxImageBytes);
}

TEST_F(AssetsTest, BlessingsDecodeOrGiveNothing) {
    serve(QStringLiteral("/v1/blessings"), "blessings_v3.json");
    const std::optional<BlessingsConfig> config = await(api.fetchBlessings());
    ASSERT_TRUE(config);
    EXPECT_EQ(config->version, 3);
    serve(QStringLiteral("/v1/blessings"), "blessings_bad_card.json");
    EXPECT_FALSE(await(api.fetchBlessings()));
}

TEST_F(AssetsTest, NoStreetViewMeta) {
    const QString path = QStringLiteral("/v1/streetview_unavailable/meta");
    struct Row {
        const char* fixture;
        bool available;
        std::optional<QString> version;
    };
    const Row rows[] = {{"nosv_meta_v1.json", true, QStringLiteral("1")},
                        {"nosv_meta_v2.json", true, QStringLiteral("2")},
                        {"nosv_meta_none.json", false, std::nullopt}};
    for (const Row& r : rows) {
        serve(path, r.fixture);
        const auto meta = await(api.fetchNoStreetViewMeta());
        ASSERT_TRUE(meta) << r.fixture;
        EXPECT_EQ(meta->available, r.available) << r.fixture;
        EXPECT_EQ(meta->version, r.version) << r.fixture;
    }
    serve(path, "theme.json");  // no "available"
    EXPECT_FALSE(await(api.fetchNoStreetViewMeta()));
}

TEST_F(AssetsTest, CheckinPostsTheBodyAndReportsAcceptance) {
    const QString path = QStringLiteral("/v1/checkin");
    const QJsonObject body{{QStringLiteral("clock_id"), QStringLiteral("clk-0123abcd")},
                           {QStringLiteral("lat"), 21.4225}};
    using Reply = APIClient::CheckinReply;
    server.routeJson(path, "{\"ok\":true}");
    EXPECT_EQ(await(api.postCheckin(body)), Reply::Taken);
    ASSERT_EQ(server.requestsTo(path).size(), 1);
    EXPECT_EQ(server.requestsTo(path).first().method, QByteArray("POST"));
    EXPECT_EQ(QJsonDocument::fromJson(server.requestsTo(path).first().body).object(), body);
    server.routeJson(path, "{\"ok\":true}", 503);
    EXPECT_EQ(await(api.postCheckin(body)), Reply::Refused);
    EXPECT_EQ(await(api.postCheckin({{QStringLiteral("lat"), qInf()}})), Reply::Unreached);
    EXPECT_EQ(server.requestsTo(path).size(), 2);
    // A server that answers too late is not reached.
    FixtureServer::Reply slow{200, "{}"};
    slow.delay = std::chrono::milliseconds(1500);
    server.route(path, slow);
    EXPECT_EQ(await(api.postCheckin(body, std::chrono::milliseconds(300))), Reply::Unreached);
    server.setOffline(true);
    EXPECT_EQ(await(api.postCheckin(body)), Reply::Unreached);
}
