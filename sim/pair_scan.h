// The live slots of the entity table with their positions and owners copied
// into flat arrays, and the per-axis test with which the pair passes skip,
// eight pairs at a time and without a square root, the pairs that cannot be
// in range or cannot act. Reads the world only; the passes keep the copies up
// to date.
#pragma once

#include <array>
#include <cstdint>

#include "sim/slot_set.h"
#include "world/tigrok.h"

namespace kragmoor {

inline constexpr int kScanBlock = 8;  // slots tested together; the arrays are padded by one block

// Built at the start of the pair passes, during which no slot changes
// liveness or owner. Only the first `count` entries (and the padding block
// after them) are ever read, so the arrays are left uninitialised.
struct LiveSlots {
  int count = 0;                         // live slots
  std::array<int16_t, kSlotCount> slot;  // slot[k]: the k-th live slot, ascending
  alignas(16) std::array<float, kSlotCount + kScanBlock> x;        // x[k]: x of slot[k]
  alignas(16) std::array<float, kSlotCount + kScanBlock> y;        // y[k]: y of slot[k]
  alignas(16) std::array<int32_t, kSlotCount + kScanBlock> owner;  // owner[k]: owner of slot[k]
  // acts[k]: all bits set when slot[k] may act in a touching pair whatever
  // the other entity is (MayAct), 0 otherwise.
  alignas(16) std::array<int32_t, kSlotCount + kScanBlock> acts;
};

// Whether `t` may act in a touching pair whatever the other entity is: a
// peasant is pushed, a gold mine gives gold, an entity carrying gold delivers
// it. A touching pair of two entities of one owner neither of which may act
// does nothing at all: neither moves, no gold changes hands (a delivery needs
// a carrier with gold, a take needs a mine) and no attack order is written.
inline bool MayAct(const Tigrok& t) {
  return t.kind == kKindPeasant || t.kind == kKindMine || t.gold > 0;
}

// Fills `live` with the live slots of `world` in ascending order, looking
// only at the members of `mayBeLive`, which must hold every live slot.
void GatherLive(const World& world, const SlotSet& mayBeLive, LiveSlots& live);

// A block of eight consecutive entries as a scan finds it: bit l of `lanes`
// is set when entry base + l, below live.count, passes the test.
struct NearBlock {
  int base = 0;        // the block's first entry; live.count when the scan found none
  unsigned lanes = 0;  // bit l: entry base + l passes
};

// The per-axis test of a pair: the float differences on x and on y are both
// below `range` in size. Any other pair has a Distance2D that is `range` or
// more, or NaN, and does nothing in either pair pass.

// The first block from entry `from` on that holds an entry of another owner
// than entry a whose pair with a passes the per-axis test.
NearBlock NextEnemyNearBlock(const LiveSlots& live, int a, float range, int from);

// The first block from entry `from` on that holds an entry whose pair with
// entry a passes the per-axis test and may act: when a itself may not act,
// the entries of its own owner that may not act either are ruled out, as
// such pairs do nothing even when they touch.
NearBlock NextActiveNearBlock(const LiveSlots& live, int a, float range, int from);

// The lanes of the block of entries base to base + 7 (base < live.count) as
// NextActiveNearBlock tests them against entry a now.
unsigned ActiveNearLanes(const LiveSlots& live, int a, float range, int base);

}  // namespace kragmoor
