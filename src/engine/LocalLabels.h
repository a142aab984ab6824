#pragma once

// The built-in label table lives with the records, whose label lookup falls back to it; the engine reads
// it under the same name.
#include "model/LocalLabels.h"
