#include "engine/LocalAlerts.h"

#include "engine/NetworkDiscipline.h"
#include "model/JsonCoding.h"
#include "platform/Endpoints.h"
#include "platform/Http.h"

#include <QJsonObject>
#include <QSet>
#include <QTextBoundaryFinder>
#include <QUrlQuery>

#include <algorithm>
#include <functional>

namespace {

using namespace std::chrono_literals;

constexpr int kDescriptionGraphemes = 400;
constexpr auto kFeedTimeout = 8000ms;
const QByteArray kAgent = "OrvaneClock/0.4";
const QByteArray kAgentWithContact = "OrvaneClock/0.4 (local; clock@orvane.app)";

std::optional<QString> stringProperty(const QJsonObject& p, const char* key) {
    const QJsonValue v = p.value(QLatin1String(key));
    if (!v.isString()) return std::nullopt;
    return v.toString();
}

QString severityOfKind(const QString& kind) {
    if (kind == QLatin1String("warning")) return QStringLiteral("Severe");
    if (kind == QLatin1String("statement")) return QStringLiteral("Minor");
    return QStringLiteral("Moderate");  // watch, advisory and anything else
}

QString lowerBlankTrimmed(const QString& s) {
    QString t = s.toLower();
    qsizetype begin = 0;
    qsizetype end = t.size();
    while (begin < end && (t[begin] == QLatin1Char(' ') || t[begin] == QLatin1Char('\t'))) ++begin;
    while (end > begin && (t[end - 1] == QLatin1Char(' ') || t[end - 1] == QLatin1Char('\t'))) --end;
    return t.mid(begin, end - begin);
}

bool containsAnyWord(const QString& text, const QStringList& needles) {
    return std::any_of(needles.begin(), needles.end(),
                       [&text](const QString& n) { return LocalAlerts::containsWord(text, n); });
}

LocalAlerts::FeedResult feedResult(
    const HttpResponse& r, const std::function<std::optional<QList<Alert>>(const QByteArray&)>& parse) {
    if (!LocalAlerts::answered(r)) return {};
    std::optional<QList<Alert>> items = parse(r.body);
    if (!items) return {};
    return {std::move(*items), true};
}

}  // namespace

namespace LocalAlerts {

QString firstGraphemes(const QString& text, int n) {
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, text);
    qsizetype end = 0;
    for (int i = 0; i < n; ++i) {
        const qsizetype next = finder.toNextBoundary();
        if (next < 0) return text;
        end = next;
    }
    return text.left(end);
}

bool answered(const HttpResponse& response) {
    return response.isSuccess();
}

std::optional<QList<QJsonObject>> featureObjects(const QByteArray& body) {
    const std::optional<QJsonValue> root = JsonCoding::parse(body);
    if (!root || !root->isObject()) return std::nullopt;
    const QJsonValue features = root->toObject().value(QLatin1String("features"));
    if (!features.isArray()) return std::nullopt;
    QList<QJsonObject> out;
    for (const QJsonValue& f : features.toArray()) {
        if (!f.isObject()) return std::nullopt;
        out.append(f.toObject());
    }
    return out;
}

std::optional<QList<Alert>> parseNws(const QByteArray& body) {
    const std::optional<QList<QJsonObject>> features = featureObjects(body);
    if (!features) return std::nullopt;
    QList<Alert> out;
    for (const QJsonObject& f : *features) {
        const QJsonObject p = f.value(QLatin1String("properties")).toObject();
        Alert a;
        a.type = QStringLiteral("weather");
        a.event = stringProperty(p, "event");
        a.severity = stringProperty(p, "severity");
        a.headline = stringProperty(p, "headline");
        if (const auto d = stringProperty(p, "description"))
            a.description = firstGraphemes(*d, kDescriptionGraphemes);
        a.place = stringProperty(p, "areaDesc");
        a.time = stringProperty(p, "onset");
        a.url = stringProperty(p, "@id");
        a.emergency = a.severity == QLatin1String("Severe") || a.severity == QLatin1String("Extreme");
        out.append(std::move(a));
    }
    return out;
}

