// The computer player: plays one side by writing orders into its entities.
#pragma once

#include <array>

#include "sim/slot_set.h"
#include "world/tigrok.h"

namespace kragmoor {

// One frame's decisions for `side` (0 to 2), as the frame step makes them
// before the order pass, so what it writes is carried out in the same frame.
void ComputerPlayerStep(World& world, int side);

// ComputerPlayerStep for side 0, 1 and 2 in this order, each only when its
// box is ticked. The live slots are looked up once for all three sides,
// among the members of `mayBeLive`, which must hold every live slot: a
// computer player writes no hp, owner or kind, so what one side does cannot
// change which slots are another side's units or live mines.
void ComputerPlayersStep(World& world, const std::array<bool, kSideCount>& ticked,
                         const SlotSet& mayBeLive);

}  // namespace kragmoor
