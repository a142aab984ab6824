#include "services/CacheFolder.h"

#include "platform/OwnFiles.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>

namespace CacheFolder {

QString path(const QString& name) {
    QString base = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    if (base.isEmpty()) base = QDir::tempPath();
    return base + QStringLiteral("/Orvane/") + name;
}

bool writeAtomically(const QString& filePath, const QByteArray& bytes) {
    if (!OwnFiles::makeFolder(QFileInfo(filePath).absolutePath())) return false;
    QSaveFile file(filePath);
    if (!file.open(QIODevice::WriteOnly) || !OwnFiles::setMode(file)) return false;
    if (file.write(bytes) != bytes.size()) {
        file.cancelWriting();
        return false;
    }
    return OwnFiles::commit(file);
}

}  // namespace CacheFolder
