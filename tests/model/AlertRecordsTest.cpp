#include "RecordCases.h"
#include "model/AlertRecords.h"

using namespace Qt::Literals::StringLiterals;

TEST(AlertRecords, AlertIsAllOptional) {
    expectCases<Alert>({
        {R"({})", R"({})"},
        {R"({"type":null,"emergency":null})", R"({})"},
        {R"({"type":"earthquake","event":"M5.2","severity":"Severe","headline":"h","description":"d",
             "magnitude":5.2,"place":"p","distance_km":12,"time":"t","url":"u","emergency":true})",
         R"({"type":"earthquake","event":"M5.2","severity":"Severe","headline":"h","description":"d",
             "magnitude":5.2,"place":"p","distance_km":12,"time":"t","url":"u","emergency":true})"},
        {R"({"magnitude":"5.2"})", nullptr},
        {R"({"emergency":"true"})", nullptr},
        {R"({"emergency":1})", nullptr},
    });
}

TEST(AlertRecords, IdentityJoinsFourFields) {
    struct Case {
        const char* json;
        QString id;
    } cases[] = {
        {R"({})", u""_s},
        {R"({"type":"earthquake","event":"M5.2 Earthquake","time":"2026-01-02T03:04:05Z"})",
         u"earthquakeM5.2 Earthquake2026-01-02T03:04:05Z"_s},
        {R"({"type":"weather","event":"Flood","headline":"Flood watch","time":"t","severity":"Minor",
             "description":"x","url":"u"})",
         u"weatherFloodFlood watcht"_s},
        {R"({"headline":"only"})", u"only"_s},
    };
    for (const Case& c : cases) EXPECT_EQ(decoded<Alert>(c.json).id(), c.id) << c.json;
    EXPECT_EQ(decoded<Alert>(R"({"type":"a","description":"one","severity":"Minor"})").id(),
              decoded<Alert>(R"({"type":"a","description":"two","severity":"Extreme"})").id());
}

TEST(AlertRecords, SeverityRule) {
    struct Case {
        const char* json;
        bool severe;
    } cases[] = {
        {R"({})", false},
        {R"({"severity":"Extreme"})", true},
        {R"({"severity":"Severe"})", true},
        {R"({"severity":"extreme"})", false},
        {R"({"severity":"Moderate"})", false},
        {R"({"severity":"Extreme","emergency":false})", false},
        {R"({"severity":"Minor","emergency":true})", true},
        {R"({"emergency":true})", true},
    };
    for (const Case& c : cases) EXPECT_EQ(decoded<Alert>(c.json).isSevere(), c.severe) << c.json;
}

TEST(AlertRecords, MoonAndEclipses) {
    expectCases<Moon>({
        {R"({"phase":"full_moon","phase_name":"Full Moon","age_days":14.8,"illumination_pct":100,"waxing":false})",
         R"({"phase":"full_moon","phase_name":"Full Moon","age_days":14.8,"illumination_pct":100,"waxing":false})"},
        {R"({"phase":"full_moon","phase_name":"Full Moon","age_days":14.8,"illumination_pct":100})", nullptr},
        {R"({"phase":"full_moon","phase_name":"Full Moon","age_days":14.8,"illumination_pct":99.5,"waxing":false})",
         nullptr},
        {R"({"phase":"p","phase_name":"n","age_days":1,"illumination_pct":1,"waxing":true,
             "next_eclipse":{"date":"2026-03-03"}})",
         nullptr},
        {R"({"phase":"p","phase_name":"n","age_days":1,"cycle_days":29,"illumination_pct":1,"waxing":true,
             "distance_km":384400,"name":"Wolf Moon","name_key":"moon_wolf",
             "next_eclipse":{"date":"2026-03-03","type":"Total","region":"Americas, Europe, Africa"},
             "next_solar_eclipse":{"date":"2026-08-12","type":"Total"}})",
         R"({"phase":"p","phase_name":"n","age_days":1,"cycle_days":29,"illumination_pct":1,"waxing":true,
             "distance_km":384400,"name":"Wolf Moon","name_key":"moon_wolf",
             "next_eclipse":{"date":"2026-03-03","type":"Total","region":"Americas, Europe, Africa"},
             "next_solar_eclipse":{"date":"2026-08-12","type":"Total"}})"},
    });
}

TEST(AlertRecords, EventsAndTheirIdentity) {
    const char* ashura =
        R"({"key":"ashura","name":"Ashura","gregorian":"2026-06-25","in_days":0,"hijri_day":10,"hijri_month_name":"Muharram"})";
    expectCases<Event>({
        {ashura, ashura},
        {R"({"key":"ashura","name":"Ashura","gregorian":"2026-06-25","in_days":0,"hijri_day":10})", nullptr},
        {R"({"key":"ashura","name":"Ashura","gregorian":"2026-06-25","in_days":"0","hijri_day":10,
             "hijri_month_name":"Muharram"})",
         nullptr},
    });
    Event event = decoded<Event>(ashura);
    EXPECT_EQ(event.id(), u"ashura2026-06-25"_s);
    event.gregorian = u"2027-06-15"_s;
    EXPECT_EQ(event.id(), u"ashura2027-06-15"_s);
}
