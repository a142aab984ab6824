#include "engine/APIClient.h"

#include "model/JsonCoding.h"
#include "model/Server.h"

const APIClient& APIClient::shared() {
    static const APIClient client;
    return client;
}

QUrl APIClient::serverURL(const QString& path, const QueryItems& query) {
    const QUrl origin = Server::baseURL();
    if (!origin.isValid() || origin.isRelative() || origin.host().isEmpty()) return {};
    QUrl url = origin.resolved(QUrl(path));
    if (!query.isEmpty()) {
        QByteArray encoded;
        for (const auto& [name, value] : query) {
            if (!encoded.isEmpty()) encoded += '&';
            encoded += QUrl::toPercentEncoding(name) + '=' + QUrl::toPercentEncoding(value);
        }
        url.setQuery(QString::fromLatin1(encoded), QUrl::StrictMode);
    }
    return url.isValid() ? url : QUrl();
}

QCoro::Task<bool> APIClient::postClockAddress(QJsonObject body) const {
    const QUrl url = serverURL(QStringLiteral("/v1/clock_address"));
    if (url.isEmpty()) co_return false;
    HttpRequest request;
    request.method = "POST";
    request.url = url;
    request.headers.append(qMakePair(QByteArray("Content-Type"), QByteArray("application/json")));
    // A body that cannot be encoded (a non-finite coordinate) is not sent at all: a request without the
    // address could only be refused or, worse, be taken as clearing it.
    const std::optional<QByteArray> encoded = JsonCoding::encode(body);
    if (!encoded) co_return false;
    request.body = *encoded;
    request.timeout = clockAddressPostTimeout;
    const HttpResponse response = co_await Http::send(std::move(request));
    if (!response.transportOk) co_return false;
    const std::optional<QJsonValue> reply = JsonCoding::parse(response.body);
    if (!reply || !reply->isObject()) co_return false;
    const QJsonValue ok = reply->toObject().value(QLatin1String("ok"));
    co_return ok.isBool() && ok.toBool();
}

QCoro::Task<std::optional<ClockAddressInfo>> APIClient::fetchClockAddress(
    QString clockId, std::optional<QString> deviceId, std::chrono::milliseconds timeout) const {
    QueryItems query{{QStringLiteral("clock_id"), clockId}};
    if (deviceId && !deviceId->trimmed().isEmpty())
        query.append({QStringLiteral("device_id"), deviceId->trimmed()});
    const QUrl url = serverURL(QStringLiteral("/v1/clock_address"), query);
    if (url.isEmpty()) co_return std::nullopt;
    const HttpResponse response = co_await Http::get(url, timeout);
    if (!response.transportOk) co_return std::nullopt;
    co_return JsonCoding::decode<ClockAddressInfo>(response.body);
}
