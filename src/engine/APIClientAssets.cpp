#include "engine/APIClient.h"

#include "model/JsonCoding.h"

using namespace Qt::Literals::StringLiterals;

namespace {

// The body of a successful reply parsed as JSON; nothing for a failure, an error status or bytes that are
// not a JSON object.
std::optional<QJsonObject> successObject(const HttpResponse& response) {
    if (!response.isSuccess()) return std::nullopt;
    const std::optional<QJsonValue> value = JsonCoding::parse(response.body);
    if (!value || !value->isObject()) return std::nullopt;
    return value->toObject();
}

QCoro::Task<std::optional<QJsonObject>> getObject(QString path) {
    const QUrl url = APIClient::serverURL(path);
    if (url.isEmpty()) co_return std::nullopt;
    co_return successObject(co_await Http::get(url));
}

QCoro::Task<std::optional<QByteArray>> getImage(QString path) {
    const QUrl url = APIClient::serverURL(path);
    if (url.isEmpty()) co_return std::nullopt;
    HttpRequest request;
    request.url = url;
    request.maxBodyBytes = APIClient::maxImageBytes;
    const HttpResponse response = co_await Http::send(std::move(request));
    if (!response.isSuccess() || response.body.isEmpty()) co_return std::nullopt;
    co_return response.body;
}

bool validSlot(int slot) {
    return slot >= APIClient::firstLogoSlot && slot <= APIClient::lastLogoSlot;
}

QString logoPath(int slot) {
    return u"/v1/logo/"_s + QString::number(slot);
}

std::optional<Branding> acceptedBranding(const QJsonValue& value) {
    std::optional<Branding> branding = Branding::fromJson(value);
    if (!branding || !branding->logoAvailable) return std::nullopt;
    return branding;
}

}  // namespace

QCoro::Task<std::optional<ThemeConfig>> APIClient::fetchTheme() const {
    const std::optional<QJsonObject> object = co_await getObject(u"/v1/theme"_s);
    if (!object) co_return std::nullopt;
    co_return ThemeConfig::fromJson(*object);
}

QCoro::Task<std::optional<Branding>> APIClient::fetchBranding() const {
    const std::optional<QJsonObject> object = co_await getObject(u"/v1/branding"_s);
    if (!object) co_return std::nullopt;
    co_return acceptedBranding(*object);
}

QCoro::Task<APIClient::BundleAssets> APIClient::fetchBundleAssets() const {
    const std::optional<QJsonObject> object = co_await getObject(u"/v1/bundle"_s);
    BundleAssets assets;
    if (!object) co_return assets;
    const QJsonValue theme = object->value("theme"_L1);
    if (theme.isObject()) assets.theme = ThemeConfig::fromJson(theme);
    const QJsonValue branding = object->value("branding"_L1);
    if (branding.isObject()) assets.branding = acceptedBranding(branding);
    co_return assets;
}

QCoro::Task<APIClient::LogoProbe> APIClient::probeLogo(int slot) const {
    LogoProbe probe;
    if (!validSlot(slot)) co_return probe;
    const QUrl url = serverURL(logoPath(slot));
    if (url.isEmpty()) co_return probe;
    const HttpResponse response = co_await Http::head(url);
    if (!response.transportOk) co_return probe;
    probe.state = LogoProbe::State::Unknown;
    if (response.status == 404 || response.status == 410) {
        probe.state = LogoProbe::State::Absent;
    } else if (response.isSuccess()) {
        probe.state = LogoProbe::State::Present;
        for (const char* header : {"ETag", "Last-Modified", "Content-Length"}) {
            const QByteArray value = response.header(header).trimmed();
            if (value.isEmpty()) continue;
            probe.version = QString::fromLatin1(value);
            break;
        }
    }
    co_return probe;
}

QCoro::Task<std::optional<QByteArray>> APIClient::fetchLogo(int slot) const {
    if (!validSlot(slot)) co_return std::nullopt;
    co_return co_await getImage(logoPath(slot));
}

QCoro::Task<std::optional<BlessingsConfig>> APIClient::fetchBlessings() const {
    const std::optional<QJsonObject> object = co_await getObject(u"/v1/blessings"_s);
    if (!object) co_return std::nullopt;
    co_return BlessingsConfig::fromJson(*object);
}

QCoro::Task<std::optional<APIClient::NoStreetViewMeta>> APIClient::fetchNoStreetViewMeta() const {
    const std::optional<QJsonObject> object = co_await getObject(u"/v1/streetview_unavailable/meta"_s);
    if (!object) co_return std::nullopt;
    const QJsonValue available = object->value("available"_L1);
    if (!available.isBool()) co_return std::nullopt;
    NoStreetViewMeta meta;
    meta.available = available.toBool();
    const QJsonValue version = object->value("version"_L1);
    if (version.isString() && !version.toString().trimmed().isEmpty()) {
        meta.version = version.toString().trimmed();
    } else if (const std::optional<qint64> number = JsonCoding::exactInteger(version)) {
        meta.version = QString::number(*number);
    }
    co_return meta;
}

QCoro::Task<std::optional<QByteArray>> APIClient::fetchNoStreetViewImage() const {
    co_return co_await getImage(u"/v1/streetview_unavailable"_s);
}

QCoro::Task<APIClient::CheckinReply> APIClient::postCheckin(QJsonObject body,
                                                            std::chrono::milliseconds timeout) const {
    const QUrl url = serverURL(u"/v1/checkin"_s);
    if (url.isEmpty()) co_return CheckinReply::Unreached;
    const std::optional<QByteArray> encoded = JsonCoding::encode(body);
    if (!encoded) co_return CheckinReply::Unreached;
    const HttpResponse response = co_await Http::postJson(url, *encoded, timeout);
    if (response.isSuccess()) co_return CheckinReply::Taken;
    // A status line is the server's own word, even with a body cut short.
    co_return response.status > 0 ? CheckinReply::Refused : CheckinReply::Unreached;
}
