#include "engine/APIClient.h"
#include "platform/DefaultsStore.h"
#include "services/AppSettings.h"

#include <QJsonObject>
#include <QLoggingCategory>
#include <QPointer>
#include <QRegularExpression>
#include <QTextBoundaryFinder>
#include <cmath>

namespace {

Q_LOGGING_CATEGORY(lcAddress, "orvane.address")

// The widest real offsets of civil time from UTC: Baker Island and the Line Islands.
constexpr double kEarliestUtcOffsetHours = -12.0;
constexpr double kLatestUtcOffsetHours = 14.0;
// Clock ids are 12 characters; a longer one is allowed, an endless one is not an id.
constexpr qsizetype kLongestClockId = 64;

// What makes a saved-address reply impossible, or nothing when every value it carries can be true. Such a
// reply is refused whole: a server that sends one impossible value cannot be trusted for the others.
std::optional<QString> impossibleValue(const ClockAddressInfo& reply) {
    const auto within = [](double value, double low, double high) {
        return std::isfinite(value) && value >= low && value <= high;
    };
    if (reply.lat && !within(*reply.lat, -90.0, 90.0)) return QStringLiteral("latitude %1").arg(*reply.lat);
    if (reply.lon && !within(*reply.lon, -180.0, 180.0))
        return QStringLiteral("longitude %1").arg(*reply.lon);
    if (reply.tzOffsetHours && !within(*reply.tzOffsetHours, kEarliestUtcOffsetHours, kLatestUtcOffsetHours))
        return QStringLiteral("UTC offset %1 h").arg(*reply.tzOffsetHours);
    if (reply.clockId) {
        const QString id = reply.clockId->trimmed().toLower();
        if (!AppSettings::isValidClockId(id) || id.size() > kLongestClockId)
            return QStringLiteral("clock id");
    }
    return std::nullopt;
}

// Whether a text names a street address rather than a town: any decimal digit, in any script.
bool looksLikeStreetAddress(const QString& text) {
    for (const char32_t c : text.toUcs4()) {
        if (QChar::category(c) == QChar::Number_DecimalDigit) return true;
    }
    return false;
}

qsizetype characterCount(const QString& text) {
    QTextBoundaryFinder graphemes(QTextBoundaryFinder::Grapheme, text);
    qsizetype count = 0;
    while (graphemes.toNextBoundary() != -1) ++count;
    return count;
}

bool noCoordinates(double lat, double lon) {
    return std::abs(lat) <= 0.001 && std::abs(lon) <= 0.001;
}

bool samePlace(double lat1, double lon1, double lat2, double lon2) {
    return std::abs(lat1 - lat2) <= 1e-5 && std::abs(lon1 - lon2) <= 1e-5;
}

}  // namespace

void AppSettings::applyFixedPlace(const QString& city, double lat, double lon,
                                  const std::optional<QString>& placeId,
                                  const std::optional<double>& tzOffsetHours) {
    // Another place's offset or place id must never follow the clock to a new place: without new ones the
    // offset becomes 0 (looked up when the bundle is built) and the place id is cleared.
    const bool newPlace = !samePlace(values_.manualLat, values_.manualLon, lat, lon);
    setUseManualLocation(true);
    setManualLat(lat);
    setManualLon(lon);
    if (!city.isEmpty()) setManualCity(city);
    if (placeId) {
        setManualPlaceId(*placeId);
    } else if (newPlace) {
        setManualPlaceId(QString());
    }
    if (tzOffsetHours && std::isfinite(*tzOffsetHours)) {
        setManualTzOffsetHours(*tzOffsetHours);
    } else if (newPlace) {
        setManualTzOffsetHours(0.0);
    }
    setLastKnownLat(lat);
    setLastKnownLon(lon);
    flushLocationFieldsToDisk();
    store_.sync();
}

void AppSettings::rememberFixedLocation(const QString& city, double lat, double lon,
                                        const std::optional<QString>& placeId,
                                        const std::optional<double>& tzOffsetHours) {
    if (!std::isfinite(lat) || !std::isfinite(lon)) return;
    applyFixedPlace(city.trimmed(), lat, lon, placeId, tzOffsetHours);
    // Fire and forget: the local choice stands whatever the server says.
    [](QPointer<AppSettings> self) -> QCoro::Task<> {
        if (self) co_await self->pushSavedAddressToServer();
    }(this);
}

QCoro::Task<bool> AppSettings::rememberFixedLocationAndPush(QString city, double lat, double lon,
                                                            std::optional<QString> placeId,
                                                            std::optional<double> tzOffsetHours) {
    if (!std::isfinite(lat) || !std::isfinite(lon)) co_return false;
    applyFixedPlace(city.trimmed(), lat, lon, placeId, tzOffsetHours);
    co_return co_await pushSavedAddressToServer();
}

