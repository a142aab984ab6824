#include <gtest/gtest.h>

#include "Await.h"
#include "FixtureServer.h"
#include "engine/APIClient.h"
#include "platform/Endpoints.h"

#include <QJsonDocument>
#include <limits>

namespace {

// Points the own server at a fixture server for one test.
class ServerAt {
  public:
    explicit ServerAt(const QUrl& origin) : saved_(Endpoints::current()) {
        Endpoints::setCurrent(Endpoints::allAt(origin));
    }
    ~ServerAt() { Endpoints::setCurrent(saved_); }

  private:
    Endpoints saved_;
};

const QString kPath = QStringLiteral("/v1/clock_address");

}  // namespace

TEST(APIClient, SharedIsOneClient) {
    EXPECT_EQ(&APIClient::shared(), &APIClient::shared());
}

TEST(APIClient, ServerURLEncodesEveryQueryValue) {
    ServerAt at(QUrl(QStringLiteral("https://api.example.org")));
    struct Row {
        QString value;
        const char* encoded;
    };
    const Row rows[] = {
        {QStringLiteral("clk-0123abcd"), "clk-0123abcd"},
        {QStringLiteral("a+b&c=d#e"), "a%2Bb%26c%3Dd%23e"},
        {QStringLiteral("two words/\u00e9"), "two%20words%2F%C3%A9"},
        {QString(), ""},
    };
    for (const Row& row : rows) {
        const QUrl url = APIClient::serverURL(kPath, {{QStringLiteral("clock_id"), row.value}});
        EXPECT_EQ(url.toEncoded(),
                  QByteArray("https://api.example.org/v1/clock_address?clock_id=") + row.encoded);
    }
    Endpoints::setCurrent(Endpoints::allAt(QUrl(QStringLiteral("not a url"))));
    EXPECT_TRUE(APIClient::serverURL(kPath).isEmpty());
}

struct PostCase {
    const char* fixture;
    int status;
    bool expected;
};

class APIClientPost : public ::testing::TestWithParam<PostCase> {};

TEST_P(APIClientPost, ResultIsTheBooleanOkOfTheBody) {
    FixtureServer server;
    ServerAt at(server.origin());
    server.routeFixture(kPath, QString::fromLatin1(GetParam().fixture), GetParam().status);
    QJsonObject body{{QStringLiteral("clock_id"), QStringLiteral("clk-0123abcd")},
                     {QStringLiteral("lat"), 21.4}};
    EXPECT_EQ(await(APIClient::shared().postClockAddress(body)), GetParam().expected);
    ASSERT_EQ(server.requestsTo(kPath).size(), 1);
    const FixtureServer::LoggedRequest sent = server.requestsTo(kPath).first();
    EXPECT_EQ(sent.method, QByteArray("POST"));
    EXPECT_EQ(sent.header("content-type"), QByteArray("application/json"));
    EXPECT_EQ(QJsonDocument::fromJson(sent.body).object(), body);
}

INSTANTIATE_TEST_SUITE_P(Replies, APIClientPost,
                         ::testing::Values(PostCase{"clock_address_post_ok.json", 200, true},
                                           PostCase{"clock_address_post_ok.json", 500, true},
                                           PostCase{"clock_address_post_ok_text.json", 200, false},
                                           PostCase{"clock_address_post_refused.json", 200, false}));

TEST(APIClient, PostFailsOnGarbageOrNoServer) {
    FixtureServer server;
    ServerAt at(server.origin());
    server.routeJson(kPath, "<html>ok</html>");
    EXPECT_FALSE(await(APIClient::shared().postClockAddress({})));
    server.routeJson(kPath, "[true]");
    EXPECT_FALSE(await(APIClient::shared().postClockAddress({})));
    server.setOffline(true);
    EXPECT_FALSE(await(APIClient::shared().postClockAddress({})));
}

TEST(APIClient, NonFiniteBodyIsNeverSent) {
    FixtureServer server;
    ServerAt at(server.origin());
    server.routeFixture(kPath, QStringLiteral("clock_address_post_ok.json"));
    const QJsonObject body{{QStringLiteral("lat"), std::numeric_limits<double>::quiet_NaN()}};
    EXPECT_FALSE(await(APIClient::shared().postClockAddress(body)));
    EXPECT_TRUE(server.log().isEmpty());
}

TEST(APIClient, FetchClockAddressSendsTrimmedDeviceIdOnlyWhenGiven) {
    FixtureServer server;
    ServerAt at(server.origin());
    server.routeFixture(kPath, QStringLiteral("clock_address_street.json"), 500);
    const auto info = await(
        APIClient::shared().fetchClockAddress(QStringLiteral("clk-0123abcd"), QStringLiteral("  D+1 \n")));
    ASSERT_TRUE(info.has_value());  // the status is not consulted
    EXPECT_TRUE(info->found);
    EXPECT_EQ(info->clockId, QStringLiteral("clk-5e7a11ce"));
    EXPECT_EQ(info->lat, 48.8566);
    await(APIClient::shared().fetchClockAddress(QStringLiteral("clk-0123abcd"), QStringLiteral(" \t")));
    await(APIClient::shared().fetchClockAddress(QStringLiteral("clk-0123abcd"), std::nullopt));
    const auto sent = server.requestsTo(kPath);
    ASSERT_EQ(sent.size(), 3);
    EXPECT_EQ(sent[0].method, QByteArray("GET"));
    EXPECT_EQ(sent[0].query.queryItemValue(QStringLiteral("clock_id")), QStringLiteral("clk-0123abcd"));
    EXPECT_EQ(sent[0].query.queryItemValue(QStringLiteral("device_id"), QUrl::FullyDecoded),
              QStringLiteral("D+1"));
    EXPECT_FALSE(sent[1].query.hasQueryItem(QStringLiteral("device_id")));
    EXPECT_FALSE(sent[2].query.hasQueryItem(QStringLiteral("device_id")));
}

TEST(APIClient, FetchClockAddressGivesNothingForAnythingButTheRecord) {
    FixtureServer server;
    ServerAt at(server.origin());
    const auto fetch = [] {
        return await(APIClient::shared().fetchClockAddress(QStringLiteral("clk-0123abcd"), {}));
    };
    server.routeFixture(kPath, QStringLiteral("clock_address_bad_lat.json"));
    EXPECT_FALSE(fetch().has_value());
    server.routeJson(kPath, "{}");
    EXPECT_FALSE(fetch().has_value());
    server.routeJson(kPath, "not json");
    EXPECT_FALSE(fetch().has_value());
    server.routeFixture(kPath, QStringLiteral("clock_address_not_found.json"));
    ASSERT_TRUE(fetch().has_value());
    EXPECT_FALSE(fetch()->found);
    server.setOffline(true);
    EXPECT_FALSE(fetch().has_value());
}
