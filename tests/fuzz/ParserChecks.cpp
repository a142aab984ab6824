#include "ParserChecks.h"

#include "clock/NotificationScheduler.h"
#include "engine/GoogleMapsClient.h"
#include "engine/HijriAuthority.h"
#include "engine/LocalAlerts.h"
#include "engine/NetworkDiscipline.h"
#include "engine/OpenMeteo.h"
#include "model/BlessingsRecords.h"
#include "model/BrandingRecords.h"
#include "model/ClockBundle.h"
#include "model/ServerReplies.h"
#include "services/LogoDiskCache.h"
#include "services/QuranText.h"
#include "shell/UpdateEntry.h"

#include <QRegularExpression>
#include <QTextBoundaryFinder>
#include <QTimeZone>

#include <cmath>
#include <cstring>

namespace {

// The ranges the clock draws and computes with. A reply outside them is no measurement.
constexpr double kMaxOffsetHours = 14;
constexpr double kMaxDistanceKm = 20040;  // half the Earth's circumference
constexpr int kAlertDescriptionGraphemes = 400;

class Rules {
  public:
    void require(bool holds, const QString& what) {
        if (!holds) broken_ << what;
    }
    void real(std::optional<double> value, double low, double high, const char* what) {
        if (value)
            require(std::isfinite(*value) && *value >= low && *value <= high,
                    QStringLiteral("%1 = %2 outside [%3, %4]")
                        .arg(QLatin1String(what))
                        .arg(*value)
                        .arg(low)
                        .arg(high));
    }
    void whole(std::optional<qint64> value, qint64 low, qint64 high, const char* what) {
        if (value)
            require(*value >= low && *value <= high, QStringLiteral("%1 = %2 outside [%3, %4]")
                                                         .arg(QLatin1String(what))
                                                         .arg(*value)
                                                         .arg(low)
                                                         .arg(high));
    }
    void graphemesAtMost(const std::optional<QString>& text, int cap, const char* what) {
        if (!text) return;
        QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, *text);
        int count = 0;
        while (finder.toNextBoundary() >= 0) ++count;
        require(count <= cap,
                QStringLiteral("%1 has %2 graphemes, over %3").arg(QLatin1String(what)).arg(count).arg(cap));
    }
    // Whatever is kept in a cache must come back from it as it went in.
    template <class T>
    void roundTrips(const T& record, const char* what) {
        const std::optional<QByteArray> encoded = JsonCoding::encodeRecord(record);
        require(encoded.has_value(), QStringLiteral("%1 does not encode").arg(QLatin1String(what)));
        if (!encoded) return;
        const std::optional<T> again = JsonCoding::decode<T>(*encoded);
        require(again && again->toJson() == record.toJson(),
                QStringLiteral("%1 does not decode to the same value").arg(QLatin1String(what)));
    }
    QStringList broken() const { return broken_; }

  private:
    QStringList broken_;
};

// A decode that succeeds must survive its own encoding.
template <class T>
void decodedRoundTrips(Rules& rules, const QByteArray& bytes, const char* what) {
    if (const std::optional<T> record = JsonCoding::decode<T>(bytes)) rules.roundTrips(*record, what);
}

void checkAlerts(Rules& rules, const QList<Alert>& alerts) {
    for (const Alert& a : alerts) {
        rules.real(a.magnitude, -2.0, 10.0, "magnitude");
        rules.real(a.distanceKm, 0.0, kMaxDistanceKm, "distance");
        rules.graphemesAtMost(a.description, kAlertDescriptionGraphemes, "description");
        rules.require(!a.id().isEmpty(), QStringLiteral("an alert without an identity"));
    }
    rules.roundTrips(CachedAlerts{alerts}, "alert list");
}

QStringList records(const QByteArray& bytes) {
    Rules rules;
    decodedRoundTrips<ClockBundle>(rules, bytes, "bundle");
    decodedRoundTrips<BlessingsConfig>(rules, bytes, "devotional cards");
    if (const std::optional<ClockBundle> bundle = JsonCoding::decode<ClockBundle>(bytes)) {
        // Label lookups must cope with whatever keys and texts a bundle carries.
        for (auto it = bundle->labels.begin(); it != bundle->labels.end(); ++it)
            (void)bundle->label(it.key());
    }
    return rules.broken();
}

