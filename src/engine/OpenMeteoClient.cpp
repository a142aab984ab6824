#include "engine/APIClient.h"
#include "engine/OpenMeteo.h"
#include "platform/Http.h"

namespace {
// A forecast is a few kilobytes; a custom address that streams more is not a forecast service.
constexpr qint64 kMaxForecastBytes = 4 * 1024 * 1024;
}  // namespace

QCoro::Task<std::optional<Weather>> APIClient::directWeather(double lat, double lon, int days,
                                                             std::optional<QString> models) const {
    co_return co_await parseOpenMeteoWeather(OpenMeteo::forecastUrl(lat, lon, days, models));
}

QCoro::Task<std::optional<Weather>> APIClient::parseOpenMeteoWeather(QUrl url) const {
    HttpRequest request;
    request.url = std::move(url);
    request.maxBodyBytes = kMaxForecastBytes;
    const HttpResponse r = co_await Http::send(std::move(request));
    if (!r.transportOk) co_return std::nullopt;
    co_return OpenMeteo::parseForecast(r.body);
}
