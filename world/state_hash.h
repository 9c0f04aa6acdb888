// A 64-bit fingerprint of the whole world, for comparing runs bit for bit.
#pragma once

#include <cstdint>

#include "world/tigrok.h"

namespace kragmoor {

// FNV-1a over every slot (floats as IEEE-754 bit patterns, texts as a 32-bit
// length and their bytes, integers as 32 bits, all little-endian), then each
// side's colour and purse, the random seed and then the player's view state.
uint64_t StateHash(const World& world, const ViewState& view);

// The same without the view: the world alone (slots, sides, seed), which
// every peer of a network game shares whatever each one looks at.
uint64_t SyncHash(const World& world);

}  // namespace kragmoor
