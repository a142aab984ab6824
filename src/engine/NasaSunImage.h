#pragma once

#include "platform/Endpoints.h"

#include <QUrl>
#include <atomic>

// The live sun picture's pieces shared across the program: its default address, which the bundle builder
// puts in the fallback theme and the face and panels fall back to, and how many hours a cached picture may
// be old before it is fetched again. Each bundle build writes the user's setting here unclamped; the
// picture code clamps it to 1...24 when it reads it.
namespace NasaSunImage {

// The observatory's latest 256-pixel picture in its 193 Å channel.
inline constexpr char defaultPath[] = "/assets/img/latest/latest_256_0193.jpg";

// The default picture on the configured solar-image host.
inline QUrl defaultURL() {
    QUrl url = Endpoints::current().solarImage;
    url.setPath(QLatin1StringView(defaultPath));
    return url;
}

inline std::atomic<int> preferredMaxAgeHours{12};

}  // namespace NasaSunImage
