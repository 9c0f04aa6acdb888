// The computer player: a census of the side, then four decisions, each in a
// fixed order and most gated by a draw from the shared random generator.
#include "sim/computer_player.h"

#include <array>
#include <cstdint>
#include <limits>
#include <string_view>

#include "sim/vec2d.h"
#include "world/convert.h"
#include "world/orders.h"
#include "world/random.h"
#include "world/rules.h"
#include "world/str_man.h"

namespace kragmoor {

namespace {

constexpr uint32_t kRaidChance = 100;         // random(100) == 7 starts a raid
constexpr uint32_t kRaidTargetChance = 10;    // random(10) == 5 picks the scanned index
constexpr uint32_t kPeasantChanceBase = 100;  // random(100 + 10 n) == 7 trains a peasant
constexpr uint32_t kPeasantChancePerPeasant = 10;
constexpr uint32_t kDispatchChance = 10;  // random(10) == 7 sends a peasant to a mine
constexpr uint32_t kLuckyNumber = 7;
constexpr uint32_t kRaidTargetNumber = 5;
constexpr std::string_view kBaseBuildPrefix = "stroit 0";  // first comma-word of a base build

// What an easier level holds back from. The design's player (level 3)
// builds a base whenever it can afford one and raids from its first peasant.
struct Restraint {
  int maxBases =
      std::numeric_limits<int>::max();  // no new base from this many on; the last is rebuilt
  int raidFromPeasants = 0;             // no raid while the side has fewer peasants than this
};

struct Census {
  int peasants = 0;
  int bases = 0;
  int firstPeasant = -1;
  int firstIdlePeasant = -1;
  int firstBase = -1;
  int firstIdleBase = -1;
  bool baseUnderWay = false;
};

// Whether word 1 of `order` split on "," is "stroit 0", the mark of a main
// base build, without splitting the whole order: since "stroit 0" holds no
// comma, that word is it exactly when the text after any leading commas
// starts with it and goes on with a comma or ends there.
bool IsBaseBuild(std::string_view order) {
  const auto start = order.find_first_not_of(',');
  if (start == std::string_view::npos) return false;
  const std::string_view rest = order.substr(start);
  return rest.starts_with(kBaseBuildPrefix) &&
         (rest.size() == kBaseBuildPrefix.size() || rest[kBaseBuildPrefix.size()] == ',');
}

// True when the slot that a walk or attack order names is dead. An index
// outside the table names nobody, so it counts as dead too.
bool TargetIsDead(const World& world, int32_t n) {
  return !IsSlot(n) || !IsLive(world.entities[n]);
}

// The six census steps for unit i of the side.
void CountUnit(World& world, int i, Census& c) {
  Tigrok& t = world.entities[i];
  if (t.order.empty()) t.order.assign(kOrderIdle);
  const bool peasant = t.kind == kKindPeasant;
  const bool base = t.kind == kKindBase;
  if (peasant && IsBaseBuild(t.order)) c.baseUnderWay = true;
  if (t.kind == kKindMine && t.order != kOrderIdle) t.order.assign(kOrderIdle);
  if (peasant) ++c.peasants;
  if (base) ++c.bases;

  const bool idle = t.order == kOrderIdle;
  if (peasant && c.firstPeasant == -1) c.firstPeasant = i;
  if (base && c.firstBase == -1) c.firstBase = i;
  if (peasant && idle && c.firstIdlePeasant == -1) c.firstIdlePeasant = i;
  if (base && idle && c.firstIdleBase == -1) c.firstIdleBase = i;
  if (idle) t.progress = 0;

  // A unit whose walk or attack target has died is brought home: the gold
  // of 1 makes the base's delivery copy "idle" from nextOrder into order.
  const auto [verb, argument] = LeadingWords<2>(t.order, ' ');
  if (verb != kVerbWalk && verb != kVerbAttack) return;
  if (!TargetIsDead(world, StrToInt(argument))) return;
  t.nextOrder.assign(kOrderIdle);
  t.gold = 1;
  if (c.firstBase != -1) WriteOrder(t.order, kVerbWalk, {c.firstBase});
}

void BaseDecision(World& world, int side, const Restraint& r, Census& c) {
  if (c.baseUnderWay) return;
  if (c.bases != 0 && (world.players[side].gold < kBaseGold || c.bases >= r.maxBases)) return;
  int builder = c.firstIdlePeasant;
  if (builder != -1) {
    c.firstIdlePeasant = -1;
  } else {
    builder = c.firstPeasant;
  }
  if (builder == -1) return;
  Tigrok& t = world.entities[builder];
  t.progress = 0;
  t.plan = kBaseCost;
  // One cell width beyond the builder on both axes, once the build adds the
  // placement offset.
  WriteOrder(t.order, kVerbBuild,
             {kBuildBase, RoundToInt32(static_cast<double>(t.x) - kPlacementOffset + kCellSize),
              RoundToInt32(static_cast<double>(t.y) - kPlacementOffset + kCellSize)});
}

void Raid(World& world, int side, const Restraint& r, const UnitLists& lists, Census& c) {
  if (Random(world, kRaidChance) != kLuckyNumber || world.players[side].gold == 0 ||
      c.peasants < r.raidFromPeasants) {
    return;
  }
  int target = -1;
  for (int i = 0; i < kSlotCount; ++i) {
    if (Random(world, kRaidTargetChance) != kRaidTargetNumber) continue;
    const Tigrok& t = world.entities[i];
    if (IsLive(t) && t.owner != side && t.kind != kKindMine) {
      target = i;
      break;
    }
  }
  int raider = c.firstIdlePeasant;
  if (raider != -1) {
    c.firstIdlePeasant = -1;
  } else {
    for (int k = 0; k < lists.unitCount[side] && raider == -1; ++k) {
      const Tigrok& t = world.entities[lists.units[side][k]];
      if (t.kind == kKindPeasant && t.order == kOrderIdle) raider = lists.units[side][k];
    }
  }
  if (target == -1 || raider == -1) return;
  WriteOrder(world.entities[raider].order, kVerbWalk, {target});
  world.entities[raider].progress = kRaidMarker;
}

void PeasantDecision(World& world, const Census& c) {
  const uint32_t draw = Random(
      world, kPeasantChanceBase + kPeasantChancePerPeasant * static_cast<uint32_t>(c.peasants));
  if ((draw != kLuckyNumber && c.peasants != 0) || c.firstIdleBase == -1) return;
  Tigrok& base = world.entities[c.firstIdleBase];
  base.progress = 0;
  base.plan = kPeasantCost;
  // The new peasant is placed on the base's own position.
  WriteOrder(base.order, kVerbBuild,
             {kBuildPeasant, RoundToInt32(static_cast<double>(base.x) - kPlacementOffset),
              RoundToInt32(static_cast<double>(base.y) - kPlacementOffset)});
}

void MineDispatch(World& world, int side, const UnitLists& lists, const Census& c) {
  if (Random(world, kDispatchChance) != kLuckyNumber || world.players[side].gold >= 1 ||
      c.firstIdlePeasant == -1) {
    return;
  }
  Tigrok& peasant = world.entities[c.firstIdlePeasant];
  int best = -1;
  float bestDistance = kMineSearchRange;
  for (int k = 0; k < lists.mineCount; ++k) {
    const int i = lists.mines[k];
    const float d = Distance2D(world.entities[i], peasant);
    if (d < bestDistance) {
      best = i;
      bestDistance = d;
    }
  }
  if (best != -1) WriteOrder(peasant.order, kVerbWalk, {best});
}

// The census over the side's live units, then the four decisions; with the
// default restraint exactly the design's player.
void PlayStep(World& world, int side, const Restraint& restraint, FrameScratch& scratch) {
  CheckScratch(scratch, world, "ComputerPlayerStep");
  const UnitLists& lists = GatherUnits(world, scratch);
  Census census;
  for (int k = 0; k < lists.unitCount[side]; ++k) {
    CountUnit(world, lists.units[side][k], census);
  }
  BaseDecision(world, side, restraint, census);
  Raid(world, side, restraint, lists, census);
  PeasantDecision(world, census);
  MineDispatch(world, side, lists, census);
}

}  // namespace

void ComputerPlayerStep(World& world, int side, FrameScratch& scratch) {
  PlayStep(world, side, Restraint{}, scratch);
}

void ComputerPlayerStep(World& world, int side) {
  FrameScratch scratch(world);
  ComputerPlayerStep(world, side, scratch);
}

void ComputerPlayerTurn(World& world, int side, int32_t level, FrameScratch& scratch) {
  if (level >= kLevelNormal) {
    ComputerPlayerStep(world, side, scratch);
    return;
  }
  // Frames, on average, between two steps of an easier player, and what it
  // holds back from: level 2 loses most matches to level 3, level 1 most
  // to level 2, and a newcomer who mines and attacks with 30 peasants beats
  // level 1 (scripts/levels, scripts/newcomer). The base cap keeps an easy
  // side from walling itself in with bases, which shoot whatever comes near.
  constexpr uint32_t kLevelTwoEvery = 3;
  constexpr uint32_t kLevelOneEvery = 9;
  constexpr Restraint kLevelTwo{.maxBases = 6, .raidFromPeasants = 4};
  constexpr Restraint kLevelOne{.maxBases = 2, .raidFromPeasants = 8};
  const bool easiest = level <= kLevelEasiest;
  if (Random(world, easiest ? kLevelOneEvery : kLevelTwoEvery) != 0) return;
  PlayStep(world, side, easiest ? kLevelOne : kLevelTwo, scratch);
}

}  // namespace kragmoor
