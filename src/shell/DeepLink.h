#pragma once

#include <QString>
#include <QUrl>
#include <optional>

// Links of the "orvane" scheme. One kind does something: a link whose host or path mentions "adhan" or
// "play" and that names a prayer plays that prayer's call.
namespace DeepLink {

inline constexpr const char* scheme = "orvane";

// The prayer to play, or nothing when the link is not a play link.
std::optional<QString> prayerToPlay(const QUrl& link);

}  // namespace DeepLink
