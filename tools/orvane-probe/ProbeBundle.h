#pragma once

#include "ProbeCommands.h"

namespace ProbeCommands {

// bundle --lat L --lon L [--settings FILE.json] [--at ISO-UTC] [--offline]: one whole clock bundle as one
// JSON line, built on a private, temporary settings store.
Result bundle(const QStringList& arguments);

}  // namespace ProbeCommands
