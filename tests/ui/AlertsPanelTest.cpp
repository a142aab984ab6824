#include "ui/panels/AlertTexts.h"
#include "ui/panels/AlertsPanelModel.h"

#include <gtest/gtest.h>

using namespace Qt::Literals::StringLiterals;

namespace {

const QString sep = u"      \u2022      "_s;
const QString orangeDot = u"\U0001F7E0"_s;
const QString redDot = u"\U0001F534"_s;
const QString wave = u"\u3030\ufe0f"_s;

Alert weather(std::optional<QString> event, std::optional<QString> headline = std::nullopt,
              std::optional<QString> severity = std::nullopt, std::optional<bool> emergency = std::nullopt) {
    Alert a;
    a.type = u"weather"_s;
    a.event = std::move(event);
    a.headline = std::move(headline);
    a.severity = std::move(severity);
    a.emergency = emergency;
    return a;
}

Alert quake(std::optional<double> magnitude, std::optional<QString> place, std::optional<double> km) {
    Alert a;
    a.type = u"earthquake"_s;
    a.magnitude = magnitude;
    a.place = std::move(place);
    a.distanceKm = km;
    return a;
}

ClockBundle bundleWith(QList<Alert> alerts) {
    ClockBundle b;
    b.alerts = std::move(alerts);
    return b;
}

}  // namespace

TEST(AlertsPanel, SeverityRule) {
    struct Row {
        std::optional<QString> severity;
        std::optional<bool> emergency;
        bool severe;
    };
    const Row rows[] = {
        {u"Extreme"_s, false, false},        {u"Extreme"_s, std::nullopt, true},
        {u"extreme"_s, std::nullopt, false}, {u"Severe"_s, std::nullopt, true},
        {u"Moderate"_s, true, true},         {std::nullopt, std::nullopt, false},
        {u"SEVERE"_s, std::nullopt, false},
    };
    for (const Row& r : rows)
        EXPECT_EQ(AlertTexts::isSevere(weather(u"Storm"_s, {}, r.severity, r.emergency)), r.severe)
            << r.severity.value_or(u"-"_s).toStdString();
}

TEST(AlertsPanel, SingleItemRepeatsAroundTheSeparator) {
    const ClockBundle b = bundleWith({weather(u"Wind Advisory"_s)});
    const QString item = orangeDot + u" Wind Advisory"_s;
    EXPECT_EQ(AlertTexts::tickerText(b, true), item + sep + item);
    EXPECT_EQ(sep, u"      \u2022      "_s);
    EXPECT_EQ(sep.size(), 13);
}

TEST(AlertsPanel, SeveralItemsKeepTheirOwnPrefixes) {
    Alert quakeEmergency = quake(5.04, std::nullopt, std::nullopt);
    quakeEmergency.emergency = true;
    const ClockBundle b =
        bundleWith({weather(u"Heat"_s), weather(u"Tornado Warning"_s, {}, u"Extreme"_s), quakeEmergency});
    const QString expected =
        orangeDot + u" Heat"_s + sep + redDot + u" Tornado Warning"_s + sep + wave + u" Earthquake M5.0"_s;
    EXPECT_EQ(AlertTexts::tickerText(b, true), expected);
    EXPECT_TRUE(AlertTexts::anySevere(b.alerts));
    EXPECT_EQ(AlertTexts::tickerText(bundleWith({}), true), QString());
}

TEST(AlertsPanel, WeatherSummaries) {
    const ClockBundle b;
    EXPECT_EQ(AlertTexts::summary(weather(u"Flood"_s, u"Flood"_s), b, true), u"Flood"_s);
    EXPECT_EQ(AlertTexts::summary(weather(u"Flood"_s, u""_s), b, true), u"Flood"_s);
    EXPECT_EQ(AlertTexts::summary(weather(u"Flood"_s, u"River rising"_s), b, true),
              u"Flood \u2014 River rising"_s);
    EXPECT_EQ(AlertTexts::summary(weather(std::nullopt, u"Only a headline"_s), b, true),
              u"Only a headline"_s);
    EXPECT_EQ(AlertTexts::summary(weather(std::nullopt, u""_s), b, true), u""_s);
    EXPECT_EQ(AlertTexts::summary(weather(std::nullopt), b, true), u"Alert"_s);
}

