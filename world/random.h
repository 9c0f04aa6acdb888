// The one pseudo-random generator every part of the game draws from. Its
// whole state is World::seed, so a world carries its own random sequence.
#pragma once

#include <cstdint>

#include "world/tigrok.h"

namespace kragmoor {

// Advances the seed (seed * 134775813 + 1, modulo 2^32) and returns the upper
// 32 bits of seed * n: an integer from 0 to n - 1. REQUIRES: n > 0.
inline uint32_t Random(World& world, uint32_t n) {
  world.seed = world.seed * 134775813u + 1u;
  return static_cast<uint32_t>((static_cast<uint64_t>(world.seed) * n) >> 32);
}

// The seed the window starts with: milliseconds since midnight, UTC.
inline uint32_t SeedFromTimeOfDay(uint32_t hour, uint32_t minute, uint32_t second,
                                  uint32_t millisecond) {
  return ((hour * 60u + minute) * 60u + second) * 1000u + millisecond;
}

}  // namespace kragmoor
