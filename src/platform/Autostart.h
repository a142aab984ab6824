#pragma once

#include <QString>

// Launch at login through the freedesktop autostart folder: an entry "orvane.desktop" in
// $XDG_CONFIG_HOME/autostart that starts this program's binary when the user logs in.
namespace Autostart {

QString entryPath();

// Whether the entry exists, starts Orvane and is not hidden or disabled by the desktop.
bool isEnabled();

// Writes the entry atomically, pointing at `program` (this process's binary when empty); false when the
// folder or the file cannot be written.
bool enable(const QString& program = {});

// Removes the entry; true when none is left.
bool disable();

}  // namespace Autostart
