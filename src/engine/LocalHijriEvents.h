#pragma once

#include "engine/LocalHijri.h"
#include "model/AlertRecords.h"

#include <QList>

// The next annual Islamic dates (new year, Ashura, the two Eids and others) with their Gregorian day and
// the days to go, on the same civil days as the face and the month grids.
namespace LocalHijri {

// At most `count` events from today's civil day on (today's included), earliest first. `labels` names the
// events (the key when it has no name) and the months.
QList<Event> upcomingEvents(const QDateTime& today, int count, const JsonCoding::StringMap& labels,
                            const std::optional<Location>& location);

// The same with the given day offset in place of the stored one.
QList<Event> upcomingEvents(const QDateTime& today, int count, const JsonCoding::StringMap& labels,
                            const std::optional<Location>& location, qint64 dayOffset);

}  // namespace LocalHijri