TEST(AlertsPanel, EarthquakeSummariesNameTheUnitOnce) {
    ClockBundle b;
    b.labels.insert(u"earthquake"_s, u"Séisme"_s);
    b.labels.insert(u"km_away"_s, u"km away"_s);
    EXPECT_EQ(AlertTexts::summary(quake(std::nullopt, std::nullopt, std::nullopt), b, true), u"Séisme"_s);
    EXPECT_EQ(AlertTexts::summary(quake(5.04, std::nullopt, std::nullopt), b, true), u"Séisme M5.0"_s);
    EXPECT_EQ(AlertTexts::summary(quake(4.25, u"Near Quito"_s, 12.5), b, true),
              u"Séisme M4.2 \u2014 Near Quito \u00b7 12.5 km away"_s);
    EXPECT_EQ(AlertTexts::summary(quake(std::nullopt, std::nullopt, 100.0), b, false),
              u"Séisme \u2014 62.1 mi away"_s);
    // Figures that cannot be printed are left out rather than shown as "nan".
    EXPECT_EQ(AlertTexts::summary(quake(std::nan(""), std::nullopt, INFINITY), b, true), u"Séisme"_s);
}

TEST(AlertsPanel, ModelColoursAndRows) {
    AlertsPanelModel model;
    model.setBundle(bundleWith({}));
    EXPECT_EQ(model.iconName(), u"checkmark.shield.fill"_s);
    EXPECT_EQ(model.count(), 0);
    EXPECT_EQ(model.tickerText(), QString());
    EXPECT_EQ(model.title(), ClockBundle().label(u"status_alerts"_s));

    model.setBundle(bundleWith({weather(u"Heat"_s), weather(u"Storm"_s, {}, u"Extreme"_s, false)}));
    EXPECT_FALSE(model.severe());
    EXPECT_EQ(model.accentColor(), AlertsPanelModel::orange());
    EXPECT_EQ(model.iconName(), u"bell.badge.fill"_s);

    model.setBundle(bundleWith({weather(u"Heat"_s), weather(u"Storm"_s, {}, u"Severe"_s)}));
    EXPECT_TRUE(model.severe());
    EXPECT_EQ(model.accentColor(), AlertsPanelModel::red());
    EXPECT_EQ(model.iconName(), u"exclamationmark.triangle.fill"_s);
    EXPECT_EQ(model.count(), 2);

    model.setProperty("emergencyRinging", true);
    model.stopEmergency();
    EXPECT_FALSE(model.property("emergencyRinging").toBool());
}

TEST(AlertsPanel, CalmLineOnlyForAListTheFeedsAnswered) {
    struct Row {
        std::optional<bool> sourceActive;  // nothing: a bundle without credits
        QString text;
        QString icon;
    };
    const Row rows[] = {
        {std::nullopt, u"No active alerts"_s, u"checkmark.shield.fill"_s},
        {true, u"No active alerts"_s, u"checkmark.shield.fill"_s},
        {false, u"Alerts could not be checked"_s, u"exclamationmark.triangle.fill"_s},
    };
    for (const Row& r : rows) {
        ClockBundle b = bundleWith({});
        if (r.sourceActive) {
            b.sources.emplace();
            b.sources->alerts = SourceItem{u"NWS/EC/USGS"_s, u"Local alerts"_s, *r.sourceActive};
        }
        AlertsPanelModel model;
        model.setBundle(b);
        EXPECT_EQ(model.noAlertsText(), r.text);
        EXPECT_EQ(model.iconName(), r.icon);
        EXPECT_EQ(model.checked(), r.sourceActive.value_or(true));
    }
}

TEST(AlertsPanel, BundleFromJsonAndGarbage) {
    AlertsPanelModel model;
    model.setBundleValue(QVariant(42));
    EXPECT_FALSE(model.hasBundle());
    EXPECT_EQ(model.count(), 0);
}
