#include "services/LogoDiskCache.h"

#include "engine/APIClient.h"
#include "engine/NetworkDiscipline.h"
#include "model/JsonCoding.h"
#include "platform/Http.h"
#include "platform/StoredFile.h"
#include "services/CacheFolder.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QImageReader>
#include <QJsonArray>
#include <QJsonObject>

#include <algorithm>
#include <climits>
#include <map>

using namespace Qt::Literals::StringLiterals;

namespace {

using Manifest = LogoDiskCache::Manifest;

QString manifestPath() {
    return LogoDiskCache::directoryURL() + u"/manifest.json"_s;
}

QString filePath(const QString& name) {
    return LogoDiskCache::directoryURL() + u'/' + name;
}

// The file name for a slot's image, from the image's own format; nothing for a format the clock does not
// draw.
std::optional<QString> fileNameFor(int slot, const QByteArray& format) {
    static const std::pair<const char*, const char*> known[] = {
        {"png", "png"},   {"jpeg", "jpg"}, {"jpg", "jpg"}, {"gif", "gif"},
        {"webp", "webp"}, {"bmp", "bmp"},  {"svg", "svg"},
    };
    for (const auto& [name, extension] : known)
        if (format == name) return u"logo_"_s + QString::number(slot) + u'.' + QLatin1String(extension);
    return std::nullopt;
}

bool validEntryFile(int slot, const QString& file) {
    return file.startsWith(u"logo_"_s + QString::number(slot) + u'.') && !file.contains(u'/') &&
           !file.contains(u'\\') && file.count(u'.') == 1;
}

// A manifest that is missing or does not read counts as empty: every logo is then fetched again and the
// file is rewritten whole, so a damaged manifest heals on the next sync.
Manifest readManifest() {
    const std::optional<QByteArray> bytes = StoredFile::readWithin(manifestPath(), Http::jsonReplyMaxBytes);
    if (!bytes) return {};
    return LogoDiskCache::parseManifest(*bytes);
}

bool writeManifest(const Manifest& manifest) {
    QJsonObject object;
    if (manifest.branding) object.insert("branding"_L1, manifest.branding->toJson());
    QJsonArray logos;
    for (const auto& [slot, entry] : manifest.entries) {
        logos.append(QJsonObject{{"slot"_L1, slot},
                                 {"version"_L1, entry.version},
                                 {"file"_L1, entry.file},
                                 {"bytes"_L1, entry.bytes}});
    }
    object.insert("logos"_L1, logos);
    const std::optional<QByteArray> bytes = JsonCoding::encode(object);
    return bytes && CacheFolder::writeAtomically(manifestPath(), *bytes);
}

bool entryOnDisk(const LogoDiskCache::Entry& entry) {
    const QFileInfo info(filePath(entry.file));
    return info.isFile() && info.size() == entry.bytes;
}

// Every file of the slot, whatever its extension; what a damaged manifest forgot is removed too.
void removeSlotFiles(int slot, const QString& keep = {}) {
    const QDir dir(LogoDiskCache::directoryURL());
    const QStringList names = dir.entryList({u"logo_"_s + QString::number(slot) + u".*"_s}, QDir::Files);
    for (const QString& name : names)
        if (name != keep) QFile::remove(dir.filePath(name));
}

// The server's version token of a slot: the branding's, when it names one, else what the HEAD said.
QString versionOf(int slot, const std::optional<Branding>& branding, const QString& probed) {
    if (branding && branding->logos) {
        for (const LogoSlot& s : *branding->logos) {
            if (s.slot == slot && s.version && !s.version->isEmpty()) return *s.version;
        }
    }
    return probed;
}

// Decodes the bytes to make sure they are an image the dial can draw; gives its format.
std::optional<QByteArray> imageFormat(const QByteArray& bytes) {
    QBuffer buffer;
    buffer.setData(bytes);
    if (!buffer.open(QIODevice::ReadOnly)) return std::nullopt;
    QImageReader reader(&buffer);
    const QByteArray format = reader.format();
    if (format.isEmpty() || reader.read().isNull()) return std::nullopt;
    return format;
}

int positiveModulo(int value, int n) {
    const int r = value % n;
    return r < 0 ? r + n : r;
}

}  // namespace

LogoDiskCache& LogoDiskCache::shared() {
    static LogoDiskCache cache;
    return cache;
}

QString LogoDiskCache::directoryURL() {
    return CacheFolder::path(u"Logos"_s);
}

QList<LogoDiskCache::Entry> LogoDiskCache::cachedLogos() const {
    QList<Entry> out;
    for (const auto& [slot, entry] : readManifest().entries)
        if (entryOnDisk(entry)) out.append(entry);
    return out;
}

