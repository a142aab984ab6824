#include "ui/panels/SkyFactsModel.h"
#include "ui/panels/SkyTexts.h"

#include <gtest/gtest.h>

using namespace Qt::Literals::StringLiterals;

namespace {
Moon moon(double age, std::optional<qint64> cycle = std::nullopt) {
    Moon m;
    m.phaseName = u"Waxing Gibbous"_s;
    m.illuminationPct = 82;
    m.ageDays = age;
    m.cycleDays = cycle;
    return m;
}
}  // namespace

TEST(SkyPanelTexts, PhaseAndDayLines) {
    const ClockBundle b;
    EXPECT_EQ(SkyTexts::phaseLine(moon(1), b), u"Waxing Gibbous \u00b7 82% lit"_s);
    struct Row {
        double age;
        std::optional<qint64> cycle;
        const char16_t* line;
    };
    const Row rows[] = {{12.9, 30, u"Day 12 of 30"},
                        {0.4, std::nullopt, u"Day 0 of 29"},
                        {29.99, std::nullopt, u"Day 29 of 29"},
                        {std::nan(""), 29, u"Day \u2014 of 29"},
                        {1e300, 29, u"Day \u2014 of 29"}};
    for (const Row& r : rows)
        EXPECT_EQ(SkyTexts::dayLine(moon(r.age, r.cycle), b), QString::fromUtf16(r.line));
}

TEST(SkyPanelTexts, DistanceAndName) {
    Moon m = moon(3);
    EXPECT_EQ(SkyTexts::distanceLine(m, true), QString());
    m.distanceKm = 384400;
    EXPECT_TRUE(SkyTexts::distanceLine(m, true).endsWith(u" km"_s));
    EXPECT_TRUE(SkyTexts::distanceLine(m, false).endsWith(u" mi"_s));
    m.name = u""_s;
    EXPECT_EQ(SkyTexts::nameLine(m), QString());
}

TEST(SkyPanelTexts, EclipseDatesInTheGregorianCalendar) {
    const QLocale en(QLocale::English, QLocale::UnitedKingdom);
    EXPECT_EQ(SkyTexts::formatEclipse(u"2026-08-12"_s, en), u"12 Aug 2026"_s);
    EXPECT_EQ(SkyTexts::formatEclipse(u"2026-08-02"_s, en), u"2 Aug 2026"_s);
    EXPECT_EQ(SkyTexts::formatEclipse(u""_s, en), u""_s);
    EXPECT_EQ(SkyTexts::formatEclipse(u"next summer"_s, en), u"next summer"_s);
    EXPECT_EQ(SkyTexts::formatEclipse(u"2026-02-30"_s, en), u"2026-02-30"_s);
    // An Arabic locale still counts Gregorian months.
    EXPECT_TRUE(SkyTexts::formatEclipse(u"2026-08-12"_s, QLocale(u"ar_SA"_s)).contains(u"2026"_s) ||
                SkyTexts::formatEclipse(u"2026-08-12"_s, QLocale(u"ar_SA"_s))
                    .contains(u"\u0662\u0660\u0662\u0666"_s));

    ClockBundle b;
    Eclipse e{u"2026-08-12"_s, u"Total"_s, u"Europe"_s};
    EXPECT_EQ(SkyTexts::eclipseTitle(u"Solar Eclipse"_s, e), u"Solar Eclipse \u00b7 Total"_s);
    EXPECT_EQ(SkyTexts::eclipseDateWithRegion(e, b, en), u"12 Aug 2026 \u00b7 Visible in Europe"_s);
    e.region = u""_s;
    EXPECT_EQ(SkyTexts::eclipseDateWithRegion(e, b, en), u"12 Aug 2026 \u00b7 Visible in "_s);
    e.region.reset();
    EXPECT_EQ(SkyTexts::eclipseDateWithRegion(e, b, en), u"12 Aug 2026"_s);
}

TEST(SkyPanelTexts, ModelFollowsUnits) {
    ClockBundle b;
    b.moon = moon(12.9);
    b.moon.distanceKm = 400000;
    b.moon.nextEclipse = Eclipse{u"2026-08-28"_s, u"Partial"_s, std::nullopt};
    SkyFactsModel model;
    model.setBundle(b);
    EXPECT_TRUE(model.hasLunarEclipse());
    EXPECT_FALSE(model.hasSolarEclipse());
    EXPECT_EQ(model.lunarTitle(), u"Lunar Eclipse \u00b7 Partial"_s);
    EXPECT_DOUBLE_EQ(model.illumination(), 0.82);
    EXPECT_TRUE(model.distanceLine().endsWith(u" km"_s));
    model.setMetric(false);
    EXPECT_TRUE(model.distanceLine().endsWith(u" mi"_s));
}