QCoro::Task<bool> AppSettings::pushSavedAddressToServer() {
    const QString clockId = ensureLocalClockId();
    const QString address = values_.manualCity.trimmed();
    if (!values_.useManualLocation || address.isEmpty() ||
        noCoordinates(values_.manualLat, values_.manualLon)) {
        co_return false;
    }
    if (!std::isfinite(values_.manualLat) || !std::isfinite(values_.manualLon)) co_return false;
    QJsonObject body{{QStringLiteral("clock_id"), clockId},
                     {QStringLiteral("address"), address},
                     {QStringLiteral("lat"), values_.manualLat},
                     {QStringLiteral("lon"), values_.manualLon},
                     {QStringLiteral("device_id"), deviceId()}};
    if (hasManualTimezone() && std::isfinite(values_.manualTzOffsetHours)) {
        body.insert(QStringLiteral("tz_offset_hours"), values_.manualTzOffsetHours);
    }
    if (const auto city = cityHint(address); city && !city->isEmpty())
        body.insert(QStringLiteral("city"), *city);
    if (!values_.manualPlaceId.isEmpty()) body.insert(QStringLiteral("place_id"), values_.manualPlaceId);
    co_return co_await APIClient::shared().postClockAddress(body);
}

QCoro::Task<bool> AppSettings::pullSavedAddressFromServer(bool force, std::chrono::milliseconds timeout) {
    return pull(force, false, timeout);
}

QCoro::Task<bool> AppSettings::pull(bool force, bool reclaim, std::chrono::milliseconds timeout) {
    const QString clockId = ensureLocalClockId();
    const bool incomplete =
        values_.manualCity.trimmed().isEmpty() || noCoordinates(values_.manualLat, values_.manualLon);
    if (!incomplete && !force && looksLikeStreetAddress(values_.manualCity))
        co_return hasUsableFixedAddress();

    QPointer<AppSettings> self(this);
    const std::optional<ClockAddressInfo> reply =
        co_await APIClient::shared().fetchClockAddress(clockId, deviceId(), timeout);
    if (!self) co_return false;
    // The reply is applied here, on the thread that owns the settings, once it has arrived.
    if (!reply || !reply->found || !reply->lat || !reply->lon) co_return false;
    if (const std::optional<QString> impossible = impossibleValue(*reply)) {
        qCWarning(lcAddress).noquote() << "saved-address reply refused: impossible" << *impossible;
        co_return false;
    }
    const QString serverAddress = reply->address.value_or(QString()).trimmed();
    const double lat = *reply->lat, lon = *reply->lon;
    if (serverAddress.isEmpty() || !std::isfinite(lat) || !std::isfinite(lon) || noCoordinates(lat, lon)) {
        co_return false;
    }

    const bool localStreetWins =
        !incomplete && looksLikeStreetAddress(values_.manualCity) && !looksLikeStreetAddress(serverAddress);
    if (reply->clockId) {
        const QString serverClockId = reply->clockId->trimmed().toLower();
        if (serverClockId != clockId.toLower() && !localStreetWins) {
            setClockId(serverClockId);
            persistClockIdToKeychain(serverClockId);
        }
    }
    if (localStreetWins && !force) co_return hasUsableFixedAddress();
    // The user turned the fixed address off; only a fresh install or an explicit reclaim turns it back on.
    if (!incomplete && !values_.useManualLocation && !reclaim) co_return false;

    applyFixedPlace(serverAddress, lat, lon, reply->placeId, reply->tzOffsetHours);
    co_return true;
}

QCoro::Task<bool> AppSettings::reclaimClockId(QString typed) {
    const QString id = typed.trimmed().toLower();
    if (!isValidClockId(id)) co_return false;
    retryKeyring();
    setClockId(id);
    persistClockIdToKeychain(id);
    co_return co_await pull(true, true, APIClient::defaultRequestTimeout);
}

std::optional<QString> AppSettings::cityHint(const QString& address) {
    QStringList pieces;
    for (const QString& piece : address.split(u',', Qt::SkipEmptyParts)) {
        const QString trimmed = piece.trimmed();
        if (!trimmed.isEmpty()) pieces.append(trimmed);
    }
    if (pieces.isEmpty()) return std::nullopt;
    if (pieces.size() == 1) return pieces.first();
    static const QRegularExpression leadingDigit(QStringLiteral("^\\d"),
                                                 QRegularExpression::UseUnicodePropertiesOption);
    for (qsizetype i = 1; i < pieces.size(); ++i) {
        const QString& piece = pieces.at(i);
        if (leadingDigit.match(piece).hasMatch()) continue;
        const qsizetype length = characterCount(piece);
        if (length >= 2 && length < 40) return piece;
    }
    return pieces.first();
}