std::optional<Branding> LogoDiskCache::cachedBranding() const {
    return readManifest().branding;
}

LogoDiskCache::Pick LogoDiskCache::pickDialLogo(int logoRotateIndex) const {
    const Manifest manifest = readManifest();
    const QList<Entry> logos = cachedLogos();
    const bool rotate =
        manifest.branding && manifest.branding->rotateLogos.value_or(false) && logos.size() >= 2;
    Pick pick;
    if (rotate) {
        const int n = int(logos.size());
        const int position = positiveModulo(logoRotateIndex, n);
        pick.url = QUrl::fromLocalFile(filePath(logos[position].file));
        pick.nextRotateIndex = (position + 1) % n;
        return pick;
    }
    pick.nextRotateIndex = logoRotateIndex >= 0 && logoRotateIndex < INT_MAX ? logoRotateIndex + 1 : 0;
    const qint64 active = manifest.branding ? manifest.branding->activeLogo.value_or(1) : 1;
    for (const Entry& entry : logos)
        if (entry.slot == active) pick.url = QUrl::fromLocalFile(filePath(entry.file));
    return pick;
}

QCoro::Task<bool> LogoDiskCache::syncDialLogos(SettingsSnapshot settings, bool force) {
    const SerialGate::Pass pass = co_await gate_.enter();
    Manifest manifest = readManifest();
    if (!force && manifest.readable &&
        NetworkDiscipline::isFresh(stampKey, NetworkDiscipline::maxAgeSeconds(settings.geoRefreshHours)))
        co_return true;

    const APIClient& api = APIClient::shared();
    std::optional<Branding> branding = co_await api.fetchBranding();
    if (!branding) branding = (co_await api.fetchBundleAssets()).branding;
    if (branding) manifest.branding = branding;

    bool complete = true;
    for (int slot = APIClient::firstLogoSlot; slot <= APIClient::lastLogoSlot; ++slot) {
        const APIClient::LogoProbe probe = co_await api.probeLogo(slot);
        if (probe.state == APIClient::LogoProbe::State::Unreachable) {
            // The server is not there: asking the other slots would only wait out their timeouts.
            complete = false;
            break;
        }
        if (probe.state == APIClient::LogoProbe::State::Unknown) {
            complete = false;
            continue;
        }
        if (probe.state == APIClient::LogoProbe::State::Absent) {
            manifest.entries.erase(slot);
            removeSlotFiles(slot);
            continue;
        }
        const QString version = versionOf(slot, manifest.branding, probe.version);
        const auto known = manifest.entries.find(slot);
        if (known != manifest.entries.end() && !version.isEmpty() && known->second.version == version &&
            entryOnDisk(known->second))
            continue;

        const std::optional<QByteArray> bytes = co_await api.fetchLogo(slot);
        const std::optional<QByteArray> format = bytes ? imageFormat(*bytes) : std::nullopt;
        const std::optional<QString> name = format ? fileNameFor(slot, *format) : std::nullopt;
        if (!name || !CacheFolder::writeAtomically(filePath(*name), *bytes)) {
            // The previous file, if any, stays and is tried again next time.
            complete = false;
            continue;
        }
        removeSlotFiles(slot, *name);
        manifest.entries[slot] = {slot, version, *name, qint64(bytes->size())};
    }

    if (!writeManifest(manifest)) co_return false;
    if (!complete) co_return false;
    NetworkDiscipline::storeStamp(stampKey);
    co_return true;
}

LogoDiskCache::Manifest LogoDiskCache::parseManifest(const QByteArray& data) {
    Manifest manifest;
    const std::optional<QJsonValue> value = JsonCoding::parse(data);
    if (!value || !value->isObject()) return manifest;
    const QJsonObject object = value->toObject();
    manifest.readable = true;
    manifest.branding = Branding::fromJson(object.value("branding"_L1));
    for (const QJsonValue& item : object.value("logos"_L1).toArray()) {
        const QJsonObject o = item.toObject();
        const std::optional<qint64> slot = JsonCoding::exactInteger(o.value("slot"_L1));
        const std::optional<qint64> bytes = JsonCoding::exactInteger(o.value("bytes"_L1));
        const QString name = o.value("file"_L1).toString();
        if (!slot || *slot < APIClient::firstLogoSlot || *slot > APIClient::lastLogoSlot || !bytes ||
            *bytes < 0)
            continue;
        if (!validEntryFile(int(*slot), name)) continue;
        manifest.entries[int(*slot)] = {int(*slot), o.value("version"_L1).toString(), name, *bytes};
    }
    return manifest;
}
