#pragma once

#include "model/BrandingRecords.h"

#include <QString>
#include <optional>

// The last theme the own server sent, kept as JSON in the defaults store (read on the GUI thread, like
// every access to that store).
namespace ThemeCache {

inline const QString key = QStringLiteral("adminTheme.v1");

// The stored theme, or nothing when none is stored or its bytes are not a theme.
std::optional<ThemeConfig> cached();

}  // namespace ThemeCache
