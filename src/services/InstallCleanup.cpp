#include "services/InstallCleanup.h"

#include "model/Server.h"
#include "platform/DefaultsStore.h"
#include "platform/Endpoints.h"
#include "platform/OwnFiles.h"

#include <QFileInfo>
#include <QLoggingCategory>
#include <QStandardPaths>

#include "services/CacheFolder.h"

namespace InstallCleanup {

namespace {
Q_LOGGING_CATEGORY(lcCleanup, "orvane.cleanup")
}

QString cacheFolder() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation) + QStringLiteral("/Orvane");
}

void runIfNeededBeforeSettingsLoad(DefaultsStore& store) {
    const QString build = QString::number(BuildInfo::buildNumber());
    const QString host = Server::baseURL().host();
    if (store.string(buildMarkerKey) == build && store.string(serverHostMarkerKey) == host) return;
    // Without a place to write the markers every start would clean again, and what it removed would be
    // gone while the settings that point at it stay.
    if (!store.isPersistent() || !store.failure().isEmpty()) {
        qCInfo(lcCleanup) << "settings cannot be saved: cached files are kept as they are";
        return;
    }

    int removed = 0;
    for (const QString& key : store.keys()) {
        if (key.startsWith(responseCachePrefix) || key == pendingNotificationsKey) {
            store.remove(key);
            ++removed;
        }
    }
    // The server's assets kept in the data folder go too; the user's own recordings and the Quran
    // editions beside them stay. A cache folder the user moved elsewhere through a symlink goes as the link:
    // the folder it leads to may hold their own files.
    bool hadCaches = false;
    for (const QString& folder : {cacheFolder(), CacheFolder::path(QStringLiteral("Logos")),
                                  CacheFolder::path(QStringLiteral("NoStreetView")),
                                  CacheFolder::path(QStringLiteral("Blessings"))}) {
        const QFileInfo info(folder);
        if (!info.exists() && !info.isSymLink()) continue;
        hadCaches = true;
        if (!OwnFiles::removeTree(folder))
            qCWarning(lcCleanup) << "could not remove every cached file under" << folder;
    }
    if (removed > 0 || hadCaches) {
        qCInfo(lcCleanup) << "new build or server: dropped" << removed
                          << "cached answers and the cache folder";
    }
    store.setString(buildMarkerKey, build);
    store.setString(serverHostMarkerKey, host);
    store.sync();
}

}  // namespace InstallCleanup
