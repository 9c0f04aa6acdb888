// Contacts between entities: attack orders between nearby enemies, pushing
// overlapping peasants apart, and the gold hand-over at mines and bases.
#pragma once

#include "sim/frame_scratch.h"
#include "world/tigrok.h"

namespace kragmoor {

// Every pair of live entities of different owners closer than the attack
// range is ordered to attack each other (a gold mine is never made the
// target). REQUIRES: `scratch` fits `world` (ScratchFits), and still does
// afterwards.
void AggressionPass(World& world, FrameScratch& scratch);

// Every pair of live entities closer than two contact radii touches:
// peasants are pushed apart, gold is taken from mines and delivered to bases.
// REQUIRES: `scratch` fits `world` (ScratchFits), and still does afterwards.
void ContactPass(World& world, FrameScratch& scratch);

}  // namespace kragmoor
