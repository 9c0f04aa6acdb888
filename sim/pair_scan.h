// The pair visitor: walks the pairs (i, j), i < j, of the live slots in the
// rules' order and calls a per-pair rule on each pair that may do anything.
// It keeps the live slots' positions, owners and acts copied into flat
// arrays and skips, eight pairs at a time and without a square root, the
// pairs that the rule's reach (below) says do nothing. The rules themselves
// never see the copies.
#pragma once

#include <algorithm>
#include <array>
#include <bit>
#include <cassert>
#include <cstdint>
#include <string>
#include <type_traits>

#include "sim/debug_checks.h"
#include "sim/slot_set.h"
#include "world/tigrok.h"

namespace kragmoor {

// What a per-pair rule promises so that the visitor may leave pairs out
// without calling it. Every rule does nothing for a pair with a dead entity.
struct PairReach {
  // A pair whose x or y differences (as Distance2D computes them) are
  // `range` or more in size, or NaN, does nothing.
  float range = 0.0f;
  // A pair of one owner neither of which `mayAct` does nothing. Null: no
  // pair of one owner does anything.
  bool (*mayAct)(const Tigrok&) = nullptr;
};

inline constexpr int kScanBlock = 8;  // slots tested together; the arrays are padded by one block

// The live slots with the copies the visitor tests. Only the first `count`
// entries (and the padding block after them) are ever read, so the arrays
// are left uninitialised.
struct LiveSlots {
  int count = 0;                         // live slots
  std::array<int16_t, kSlotCount> slot;  // slot[k]: the k-th live slot, ascending
  alignas(16) std::array<float, kSlotCount + kScanBlock> x;        // x[k]: x of slot[k]
  alignas(16) std::array<float, kSlotCount + kScanBlock> y;        // y[k]: y of slot[k]
  alignas(16) std::array<int32_t, kSlotCount + kScanBlock> owner;  // owner[k]: owner of slot[k]
  // acts[k]: all bits set when actsOf(slot[k]), 0 otherwise.
  alignas(16) std::array<int32_t, kSlotCount + kScanBlock> acts;
  bool (*actsOf)(const Tigrok&) = nullptr;  // the mayAct that `acts` was filled from
};

// Fills `live` with the live slots of `world` in ascending order, looking
// only at the members of `mayBeLive`, which must hold every live slot; acts
// from `mayAct` (a rule's PairReach::mayAct), all 0 when it is null.
template <bool (*mayAct)(const Tigrok&)>
void GatherLive(const World& world, const SlotSet& mayBeLive, LiveSlots& live) {
  int n = 0;
  for (int s = mayBeLive.Next(0); s < kSlotCount; s = mayBeLive.Next(s + 1)) {
    const Tigrok& t = world.entities[s];
    if (!IsLive(t)) continue;
    live.slot[n] = static_cast<int16_t>(s);
    live.x[n] = t.x;
    live.y[n] = t.y;
    live.owner[n] = t.owner;
    if constexpr (mayAct != nullptr) {
      live.acts[n] = mayAct(t) ? -1 : 0;
    } else {
      live.acts[n] = 0;
    }
    ++n;
  }
  live.count = n;
  live.actsOf = mayAct;
  // The tests read a whole block past the end.
  std::fill_n(&live.x[n], kScanBlock, 0.0f);
  std::fill_n(&live.y[n], kScanBlock, 0.0f);
  std::fill_n(&live.owner[n], kScanBlock, 0);
  std::fill_n(&live.acts[n], kScanBlock, 0);
}

// An empty text when `live` matches `world` (every live slot, with its
// copies); otherwise what differs first, and what to look for.
std::string CopiesMisfit(const World& world, const LiveSlots& live);

// ---- The block scans. A block of eight consecutive entries as a scan finds
// it: bit l of `lanes` is set when entry base + l, below live.count, passes.
struct NearBlock {
  int base = 0;        // the block's first entry; live.count when the scan found none
  unsigned lanes = 0;  // bit l: entry base + l passes
};

// The first block from entry `from` on that holds an entry of another owner
// than entry a whose x and y differences from it are both below `range`.
NearBlock NextEnemyNearBlock(const LiveSlots& live, int a, float range, int from);

// The same, entries of a's own owner let through when they act or a does.
NearBlock NextActiveNearBlock(const LiveSlots& live, int a, float range, int from);

// The lanes of the block of entries base to base + 7 (base < live.count) as
// NextEnemyNearBlock and NextActiveNearBlock test them against entry a now.
unsigned EnemyNearLanes(const LiveSlots& live, int a, float range, int base);
unsigned ActiveNearLanes(const LiveSlots& live, int a, float range, int base);

namespace pair_scan_detail {

// Aborts with a message naming the rule's pair when the copies of entries a
// and b no longer match the table. Debug builds only.
void CheckPairCopies(const World& world, const LiveSlots& live, int a, int b, bool changed);

// Aborts with a message when the acts of `live` were not filled from the
// visited rule's mayAct. Debug builds only.
void CheckActs(const LiveSlots& live, bool (*mayAct)(const Tigrok&));

template <const PairReach& kReach>
NearBlock NextBlock(const LiveSlots& live, int a, int from) {
  if constexpr (kReach.mayAct == nullptr) return NextEnemyNearBlock(live, a, kReach.range, from);
  return NextActiveNearBlock(live, a, kReach.range, from);
}

template <const PairReach& kReach>
unsigned BlockLanes(const LiveSlots& live, int a, int base) {
  if constexpr (kReach.mayAct == nullptr) return EnemyNearLanes(live, a, kReach.range, base);
  return ActiveNearLanes(live, a, kReach.range, base);
}

// The rule for entries a (slot i) and b; when it reports a change, their
// copies are refreshed, as the next tests must see where they are and what
// they carry.
template <const PairReach& kReach, class Rule>
[[gnu::always_inline]] inline bool Visit(World& world, LiveSlots& live, int a, int i, int b,
                                         Rule& rule) {
  const int j = live.slot[b];
  if constexpr (kReach.mayAct == nullptr) {
    // The scan let through entries of two owners only, so the compiler may
    // drop the rule's own test of it.
    assert(world.entities[i].owner != world.entities[j].owner &&
           "pair visitor: a pair of one owner passed the scan: the owner copies are out of date");
    if (world.entities[i].owner == world.entities[j].owner) __builtin_unreachable();
  }
  bool changed = false;
  if constexpr (std::is_void_v<decltype(rule(world, i, j))>) {
    rule(world, i, j);
  } else {
    changed = rule(world, i, j);
  }
  if constexpr (kDebugChecks) CheckPairCopies(world, live, a, b, changed);
  if (!changed) return false;
  const Tigrok& ti = world.entities[i];
  const Tigrok& tj = world.entities[j];
  live.x[a] = ti.x;
  live.y[a] = ti.y;
  live.x[b] = tj.x;
  live.y[b] = tj.y;
  if constexpr (kReach.mayAct != nullptr) {
    live.acts[a] = kReach.mayAct(ti) ? -1 : 0;
    live.acts[b] = kReach.mayAct(tj) ? -1 : 0;
  }
  return true;
}

// The pairs of entry a with the entries after it, in ascending order.
//
// A change touches only a and b, so the block's later lanes need testing
// again only against what a is now. The next visit goes on with the lanes
// as they were found, and the new test only decides whether to start the
// scan again after b: the chain of visits in a crowded row waits for a's
// position, never for a scan of it as well.
template <const PairReach& kReach, class Rule>
[[gnu::always_inline]] inline void VisitRow(World& world, LiveSlots& live, int a, Rule& rule) {
  const int i = live.slot[a];
  if constexpr (std::is_void_v<decltype(rule(world, 0, 0))>) {
    // Nothing the scan tests changes: every block's lanes stay as found.
    for (NearBlock block = NextBlock<kReach>(live, a, a + 1); block.lanes != 0;
         block = NextBlock<kReach>(live, a, block.base + kScanBlock)) {
      for (unsigned lanes = block.lanes; lanes != 0; lanes &= lanes - 1) {
        Visit<kReach>(world, live, a, i, block.base + std::countr_zero(lanes), rule);
      }
    }
  } else {
    int from = a + 1;
    while (from < live.count) {
      const NearBlock block = NextBlock<kReach>(live, a, from);
      from = block.base + kScanBlock;
      unsigned lanes = block.lanes;
      while (lanes != 0) {
        const int lane = std::countr_zero(lanes);
        const bool changed = Visit<kReach>(world, live, a, i, block.base + lane, rule);
        lanes &= lanes - 1;
        if (!changed) continue;
        const unsigned later = ~((2u << lane) - 1);  // the lanes after b
        if ((BlockLanes<kReach>(live, a, block.base) & later) != lanes) {
          from = block.base + lane + 1;
          break;
        }
      }
    }
  }
}

}  // namespace pair_scan_detail

// Calls rule(world, i, j) for every pair of live slots i < j in the rules'
// order, leaving out the pairs that kReach says do nothing; every write
// takes effect at once. The rule returns nothing when it never moves an
// entity or changes what kReach.mayAct says of it, and otherwise whether it
// may have (a debug build checks this after every call). REQUIRES: `live` fits
// `world` (CopiesMisfit) with acts of kReach.mayAct when it has one; it
// still does afterwards.
template <const PairReach& kReach, class Rule>
void VisitPairs(World& world, LiveSlots& live, Rule rule) {
  static_assert(kReach.range > 0.0f, "a reach needs a range");
  if constexpr (kDebugChecks) pair_scan_detail::CheckActs(live, kReach.mayAct);
  int lastRow = live.count - 1;
  if constexpr (kReach.mayAct == nullptr) {
    // The entries after the last one whose owner differs from the final
    // entry's all have that one owner: their rows hold no pair of two
    // owners. When a single side is left on the field, no row is scanned.
    while (lastRow >= 0 && live.owner[lastRow] == live.owner[live.count - 1]) --lastRow;
  }
  for (int a = 0; a <= lastRow; ++a) pair_scan_detail::VisitRow<kReach>(world, live, a, rule);
}

}  // namespace kragmoor
