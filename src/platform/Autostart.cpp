#include "platform/Autostart.h"

#include "platform/OwnFiles.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QSettings>
#include <QStandardPaths>

namespace {

// A path with spaces or quotes stays one argument in the Exec line.
QString quotedProgram(const QString& program) {
    QString escaped = program;
    for (const char* c : {"\\", "\"", "`", "$"})
        escaped.replace(QLatin1String(c), QLatin1String("\\") + QLatin1String(c));
    return QLatin1Char('"') + escaped + QLatin1Char('"');
}

}  // namespace

namespace Autostart {

QString entryPath() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/autostart/orvane.desktop");
}

bool isEnabled() {
    const QString path = entryPath();
    if (!QFileInfo(path).isFile()) return false;
    QSettings entry(path, QSettings::IniFormat);
    entry.beginGroup(QStringLiteral("Desktop Entry"));
    const auto flag = [&entry](const char* key) {
        return entry.value(QLatin1String(key))
                   .toString()
                   .trimmed()
                   .compare(QLatin1String("true"), Qt::CaseInsensitive) == 0;
    };
    if (flag("Hidden")) return false;
    if (entry.contains(QStringLiteral("X-GNOME-Autostart-enabled")) && !flag("X-GNOME-Autostart-enabled"))
        return false;
    return !entry.value(QStringLiteral("Exec")).toString().trimmed().isEmpty();
}

bool enable(const QString& program) {
    const QString binary = program.isEmpty() ? QCoreApplication::applicationFilePath() : program;
    if (binary.isEmpty()) return false;
    const QString path = entryPath();
    // The desktop's session reads it: the usual modes, whatever the umask.
    if (!OwnFiles::makeFolder(QFileInfo(path).absolutePath(), OwnFiles::Access::Desktop)) return false;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        !OwnFiles::setMode(file, OwnFiles::Access::Desktop))
        return false;
    const QString text = QStringLiteral(
                             "[Desktop Entry]\n"
                             "Type=Application\n"
                             "Version=1.4\n"
                             "Name=Orvane\n"
                             "Comment=Prayer times and the call to prayer\n"
                             "Exec=%1\n"
                             "Icon=orvane\n"
                             "Terminal=false\n"
                             "X-GNOME-Autostart-enabled=true\n")
                             .arg(quotedProgram(binary));
    if (file.write(text.toUtf8()) < 0) return false;
    return OwnFiles::commit(file);
}

bool disable() {
    const QString path = entryPath();
    if (!QFileInfo::exists(path)) return true;
    return QFile::remove(path);
}

}  // namespace Autostart
