#include "services/AdhanAudioCache.h"

#include <QFile>
#include <QStandardPaths>

namespace AdhanAudioCache {

QString folder() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
           QStringLiteral("/Orvane/Adhan");
}

void purgeLegacyServerCacheArtifacts() {
    const QString dir = folder();
    QFile::remove(dir + QStringLiteral("/manifest.json"));
    for (const char* kind : {"fajr", "regular"}) {
        QFile::remove(dir + u'/' + QLatin1String(kind) + QStringLiteral(".mp3.download"));
    }
}

}  // namespace AdhanAudioCache
