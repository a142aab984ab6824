#include "TempHome.h"

#include <QDir>
#include <QStandardPaths>

namespace {
void setOrUnset(const char* name, const QByteArray& value) {
    if (value.isNull()) {
        qunsetenv(name);
    } else {
        qputenv(name, value);
    }
}
}  // namespace

TempHome::TempHome()
    : oldHome_(qgetenv("HOME")),
      oldConfig_(qgetenv("XDG_CONFIG_HOME")),
      oldData_(qgetenv("XDG_DATA_HOME")),
      oldCache_(qgetenv("XDG_CACHE_HOME")) {
    QDir root(dir_.path());
    for (const char* sub : {".config", ".local/share", ".cache"}) root.mkpath(QLatin1String(sub));
    qputenv("HOME", dir_.path().toUtf8());
    qputenv("XDG_CONFIG_HOME", configHome().toUtf8());
    qputenv("XDG_DATA_HOME", dataHome().toUtf8());
    qputenv("XDG_CACHE_HOME", cacheHome().toUtf8());
}

TempHome::~TempHome() {
    setOrUnset("HOME", oldHome_);
    setOrUnset("XDG_CONFIG_HOME", oldConfig_);
    setOrUnset("XDG_DATA_HOME", oldData_);
    setOrUnset("XDG_CACHE_HOME", oldCache_);
}

QString TempHome::configHome() const { return dir_.path() + QStringLiteral("/.config"); }
QString TempHome::dataHome() const { return dir_.path() + QStringLiteral("/.local/share"); }
QString TempHome::cacheHome() const { return dir_.path() + QStringLiteral("/.cache"); }
