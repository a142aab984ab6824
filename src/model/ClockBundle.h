#pragma once

#include "model/AdhanRecords.h"
#include "model/AlertRecords.h"
#include "model/BrandingRecords.h"
#include "model/JsonCoding.h"
#include "model/PlaceRecords.h"
#include "model/SourceRecords.h"
#include "model/WeatherRecords.h"

// Everything the clock shows for one place and one day, built whole on the device, cached as JSON between
// runs and read by every screen.
struct ClockBundle {
    std::optional<QString> generatedAt;
    LocationInfo location;
    QString lang;
    bool rtl = false;
    DateInfo date;
    JsonCoding::StringMap prayers;
    NextPrayer nextPrayer;
    std::optional<MethodInfo> method;
    Qibla qibla;
    std::optional<Weather> weather;
    QList<Alert> alerts;
    Moon moon;
    QList<Event> events;
    std::optional<AdhanBundle> adhan;
    std::optional<Branding> branding;
    std::optional<Sources> sources;
    std::optional<ThemeConfig> theme;
    std::optional<Monetization> monetization;
    JsonCoding::StringMap labels;

    // Display text for a label key: the bundle's own (possibly translated) texts first, then the built-in
    // English, then the key itself, so a caption is never blank unless a translation says so.
    QString label(const QString& key) const;

    // Whether `alerts` is an answer about the place. An inactive alerts credit means no feed could be asked
    // (or, from a server, that the place has no coverage): an empty list then is not "no alerts".
    bool alertsChecked() const { return !sources || sources->alerts.active; }

    static std::optional<ClockBundle> fromJson(const QJsonValue& value);
    QJsonValue toJson() const;
};
