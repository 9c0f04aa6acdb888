// The two pair passes written plainly: the per-pair rules of
// sim/pair_rules.h called for every pair (i, j), i < j, of all 300 slots in
// order, with no look-up of live slots and no skipping. The reference that
// the frame step's fast passes, with their pair visitor, are checked
// against, by a unit test and by a fuzz target: any pair the visitor skips
// but a rule acts on shows up as a difference.
#pragma once

#include "world/tigrok.h"

namespace kragmoor {

void PlainAggressionPass(World& world);
void PlainContactPass(World& world);

}  // namespace kragmoor
