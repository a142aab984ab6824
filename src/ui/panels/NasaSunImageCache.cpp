#include "NasaSunImageCache.h"

#include "engine/SunPictureFeed.h"
#include "platform/Clock.h"
#include "platform/DefaultsStore.h"
#include "platform/Endpoints.h"
#include "platform/Http.h"
#include "platform/StoredFile.h"
#include "services/CacheFolder.h"

#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QUrlQuery>
#include <algorithm>

using namespace Qt::Literals::StringLiterals;

namespace NasaSunImage {

QUrl resolvedURL(const std::optional<QString>& text) {
    if (!text) return defaultURL();
    const QString trimmed = text->trimmed();
    if (trimmed.isEmpty()) return defaultURL();
    const QUrl url(trimmed, QUrl::StrictMode);
    if (!url.isValid() || url.scheme().isEmpty()) return defaultURL();
    const QString scheme = url.scheme().toLower();
    if (scheme == u"https"_s) return url;
    if (scheme == u"http"_s) {
        QUrl secure = url;
        secure.setScheme(u"https"_s);
        return secure.isValid() ? secure : url;
    }
    return defaultURL();
}

bool isNasaLatestURL(const QUrl& url) {
    const QString text = url.toString(QUrl::FullyEncoded).toLower();
    const QString host = Endpoints::current().solarImage.host().toLower();
    return !host.isEmpty() && text.contains(host) && text.contains(u"/latest/"_s);
}

QUrl fetchURL(const std::optional<QString>& text) {
    QUrl url = resolvedURL(text);
    if (!isNasaLatestURL(url)) return url;
    QUrlQuery query(url);
    query.removeAllQueryItems(u"d"_s);
    query.addQueryItem(u"d"_s, dayStamp(Clock::now()));
    url.setQuery(query);
    return url;
}

QString dayStamp(const QDateTime& instant) {
    return instant.toUTC().date().toString(u"yyyyMMdd"_s);
}

QString cacheFilePath() {
    // Kept with the program's data, not in the cache folder that every new build empties: the last
    // picture must still show offline after an update.
    return CacheFolder::path(QLatin1StringView(cacheFileName));
}

qint64 windowSeconds() {
    const int hours = std::clamp(preferredMaxAgeHours.load(std::memory_order_relaxed), 1, 24);
    return qint64(hours) * 3600;
}

namespace {

// Seconds the stored copy has been on disk when it was stored today; nothing when it is from another day
// or cannot be dated.
std::optional<double> ageIfStoredToday() {
    const auto stamp = DefaultsStore::standard().string(QLatin1StringView(cachedDayKey));
    const QDateTime now = Clock::now();
    if (!stamp || *stamp != dayStamp(now)) return std::nullopt;
    const QFileInfo info(cacheFilePath());
    if (!info.exists()) return std::nullopt;
    const QDateTime modified = info.lastModified().toUTC();
    if (!modified.isValid()) return std::nullopt;
    return (now.toMSecsSinceEpoch() - modified.toMSecsSinceEpoch()) / 1000.0;
}

}  // namespace

std::optional<QByteArray> cachedDataAnyAge() {
    std::optional<QByteArray> bytes = StoredFile::readWithin(cacheFilePath(), maxDownloadBytes);
    if (!bytes || bytes->isEmpty()) return std::nullopt;
    return bytes;
}

std::optional<QByteArray> cachedDataIfFresh() {
    const auto age = ageIfStoredToday();
    if (!age || *age >= double(windowSeconds())) return std::nullopt;
    return cachedDataAnyAge();
}

bool storeCache(const QByteArray& data) {
    const QString path = cacheFilePath();
    if (!CacheFolder::writeAtomically(path, data)) return false;
    // The stored time is the clock's, so the age rule follows the same clock as the day stamp.
    QFile stamped(path);
    if (stamped.open(QIODevice::Append)) stamped.setFileTime(Clock::now(), QFileDevice::FileModificationTime);
    DefaultsStore::standard().setString(QLatin1StringView(cachedDayKey), dayStamp(Clock::now()));
    return true;
}

double secondsUntilRefreshNeeded() {
    const auto age = ageIfStoredToday();
    if (!age) return 0;
    return std::max(0.0, double(windowSeconds()) - *age);
}

QCoro::Task<std::optional<QByteArray>> fetch(QUrl url) {
    if (auto fresh = cachedDataIfFresh()) {
        SunPictureFeed::shared().setWorked(true);
        co_return fresh;
    }
    HttpRequest request;
    request.url = url;
    request.timeout = std::chrono::seconds(20);
    request.maxBodyBytes = maxDownloadBytes;
    const HttpResponse response = co_await Http::send(request);
    // An error page served with a 200 is no picture: it must not stand in for the good copy on disk.
    const bool picture = response.isSuccess() && !QImage::fromData(response.body).isNull();
    SunPictureFeed::shared().setWorked(picture);
    if (picture) {
        storeCache(response.body);
        co_return response.body;
    }
    co_return cachedDataAnyAge();
}

}  // namespace NasaSunImage
