#include "model/BrandingRecords.h"

#include "model/RecordIdentity.h"

using namespace Qt::Literals::StringLiterals;
using JsonCoding::Reader;
using JsonCoding::Writer;

std::optional<LogoSlot> LogoSlot::fromJson(const QJsonValue& value) {
    Reader r(value);
    LogoSlot out;
    out.slot = r.requiredInt("slot"_L1);
    out.url = r.requiredString("url"_L1);
    out.version = r.optionalString("version"_L1);
    if (!r.ok()) return std::nullopt;
    return out;
}

QJsonValue LogoSlot::toJson() const {
    Writer w;
    w.add("slot"_L1, slot);
    w.add("url"_L1, url);
    w.add("version"_L1, version);
    return w.object();
}

std::optional<Branding> Branding::fromJson(const QJsonValue& value) {
    Reader r(value);
    Branding out;
    out.logoAvailable = r.requiredBool("logo_available"_L1);
    out.logoUrl = r.requiredString("logo_url"_L1);
    out.activeLogo = r.optionalInt("active_logo"_L1);
    out.rotateLogos = r.optionalBool("rotate_logos"_L1);
    out.logos = r.optionalArray<LogoSlot>("logos"_L1);
    out.bundleVersion = r.optionalString("bundle_version"_L1);
    out.nosvAvailable = r.optionalBool("nosv_available"_L1);
    out.nosvUrl = r.optionalString("nosv_url"_L1);
    out.nosvVersion = r.optionalString("nosv_version"_L1);
    if (!r.ok()) return std::nullopt;
    return out;
}

QJsonValue Branding::toJson() const {
    Writer w;
    w.add("logo_available"_L1, logoAvailable);
    w.add("logo_url"_L1, logoUrl);
    w.add("active_logo"_L1, activeLogo);
    w.add("rotate_logos"_L1, rotateLogos);
    w.add("logos"_L1, logos);
    w.add("bundle_version"_L1, bundleVersion);
    w.add("nosv_available"_L1, nosvAvailable);
    w.add("nosv_url"_L1, nosvUrl);
    w.add("nosv_version"_L1, nosvVersion);
    return w.object();
}

std::optional<ThemeConfig> ThemeConfig::fromJson(const QJsonValue& value) {
    Reader r(value);
    ThemeConfig out;
    out.moonInClock = r.optionalBool("moon_in_clock"_L1);
    out.sunInClock = r.optionalBool("sun_in_clock"_L1);
    out.moonSize = r.optionalInt("moon_size"_L1);
    out.sunSize = r.optionalInt("sun_size"_L1);
    out.sunImageUrl = r.optionalString("sun_image_url"_L1);
    if (!r.ok()) return std::nullopt;
    return out;
}

QJsonValue ThemeConfig::toJson() const {
    Writer w;
    w.add("moon_in_clock"_L1, moonInClock);
    w.add("sun_in_clock"_L1, sunInClock);
    w.add("moon_size"_L1, moonSize);
    w.add("sun_size"_L1, sunSize);
    w.add("sun_image_url"_L1, sunImageUrl);
    return w.object();
}

QString CustomLink::id() const {
    return RecordIdentity::join({title, url});
}

std::optional<CustomLink> CustomLink::fromJson(const QJsonValue& value) {
    Reader r(value);
    CustomLink out;
    out.title = r.optionalString("title"_L1);
    out.url = r.optionalString("url"_L1);
    if (!r.ok()) return std::nullopt;
    return out;
}

QJsonValue CustomLink::toJson() const {
    Writer w;
    w.add("title"_L1, title);
    w.add("url"_L1, url);
    return w.object();
}

std::optional<Monetization> Monetization::fromJson(const QJsonValue& value) {
    Reader r(value);
    Monetization out;
    out.travelpayoutsMarker = r.optionalString("travelpayouts_marker"_L1);
    out.amazonTag = r.optionalString("amazon_tag"_L1);
    out.flightsUrl = r.optionalString("flights_url"_L1);
    out.hotelsUrl = r.optionalString("hotels_url"_L1);
    out.packagesUrl = r.optionalString("packages_url"_L1);
    out.umrahUrl = r.optionalString("umrah_url"_L1);
    out.enabled = r.optionalBool("enabled"_L1);
    out.custom = r.optionalArray<CustomLink>("custom"_L1);
    if (!r.ok()) return std::nullopt;
    return out;
}

QJsonValue Monetization::toJson() const {
    Writer w;
    w.add("travelpayouts_marker"_L1, travelpayoutsMarker);
    w.add("amazon_tag"_L1, amazonTag);
    w.add("flights_url"_L1, flightsUrl);
    w.add("hotels_url"_L1, hotelsUrl);
    w.add("packages_url"_L1, packagesUrl);
    w.add("umrah_url"_L1, umrahUrl);
    w.add("enabled"_L1, enabled);
    w.add("custom"_L1, custom);
    return w.object();
}
