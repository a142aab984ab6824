#pragma once

#include "engine/LocalAlertsRegions.h"
#include "model/AlertRecords.h"

#include <QByteArray>
#include <QCoro/QCoroTask>
#include <QJsonObject>
#include <QList>
#include <QString>
#include <optional>

struct HttpResponse;

// The alert list of the clock bundle: public weather alerts of the US and Canadian services followed by the
// recent earthquakes around the place, within the user's alert scope, kept in the response cache.
namespace LocalAlerts {

// One feed's answer. A feed that failed (no connection, an error status, a body that is no feature
// collection) is not the same as a feed that answered "no alerts": a failed list is never cached.
struct FeedResult {
    QList<Alert> items;
    bool ok = false;
};

// Where a place's list came from. Only a list that every feed answered (or one still fresh from such an
// answer) is `Checked`; when a feed fails the last stored list stands in while under `storedListHours` old,
// and with none the list is `Unchecked`: it holds only what the answering feed gave and must never be shown
// as "no alerts".
enum class Origin { Checked, Stored, Unchecked };

struct Fetched {
    QList<Alert> items;
    Origin origin = Origin::Unchecked;
};

inline constexpr qint64 storedListHours = 12;

// The weather alerts followed by the earthquakes; served from the cache while fresh unless forced.
QCoro::Task<Fetched> fetch(double lat, double lon, std::optional<QString> countryCode,
                           std::optional<QString> admin1, QString scope, qint64 maxAgeHours, bool force);

// Cache key of a place's list: "alerts." + normalised scope + "." + coordinates.
QString cacheKey(const QString& scope, double lat, double lon);

// The weather half: the US feed (filtered by scope) for "us", the Canadian feed for "ca", nothing elsewhere.
QCoro::Task<FeedResult> weatherAlerts(double lat, double lon, std::optional<QString> countryCode,
                                      std::optional<QString> admin1, QString scope);
QCoro::Task<FeedResult> nws(double lat, double lon);
QCoro::Task<FeedResult> environmentCanada(double lat, double lon, std::optional<QString> admin1,
                                          QString scope);
QCoro::Task<FeedResult> earthquakes(double lat, double lon, std::optional<QString> countryCode,
                                    std::optional<QString> admin1, QString scope);

// The mapping of each feed's body; nothing when the body is not a JSON object with an array of feature
// objects under "features".
std::optional<QList<Alert>> parseNws(const QByteArray& body);
std::optional<QList<Alert>> parseEnvironmentCanada(const QByteArray& body,
                                                   const std::optional<QString>& admin1,
                                                   const QString& scope);
std::optional<QList<Alert>> parseEarthquakes(const QByteArray& body, double lat, double lon,
                                             const std::optional<QString>& countryCode,
                                             const std::optional<QString>& admin1, const QString& scope);

// Keeps, for the "province" scope, the US alerts that name the user's state or no other state.
QList<Alert> filterWeatherByScope(const QList<Alert>& items, const QString& scope,
                                  const std::optional<QString>& admin1,
                                  const QString& countryCode = QString());

// The first n user-perceived characters (grapheme clusters) of the text.
QString firstGraphemes(const QString& text, int n);

// The feature objects of a feature collection, or nothing; shared by the three feeds.
std::optional<QList<QJsonObject>> featureObjects(const QByteArray& body);

// Whether a reply may be parsed at all: it arrived whole with a 2xx status.
bool answered(const HttpResponse& response);

}  // namespace LocalAlerts
