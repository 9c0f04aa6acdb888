// The two pair passes written plainly: the per-pair rules of
// sim/pair_rules.h called for every pair (i, j), i < j, of all 300 slots in
// order, with no look-up of live slots and no skipping. The reference that
// the frame step's fast passes, with their pair visitor, are checked
// against, by a unit test and by a fuzz target: any pair the visitor skips
// but a rule acts on shows up as a difference.
#pragma once

#include <cstdint>

#include "world/state_hash.h"
#include "world/tigrok.h"

namespace kragmoor {

void PlainAggressionPass(World& world);
void PlainContactPass(World& world);

// The state hash of a world alone (over an initial view, which no pair pass
// touches), to compare a fast pass's result with the plain one's.
inline uint64_t WorldHash(const World& world) { return StateHash(world, ViewState{}); }

}  // namespace kragmoor
