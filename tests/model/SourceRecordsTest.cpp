#include "RecordCases.h"
#include "model/SourceRecords.h"

TEST(SourceRecords, CreditsRoundTrip) {
    const char* full = R"({"network":{"code":"local","nickname":"On device","continent":"—"},
        "weather":{"provider":"open-meteo","nickname":"Open-Meteo","active":false},
        "alerts":{"provider":"usgs","nickname":"USGS","active":true},
        "prayer":{"provider":"local","nickname":"Table","active":true},
        "moon":{"provider":"local","nickname":"Astronomy","active":true}})";
    const char* noMoon = R"({"network":{"code":"c","nickname":"n","continent":"x"},
        "weather":{"provider":"p","nickname":"n","active":true},
        "alerts":{"provider":"p","nickname":"n","active":true},
        "prayer":{"provider":"p","nickname":"n","active":true}})";
    expectCases<Sources>({
        {full, full},
        {noMoon, noMoon},
        {R"({"network":{"code":"c","nickname":"n","continent":"x"},
             "weather":{"provider":"p","nickname":"n","active":true},
             "alerts":{"provider":"p","nickname":"n","active":true}})",
         nullptr},
        {R"({"network":{"code":"c","nickname":"n","continent":"x"},
             "weather":{"provider":"p","nickname":"n","active":true},
             "alerts":{"provider":"p","nickname":"n","active":true},
             "prayer":{"provider":"p","nickname":"n","active":true},
             "moon":{"provider":"p","nickname":"n"}})",
         nullptr},
    });
    EXPECT_EQ(decoded<Sources>(full).network.continent, QString(u'\u2014'));
}
