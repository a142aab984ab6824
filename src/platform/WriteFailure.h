#pragma once

#include <QString>

// Words for why a file could not be written. Qt's file classes report "Unknown error" for a write that
// stopped partway (the disk filled during it), so the cause comes from the errno the failing call left: the
// caller clears errno before the write, flush or commit, and reads it right after the failure.
namespace WriteFailure {

// The system's words for `error` ("No space left on device"); `fallback` (the file's own error text) when
// errno was left at 0.
QString cause(int error, const QString& fallback = {});

// The disk, or this user's share of it, has no room left.
bool isDiskFull(int error);

}  // namespace WriteFailure
