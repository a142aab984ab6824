#include "services/AdhanAudioCache.h"

#include "platform/OwnFiles.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace {

constexpr qint64 kMinimumBytes = 1000;

bool knownKind(const QString& kind) {
    return kind == QLatin1String("fajr") || kind == QLatin1String("regular");
}

}  // namespace

namespace AdhanAudioCache {

QString customPath(const QString& kind) {
    if (!knownKind(kind)) return {};
    return folder() + u'/' + kind + QStringLiteral(".mp3");
}

bool hasCustom(const QString& kind) {
    if (!knownKind(kind)) return false;
    const QFileInfo info(customPath(kind));
    return info.isFile() && info.size() > kMinimumBytes;
}

bool installCustom(const QString& kind, const QString& sourcePath) {
    if (!knownKind(kind)) return false;
    QFile source(sourcePath);
    if (!QFileInfo(sourcePath).isFile() || !source.open(QIODevice::ReadOnly)) return false;
    if (!OwnFiles::makeFolder(folder())) return false;
    // QSaveFile writes beside the target and renames over it only on commit, so the installed recording
    // is replaced whole or not at all.
    QSaveFile target(customPath(kind));
    if (!target.open(QIODevice::WriteOnly) || !OwnFiles::setMode(target)) return false;
    qint64 copied = 0;
    QByteArray chunk;
    while (!(chunk = source.read(1 << 16)).isEmpty()) {
        copied += chunk.size();
        if (copied > maxCustomBytes || target.write(chunk) != chunk.size()) {
            target.cancelWriting();
            return false;
        }
    }
    if (source.error() != QFileDevice::NoError || copied <= kMinimumBytes) {
        target.cancelWriting();
        return false;
    }
    return OwnFiles::commit(target);
}

void clearCustom(const QString& kind) {
    if (!knownKind(kind)) return;
    QFile::remove(customPath(kind));
}

}  // namespace AdhanAudioCache
