#include <gtest/gtest.h>

#include "Await.h"
#include "FixtureServer.h"
#include "engine/GoogleMapsClient.h"
#include "platform/Endpoints.h"

#include <chrono>

namespace {

const QString kAutocomplete = QStringLiteral("/maps/api/place/autocomplete/json");
const QString kDetails = QStringLiteral("/maps/api/place/details/json");

class PlacesTest : public ::testing::Test {
  protected:
    void useKey(const QString& key) { Endpoints::setCurrent(Endpoints::allAt(server.origin(), key)); }
    void SetUp() override { useKey(QStringLiteral("test-key")); }
    void TearDown() override { Endpoints::setCurrent(Endpoints::builtIn()); }
    void serve(const QString& path, const char* fixture, std::chrono::milliseconds delay = {}) {
        FixtureServer::Reply reply;
        reply.body = FixtureServer::fixture(QStringLiteral("assets/") + QLatin1String(fixture));
        reply.delay = delay;
        server.route(path, reply);
    }
    FixtureServer server;
};

QStringList labels(const QList<AddressSuggestion>& list) {
    QStringList out;
    for (const auto& s : list) out.append(s.label);
    return out;
}

}  // namespace

TEST_F(PlacesTest, ShortTextAsksNothing) {
    serve(kAutocomplete, "maps_autocomplete_mecca.json");
    for (const char* text : {"", " ", "M", "  M \n", "\tx\t"})
        EXPECT_TRUE(await(GoogleMapsClient::autocomplete(QString::fromUtf8(text))).isEmpty()) << text;
    EXPECT_TRUE(server.log().isEmpty());
    useKey(QString());
    EXPECT_TRUE(await(GoogleMapsClient::autocomplete(QStringLiteral(" L "))).isEmpty());
}

TEST_F(PlacesTest, PredictionsBecomeSuggestionsWithoutCoordinates) {
    serve(kAutocomplete, "maps_autocomplete_mecca.json");
    const auto list = await(GoogleMapsClient::autocomplete(QStringLiteral("  Me \n"), 21.4, 39.8));
    EXPECT_EQ(labels(list),
              (QStringList{QStringLiteral("Makkah Saudi Arabia"), QStringLiteral("Mecca, CA, USA"),
                           QStringLiteral("Mecca Street, Dubai")}));
    ASSERT_EQ(list.size(), 3);
    EXPECT_EQ(list[0].placeId, QStringLiteral("ChIJ-mecca"));
    EXPECT_FALSE(list[2].placeId);
    for (const auto& s : list) {
        EXPECT_FALSE(s.lat);
        EXPECT_FALSE(s.lon);
    }
    ASSERT_EQ(server.requestsTo(kAutocomplete).size(), 1);
    const QUrlQuery q = server.requestsTo(kAutocomplete).first().query;
    EXPECT_EQ(q.queryItemValue(QStringLiteral("input")), QStringLiteral("Me"));
    EXPECT_EQ(q.queryItemValue(QStringLiteral("location")), QStringLiteral("21.4,39.8"));
    EXPECT_EQ(q.queryItemValue(QStringLiteral("radius")), QStringLiteral("50000"));
    EXPECT_EQ(q.queryItemValue(QStringLiteral("key")), QStringLiteral("test-key"));
}

TEST_F(PlacesTest, NoBiasUnlessBothCoordinatesAreGiven) {
    serve(kAutocomplete, "maps_autocomplete_mecca.json");
    await(GoogleMapsClient::autocomplete(QStringLiteral("Mecca"), 21.4, std::nullopt));
    await(GoogleMapsClient::autocomplete(QStringLiteral("Mecca")));
    for (const auto& r : server.requestsTo(kAutocomplete)) {
        EXPECT_FALSE(r.query.hasQueryItem(QStringLiteral("location")));
        EXPECT_FALSE(r.query.hasQueryItem(QStringLiteral("radius")));
    }
}

TEST_F(PlacesTest, NoResultsIsAnAnswer) {
    serve(kAutocomplete, "maps_autocomplete_zero.json");
    EXPECT_TRUE(await(GoogleMapsClient::autocomplete(QStringLiteral("London"))).isEmpty());
}

