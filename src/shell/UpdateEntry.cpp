#include "shell/UpdateEntry.h"

#include "model/JsonCoding.h"

#include <QJsonObject>

namespace {

std::optional<qint64> buildNumberOf(const QJsonValue& v) {
    if (v.isString()) {
        bool ok = false;
        const qint64 n = v.toString().trimmed().toLongLong(&ok);
        return ok ? std::optional<qint64>(n) : std::nullopt;
    }
    return JsonCoding::exactInteger(v);
}

bool isHexSha256(const QString& s) {
    if (s.size() != 64) return false;
    for (QChar c : s)
        if (!c.isDigit() && !(c >= QLatin1Char('a') && c <= QLatin1Char('f'))) return false;
    return true;
}

}  // namespace

std::optional<UpdateEntry> UpdateEntry::fromManifest(const QByteArray& manifest) {
    const std::optional<QJsonValue> root = JsonCoding::parse(manifest);
    if (!root || !root->isObject()) return std::nullopt;
    const QJsonValue platform = root->toObject().value(platformKey());
    if (!platform.isObject()) return std::nullopt;
    const QJsonObject o = platform.toObject();

    UpdateEntry e;
    const std::optional<qint64> build = buildNumberOf(o.value(QLatin1String("build_number")));
    const QUrl url(o.value(QLatin1String("download_url")).toString().trimmed());
    const QString checksum = o.value(QLatin1String("checksum_sha256")).toString().trimmed().toLower();
    // Only an encrypted download is taken; the checksum guards the bytes, not who may watch them.
    // Builds count up from 1; a negative number is no build this clock could compare against.
    if (!build || *build < 1 || !url.isValid() || url.scheme() != QLatin1String("https") || url.host().isEmpty() ||
        !isHexSha256(checksum))
        return std::nullopt;
    e.buildNumber = *build;
    e.downloadUrl = url;
    e.checksumSha256 = checksum;
    e.version = o.value(QLatin1String("version")).toString();
    e.forceUpdate = o.value(QLatin1String("force_update")).toBool(false);
    e.releaseNotes = o.value(QLatin1String("release_notes")).toString();
    return e;
}
