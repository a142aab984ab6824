#pragma once

#include <QString>
#include <cstdint>
#include <optional>

// A place's named time zone (IANA identifier) as ICU knows it: its offset at an instant and the next
// instant that offset changes. The bundle carries a fixed offset, valid until the zone's next change.
namespace PlaceZone {

// Hours east of UTC at the instant; nothing for a zone ICU does not know.
std::optional<double> offsetHours(const QString& zoneId, std::int64_t atMs);

// The first instant after `afterMs` at which the zone's offset changes; nothing for an unknown zone, a
// zone without changes (a fixed offset) or a zone whose last change lies behind.
std::optional<std::int64_t> nextTransitionMs(const QString& zoneId, std::int64_t afterMs);

// This computer's own zone, when it has a name ICU knows; empty otherwise (a bare POSIX rule in TZ).
QString deviceZoneId();

}  // namespace PlaceZone
