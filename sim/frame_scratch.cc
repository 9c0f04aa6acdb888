// The frame step's working storage: gathering its lists and copies, and the
// check that they fit the world.
#include "sim/frame_scratch.h"

#include <bit>

namespace kragmoor {

namespace {

void GatherUnitsFrom(const World& world, const SlotSet& mayBeLive, UnitLists& lists) {
  lists.unitCount = {};
  lists.mineCount = 0;
  for (int i = mayBeLive.Next(0); i < kSlotCount; i = mayBeLive.Next(i + 1)) {
    const Tigrok& t = world.entities[i];
    if (!IsLive(t)) continue;
    if (IsSide(t.owner)) lists.units[t.owner][lists.unitCount[t.owner]++] = static_cast<int16_t>(i);
    if (t.kind == kKindMine) lists.mines[lists.mineCount++] = static_cast<int16_t>(i);
  }
}

bool SameUnits(const UnitLists& a, const UnitLists& b) {
  if (a.unitCount != b.unitCount || a.mineCount != b.mineCount) return false;
  for (int side = 0; side < kSideCount; ++side) {
    for (int k = 0; k < a.unitCount[side]; ++k) {
      if (a.units[side][k] != b.units[side][k]) return false;
    }
  }
  for (int k = 0; k < a.mineCount; ++k) {
    if (a.mines[k] != b.mines[k]) return false;
  }
  return true;
}

bool SameLiveSlots(const LiveSlots& a, const LiveSlots& b) {
  if (a.count != b.count) return false;
  for (int k = 0; k < a.count; ++k) {
    // Bit patterns, so that NaN copies compare equal to themselves.
    if (a.slot[k] != b.slot[k] || a.owner[k] != b.owner[k] || a.acts[k] != b.acts[k] ||
        std::bit_cast<uint32_t>(a.x[k]) != std::bit_cast<uint32_t>(b.x[k]) ||
        std::bit_cast<uint32_t>(a.y[k]) != std::bit_cast<uint32_t>(b.y[k])) {
      return false;
    }
  }
  return true;
}

}  // namespace

bool ScratchFits(const FrameScratch& scratch, const World& world) {
  for (int s = 0; s < kSlotCount; ++s) {
    if (IsLive(world.entities[s]) && !scratch.mayBeLive.Contains(s)) return false;
  }
  if (scratch.unitsGathered) {
    UnitLists fresh;
    GatherUnitsFrom(world, scratch.mayBeLive, fresh);
    if (!SameUnits(fresh, scratch.units)) return false;
  }
  if (scratch.liveGathered) {
    LiveSlots fresh;
    GatherLive(world, scratch.mayBeLive, fresh);
    if (!SameLiveSlots(fresh, scratch.live)) return false;
  }
  return true;
}

const UnitLists& GatherUnits(const World& world, FrameScratch& scratch) {
  if (!scratch.unitsGathered) {
    GatherUnitsFrom(world, scratch.mayBeLive, scratch.units);
    scratch.unitsGathered = true;
  }
  return scratch.units;
}

LiveSlots& GatherLiveSlots(const World& world, FrameScratch& scratch) {
  if (!scratch.liveGathered) {
    GatherLive(world, scratch.mayBeLive, scratch.live);
    scratch.liveGathered = true;
  }
  return scratch.live;
}

}  // namespace kragmoor
