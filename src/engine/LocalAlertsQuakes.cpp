#include "engine/LocalAlerts.h"

#include "engine/NetworkDiscipline.h"
#include "engine/OfflinePlaces.h"
#include "platform/Clock.h"
#include "platform/Endpoints.h"
#include "platform/Http.h"

#include <QDateTime>
#include <QJsonArray>
#include <QJsonObject>
#include <QUrlQuery>

#include <charconv>
#include <cmath>

namespace {

constexpr double kMinMagnitude = -2.0;
constexpr double kMaxMagnitude = 10.0;
constexpr qint64 kWindowSeconds = 172800;  // 48 hours, recomputed for every request

// One decimal as printf writes it (exact ties to even), independent of the process locale.
QString oneDecimal(double value) {
    char buffer[400];
    const std::to_chars_result r =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, 1);
    if (r.ec != std::errc()) return QString::number(value, 'g', 3);
    return QString::fromLatin1(buffer, int(r.ptr - buffer));
}

QString isoSeconds(qint64 secondsSinceEpoch) {
    return QDateTime::fromSecsSinceEpoch(secondsSinceEpoch, Qt::UTC).toString(Qt::ISODate);
}

// Milliseconds since 1970 as whole-second ISO 8601 text; nothing for a value no calendar can show.
std::optional<QString> eventTime(const QJsonValue& v) {
    if (!v.isDouble()) return std::nullopt;
    const double seconds = std::floor(v.toDouble() / 1000.0);
    constexpr double kYear9999 = 253402300799.0;
    if (!(seconds >= -62135596800.0 && seconds <= kYear9999)) return std::nullopt;
    return isoSeconds(qint64(seconds));
}

std::vector<double> coordinates(const QJsonObject& feature) {
    const QJsonValue c =
        feature.value(QLatin1String("geometry")).toObject().value(QLatin1String("coordinates"));
    std::vector<double> out;
    if (!c.isArray()) return out;
    for (const QJsonValue& v : c.toArray()) {
        if (!v.isDouble()) return {};
        out.push_back(v.toDouble());
    }
    return out;
}

}  // namespace

namespace LocalAlerts {

std::optional<QList<Alert>> parseEarthquakes(const QByteArray& body, double lat, double lon,
                                             const std::optional<QString>& countryCode,
                                             const std::optional<QString>& admin1, const QString& scope) {
    const std::optional<QList<QJsonObject>> features = featureObjects(body);
    if (!features) return std::nullopt;
    const QString cc = countryCode.value_or(QString()).toLower();
    const std::optional<double> keepRadius = displayRadiusKm(scope);
    QList<Alert> out;
    for (const QJsonObject& f : *features) {
        const QJsonObject p = f.value(QLatin1String("properties")).toObject();
        const QJsonValue magValue = p.value(QLatin1String("mag"));
        if (!magValue.isDouble()) continue;
        const double mag = magValue.toDouble();
        // Outside the scale's real range a magnitude is no measurement; kept, a broken feed could ring the
        // emergency alarm for a "magnitude 55" quake.
        if (!std::isfinite(mag) || mag < kMinMagnitude || mag > kMaxMagnitude) continue;

        const std::vector<double> c = coordinates(f);
        std::optional<double> qlat, qlon;
        // NaN when the quake has no position to measure from.
        double d = std::nan("");
        if (c.size() >= 2) {
            qlon = c[0];
            qlat = c[1];
            d = OfflinePlaces::distanceKm(lat, lon, c[1], c[0]);
        } else if (c.size() == 1) {
            qlon = c[0];
        }
        const bool hasDistance = std::isfinite(d);
        std::optional<QString> place;
        if (const QJsonValue v = p.value(QLatin1String("place")); v.isString()) place = v.toString();

        if (keepRadius && hasDistance && d > *keepRadius) continue;
        if (!keepEarthquake(scope, cc, admin1, place, qlat, qlon)) continue;

        const QString m = oneDecimal(mag);
        QString description = QStringLiteral("Magnitude ") + m + QStringLiteral(" earthquake");
        if (hasDistance)
            description +=
                QLatin1Char(' ') + QString::number(qint64(std::trunc(d))) + QStringLiteral(" km away");
        if (place) description += QStringLiteral(", ") + *place;

        Alert a;
        a.type = QStringLiteral("earthquake");
        a.event = QLatin1Char('M') + m + QStringLiteral(" Earthquake");
        a.severity = mag >= 6.0   ? QStringLiteral("Extreme")
                     : mag >= 4.5 ? QStringLiteral("Severe")
                                  : QStringLiteral("Minor");
        a.headline = QLatin1Char('M') + m + QStringLiteral(" — ") + place.value_or(QString());
        a.description = description;
        a.magnitude = std::round(mag * 10.0) / 10.0;
        a.place = place;
        if (hasDistance) a.distanceKm = std::round(d);
        a.time = eventTime(p.value(QLatin1String("time")));
        if (const QJsonValue v = p.value(QLatin1String("url")); v.isString()) a.url = v.toString();
        a.emergency = mag >= 4.5;
        out.append(std::move(a));
    }
    return out;
}

QCoro::Task<FeedResult> earthquakes(double lat, double lon, std::optional<QString> countryCode,
                                    std::optional<QString> admin1, QString scope) {
    QUrl url = Endpoints::current().earthquake.resolved(QUrl(QStringLiteral("/fdsnws/event/1/query")));
    QUrlQuery q;
    q.addQueryItem(QStringLiteral("format"), QStringLiteral("geojson"));
    q.addQueryItem(QStringLiteral("starttime"), isoSeconds(Clock::nowMs() / 1000 - kWindowSeconds));
    q.addQueryItem(QStringLiteral("latitude"), NetworkDiscipline::decimalText(lat));
    q.addQueryItem(QStringLiteral("longitude"), NetworkDiscipline::decimalText(lon));
    q.addQueryItem(QStringLiteral("maxradiuskm"), QString::number(qint64(fetchRadiusKm(scope))));
    q.addQueryItem(QStringLiteral("minmagnitude"), QStringLiteral("2.5"));
    q.addQueryItem(QStringLiteral("orderby"), QStringLiteral("time"));
    q.addQueryItem(QStringLiteral("limit"), QStringLiteral("40"));
    url.setQuery(q);
    const HttpResponse r = co_await Http::get(url);
    if (!answered(r)) co_return FeedResult{};
    std::optional<QList<Alert>> items = parseEarthquakes(r.body, lat, lon, countryCode, admin1, scope);
    if (!items) co_return FeedResult{};
    co_return FeedResult{std::move(*items), true};
}

}  // namespace LocalAlerts
