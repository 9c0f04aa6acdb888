// The computer player: plays one side by writing orders into its entities.
#pragma once

#include "world/tigrok.h"

namespace kragmoor {

// One frame's decisions for `side` (0 to 2); called by the frame step before
// the order pass, so what it writes is carried out in the same frame.
void ComputerPlayerStep(World& world, int side);

}  // namespace kragmoor
