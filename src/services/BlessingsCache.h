#pragma once

#include "model/BlessingsRecords.h"

#include <QCoro/QCoroTask>
#include <QString>
#include <optional>

// The devotional-card configuration from the own server, kept as "Orvane/Blessings/blessings.json"; the
// built-in configuration stands in until the server has sent one.
namespace BlessingsCache {

QString directoryURL();
QString filePath();  // directoryURL() + "/blessings.json"

// The stored configuration; nothing when none is stored or the file does not decode.
std::optional<BlessingsConfig> stored();
// The stored configuration, else BlessingsConfig::defaults().
BlessingsConfig current();

// Fetches the configuration unless the last sync is younger than max(1, maxAgeHours) hours (or forced),
// and stores it when nothing usable is stored, the server's version differs, or the stored copy has no
// update time. Gives the configuration in force afterwards; a failure keeps what was there.
QCoro::Task<BlessingsConfig> sync(bool force, int maxAgeHours);

inline const QString stampKey = QStringLiteral("blessings");

}  // namespace BlessingsCache
