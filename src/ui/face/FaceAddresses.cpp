#include "FaceAddresses.h"

#include "PlaceTime.h"
#include "model/BrandingRecords.h"
#include "model/PlaceRecords.h"

#include <QDir>
#include <QFileInfo>
#include <QUrlQuery>
#include <charconv>

namespace FaceAddresses {

namespace {

bool isWebAddress(const QUrl& url) {
    const QString scheme = url.scheme().toLower();
    return url.isValid() && !url.host().isEmpty() &&
           (scheme == QLatin1String("http") || scheme == QLatin1String("https"));
}

bool isInsideDir(const QUrl& url, const QString& dir) {
    if (!url.isLocalFile() || dir.isEmpty()) return false;
    const QString root = QFileInfo(dir).canonicalFilePath();
    const QString file = QFileInfo(url.toLocalFile()).canonicalFilePath();
    return !root.isEmpty() && !file.isEmpty() && file.startsWith(root + QLatin1Char('/'));
}

QString twoDigits(int value) {
    return QString::number(value).rightJustified(2, QLatin1Char('0'));
}

}  // namespace

std::optional<QUrl> logoURL(const std::optional<QUrl>& dialLogoURL, const std::optional<Branding>& branding,
                            const QUrl& serverBase, const QString& logoCacheDir) {
    if (dialLogoURL && !dialLogoURL->isEmpty()) {
        if (isWebAddress(*dialLogoURL) || isInsideDir(*dialLogoURL, logoCacheDir)) return dialLogoURL;
        return std::nullopt;
    }
    if (!branding || !branding->logoAvailable) return std::nullopt;
    const QString text = branding->logoUrl.trimmed();
    if (text.isEmpty()) return std::nullopt;
    const QUrl relative(text, QUrl::StrictMode);
    if (!relative.isValid()) return std::nullopt;
    const QUrl resolved = serverBase.resolved(relative);
    if (!isWebAddress(resolved)) return std::nullopt;
    return resolved;
}

QString shortestDecimal(double value) {
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return QString::fromLatin1(buffer, result.ptr - buffer);
}

QUrl planetariumURL(std::int64_t utcMs, const LocationInfo& location, const QUrl& planetariumOrigin) {
    const PlaceTime::Fields f = PlaceTime::fields(utcMs, location.tzOffsetHours);
    QUrl url = planetariumOrigin;
    url.setPath(QStringLiteral("/planetarium"));
    QUrlQuery query;
    query.addQueryItem(QStringLiteral("obj"), QStringLiteral("moon"));
    query.addQueryItem(QStringLiteral("date"), QString::number(f.year).rightJustified(4, QLatin1Char('0')) +
                                                   QLatin1Char('-') + twoDigits(f.month) + QLatin1Char('-') +
                                                   twoDigits(f.day));
    query.addQueryItem(QStringLiteral("h"), twoDigits(f.hour));
    query.addQueryItem(QStringLiteral("m"), twoDigits(f.minute));
    query.addQueryItem(QStringLiteral("lat"), shortestDecimal(location.lat));
    query.addQueryItem(QStringLiteral("lon"), shortestDecimal(location.lon));
    query.addQueryItem(QStringLiteral("fov"), QStringLiteral("80"));
    url.setQuery(query);
    return url;
}

}  // namespace FaceAddresses
