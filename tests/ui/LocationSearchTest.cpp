#include "Await.h"
#include "SettingsTestWorld.h"
#include "engine/GoogleMapsClient.h"

#include <gtest/gtest.h>

#include <QSignalSpy>
#include <QTest>

using namespace Qt::Literals::StringLiterals;

namespace {

AddressSuggestion suggestion(const QString& label, std::optional<QString> placeId,
                             std::optional<double> lat = std::nullopt,
                             std::optional<double> lon = std::nullopt) {
    return AddressSuggestion{label, std::move(placeId), lat, lon};
}

PlaceResult foundPlace(double lat, double lon, std::optional<QString> address, std::optional<QString> name,
                       std::optional<QString> locality = std::nullopt) {
    PlaceResult p;
    p.found = true;
    p.lat = lat;
    p.lon = lon;
    p.address = std::move(address);
    p.name = std::move(name);
    p.locality = std::move(locality);
    return p;
}

struct Search : ::testing::Test {
    SettingsTestWorld world;
    std::unique_ptr<SettingsController> window = world.window(u"location"_s);
    LocationSearch& search = *window->location();

    void SetUp() override {
        world.settings.setUseManualLocation(true);
        world.env.server.routeFixture(u"/v1/clock_address"_s, u"clock_address_post_ok.json"_s);
    }
};

}  // namespace

TEST_F(Search, ShortTextsEmptyTheListAndAskNothing) {
    world.autocompleteAnswer = {suggestion(u"Makkah"_s, u"p1"_s)};
    search.setCityQuery(u"Mak"_s);
    world.fireAll();
    ASSERT_EQ(search.suggestions().size(), 1);
    for (const char* text : {"Ma", "  ab  ", "\tx\t", ""}) {
        search.scheduleSearch(QString::fromUtf8(text));
        EXPECT_TRUE(search.suggestions().isEmpty()) << text;
    }
    EXPECT_TRUE(world.deferred.isEmpty());
    EXPECT_EQ(world.autocompleteCalls, QStringList{u"Mak"_s});

    search.scheduleSearch(u"  abc  "_s);
    ASSERT_EQ(world.deferred.size(), 1);
    EXPECT_EQ(world.deferred[0].ms, 350);
    world.fireAll();
    EXPECT_EQ(world.autocompleteCalls.last(), u"abc"_s);
}

TEST_F(Search, OnlyTheLastTextOfATypingBurstIsSent) {
    search.setCityQuery(u"Lond"_s);
    search.setCityQuery(u"Londo"_s);
    world.fireAll();  // both waits end; the first was superseded
    EXPECT_EQ(world.autocompleteCalls, QStringList{u"Londo"_s});
}

TEST_F(Search, AStaleAnswerIsDroppedAndAnEmptyOneClearsTheRows) {
    world.autocompleteGate = std::make_unique<Gate>();
    world.autocompleteAnswer = {suggestion(u"Stale"_s, u"s"_s)};
    search.setCityQuery(u"Toro"_s);
    world.fireAll();  // the request for "Toro" is out
    world.autocompleteAnswer = {suggestion(u"Toronto, ON, Canada"_s, u"t"_s)};
    search.setCityQuery(u"Toron"_s);
    world.fireAll();
    world.autocompleteGate->release();  // both answers arrive, the older first
    QCoreApplication::processEvents();
    ASSERT_EQ(search.suggestions().size(), 1);
    EXPECT_EQ(search.suggestions()[0].label, u"Toronto, ON, Canada"_s);

    world.autocompleteGate.reset();
    world.autocompleteAnswer = {};
    search.setCityQuery(u"Zzzzz"_s);
    world.fireAll();
    EXPECT_TRUE(search.suggestions().isEmpty());
}

TEST_F(Search, NoSearchWhileTheFixedPlaceIsOff) {
    world.settings.setUseManualLocation(false);
    search.setCityQuery(u"Cairo"_s);
    EXPECT_TRUE(world.deferred.isEmpty());
}

TEST_F(Search, ChoosingAPlaceStoresItAndSaysItWasSaved) {
    world.placeAnswer = [](const QString& id) -> std::optional<PlaceResult> {
        EXPECT_EQ(id, u"ChIJ-street"_s);
        return foundPlace(43.6532, -79.3832, u"100 Queen St W, Toronto, ON, Canada"_s, u"City Hall"_s,
                          u"Toronto"_s);
    };
    world.offsetAnswer = -5.0;
    QSignalSpy applied(&search, &LocationSearch::applied);
    await(search.choose(suggestion(u"100 Queen St W"_s, u"ChIJ-street"_s)));
    AppSettings& s = world.settings;
    EXPECT_TRUE(s.useManualLocation());
    EXPECT_DOUBLE_EQ(s.manualLat(), 43.6532);
    EXPECT_DOUBLE_EQ(s.manualLon(), -79.3832);
    EXPECT_EQ(s.manualCity(), u"100 Queen St W, Toronto, ON, Canada"_s);
    EXPECT_EQ(s.manualPlaceId(), u"ChIJ-street"_s);
    EXPECT_DOUBLE_EQ(s.manualTzOffsetHours(), -5.0);
    EXPECT_DOUBLE_EQ(s.lastKnownLat(), 43.6532);
    EXPECT_EQ(world.env.store->string(world.env.scoped(u"manualCity"_s)), s.manualCity());
    EXPECT_EQ(world.env.server.requestsTo(u"/v1/clock_address"_s).size(), 1);
    EXPECT_EQ(search.cityQuery(), u"Toronto"_s);  // the town, which is searched again
    EXPECT_EQ(world.deferred.size(), 1);
    EXPECT_TRUE(search.suggestions().isEmpty());
    EXPECT_EQ(search.lookupMessage(), u"Applied \u2713 \u2014 saved to your clock ID"_s);
    EXPECT_EQ(applied.count(), 1);
}

