#pragma once

#include "model/WeatherRecords.h"

#include <QByteArray>
#include <QString>
#include <QUrl>
#include <optional>

// The public Open-Meteo forecast service: the request of a place's current weather and daily forecast, and
// the mapping of its JSON reply (also that of a custom address answering in the same form) into a Weather.
namespace OpenMeteo {

// "/v1/forecast" on the forecast origin with the current and daily variables, "timezone" auto, the number
// of days and, only when given, the forecast model.
QUrl forecastUrl(double lat, double lon, int days, const std::optional<QString>& models);

// The Weather of a forecast reply; nothing when the reply has no usable current conditions.
std::optional<Weather> parseForecast(const QByteArray& body);

// The condition key of a WMO weather code; "unknown" for any code the table does not list.
QString conditionKey(qint64 code);

}  // namespace OpenMeteo
