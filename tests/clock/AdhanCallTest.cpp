#include <gtest/gtest.h>

#include "ClockTestSupport.h"
#include "clock/AdhanCall.h"
#include "model/AdhanTexts.h"

TEST(AdhanCall, TitleTextNameAndRakahsFromTheBundle) {
    ClockBundle b =
        clocktest::bundleFor(0, 0, 0, 0, clocktest::fivePrayers("05:00", "12:00", "15:00", "18:00", "20:00"));
    b.adhan = AdhanBundle{};
    b.adhan->fajr.title = QStringLiteral("Fajr call");
    b.adhan->fajr.text = QStringLiteral("as-salatu khayrun min an-nawm");
    b.adhan->regular.title = QStringLiteral("Call");
    b.labels.insert(QStringLiteral("maghrib"), QStringLiteral("Magrib"));
    b.labels.insert(QStringLiteral("rk_fard"), QStringLiteral("Farz"));

    const AdhanPlayer::Call fajr = AdhanCall::compose(b, QStringLiteral("fajr"), QStringLiteral("en"), false);
    EXPECT_TRUE(fajr.isFajr);
    EXPECT_EQ(fajr.title, QStringLiteral("Fajr call"));
    EXPECT_EQ(fajr.prayerName, QStringLiteral("Fajr"));
    EXPECT_EQ(fajr.rakatLines, (QStringList{"2 Sunnah", "2 Farz"}));
    EXPECT_EQ(fajr.rakatTotal, QStringLiteral("4 total"));

    const AdhanPlayer::Call maghrib =
        AdhanCall::compose(b, QStringLiteral("maghrib"), QStringLiteral("en"), true);
    EXPECT_FALSE(maghrib.isFajr);
    EXPECT_EQ(maghrib.title, QStringLiteral("Call"));
    EXPECT_EQ(maghrib.prayerName, QStringLiteral("Magrib"));
    EXPECT_EQ(maghrib.rakatTitle, QStringLiteral("Magrib"));
    EXPECT_EQ(maghrib.rakatLines, (QStringList{"3 Farz", "2 Sunnah", "2 Nafl"}));
    EXPECT_EQ(maghrib.text, AdhanTexts::table(u"en").regular) << "a blank bundle text gives the language's";
    b.adhan->regular.text = QStringLiteral("Line one\nLine two");
    EXPECT_EQ(AdhanCall::compose(b, QStringLiteral("asr"), QStringLiteral("en"), false).text,
              QStringLiteral("Line one\nLine two"));
    // The dawn call always carries the dawn-only phrase, whatever the bundle says.
    b.adhan->fajr.text = QStringLiteral("no dawn line here");
    const QString dawn = AdhanCall::compose(b, QStringLiteral("fajr"), QStringLiteral("ar"), false).text;
    EXPECT_TRUE(AdhanTexts::containsFajrExtra(dawn));

    b.adhan.reset();
    const AdhanPlayer::Call bare = AdhanCall::compose(b, QStringLiteral("isha"), QStringLiteral("en"), false);
    EXPECT_EQ(bare.title, AdhanTexts::table(u"en").regularTitle);
    EXPECT_EQ(bare.text, AdhanTexts::table(u"en").regular);
    EXPECT_EQ(bare.rakatTotal, QStringLiteral("17 total"));
}