QStringList forecast(const QByteArray& bytes) {
    Rules rules;
    const std::optional<Weather> w = OpenMeteo::parseForecast(bytes);
    if (!w) return {};
    rules.whole(w->current.temp, -100, 100, "temperature");
    rules.whole(w->current.feelsLike, -100, 100, "feels like");
    rules.whole(w->current.humidity, 0, 100, "humidity");
    rules.whole(w->current.wind, 0, 1000, "wind");
    rules.whole(w->current.windDir, 0, 360, "wind direction");
    for (const DailyWeather& d : w->daily) {
        rules.whole(d.tmax, -100, 100, "day's high");
        rules.whole(d.tmin, -100, 100, "day's low");
        rules.whole(d.precipPct, 0, 100, "precipitation");
        rules.whole(d.windMax, 0, 1000, "day's wind");
        rules.whole(d.humidity, 0, 100, "day's humidity");
    }
    rules.roundTrips(*w, "weather");
    return rules.broken();
}

QStringList usAlerts(const QByteArray& bytes) {
    Rules rules;
    if (const auto alerts = LocalAlerts::parseNws(bytes)) checkAlerts(rules, *alerts);
    return rules.broken();
}

QStringList canadaAlerts(const QByteArray& bytes) {
    Rules rules;
    for (const char* scope : {"city", "province", "country"}) {
        if (const auto alerts =
                LocalAlerts::parseEnvironmentCanada(bytes, QStringLiteral("ON"), QString::fromLatin1(scope)))
            checkAlerts(rules, *alerts);
    }
    return rules.broken();
}

QStringList earthquakes(const QByteArray& bytes) {
    Rules rules;
    for (const char* scope : {"city", "country", "continent"}) {
        if (const auto alerts =
                LocalAlerts::parseEarthquakes(bytes, 34.05, -118.25, QStringLiteral("US"),
                                              QStringLiteral("CA"), QString::fromLatin1(scope)))
            checkAlerts(rules, *alerts);
    }
    return rules.broken();
}

QStringList hijriReply(const QByteArray& bytes) {
    Rules rules;
    const auto remote = JsonCoding::decode<HijriAuthority::RemotePayload>(bytes);
    if (!remote) return {};
    for (const QDate day : {QDate(2026, 8, 13), QDate(2026, 3, 19), QDate(2030, 1, 1)}) {
        const std::optional<qint64> offset = HijriAuthority::resolveOffset(*remote, day);
        rules.whole(offset, -3, 3, "day offset");
    }
    return rules.broken();
}

QStringList serverReplies(const QByteArray& bytes) {
    Rules rules;
    decodedRoundTrips<ThemeConfig>(rules, bytes, "theme");
    decodedRoundTrips<Branding>(rules, bytes, "branding");
    decodedRoundTrips<ClockAddressInfo>(rules, bytes, "clock address");
    if (const auto address = JsonCoding::decode<ClockAddressInfo>(bytes)) {
        rules.real(address->lat, -1e308, 1e308, "address latitude");
        rules.real(address->lon, -1e308, 1e308, "address longitude");
        rules.real(address->tzOffsetHours, -1e308, 1e308, "address offset");
    }
    return rules.broken();
}

QStringList cacheEntries(const QByteArray& bytes) {
    Rules rules;
    decodedRoundTrips<CachedAlerts>(rules, bytes, "cached alerts");
    decodedRoundTrips<Weather>(rules, bytes, "cached weather");
    decodedRoundTrips<CachedGeo>(rules, bytes, "cached place");
    if (const auto geo = JsonCoding::decode<CachedGeo>(bytes))
        rules.real(geo->tzOffsetHours, -kMaxOffsetHours, kMaxOffsetHours, "cached offset");
    return rules.broken();
}

QStringList notificationList(const QByteArray& bytes) {
    Rules rules;
    for (const NotificationScheduler::Request& r : NotificationScheduler::decodePending(bytes)) {
        rules.require(!r.identifier.isEmpty(), QStringLiteral("a notification without an identifier"));
        rules.roundTrips(r, "notification");
    }
    return rules.broken();
}

QStringList logoManifest(const QByteArray& bytes) {
    Rules rules;
    const LogoDiskCache::Manifest manifest = LogoDiskCache::parseManifest(bytes);
    for (const auto& [slot, entry] : manifest.entries) {
        rules.whole(qint64(slot), 1, 10, "logo slot");
        rules.require(entry.slot == slot, QStringLiteral("a logo entry filed under another slot"));
        rules.require(
            !entry.file.contains(u'/') && !entry.file.contains(u'\\') && !entry.file.startsWith(u'.'),
            QStringLiteral("logo file name leaves the folder: %1").arg(entry.file));
        rules.whole(entry.bytes, 0, std::numeric_limits<qint64>::max(), "logo size");
    }
    if (manifest.branding) rules.roundTrips(*manifest.branding, "manifest branding");
    return rules.broken();
}

