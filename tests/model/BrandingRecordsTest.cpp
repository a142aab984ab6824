#include "RecordCases.h"
#include "model/BrandingRecords.h"

using namespace Qt::Literals::StringLiterals;

TEST(BrandingRecords, Branding) {
    expectCases<Branding>({
        {R"({"logo_available":false,"logo_url":""})", R"({"logo_available":false,"logo_url":""})"},
        {R"({"logo_available":false})", nullptr},
        {R"({"logo_available":false,"logo_url":null})", nullptr},
        {R"({"logo_available":true,"logo_url":"/l","logos":[{"slot":2.0,"url":"/v1/logo/2"}]})",
         R"({"logo_available":true,"logo_url":"/l","logos":[{"slot":2,"url":"/v1/logo/2"}]})"},
        {R"({"logo_available":true,"logo_url":"/l","logos":[{"slot":2.5,"url":"/v1/logo/2"}]})", nullptr},
        {R"({"logo_available":true,"logo_url":"/l","logos":[{"slot":"2","url":"/v1/logo/2"}]})", nullptr},
        {R"({"logo_available":true,"logo_url":"/l","logos":[{"slot":1,"url":"/a"},7]})", nullptr},
        {R"({"logo_available":true,"logo_url":"/l","active_logo":3,"rotate_logos":true,
             "logos":[{"slot":3,"url":"/v1/logo/3","version":"v9"}],"bundle_version":"b","nosv_available":true,
             "nosv_url":"/n","nosv_version":"nv"})",
         R"({"logo_available":true,"logo_url":"/l","active_logo":3,"rotate_logos":true,
             "logos":[{"slot":3,"url":"/v1/logo/3","version":"v9"}],"bundle_version":"b","nosv_available":true,
             "nosv_url":"/n","nosv_version":"nv"})"},
    });
}

TEST(BrandingRecords, ThemeFalseDiffersFromAbsent) {
    expectCases<ThemeConfig>({
        {R"({})", R"({})"},
        {R"({"moon_in_clock":false})", R"({"moon_in_clock":false})"},
        {R"({"moon_in_clock":false,"sun_in_clock":true,"moon_size":120,"sun_size":90,"sun_image_url":"s"})",
         R"({"moon_in_clock":false,"sun_in_clock":true,"moon_size":120,"sun_size":90,"sun_image_url":"s"})"},
        {R"({"moon_size":120.5})", nullptr},
        {R"({"sun_in_clock":"false"})", nullptr},
    });
    EXPECT_FALSE(decoded<ThemeConfig>(R"({})").moonInClock.has_value());
    EXPECT_EQ(decoded<ThemeConfig>(R"({"moon_in_clock":false})").moonInClock, false);
}

TEST(BrandingRecords, MonetizationAndLinkIdentity) {
    expectCases<Monetization>({
        {R"({})", R"({})"},
        {R"({"enabled":true,"custom":[{"title":"Hajj"},{}]})",
         R"({"enabled":true,"custom":[{"title":"Hajj"},{}]})"},
        {R"({"custom":[{"title":5}]})", nullptr},
        {R"({"custom":{}})", nullptr},
    });
    struct Case {
        const char* json;
        QString id;
    } cases[] = {
        {R"({"title":"Hajj"})", u"Hajj"_s},
        {R"({"url":"x"})", u"x"_s},
        {R"({})", u""_s},
        {R"({"title":"ab","url":"c"})", u"abc"_s},
        {R"({"title":"a","url":"bc"})", u"abc"_s},
    };
    for (const Case& c : cases) EXPECT_EQ(decoded<CustomLink>(c.json).id(), c.id) << c.json;
}
