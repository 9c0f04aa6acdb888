// The computer player: plays one side by writing orders into its entities.
#pragma once

#include <cstdint>

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

// Computer-player levels: 3 is the design's player, 1 and 2 are easier.
inline constexpr int32_t kLevelEasiest = 1;
inline constexpr int32_t kLevelNormal = 3;

// The computer player of `side` at `level` (1 to 3) for one frame. Level 3
// is ComputerPlayerStep exactly. An easier level first draws random(k) from
// the shared generator (k = 3 at level 2, 9 at level 1) and takes a step
// only when the draw is 0, so it plays on about one frame in k; that step
// builds no base once the side has 6 (level 2) or 2 (level 1) and starts no
// raid while the side has fewer than 4 or 8 peasants. The level keeps no
// state of its own (the seed it draws from is already part of the game), so
// saved games, recordings and the hash need nothing new.
void ComputerPlayerTurn(World& world, int side, int32_t level, FrameScratch& scratch);

}  // namespace kragmoor
