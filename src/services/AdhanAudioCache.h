#pragma once

#include <QString>

// The folder of call-to-prayer recordings the user installed ($XDG_DATA_HOME/Orvane/Adhan). It is durable
// data, never a cache that a cleanup may wipe.
namespace AdhanAudioCache {

QString folder();

// Removes what an older release left there while downloading from the server: "manifest.json" and the
// partial "fajr.mp3.download" and "regular.mp3.download". Anything missing or not removable is ignored.
void purgeLegacyServerCacheArtifacts();

}  // namespace AdhanAudioCache
