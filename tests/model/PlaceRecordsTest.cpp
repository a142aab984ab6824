#include "RecordCases.h"
#include "model/PlaceRecords.h"

#include <limits>

TEST(PlaceRecords, LocationInfo) {
    expectCases<LocationInfo>({
        {R"({"lat":51.5,"lon":-0.12,"tz_offset_hours":0})",
         R"({"lat":51.5,"lon":-0.12,"tz_offset_hours":0})"},
        {R"({"lat":1,"lon":2,"city":null,"country_code":null,"tz_offset_hours":5.75,"extra":1})",
         R"({"lat":1,"lon":2,"tz_offset_hours":5.75})"},
        {R"({"lat":1,"lon":2,"city":"Kathmandu","country_code":"NP","tz_offset_hours":5.75})",
         R"({"lat":1,"lon":2,"city":"Kathmandu","country_code":"NP","tz_offset_hours":5.75})"},
        {R"({"lat":1,"lon":2})", nullptr},
        {R"({"lat":"1","lon":2,"tz_offset_hours":0})", nullptr},
        {R"({"lat":null,"lon":2,"tz_offset_hours":0})", nullptr},
        {R"({"Lat":1,"lon":2,"tz_offset_hours":0})", nullptr},
        {R"({"lat":1,"lon":2,"tz_offset_hours":0,"city":7})", nullptr},
        {R"([1,2])", nullptr},
    });
}

TEST(PlaceRecords, HijriIntegersAreStrict) {
    expectCases<Hijri>({
        {R"({"year":1447,"month":9,"day":1,"month_name":"Ramadan"})",
         R"({"year":1447,"month":9,"day":1,"month_name":"Ramadan"})"},
        {R"({"year":1447,"month":9.0,"day":1,"month_name":"Ramadan"})",
         R"({"year":1447,"month":9,"day":1,"month_name":"Ramadan"})"},
        {R"({"year":1447,"month":9.5,"day":1,"month_name":"Ramadan"})", nullptr},
        {R"({"year":1e19,"month":9,"day":1,"month_name":"Ramadan"})", nullptr},
        {R"({"year":1447,"month":"9","day":1,"month_name":"Ramadan"})", nullptr},
        {R"({"year":1447,"month":9,"day":1})", nullptr},
    });
    expectCases<DateInfo>({
        {R"({"gregorian":"2026-03-01","hijri":{"year":1447,"month":9,"day":12,"month_name":"x"}})",
         R"({"gregorian":"2026-03-01","hijri":{"year":1447,"month":9,"day":12,"month_name":"x"}})"},
        {R"({"gregorian":"2026-03-01","hijri":{"year":1447,"month":9,"day":12}})", nullptr},
        {R"({"gregorian":"2026-03-01","hijri":null})", nullptr},
    });
}

TEST(PlaceRecords, NextPrayerAndMethod) {
    expectCases<NextPrayer>({
        {R"({"key":"isha","name":"Isha","time":"--:--"})", R"({"key":"isha","name":"Isha","time":"--:--"})"},
        {R"({"key":"isha","name":"Isha"})", nullptr},
    });
    expectCases<MethodInfo>({
        {R"({})", R"({})"},
        {R"({"key":null,"name":null,"asr":null})", R"({})"},
        {R"({"key":"ISNA","name":"Islamic Society of N. America","asr":1})",
         R"({"key":"ISNA","name":"Islamic Society of N. America","asr":1})"},
        {R"({"asr":1.5})", nullptr},
        {R"({"asr":true})", nullptr},
    });
}

TEST(PlaceRecords, QiblaAndImages) {
    expectCases<Qibla>({
        {R"({"bearing":118.98,"compass":"SE"})", R"({"bearing":118.98,"compass":"SE"})"},
        {R"({"bearing":118.98,"compass":"SE","images":null})", R"({"bearing":118.98,"compass":"SE"})"},
        {R"({"bearing":1,"compass":"N","images":{"bearing":1,"streetview_url":"s","map_url":"m"}})",
         R"({"bearing":1,"compass":"N","images":{"bearing":1,"streetview_url":"s","map_url":"m"}})"},
        {R"({"bearing":1,"compass":"N","images":{"bearing":1,"streetview_url":"s"}})", nullptr},
        {R"({"bearing":1,"compass":"N","images":{"bearing":1,"streetview_url":"s","map_url":"m",
             "streetview_available":"yes"}})",
         nullptr},
        {R"({"bearing":1,"compass":"N","images":{"bearing":1,"streetview_url":"s","map_url":"m",
             "streetview_available":false,"unavailable_url":"u"}})",
         R"({"bearing":1,"compass":"N","images":{"bearing":1,"streetview_url":"s","map_url":"m",
             "streetview_available":false,"unavailable_url":"u"}})"},
    });
}

TEST(PlaceRecords, NonFiniteLatitudeCannotBeEncoded) {
    LocationInfo place{std::numeric_limits<double>::quiet_NaN(), 0, {}, {}, 0, {}};
    EXPECT_FALSE(JsonCoding::encodeRecord(place).has_value());
    place.lat = -std::numeric_limits<double>::infinity();
    EXPECT_FALSE(JsonCoding::encodeRecord(place).has_value());
    place.lat = 0;
    EXPECT_TRUE(JsonCoding::encodeRecord(place).has_value());
}
