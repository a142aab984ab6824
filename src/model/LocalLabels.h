#pragma once

#include "model/JsonCoding.h"

// The built-in English interface texts by label key. Every bundle built on the device carries this table,
// and every label lookup falls back to it; it sits beside the records because the bundle's own lookup
// needs it.
namespace LocalLabels {

// Built once on first use (thread-safe) and never changed afterwards.
const JsonCoding::StringMap& en();

}  // namespace LocalLabels
