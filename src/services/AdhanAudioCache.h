#pragma once

#include <QString>

// The folder of call-to-prayer recordings the user installed ($XDG_DATA_HOME/Orvane/Adhan). It is durable
// data, never a cache that a cleanup may wipe.
namespace AdhanAudioCache {

QString folder();

// Removes what an older release left there while downloading from the server: "manifest.json" and the
// partial "fajr.mp3.download" and "regular.mp3.download". Anything missing or not removable is ignored.
void purgeLegacyServerCacheArtifacts();

// ---- Recordings the user installs ("fajr.mp3" for the dawn call, "regular.mp3" for the others) ----

// Largest recording accepted.
inline constexpr qint64 maxCustomBytes = 50 * 1024 * 1024;

// The installed file of the kind "fajr" or "regular"; empty for any other kind.
QString customPath(const QString& kind);
// True when the kind's file exists and is larger than 1000 bytes.
bool hasCustom(const QString& kind);
// Copies the chosen file over the kind's file in one step: the copy goes to a temporary file in the audio
// folder and replaces the installed one only when it is complete and holds more than 1000 bytes (and at
// most maxCustomBytes). On any failure the installed file stays as it was and the result is false.
bool installCustom(const QString& kind, const QString& sourcePath);
// Deletes the kind's installed file; a missing file or another kind does nothing.
void clearCustom(const QString& kind);

}  // namespace AdhanAudioCache
