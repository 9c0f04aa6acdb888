// The two pair passes written plainly from their rules: every pair (i, j),
// i < j, of all 300 slots in order, every write at once, no look-up of live
// slots and no skipping. The reference that the frame step's fast passes are
// checked against, by a unit test and by a fuzz target.
#pragma once

#include "world/tigrok.h"

namespace kragmoor {

void PlainAggressionPass(World& world);
void PlainContactPass(World& world);

}  // namespace kragmoor