std::optional<QList<Alert>> parseEnvironmentCanada(const QByteArray& body,
                                                   const std::optional<QString>& admin1,
                                                   const QString& scope) {
    const std::optional<QList<QJsonObject>> features = featureObjects(body);
    if (!features) return std::nullopt;
    const QStringList keys = admin1 ? admin1MatchKeys(*admin1) : QStringList();
    const QStringList others = otherCanadianNames(keys);
    const bool filterByProvince = scope == QLatin1String("province") && !keys.isEmpty();
    QSet<QString> seen;
    QList<Alert> out;
    for (const QJsonObject& f : *features) {
        const QJsonObject p = f.value(QLatin1String("properties")).toObject();
        const QString status = stringProperty(p, "status_en").value_or(QString()).toLower();
        if (status == QLatin1String("ended") || status == QLatin1String("cleared")) continue;
        const QString kind = stringProperty(p, "alert_type").value_or(QString()).toLower();
        if (kind == QLatin1String("ended") || kind == QLatin1String("cancelled")) continue;
        const QString name =
            stringProperty(p, "alert_name_en")
                .value_or(stringProperty(p, "alert_short_name_en").value_or(QStringLiteral("Weather alert")));
        const QString area = stringProperty(p, "feature_name_en").value_or(QString());
        const QString lowerArea = area.toLower();
        if (filterByProvince && !lowerArea.isEmpty() && !containsAnyWord(lowerArea, keys) &&
            containsAnyWord(lowerArea, others))
            continue;
        const QString pair = name + QLatin1Char('|') + area;
        if (seen.contains(pair)) continue;
        seen.insert(pair);

        QString text = stringProperty(p, "alert_text_en").value_or(QString());
        text.replace(QLatin1Char('\n'), QLatin1Char(' '));
        Alert a;
        a.type = QStringLiteral("weather");
        a.event = name;
        a.severity = severityOfKind(kind);
        a.headline = area.isEmpty() ? name : name + QStringLiteral(" — ") + area;
        a.description = firstGraphemes(text, kDescriptionGraphemes);
        a.place = area;
        a.time = stringProperty(p, "validity_datetime");
        a.emergency = kind == QLatin1String("warning");
        out.append(std::move(a));
    }
    return out;
}

QList<Alert> filterWeatherByScope(const QList<Alert>& items, const QString& scope,
                                  const std::optional<QString>& admin1, const QString&) {
    if (scope != QLatin1String("province") || !admin1 || admin1->trimmed().isEmpty()) return items;
    const QStringList keys = admin1MatchKeys(*admin1);
    if (keys.isEmpty()) return items;
    // Another state's code counts only in capitals, as the service writes them ("Wayne, MI"): in lower case
    // the codes are everyday words ("in", "or", "me") that would drop the user's own alerts.
    QStringList otherCodes;
    for (const QString& code : usStateAbbrevs())
        if (!keys.contains(code.toLower())) otherCodes.append(code);
    QList<Alert> kept;
    for (const Alert& a : items) {
        const QString original =
            a.place.value_or(QString()) + QLatin1Char(' ') + a.headline.value_or(QString());
        const QString text = lowerBlankTrimmed(original);
        if (text.isEmpty() || containsAnyWord(text, keys) || !containsAnyWord(original, otherCodes))
            kept.append(a);
    }
    return kept;
}

QCoro::Task<FeedResult> nws(double lat, double lon) {
    QUrl url = Endpoints::current().usAlerts.resolved(QUrl(QStringLiteral("/alerts/active")));
    QUrlQuery q;
    q.addQueryItem(QStringLiteral("point"), NetworkDiscipline::decimalText(lat) + QLatin1Char(',') +
                                                NetworkDiscipline::decimalText(lon));
    url.setQuery(q);
    HttpRequest request;
    request.url = url;
    request.timeout = kFeedTimeout;
    request.headers = {{"User-Agent", kAgentWithContact}, {"Accept", "application/geo+json"}};
    const HttpResponse r = co_await Http::send(std::move(request));
    co_return feedResult(r, [](const QByteArray& body) { return parseNws(body); });
}

QCoro::Task<FeedResult> environmentCanada(double lat, double lon, std::optional<QString> admin1,
                                          QString scope) {
    const double d = ecBBoxDeg(scope);
    const auto clamp = [](double v, double limit) { return std::clamp(v, -limit, limit); };
    const QStringList box{NetworkDiscipline::decimalText(clamp(lon - d, 180)),
                          NetworkDiscipline::decimalText(clamp(lat - d, 90)),
                          NetworkDiscipline::decimalText(clamp(lon + d, 180)),
                          NetworkDiscipline::decimalText(clamp(lat + d, 90))};
    QUrl url =
        Endpoints::current().canadaAlerts.resolved(QUrl(QStringLiteral("/collections/weather-alerts/items")));
    QUrlQuery q;
    q.addQueryItem(QStringLiteral("f"), QStringLiteral("json"));
    q.addQueryItem(QStringLiteral("lang"), QStringLiteral("en"));
    q.addQueryItem(QStringLiteral("limit"), QStringLiteral("60"));
    q.addQueryItem(QStringLiteral("bbox"), box.join(QLatin1Char(',')));
    url.setQuery(q);
    HttpRequest request;
    request.url = url;
    request.timeout = kFeedTimeout;
    request.headers = {{"User-Agent", kAgent}};
    const HttpResponse r = co_await Http::send(std::move(request));
    co_return feedResult(r,
                         [&](const QByteArray& body) { return parseEnvironmentCanada(body, admin1, scope); });
}

QCoro::Task<FeedResult> weatherAlerts(double lat, double lon, std::optional<QString> countryCode,
                                      std::optional<QString> admin1, QString scope) {
    const QString cc = countryCode.value_or(QString()).toLower();
    if (cc == QLatin1String("us")) {
        FeedResult r = co_await nws(lat, lon);
        r.items = filterWeatherByScope(r.items, scope, admin1, cc);
        co_return r;
    }
    if (cc == QLatin1String("ca")) co_return co_await environmentCanada(lat, lon, admin1, scope);
    co_return FeedResult{{}, true};
}

}  // namespace LocalAlerts
