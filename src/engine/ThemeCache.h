#pragma once

#include "model/BrandingRecords.h"

#include <QCoro/QCoroTask>
#include <QString>
#include <optional>

// The last theme the own server sent, kept as JSON in the defaults store (read on the GUI thread, like
// every access to that store).
namespace ThemeCache {

inline const QString key = QStringLiteral("adminTheme.v1");

// The stored theme, or nothing when none is stored or its bytes are not a theme.
std::optional<ThemeConfig> cached();

// ---- Sync from the own server ----

// Stamp of the last successful sync in the response cache ("netCache.v1.ts.theme").
inline const QString stampKey = QStringLiteral("theme");

// Asks the server for its theme ("/v1/theme", else the theme inside "/v1/bundle") and stores it under
// `key`; a failure keeps the stored theme. Gives the theme in force afterwards, nothing when none is had.
QCoro::Task<std::optional<ThemeConfig>> sync();

}  // namespace ThemeCache
