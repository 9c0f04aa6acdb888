// Contacts between entities: attack orders between nearby enemies, pushing
// overlapping peasants apart, and the gold hand-over at mines and bases.
#pragma once

#include "sim/slot_set.h"
#include "world/tigrok.h"

namespace kragmoor {

// Every pair of live entities of different owners closer than 100 is ordered
// to attack each other (a gold mine is never made the target).
void AggressionPass(World& world);

// Every pair of live entities closer than 50 touches: peasants are pushed
// apart, gold is taken from mines and delivered to bases.
void ContactPass(World& world);

// AggressionPass and then ContactPass, as the frame step runs them, sharing
// one look-up of the live slots (neither pass changes which slots are live),
// made among the members of `mayBeLive`, which must hold every live slot.
void PairPasses(World& world, const SlotSet& mayBeLive);

}  // namespace kragmoor