QStringList mapsReplies(const QByteArray& bytes) {
    Rules rules;
    const QDateTime at = QDateTime::fromSecsSinceEpoch(1796616000, QTimeZone::utc());
    rules.real(GoogleMapsClient::timezoneFromReply(bytes, at), -kMaxOffsetHours, kMaxOffsetHours,
               "zone offset");
    if (const auto names = GoogleMapsClient::namesFromGeocodeReply(bytes)) {
        for (const std::optional<QString>& name : {names->city, names->country, names->admin1})
            rules.require(!name || !name->trimmed().isEmpty(), QStringLiteral("a blank place name"));
    }
    if (const auto suggestions = GoogleMapsClient::suggestionsFromReply(bytes)) {
        for (const AddressSuggestion& s : *suggestions) {
            rules.require(!s.label.trimmed().isEmpty(), QStringLiteral("a suggestion without a label"));
            rules.roundTrips(s, "suggestion");
        }
    }
    if (const auto place = GoogleMapsClient::placeFromReply(bytes)) {
        rules.require(place->lat && place->lon, QStringLiteral("a place without a position"));
        rules.real(place->lat, -90, 90, "place latitude");
        rules.real(place->lon, -180, 180, "place longitude");
        rules.roundTrips(*place, "place");
    }
    return rules.broken();
}

QStringList quranEdition(const QByteArray& bytes) {
    Rules rules;
    const auto parsed = QuranText::parseEdition(bytes);
    const auto* document = std::get_if<QuranText::EditionDocument>(&parsed);
    if (!document) return {};
    // The stored edition serves as both documents, as it does when the chosen translation is Arabic itself.
    const QuranText::Index index = QuranText::buildIndex(*document, *document);
    for (qsizetype i = 1; i < index.surahs.size(); ++i)
        rules.require(index.surahs.at(i - 1).id < index.surahs.at(i).id,
                      QStringLiteral("surahs out of order or repeated at %1").arg(index.surahs.at(i).id));
    for (const QuranText::SurahMeta& s : index.surahs)
        rules.whole(qint64(s.numberOfAyahs), 0, bytes.size(), "ayah count");
    rules.require(index.paras.size() == 30, QStringLiteral("%1 paras").arg(index.paras.size()));
    for (const QuranText::ParaMeta& p : index.paras)
        rules.whole(qint64(p.ayahCount), 0, bytes.size(), "para size");
    rules.require(index.translationByKey.size() <= index.arabicByKey.size(),
                  QStringLiteral("more translated ayahs than Arabic ones"));
    return rules.broken();
}

QStringList updateManifest(const QByteArray& bytes) {
    Rules rules;
    const std::optional<UpdateEntry> entry = UpdateEntry::fromManifest(bytes);
    if (!entry) return {};
    rules.whole(entry->buildNumber, 1, std::numeric_limits<qint64>::max(), "build number");
    rules.require(
        entry->downloadUrl.scheme() == QLatin1String("https") && !entry->downloadUrl.host().isEmpty(),
        QStringLiteral("a download address that is not https: %1").arg(entry->downloadUrl.toString()));
    static const QRegularExpression sha256(QStringLiteral("^[0-9a-f]{64}$"));
    rules.require(sha256.match(entry->checksumSha256).hasMatch(),
                  QStringLiteral("a checksum that is no SHA-256: %1").arg(entry->checksumSha256));
    return rules.broken();
}

constexpr ParserChecks::Target kTargets[] = {
    {"records", &records},
    {"forecast", &forecast},
    {"us_alerts", &usAlerts},
    {"canada_alerts", &canadaAlerts},
    {"earthquakes", &earthquakes},
    {"hijri_reply", &hijriReply},
    {"server_replies", &serverReplies},
    {"cache_entries", &cacheEntries},
    {"notification_list", &notificationList},
    {"logo_manifest", &logoManifest},
    {"maps_replies", &mapsReplies},
    {"quran_edition", &quranEdition},
    {"update_manifest", &updateManifest},
};

}  // namespace

namespace ParserChecks {

std::span<const Target> all() {
    return kTargets;
}

const Target* find(const char* name) {
    for (const Target& t : kTargets)
        if (std::strcmp(t.name, name) == 0) return &t;
    return nullptr;
}

}  // namespace ParserChecks
