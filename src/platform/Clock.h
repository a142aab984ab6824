#pragma once

#include <QDateTime>
#include <cstdint>

// The one source of "now" for the whole clock. Tests fix or step it to walk through midnight, a DST change,
// a sleep and resume or a prayer minute without waiting; production reads the system clock.
namespace Clock {

// Milliseconds since 1970 (UTC).
std::int64_t nowMs();
QDateTime now();  // UTC

// Test control. A fixed clock stays where it is put until advanced.
void setFixed(std::int64_t msSinceEpoch);
void setFixed(const QDateTime& instant);
void advance(std::int64_t ms);
void useSystem();
bool isFixed();

}  // namespace Clock
