#pragma once

#include "model/BlessingsRecords.h"
#include "model/BrandingRecords.h"
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
    QCoro::Task<std::optional<ClockAddressInfo>> fetchClockAddress(
        QString clockId, std::optional<QString> deviceId,
        std::chrono::milliseconds timeout = defaultRequestTimeout) const;

    // POSTs the saved home address; true only when the reply is a JSON object whose "ok" is the boolean
    // true. The HTTP status is not consulted: the server's word is its body.
    QCoro::Task<bool> postClockAddress(QJsonObject body) const;

    static constexpr std::chrono::milliseconds clockAddressPostTimeout{8000};
    static constexpr std::chrono::milliseconds defaultRequestTimeout{60000};
    // What the start-up allows the own server for the address pull and the check-in: the push's bound, so
    // a server that accepts and never answers cannot hold the clock for a minute.
    static constexpr std::chrono::milliseconds startupTimeout = clockAddressPostTimeout;

    // The forecast service's current weather and daily forecast for a place (days ahead, optional model).
    QCoro::Task<std::optional<Weather>> directWeather(double lat, double lon, int days,
                                                      std::optional<QString> models) const;
    // Fetches a forecast address (also a user's custom one) and maps its reply; nothing when unusable.
    QCoro::Task<std::optional<Weather>> parseOpenMeteoWeather(QUrl url) const;

    // ---- Remote assets: theme, dial logos, devotional cards, fallback image, check-in ----
    // Every call needs a 2xx reply: an error page of the server never stands in for an asset. None reports
    // a failure other than by giving nothing.

    // Slots of the dial logos the server may hold.
    static constexpr int firstLogoSlot = 1;
    static constexpr int lastLogoSlot = 10;
    // Largest body accepted for an image; anything longer is a failed download.
    static constexpr qint64 maxImageBytes = Http::pictureMaxBytes;

    // GET "/v1/theme".
    QCoro::Task<std::optional<ThemeConfig>> fetchTheme() const;
    // GET "/v1/branding"; only a reply whose "logo_available" is true counts.
    QCoro::Task<std::optional<Branding>> fetchBranding() const;

    // The theme and branding inside a bundle the server serves, when its own requests give nothing.
    struct BundleAssets {
        std::optional<ThemeConfig> theme;
        std::optional<Branding> branding;  // only with "logo_available" true
    };
    // GET "/v1/bundle"; each part is nothing when absent or undecodable.
    QCoro::Task<BundleAssets> fetchBundleAssets() const;

    // What a HEAD of one logo slot says.
    struct LogoProbe {
        // Absent: 404 or 410; Unknown: any other status; Unreachable: no reply at all (nor a request, for a
        // slot outside 1-10 or no server address).
        enum class State { Present, Absent, Unknown, Unreachable };
        State state = State::Unreachable;
        QString version;  // ETag, else Last-Modified, else Content-Length; may be empty
    };
    // HEAD "/v1/logo/<slot>".
    QCoro::Task<LogoProbe> probeLogo(int slot) const;
    // GET "/v1/logo/<slot>": the image bytes, capped at maxImageBytes.
    QCoro::Task<std::optional<QByteArray>> fetchLogo(int slot) const;

    // GET "/v1/blessings".
    QCoro::Task<std::optional<BlessingsConfig>> fetchBlessings() const;

    // Whether the server offers the picture for places without street-level imagery, and its version.
    struct NoStreetViewMeta {
        bool available = false;
        std::optional<QString> version;
    };
    // GET "/v1/streetview_unavailable/meta": {"available": bool, "version": string or number}.
    QCoro::Task<std::optional<NoStreetViewMeta>> fetchNoStreetViewMeta() const;
    // GET "/v1/streetview_unavailable": the picture's bytes, capped at maxImageBytes.
    QCoro::Task<std::optional<QByteArray>> fetchNoStreetViewImage() const;

    // How a check-in ended: no reply at all (offline, timeout, no address, a body that cannot be sent), a
    // reply that refused it, or a 2xx reply.
    enum class CheckinReply { Unreached, Refused, Taken };
    // POST "/v1/checkin" with the presence body.
    QCoro::Task<CheckinReply> postCheckin(QJsonObject body,
                                          std::chrono::milliseconds timeout = defaultRequestTimeout) const;

  private:
    APIClient() = default;
};
