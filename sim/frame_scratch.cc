// The frame step's working storage: gathering its lists, and the check that
// they and the pair copies fit the world.
#include "sim/frame_scratch.h"

#include <cstdio>
#include <cstdlib>

namespace kragmoor {

namespace {

// Adds live slot i, after every lower one, to the lists.
void AddUnit(UnitLists& lists, const Tigrok& t, int i) {
  if (IsSide(t.owner)) lists.units[t.owner][lists.unitCount[t.owner]++] = static_cast<int16_t>(i);
  if (t.kind == kKindMine) lists.mines[lists.mineCount++] = static_cast<int16_t>(i);
}

void GatherUnitsFrom(const World& world, const SlotSet& mayBeLive, UnitLists& lists) {
  lists.unitCount = {};
  lists.mineCount = 0;
  for (int i = mayBeLive.Next(0); i < kSlotCount; i = mayBeLive.Next(i + 1)) {
    const Tigrok& t = world.entities[i];
    if (IsLive(t)) AddUnit(lists, t, i);
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

}  // namespace

FrameScratch::FrameScratch(const World& world) : unitsGathered(true) {
  for (int i = 0; i < kSlotCount; ++i) {
    const Tigrok& t = world.entities[i];
    if (!IsLive(t)) continue;
    mayBeLive.Insert(i);
    AddUnit(units, t, i);
  }
}

std::string ScratchMisfit(const FrameScratch& scratch, const World& world) {
  for (int s = 0; s < kSlotCount; ++s) {
    if (IsLive(world.entities[s]) && !scratch.mayBeLive.Contains(s)) {
      return "slot " + std::to_string(s) +
             " is live but not in mayBeLive: it was made live outside the order pass's "
             "walk (OrderPass), or the scratch was made before it";
    }
  }
  if (scratch.unitsGathered) {
    UnitLists fresh;
    GatherUnitsFrom(world, scratch.mayBeLive, fresh);
    if (!SameUnits(fresh, scratch.units)) {
      return "the unit lists are out of date: a phase after the computer players changed an hp, "
             "owner or kind without ForgetGathered";
    }
  }
  if (scratch.liveGathered) {
    const std::string misfit = CopiesMisfit(world, scratch.live);
    if (!misfit.empty()) {
      return "the pair copies are out of date (" + misfit +
             "): a phase after the copies were gathered changed a position, owner or life "
             "without ForgetGathered, or the pair visitor missed a change";
    }
  }
  return {};
}

void AbortOnScratchMisfit(const FrameScratch& scratch, const World& world, const char* phase) {
  const std::string misfit = ScratchMisfit(scratch, world);
  if (misfit.empty()) return;
  std::fprintf(stderr, "frame scratch does not fit the world as %s begins: %s.\n", phase,
               misfit.c_str());
  std::abort();
}

const UnitLists& GatherUnits(const World& world, FrameScratch& scratch) {
  if (!scratch.unitsGathered) {
    GatherUnitsFrom(world, scratch.mayBeLive, scratch.units);
    scratch.unitsGathered = true;
  }
  return scratch.units;
}

}  // namespace kragmoor
