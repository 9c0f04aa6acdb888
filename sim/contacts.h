// Contacts between entities: the two all-pairs passes of every frame, which
// apply the rules of sim/pair_rules.h to every pair of slots in turn.
#pragma once

#include "sim/frame_scratch.h"
#include "world/tigrok.h"

namespace kragmoor {

// AggressionPair for every pair of slots (i, j), i < j, in ascending order:
// live enemies closer than the attack range are ordered to attack each
// other (a gold mine is never made the target).
void AggressionPass(World& world);

// ContactPair for every pair of slots (i, j), i < j, in ascending order:
// live entities closer than two contact radii touch; peasants are pushed
// apart, gold is taken from mines and delivered to bases.
void ContactPass(World& world);

// The same passes as the frame step runs them, sharing its working storage.
// REQUIRES: `scratch` fits `world` (ScratchMisfit), and still does afterwards.
void AggressionPass(World& world, FrameScratch& scratch);
void ContactPass(World& world, FrameScratch& scratch);

}  // namespace kragmoor
