#pragma once

#include "model/ServerReplies.h"
#include "model/WeatherRecords.h"
#include "platform/Http.h"

#include <QCoro/QCoroTask>
#include <QJsonObject>
#include <QList>
#include <QPair>
#include <QString>
#include <QUrl>
#include <chrono>
#include <optional>

// The one client of the own server (and of the public forecast service): every request goes through the
// shared HTTP layer to origins taken from Endpoints, so tests can point it at a loopback server.
class APIClient {
  public:
    static const APIClient& shared();

    using QueryItems = QList<QPair<QString, QString>>;

    // `path` resolved against the own server's origin, with every query value fully percent-encoded (a
    // "+" or "&" in a value never changes its meaning). Empty when the origin is not an absolute URL.
    static QUrl serverURL(const QString& path, const QueryItems& query = {});

    // The home address the server keeps for a clock; nothing on any failure (no address, transport error,
    // a body that is not the record). The device id is sent only when it is not blank.
    QCoro::Task<std::optional<ClockAddressInfo>> fetchClockAddress(QString clockId,
                                                                   std::optional<QString> deviceId) const;

    // POSTs the saved home address; true only when the reply is a JSON object whose "ok" is the boolean
    // true. The HTTP status is not consulted: the server's word is its body.
    QCoro::Task<bool> postClockAddress(QJsonObject body) const;

    static constexpr std::chrono::milliseconds clockAddressPostTimeout{8000};

    // The forecast service's current weather and daily forecast for a place (days ahead, optional model).
    QCoro::Task<std::optional<Weather>> directWeather(double lat, double lon, int days,
                                                      std::optional<QString> models) const;
    // Fetches a forecast address (also a user's custom one) and maps its reply; nothing when unusable.
    QCoro::Task<std::optional<Weather>> parseOpenMeteoWeather(QUrl url) const;

  private:
    APIClient() = default;
};
