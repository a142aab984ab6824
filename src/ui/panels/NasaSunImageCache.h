#pragma once

#include "engine/NasaSunImage.h"
#include "platform/Http.h"

#include <QByteArray>
#include <QCoro/QCoroTask>
#include <QDateTime>
#include <QString>
#include <QUrl>
#include <optional>

// The live sun picture's addresses and its one-file cache: one picture for all addresses, in the program's
// data folder, stamped with the UTC day it was stored in the defaults store.
namespace NasaSunImage {

inline constexpr char cacheFileName[] = "nasa_sdo_sun_latest.jpg";
inline constexpr char cachedDayKey[] = "nasaSun.cachedDay";
// A theme may point anywhere; nothing bigger than this is read.
inline constexpr qint64 maxDownloadBytes = Http::pictureMaxBytes;

// The address to use for a theme's text: the default for anything missing or unusable, "http" raised to
// "https".
QUrl resolvedURL(const std::optional<QString>& text);
// The resolved address, with the observatory's latest-image addresses made unique per UTC day.
QUrl fetchURL(const std::optional<QString>& text);
bool isNasaLatestURL(const QUrl& url);
// "yyyyMMdd" of the UTC day of `instant`.
QString dayStamp(const QDateTime& instant);

QString cacheFilePath();
// The freshness window in seconds, from the shared setting clamped into 1...24 hours.
qint64 windowSeconds();
// Stored today (UTC) and younger than the window.
std::optional<QByteArray> cachedDataIfFresh();
// Whatever the cache file holds, fresh or not.
std::optional<QByteArray> cachedDataAnyAge();
// Writes the picture; the day is stamped only once the file is on disk. Returns whether it was written.
bool storeCache(const QByteArray& data);
double secondsUntilRefreshNeeded();
// Fresh cache, else a download, else the stale copy; empty when there is no picture at all.
QCoro::Task<std::optional<QByteArray>> fetch(QUrl url);

}  // namespace NasaSunImage
