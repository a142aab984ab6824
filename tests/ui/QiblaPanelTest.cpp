#include "ui/panels/Arrow3D.h"
#include "ui/panels/QiblaPanelModel.h"
#include "ui/panels/QiblaTexts.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace Qt::Literals::StringLiterals;

namespace {
ClockBundle london(double bearing) {
    ClockBundle b;
    b.location.lat = 51.5074;
    b.location.lon = -0.1278;
    b.qibla.bearing = bearing;
    b.qibla.compass = u"SE"_s;
    return b;
}
}  // namespace

TEST(QiblaPanel, LocationKeyAndIdentity) {
    ClockBundle b = london(119);
    EXPECT_EQ(QiblaTexts::locationKey(b.location), u"515074--1278"_s);
    EXPECT_EQ(QiblaTexts::identity(b), u"515074--1278--"_s);
    b.qibla.images = QiblaImages{119, u"https://s/img"_s, u"https://m/img"_s, std::nullopt, std::nullopt};
    EXPECT_EQ(QiblaTexts::identity(b), u"515074--1278-https://m/img-https://s/img"_s);
    b.location.lat = -33.86785;  // halves away from zero
    b.location.lon = 151.20732;
    EXPECT_EQ(QiblaTexts::locationKey(b.location), u"-338679-1512073"_s);
    b.location.lat = std::nan("");
    EXPECT_EQ(QiblaTexts::locationKey(b.location), u"\u2014-1512073"_s);
}

TEST(QiblaPanel, BearingDegrees) {
    const std::pair<double, const char16_t*> rows[] = {{58.4, u"58"},         {58.5, u"59"},
                                                       {359.6, u"360"},       {-0.5, u"-1"},
                                                       {INFINITY, u"\u2014"}, {NAN, u"\u2014"}};
    for (const auto& [value, text] : rows)
        EXPECT_EQ(QiblaTexts::roundedInteger(value), QString::fromUtf16(text));
}

TEST(QiblaPanel, Captions) {
    ClockBundle b = london(58.4);
    b.qibla.compass = u"NE"_s;
    EXPECT_EQ(QiblaTexts::streetCaption(b), u"arrow points to Qibla \u00b7 NE \u00b7 58\u00b0"_s);
    EXPECT_EQ(QiblaTexts::bearingCapsule(b), u"NE \u00b7 Qibla \u00b7 58\u00b0"_s);
    EXPECT_EQ(QiblaTexts::mapCaption(b), u"Qibla \u00b7 NE \u00b7 58\u00b0"_s);
}

TEST(QiblaPanel, StreetViewAvailabilityAndLinks) {
    ClockBundle b = london(119);
    EXPECT_TRUE(QiblaTexts::streetViewAvailable(b.qibla));
    QiblaPanelModel model;
    model.setBundle(b);
    EXPECT_TRUE(model.streetUrl().isEmpty());
    EXPECT_TRUE(model.mapUrl().isEmpty());

    b.qibla.images =
        QiblaImages{119, u"https://maps.example/sv?heading=119"_s, u"not a link"_s, std::nullopt, {}};
    model.setBundle(b);
    EXPECT_TRUE(model.streetViewAvailable());
    EXPECT_EQ(model.streetUrl(), QUrl(u"https://maps.example/sv?heading=119"_s));
    EXPECT_TRUE(model.mapUrl().isEmpty());

    b.qibla.images->streetviewAvailable = false;
    model.setBundle(b);
    EXPECT_FALSE(model.streetViewAvailable());
    EXPECT_TRUE(model.streetUrl().isEmpty());

    // Links stored with an empty maps key are never requested.
    b.qibla.images = QiblaImages{119,
                                 u"https://maps.example/sv?heading=119&key="_s,
                                 u"https://maps.example/map?zoom=16&key=%20"_s,
                                 true,
                                 {}};
    model.setBundle(b);
    EXPECT_TRUE(model.streetUrl().isEmpty());
    EXPECT_TRUE(model.mapUrl().isEmpty());

    b.qibla.bearing = NAN;
    model.setBundle(b);
    EXPECT_EQ(model.bearing(), 0.0);
    EXPECT_TRUE(model.mapCaption().endsWith(u"\u2014\u00b0"_s));
}

TEST(QiblaPanel, ArrowOutline) {
    const QPolygonF arrow = Arrow3D::outline(QSizeF(44, 56));
    const QPolygonF expected(
        {{22, 0}, {44, 25.2}, {31.68, 25.2}, {37.4, 56}, {6.6, 56}, {12.32, 25.2}, {0, 25.2}});
    ASSERT_EQ(arrow.size(), 7);
    for (int i = 0; i < 7; ++i) {
        EXPECT_NEAR(arrow[i].x(), expected[i].x(), 1e-9) << i;
        EXPECT_NEAR(arrow[i].y(), expected[i].y(), 1e-9) << i;
    }
}

TEST(QiblaPanel, BlocksFitTheRowHeight) {
    EXPECT_DOUBLE_EQ(QiblaPanelModel::blockWidth(300, 0), 300);
    EXPECT_DOUBLE_EQ(QiblaPanelModel::blockWidth(300, 1000), 300);
    EXPECT_DOUBLE_EQ(QiblaPanelModel::blockWidth(300, 350), 200);
    EXPECT_DOUBLE_EQ(QiblaPanelModel::blockWidth(300, NAN), 300);
    EXPECT_DOUBLE_EQ(QiblaPanelModel::blockWidth(-1, 350), 0);
}
