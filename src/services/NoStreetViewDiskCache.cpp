#include "services/NoStreetViewDiskCache.h"

#include "engine/APIClient.h"
#include "engine/NetworkDiscipline.h"
#include "model/JsonCoding.h"
#include "platform/StoredFile.h"
#include "services/CacheFolder.h"

#include <QBuffer>
#include <QFile>
#include <QJsonObject>

#include <algorithm>

using namespace Qt::Literals::StringLiterals;

namespace {

QString manifestPath() {
    return NoStreetViewDiskCache::directoryURL() + u"/manifest.json"_s;
}

// Nothing larger than a download may be is read back either.
std::optional<QByteArray> readFile(const QString& path) {
    return StoredFile::readWithin(path, APIClient::maxImageBytes);
}

// The version the stored picture was downloaded at; nothing when the manifest is missing or unreadable.
std::optional<QString> storedVersion() {
    const std::optional<QByteArray> bytes = readFile(manifestPath());
    if (!bytes) return std::nullopt;
    const std::optional<QJsonValue> value = JsonCoding::parse(*bytes);
    if (!value || !value->isObject()) return std::nullopt;
    const QJsonValue version = value->toObject().value("version"_L1);
    if (!version.isString()) return std::nullopt;
    return version.toString();
}

bool decodes(const QByteArray& bytes) {
    return !QImage::fromData(bytes).isNull();
}

}  // namespace

NoStreetViewDiskCache& NoStreetViewDiskCache::shared() {
    static NoStreetViewDiskCache cache;
    return cache;
}

QString NoStreetViewDiskCache::directoryURL() {
    return CacheFolder::path(u"NoStreetView"_s);
}

QString NoStreetViewDiskCache::imagePath() {
    return directoryURL() + u"/no_streetview.png"_s;
}

std::optional<QByteArray> NoStreetViewDiskCache::bundledData() {
    const QImage image(u":/orvane/images/no_streetview.png"_s);
    if (image.isNull()) return std::nullopt;
    QByteArray png;
    QBuffer buffer(&png);
    if (!buffer.open(QIODevice::WriteOnly) || !image.save(&buffer, "PNG")) return std::nullopt;
    return png;
}

bool NoStreetViewDiskCache::isPNG(const QByteArray& data) {
    static const QByteArray signature("\x89PNG\r\n\x1a\n", 8);
    if (data.startsWith(signature)) return true;
    if (data.left(32).contains("\"error\"")) return false;
    return data.size() > 256;
}

QCoro::Task<QImage> NoStreetViewDiskCache::cachedImage() {
    const SerialGate::Pass pass = co_await gate_.enter();
    if (const std::optional<QByteArray> stored = readFile(imagePath()); stored && isPNG(*stored)) {
        // Bytes that passed the signature test can still be an error page; they never hide the built-in
        // picture.
        QImage image = QImage::fromData(*stored);
        if (!image.isNull()) co_return image;
    }
    if (const std::optional<QByteArray> bundled = bundledData()) co_return QImage::fromData(*bundled);
    co_return QImage();
}

QCoro::Task<bool> NoStreetViewDiskCache::sync(bool force, int maxAgeHours) {
    const SerialGate::Pass pass = co_await gate_.enter();
    const bool present = QFile::exists(imagePath());
    const double maxAge = double(std::max(1, maxAgeHours)) * 3600.0;
    if (!force && present && NetworkDiscipline::isFresh(stampKey, maxAge)) co_return true;

    const std::optional<APIClient::NoStreetViewMeta> meta =
        co_await APIClient::shared().fetchNoStreetViewMeta();
    if (!meta) co_return present;
    if (!meta->available) {
        QFile::remove(imagePath());
        QFile::remove(manifestPath());
        NetworkDiscipline::storeStamp(stampKey);
        co_return false;
    }
    if (present && meta->version && storedVersion() == meta->version) {
        NetworkDiscipline::storeStamp(stampKey);
        co_return true;
    }

    const std::optional<QByteArray> bytes = co_await APIClient::shared().fetchNoStreetViewImage();
    if (!bytes || !isPNG(*bytes) || !decodes(*bytes)) co_return present;
    if (!CacheFolder::writeAtomically(imagePath(), *bytes)) co_return QFile::exists(imagePath());
    QJsonObject manifest;
    if (meta->version) manifest.insert("version"_L1, *meta->version);
    manifest.insert("bytes"_L1, qint64(bytes->size()));
    // Without its manifest the picture is simply fetched again next time, so a failed write here is not a
    // failed sync.
    if (const std::optional<QByteArray> encoded = JsonCoding::encode(manifest))
        CacheFolder::writeAtomically(manifestPath(), *encoded);
    NetworkDiscipline::storeStamp(stampKey);
    co_return true;
}