TEST_F(PlacesTest, OfflinePlacesAnswerWithoutAKey) {
    useKey(QString());
    const auto list = await(GoogleMapsClient::autocomplete(QStringLiteral(" London ")));
    EXPECT_TRUE(server.log().isEmpty());
    ASSERT_GE(list.size(), 2);
    EXPECT_EQ(list[0].label, QStringLiteral("London, England, United Kingdom"));
    EXPECT_FALSE(list[0].placeId);
    ASSERT_TRUE(list[0].lat && list[0].lon);
    EXPECT_NEAR(*list[0].lat, 51.5085, 0.01);
    EXPECT_NEAR(*list[0].lon, -0.1257, 0.01);
    EXPECT_EQ(list[1].label, QStringLiteral("London, Ontario, Canada"));
    EXPECT_LE(GoogleMapsClient::offlineSuggestions(QStringLiteral("Me"), 4).size(), 4);
    EXPECT_TRUE(GoogleMapsClient::offlineSuggestions(QStringLiteral("Qzxqzx")).isEmpty());
}

TEST_F(PlacesTest, OfflinePlacesAnswerWhenTheServiceFails) {
    serve(kAutocomplete, "maps_autocomplete_denied.json");
    EXPECT_EQ(await(GoogleMapsClient::autocomplete(QStringLiteral("London"))).value(0).label,
              QStringLiteral("London, England, United Kingdom"));
    server.setOffline(true);
    EXPECT_EQ(await(GoogleMapsClient::autocomplete(QStringLiteral("London"))).value(0).label,
              QStringLiteral("London, England, United Kingdom"));
}

TEST_F(PlacesTest, AnAnswerOvertakenByANewerQueryIsDropped) {
    serve(kAutocomplete, "maps_autocomplete_mecca.json", std::chrono::milliseconds(300));
    auto older = GoogleMapsClient::autocomplete(QStringLiteral("Mec"));
    serve(kAutocomplete, "maps_autocomplete_mecca.json");
    auto newer = GoogleMapsClient::autocomplete(QStringLiteral("Mecca"));
    EXPECT_EQ(await(std::move(newer)).size(), 3);
    EXPECT_TRUE(await(std::move(older)).isEmpty());

    serve(kAutocomplete, "maps_autocomplete_mecca.json", std::chrono::milliseconds(100));
    auto cancelled = GoogleMapsClient::autocomplete(QStringLiteral("Mecca"));
    GoogleMapsClient::cancelAutocomplete();
    EXPECT_TRUE(await(std::move(cancelled)).isEmpty());
}

TEST_F(PlacesTest, PlaceDetailsMapping) {
    serve(kDetails, "maps_place_london.json");
    const std::optional<PlaceResult> place = await(GoogleMapsClient::place(QStringLiteral(" ChIJ-london ")));
    ASSERT_TRUE(place);
    EXPECT_TRUE(place->found);
    EXPECT_DOUBLE_EQ(*place->lat, 51.501364);
    EXPECT_DOUBLE_EQ(*place->lon, -0.14189);
    EXPECT_EQ(place->name, QStringLiteral("London SW1A 1AA, UK"));
    EXPECT_EQ(place->address, QStringLiteral("London SW1A 1AA, UK"));
    EXPECT_EQ(place->locality, QStringLiteral("London"));
    const QUrlQuery q = server.requestsTo(kDetails).first().query;
    EXPECT_EQ(q.queryItemValue(QStringLiteral("place_id")), QStringLiteral("ChIJ-london"));
    EXPECT_EQ(q.queryItemValue(QStringLiteral("fields")),
              QStringLiteral("geometry,formatted_address,name,address_components"));
}

TEST_F(PlacesTest, PlaceDetailsFailuresGiveNothing) {
    for (const char* fixture : {"maps_place_no_geometry.json", "maps_place_not_found.json"}) {
        serve(kDetails, fixture);
        EXPECT_FALSE(await(GoogleMapsClient::place(QStringLiteral("abc")))) << fixture;
    }
    server.clearLog();
    EXPECT_FALSE(await(GoogleMapsClient::place(QStringLiteral("  "))));
    EXPECT_TRUE(server.log().isEmpty());
    server.setOffline(true);
    EXPECT_FALSE(await(GoogleMapsClient::place(QStringLiteral("abc"))));
    useKey(QString());
    EXPECT_FALSE(await(GoogleMapsClient::place(QStringLiteral("abc"))));
}
