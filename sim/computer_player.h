// The computer player: plays one side by writing orders into its entities.
#pragma once

#include "sim/frame_scratch.h"
#include "world/tigrok.h"

namespace kragmoor {

// One frame's decisions for `side` (0 to 2), as the frame step makes them
// before the order pass, so what it writes is carried out in the same frame.
void ComputerPlayerStep(World& world, int side);

// The same as the frame step runs it, sharing its working storage.
// REQUIRES: `scratch` fits `world` (ScratchMisfit); it still does
// afterwards, since a computer player changes no hp, owner or kind.
void ComputerPlayerStep(World& world, int side, FrameScratch& scratch);

}  // namespace kragmoor
