// The live slots of the entity table with their positions copied into flat
// arrays, and the per-axis test with which the pair passes skip, many pairs
// at once and without a square root, the pairs that cannot be in range.
// Reads the world only; the passes keep the copies up to date.
#pragma once

#include <array>
#include <cstdint>

#include "world/tigrok.h"

namespace kragmoor {

inline constexpr int kScanBlock = 8;  // slots tested together; the arrays are padded by one block

// Built at the start of a pair pass, during which no slot changes liveness.
struct LiveSlots {
  int count = 0;                           // live slots
  std::array<int16_t, kSlotCount> slot{};  // slot[k]: the k-th live slot, ascending
  alignas(16) std::array<float, kSlotCount + kScanBlock> x{};  // x[k]: x of slot[k]
  alignas(16) std::array<float, kSlotCount + kScanBlock> y{};  // y[k]: y of slot[k]
};

// Fills `live` with the live slots of `world` in ascending order.
void GatherLive(const World& world, LiveSlots& live);

// The first k from `from` on (up to live.count, returned when there is none)
// whose position is not ruled out by the per-axis test against (px, py):
// a pair whose float difference on x or on y is `range` or more apart has a
// Distance2D of at least `range`. A NaN difference never rules a pair out.
int NextNear(const LiveSlots& live, float px, float py, float range, int from);

}  // namespace kragmoor
