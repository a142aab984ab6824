#include "shell/UpdateInstallation.h"

#include <QDir>
#include <QFileInfo>

#include <unistd.h>

namespace UpdateInstallation {

namespace {

bool writable(const QString& path) {
    return ::access(QFile::encodeName(path).constData(), W_OK | X_OK) == 0;
}

// Folders the system's packages own: even root (who can write them) must not rename one of them away.
bool isSystemFolder(const QString& path) {
    static const char* const roots[] = {"/usr", "/bin", "/sbin", "/lib",  "/lib32", "/lib64", "/libx32",
                                        "/etc", "/var", "/snap", "/boot", "/proc",  "/sys",   "/dev"};
    for (const char* root : roots) {
        const QString r = QString::fromLatin1(root);
        if (path == r || path.startsWith(r + QLatin1Char('/'))) return true;
    }
    return false;
}

}  // namespace

Kind inspect(const QString& installDir) {
    const QFileInfo info(installDir);
    if (installDir.isEmpty() || !info.isDir()) return Kind::NotWritable;
    const QString folder = info.canonicalFilePath();
    if (folder.isEmpty() || isSystemFolder(folder)) return Kind::NotWritable;
    const QString parent = QFileInfo(folder).absolutePath();
    if (folder == parent || !writable(folder) || !writable(parent)) return Kind::NotWritable;
    const QString home = QFileInfo(QDir::homePath()).canonicalFilePath();
    if (folder == home || info.fileName() == QLatin1String("bin")) return Kind::SharedFolder;
    return Kind::SelfUpdating;
}

QString howToUpdate(Kind kind, const QString& installDir) {
    switch (kind) {
        case Kind::SelfUpdating:
            return {};
        case Kind::NotWritable:
            return QStringLiteral(
                       "This copy of Orvane is installed in %1, which Orvane cannot change, as when it comes "
                       "from a package. Update it the way it was installed: for a Debian package, with your "
                       "system's software updates (or \"sudo apt update && sudo apt upgrade\").")
                .arg(QDir::toNativeSeparators(installDir));
        case Kind::SharedFolder:
            return QStringLiteral(
                       "This copy of Orvane runs from %1, a folder other programs share, so Orvane does not "
                       "replace it. Install the new version the way you installed this one, into a folder "
                       "of its own.")
                .arg(QDir::toNativeSeparators(installDir));
    }
    return {};
}

}  // namespace UpdateInstallation
