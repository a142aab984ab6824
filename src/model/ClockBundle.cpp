#include "model/ClockBundle.h"

#include "model/LocalLabels.h"

using namespace Qt::Literals::StringLiterals;
using JsonCoding::Reader;
using JsonCoding::Writer;

std::optional<ClockBundle> ClockBundle::fromJson(const QJsonValue& value) {
    Reader r(value);
    ClockBundle out;
    out.generatedAt = r.optionalString("generated_at"_L1);
    out.location = r.requiredRecord<LocationInfo>("location"_L1);
    out.lang = r.requiredString("lang"_L1);
    out.rtl = r.requiredBool("rtl"_L1);
    out.date = r.requiredRecord<DateInfo>("date"_L1);
    out.prayers = r.requiredStringMap("prayers"_L1);
    out.nextPrayer = r.requiredRecord<NextPrayer>("next_prayer"_L1);
    out.method = r.optionalRecord<MethodInfo>("method"_L1);
    out.qibla = r.requiredRecord<Qibla>("qibla"_L1);
    out.weather = r.optionalRecord<Weather>("weather"_L1);
    out.alerts = r.requiredArray<Alert>("alerts"_L1);
    out.moon = r.requiredRecord<Moon>("moon"_L1);
    out.events = r.requiredArray<Event>("events"_L1);
    out.adhan = r.optionalRecord<AdhanBundle>("adhan"_L1);
    out.branding = r.optionalRecord<Branding>("branding"_L1);
    out.sources = r.optionalRecord<Sources>("sources"_L1);
    out.theme = r.optionalRecord<ThemeConfig>("theme"_L1);
    out.monetization = r.optionalRecord<Monetization>("monetization"_L1);
    out.labels = r.requiredStringMap("labels"_L1);
    if (!r.ok()) return std::nullopt;
    return out;
}

QJsonValue ClockBundle::toJson() const {
    Writer w;
    w.add("generated_at"_L1, generatedAt);
    w.add("location"_L1, location);
    w.add("lang"_L1, lang);
    w.add("rtl"_L1, rtl);
    w.add("date"_L1, date);
    w.add("prayers"_L1, prayers);
    w.add("next_prayer"_L1, nextPrayer);
    w.add("method"_L1, method);
    w.add("qibla"_L1, qibla);
    w.add("weather"_L1, weather);
    w.add("alerts"_L1, alerts);
    w.add("moon"_L1, moon);
    w.add("events"_L1, events);
    w.add("adhan"_L1, adhan);
    w.add("branding"_L1, branding);
    w.add("sources"_L1, sources);
    w.add("theme"_L1, theme);
    w.add("monetization"_L1, monetization);
    w.add("labels"_L1, labels);
    return w.object();
}

QString ClockBundle::label(const QString& key) const {
    const auto own = labels.constFind(key);
    if (own != labels.constEnd()) return *own;
    const JsonCoding::StringMap& builtIn = LocalLabels::en();
    const auto fallback = builtIn.constFind(key);
    if (fallback != builtIn.constEnd()) return *fallback;
    return key;
}
