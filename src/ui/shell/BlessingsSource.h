#pragma once

#include "model/BlessingsRecords.h"

// Where the shell's views read the devotional cards from: the configuration the program has in force.
namespace BlessingsSource {

BlessingsConfig current();

}  // namespace BlessingsSource
