#include "RecordCases.h"
#include "model/ServerReplies.h"

using namespace Qt::Literals::StringLiterals;

TEST(ServerReplies, ClockAddressInfo) {
    expectCases<ClockAddressInfo>({
        {R"({"found":false})", R"({"found":false})"},
        {R"({})", nullptr},
        {R"({"found":"false"})", nullptr},
        {R"({"found":true,"lat":"51.5"})", nullptr},
        {R"({"found":true,"lat":51,"lon":-0.5})", R"({"found":true,"lat":51.0,"lon":-0.5})"},
        {R"({"found":true,"address":"a","lat":1.5,"lon":2.5,"city":"c","country":"k","clock_id":"clk-0123abcd",
             "tz_offset_hours":-3.5,"place_id":"p","updated_at":"u","unknown":[1]})",
         R"({"found":true,"address":"a","lat":1.5,"lon":2.5,"city":"c","country":"k","clock_id":"clk-0123abcd",
             "tz_offset_hours":-3.5,"place_id":"p","updated_at":"u"})"},
    });
    EXPECT_EQ(decoded<ClockAddressInfo>(R"({"found":true,"lat":51})").lat, 51.0);

    ClockAddressInfo onlyId;
    onlyId.clockId = u"clk-0123abcd"_s;
    EXPECT_EQ(onlyId.toJson(), jsonValue(R"({"found":false,"clock_id":"clk-0123abcd"})"));
}

TEST(ServerReplies, SuggestionsAndPlaces) {
    expectCases<AddressSuggestion>({
        {R"({"label":"Paris","place_id":"abc","lat":48.85,"lon":2.35})",
         R"({"label":"Paris","place_id":"abc","lat":48.85,"lon":2.35})"},
        {R"({"place_id":"abc"})", nullptr},
    });
    EXPECT_EQ(decoded<AddressSuggestion>(R"({"label":"Paris","place_id":"abc"})").id(), u"Parisabc"_s);
    EXPECT_EQ(decoded<AddressSuggestion>(R"({"label":"Paris"})").id(), u"Paris"_s);

    expectCases<PlaceResult>({
        {R"({"found":true})", R"({"found":true})"},
        {R"({"lat":1})", nullptr},
        {R"({"found":true,"lat":1,"lon":2,"name":"n","locality":"l","address":"a"})",
         R"({"found":true,"lat":1,"lon":2,"name":"n","locality":"l","address":"a"})"},
    });
}
