// The working storage a frame step owns and lends to each of its phases:
// the slots that may be live, and the lists and copies that the computer
// players and the pair passes gather from them. It holds nothing between
// frames; a phase run on its own gets a fresh one.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "sim/pair_scan.h"
#include "sim/slot_set.h"
#include "world/tigrok.h"

namespace kragmoor {

// The live units of each side and the live gold mines, ascending: what the
// computer players look at besides their random scans. Only the first
// unitCount[side] and mineCount entries are ever read.
struct UnitLists {
  std::array<std::array<int16_t, kSlotCount>, kSideCount> units;
  std::array<int, kSideCount> unitCount{};
  std::array<int16_t, kSlotCount> mines;
  int mineCount = 0;
};

struct FrameScratch {
  // Every slot that is live in `world` now, with the unit lists gathered in
  // the same look at the table.
  explicit FrameScratch(const World& world);
  // The given slots, which must hold every live slot.
  explicit FrameScratch(const SlotSet& slots) : mayBeLive(slots) {}

  // Every live slot, and perhaps some dead ones: each phase still tests
  // liveness itself. Only a completed build makes a slot live (a hit only
  // lowers hp, a repair only raises that of a live base), so the order
  // pass's walk takes in what the builds fill, and the set stays whole for
  // the whole frame.
  SlotSet mayBeLive;

  // Gathered with the set when the scratch is made from the world, else by
  // the first computer player of the frame, and shared by the others, since
  // none of them changes an hp, owner or kind.
  UnitLists units;
  bool unitsGathered = false;

  // Gathered by AggressionPass, which changes no position, owner, hp or
  // gold, and kept up to date by the pair visitor in ContactPass, which
  // moves peasants and hands gold over.
  LiveSlots live;
  bool liveGathered = false;
};

// An empty text when `scratch` holds every live slot of `world` and its
// gathered lists and copies match `world`, which is what each phase
// requires of it; otherwise what differs first.
std::string ScratchMisfit(const FrameScratch& scratch, const World& world);

// Aborts, saying what differs and what to look for, when `scratch` does not
// fit `world` as `phase` begins.
void AbortOnScratchMisfit(const FrameScratch& scratch, const World& world, const char* phase);

// AbortOnScratchMisfit in a debug build (kDebugChecks); nothing in a release build.
inline void CheckScratch(const FrameScratch& scratch, const World& world, const char* phase) {
  if constexpr (kDebugChecks) AbortOnScratchMisfit(scratch, world, phase);
}

// The unit lists of `scratch`, gathered first when they are not.
const UnitLists& GatherUnits(const World& world, FrameScratch& scratch);

// The live slots with their copies, gathered first when they are not, with
// the acts of `mayAct` (see GatherLive).
template <bool (*mayAct)(const Tigrok&)>
LiveSlots& GatherLiveSlots(const World& world, FrameScratch& scratch) {
  if (!scratch.liveGathered) {
    GatherLive<mayAct>(world, scratch.mayBeLive, scratch.live);
    scratch.liveGathered = true;
  }
  return scratch.live;
}

// What the order pass calls before it changes positions, lives and owners:
// the lists and copies must be gathered again after it.
inline void ForgetGathered(FrameScratch& scratch) {
  scratch.unitsGathered = false;
  scratch.liveGathered = false;
}

}  // namespace kragmoor