TEST_F(Search, AFailedSaveToTheServerIsNotReportedAsSaved) {
    world.env.server.routeJson(u"/v1/clock_address"_s, "{\"ok\":false}");
    await(search.choose(suggestion(u"Doha, Qatar"_s, std::nullopt, 25.2854, 51.531)));
    EXPECT_EQ(world.settings.manualCity(), u"Doha, Qatar"_s);
    EXPECT_EQ(search.lookupMessage(), LocationSearch::appliedLocallyText());
    EXPECT_FALSE(search.lookupMessage().contains(QChar(0x2713)));
}

TEST_F(Search, ChooseFallsBackToTheSuggestionAndRefusesAPlaceWithoutCoordinates) {
    // Details not found: the suggestion's own coordinates and label.
    await(search.choose(suggestion(u"Medina"_s, u"gone"_s, 24.4672, 39.6112)));
    EXPECT_EQ(world.settings.manualCity(), u"Medina"_s);
    EXPECT_EQ(search.cityQuery(), u"Medina"_s);

    // Details with an empty address and name: the label.
    world.placeAnswer = [](const QString&) { return foundPlace(31.2, 29.9, u""_s, u""_s); };
    await(search.choose(suggestion(u"Alexandria, Egypt"_s, u"alx"_s)));
    EXPECT_EQ(world.settings.manualCity(), u"Alexandria, Egypt"_s);

    // A blank name keeps the stored city; the coordinates still change.
    await(search.choose(suggestion(u"   "_s, std::nullopt, 30.0444, 31.2357)));
    EXPECT_EQ(world.settings.manualCity(), u"Alexandria, Egypt"_s);
    EXPECT_DOUBLE_EQ(world.settings.manualLat(), 30.0444);

    // Nothing to stand on: a message, and no setting changes.
    QSignalSpy applied(&search, &LocationSearch::applied);
    world.placeAnswer = [](const QString&) { return std::optional<PlaceResult>(); };
    for (const auto& s : {suggestion(u"Nowhere"_s, std::nullopt), suggestion(u"Offline"_s, u"pid"_s)}) {
        await(search.choose(s));
        EXPECT_EQ(search.lookupMessage(), u"Couldn't locate that."_s);
    }
    EXPECT_DOUBLE_EQ(world.settings.manualLat(), 30.0444);
    EXPECT_EQ(applied.count(), 0);
}

TEST_F(Search, AnUnknownZoneIsEstimatedFromTheLongitudeAndSaidSo) {
    world.offsetAnswer = std::nullopt;
    await(search.choose(suggestion(u"Mid-ocean"_s, std::nullopt, -40.0, -127.6)));
    EXPECT_DOUBLE_EQ(world.settings.manualTzOffsetHours(), -9.0);
    EXPECT_TRUE(search.lookupMessage().startsWith(LocationSearch::appliedText()));
    EXPECT_TRUE(search.lookupMessage().endsWith(LocationSearch::estimatedOffsetNote()));
}

TEST_F(Search, OnlyTheLatestChoiceApplies) {
    world.placeGate = std::make_unique<Gate>();
    world.placeAnswer = [](const QString& id) {
        return id == u"first"_s ? foundPlace(51.5, -0.12, u"London"_s, {})
                                : foundPlace(48.85, 2.35, u"Paris"_s, {});
    };
    auto first = search.choose(suggestion(u"London"_s, u"first"_s));
    auto second = search.choose(suggestion(u"Paris"_s, u"second"_s));
    world.placeGate->release();  // both lookups answer, the older first
    await(std::move(second));
    await(std::move(first));
    EXPECT_EQ(world.settings.manualCity(), u"Paris"_s);
    EXPECT_DOUBLE_EQ(world.settings.manualLat(), 48.85);
}

TEST(SearchOffline, TypingMakOffersMakkahAndChoosingItBringsTheClockThere) {
    SettingsTestWorld world;
    world.settings.setUseManualLocation(true);
    QObject context;
    LocationSearch search(world.settings, LocationSearch::defaultServices(&context));
    search.setCityQuery(u"Mak"_s);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !search.suggestions().isEmpty(); }, 5000));
    const QList<AddressSuggestion> rows = search.suggestions();
    qsizetype makkah = -1;
    for (qsizetype i = 0; i < rows.size() && makkah < 0; ++i)
        if (rows[i].label.startsWith(u"Makkah"_s)) makkah = i;
    ASSERT_GE(makkah, 0) << rows[0].label.toStdString();
    EXPECT_TRUE(rows[makkah].lat && rows[makkah].lon);

    search.choose(int(makkah));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !search.lookupMessage().isEmpty(); }, 15000));
    EXPECT_NEAR(world.settings.manualLat(), 21.42, 0.05);
    EXPECT_NEAR(world.settings.manualLon(), 39.83, 0.05);
    EXPECT_DOUBLE_EQ(world.settings.manualTzOffsetHours(), 3.0);  // Asia/Riyadh, no daylight saving
    EXPECT_TRUE(world.settings.manualCity().startsWith(u"Makkah"_s));
    EXPECT_FALSE(search.lookupMessage().contains(LocationSearch::estimatedOffsetNote()));
}
