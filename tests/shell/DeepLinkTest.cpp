#include <gtest/gtest.h>

#include "shell/DeepLink.h"

TEST(DeepLink, OnlyPlayLinksWithAPrayerPlay) {
    struct Case {
        const char* link;
        std::optional<QString> prayer;
    } cases[] = {
        {"orvane://adhan?prayer=asr", QStringLiteral("asr")},
        {"orvane://play?prayer=Fajr", QStringLiteral("fajr")},
        {"orvane:///x/play-now?prayer=isha", QStringLiteral("isha")},
        {"orvane://open/adhan?prayer=maghrib&force=1", QStringLiteral("maghrib")},
        {"ORVANE://ADHAN?prayer=dhuhr", QStringLiteral("dhuhr")},
        {"orvane://adhan", std::nullopt},
        {"orvane://adhan?prayer=", std::nullopt},
        {"orvane://adhan?prayer=sunrise", std::nullopt},
        {"orvane://adhan?prayer=%3Cscript%3E", std::nullopt},
        {"orvane://settings?prayer=asr", std::nullopt},
        {"https://adhan.example/play?prayer=asr", std::nullopt},
        {"not a link", std::nullopt},
    };
    for (const Case& c : cases)
        EXPECT_EQ(DeepLink::prayerToPlay(QUrl(QLatin1String(c.link))), c.prayer) << c.link;
}
