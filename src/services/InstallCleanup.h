#pragma once

#include <QString>

class DefaultsStore;

// Once per build (and when the own server's host changes) the caches are dropped, so a new release never
// reads answers that an older one stored in another shape. Settings, identifiers, consent and the user's
// own files (installed call-to-prayer audio, Quran editions) are never touched.
namespace InstallCleanup {

// Markers of the build and server host the caches were last cleaned for.
inline const QString buildMarkerKey = QStringLiteral("orvane.cleanup.buildNumber");
inline const QString serverHostMarkerKey = QStringLiteral("orvane.cleanup.serverHost");

// Prefix of the response cache's keys in the defaults store.
inline const QString responseCachePrefix = QStringLiteral("netCache.v1.");
// The scheduled prayer notifications: rebuilt by the next load, so a new build never posts the old build's.
inline const QString pendingNotificationsKey = QStringLiteral("orvane.notifications.pending");

// The folder of the URL cache and the disk caches ($XDG_CACHE_HOME/Orvane): wiped whole (a symlink there is
// removed as the link, never emptied).
QString cacheFolder();

// Runs before the settings are read; does nothing when both markers match the running build and host, nor
// while the store cannot write.
void runIfNeededBeforeSettingsLoad(DefaultsStore& store);

}  // namespace InstallCleanup
