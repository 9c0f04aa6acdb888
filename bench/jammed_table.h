// The benchmarks' jammed table: the real state of a long computer-player
// match once its main bases have piled up on one spot.
#pragma once

#include "world/tigrok.h"

namespace kragmoor {

// The state of `kragmoor-sim match --seed 3` after frame 230,000: all 300
// slots live, one side left, 139 main bases within one grid cell and 10,049
// touching pairs. Loaded from a saved game of it checked in beside the
// benchmark (it takes half a minute to play to); prints a warning on
// standard error when the state hash is not the one that match prints there.
World JammedTable();

}  // namespace kragmoor
