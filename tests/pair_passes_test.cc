// The pair passes as the frame runs them (the pair visitor: live slots only,
// far pairs and pairs that cannot act skipped) against a naive double loop
// over the same per-pair rules, on random and on jammed tables over several
// hundred frames; and the frame's live set kept whole through builds.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <limits>
#include <string>

#include "game/print.h"
#include "sim/computer_player.h"
#include "sim/contacts.h"
#include "sim/frame_step.h"
#include "sim/vec2d.h"
#include "tests/plain_pair_passes.h"
#include "world/orders.h"
#include "world/rules.h"
#include "world/state_hash.h"

namespace kragmoor {
namespace {

// ---- Random tables.

class Dice {
 public:
  explicit Dice(uint32_t seed) : state_(seed * 2654435761u + 12345u) {}
  int Below(int n) {  // 0 to n - 1
    state_ = state_ * 1664525u + 1013904223u;
    return static_cast<int>((static_cast<uint64_t>(state_) * static_cast<uint32_t>(n)) >> 32);
  }
  bool Percent(int p) { return Below(100) < p; }

 private:
  uint32_t state_;
};

// A position: mostly in a small crowded field, some far out, huge, negative,
// infinite or NaN, some exactly on another slot's spot.
void Place(World& world, int slot, Dice& dice) {
  Tigrok& t = world.entities[slot];
  const int choice = dice.Below(100);
  if (choice < 70) {
    t.x = static_cast<float>(dice.Below(4000)) / 10.0f;  // 0 to 400 in steps of 0.1
    t.y = static_cast<float>(dice.Below(4000)) / 10.0f;
  } else if (choice < 82 && slot > 0) {
    const Tigrok& other = world.entities[dice.Below(slot)];
    t.x = other.x;
    t.y = other.y;
  } else if (choice < 90) {
    t.x = static_cast<float>(dice.Below(2001) - 1000);
    t.y = static_cast<float>(dice.Below(2001) - 1000);
  } else {
    const float odd[] = {-1e30f,
                         1e30f,
                         -3e38f,
                         3e38f,
                         1e8f,
                         -1e8f + 30.0f,
                         -0.0f,
                         std::numeric_limits<float>::infinity(),
                         -std::numeric_limits<float>::infinity(),
                         std::numeric_limits<float>::quiet_NaN()};
    t.x = odd[dice.Below(10)];
    t.y = dice.Percent(50) ? odd[dice.Below(10)] : static_cast<float>(dice.Below(400));
  }
}

void GiveOrders(Tigrok& t, Dice& dice) {
  const int target = dice.Below(kSlotCount);
  switch (dice.Below(6)) {
    case 0:
      t.order = "idle";
      break;
    case 1:
      t.order = "idtiza " + std::to_string(target);
      break;
    case 2:
      t.order = "atakovat " + std::to_string(target);
      break;
    case 3:
      t.order = "idti " + std::to_string(dice.Below(400)) + "," + std::to_string(dice.Below(400));
      break;
    case 4:
      t.plan = dice.Percent(50) ? 10 : 100;
      t.order = "stroit " + std::to_string(dice.Below(2)) + "," + std::to_string(dice.Below(400)) +
                "," + std::to_string(dice.Below(400));
      break;
    default:
      t.order = "";
      break;
  }
  t.nextOrder = dice.Percent(50) ? "idtiza " + std::to_string(target) : "idle";
  if (dice.Percent(10)) t.progress = -777;  // a raider
}

World RandomTable(uint32_t seed) {
  World world;
  SetUpScenario(world);
  world.seed = seed;
  Dice dice(seed);
  for (int side = 0; side < kSideCount; ++side) world.players[side].gold = dice.Below(300);
  for (int slot = 0; slot < kSlotCount; ++slot) {
    Tigrok& t = world.entities[slot];
    t = Tigrok{};
    Place(world, slot, dice);
    const int kind = dice.Below(10);
    t.kind = kind == 0 ? kKindMine : kind < 3 ? kKindBase : kKindPeasant;
    t.owner = t.kind == kKindMine ? 0 : dice.Percent(3) ? 7 : dice.Below(kSideCount);
    t.maxHp = t.kind == kKindBase ? 200.0f : 100.0f;
    t.hp = t.maxHp - static_cast<float>(dice.Below(60));
    if (dice.Percent(25)) t.hp = dice.Percent(50) ? 0.0f : -5.0f;  // a dead slot
    t.gold = t.kind == kKindMine ? dice.Below(60) : dice.Below(40);
    GiveOrders(t, dice);
  }
  return world;
}

// A table jammed as long matches jam: most entities within one grid cell,
// main bases above all (which never move), a fifth of them on one spot,
// mostly of one side; peasants, mines, carriers of gold, other sides, dead
// slots and odd positions among them.
World JammedTable(uint32_t seed) {
  World world = RandomTable(seed);
  Dice dice(seed + 1000);
  for (int slot = 0; slot < kSlotCount; ++slot) {
    Tigrok& t = world.entities[slot];
    const int place = dice.Below(100);
    if (place < 20) {
      t.x = 612.5f;
      t.y = 437.5f;
    } else if (place < 85) {
      t.x = 600.0f + static_cast<float>(dice.Below(5000)) / 100.0f;  // one cell, steps of 0.01
      t.y = 400.0f + static_cast<float>(dice.Below(5000)) / 100.0f;
    }
    const int kind = dice.Below(10);
    t.kind = kind == 0 ? kKindMine : kind < 6 ? kKindBase : kKindPeasant;
    t.owner = t.kind == kKindMine ? 0 : dice.Percent(85) ? 1 : dice.Below(kSideCount);
    if (t.kind == kKindBase) t.gold = dice.Percent(90) ? 0 : 10;
  }
  return world;
}

// The slots and purses in which two worlds differ, one line each.
std::string Differences(const World& got, const World& want) {
  std::string out;
  for (int slot = 0; slot < kSlotCount; ++slot) {
    const std::string g = FormatSlot(got, slot);
    const std::string w = FormatSlot(want, slot);
    if (g != w) out += "  got  " + g + "\n  want " + w + "\n";
  }
  for (int side = 0; side < kSideCount; ++side) {
    const std::string g = FormatPlayer(got, side);
    const std::string w = FormatPlayer(want, side);
    if (g != w) out += "  got  " + g + "\n  want " + w + "\n";
  }
  return out;
}

// Every frame: the computer players and the order pass (the same code for
// all three worlds) move, kill and build; then the pair passes three ways:
// as the frame step runs them, over a scratch of the live slots; over a
// scratch of every slot, dead ones included; and plainly.
void ExpectPlainResults(World (*table)(uint32_t), uint32_t seeds, int frames) {
  for (uint32_t seed = 1; seed <= seeds; ++seed) {
    World fast = table(seed);
    World separate = fast;
    World plain = fast;
    for (int frame = 1; frame <= frames; ++frame) {
      for (World* w : {&fast, &separate, &plain}) {
        FrameScratch scratch(AllSlots());
        for (int side = 0; side < kSideCount; ++side) ComputerPlayerStep(*w, side, scratch);
        OrderPass(*w, nullptr, scratch);
      }
      FrameScratch live(fast);
      AggressionPass(fast, live);
      ContactPass(fast, live);
      FrameScratch all(AllSlots());
      AggressionPass(separate, all);
      ContactPass(separate, all);
      PlainAggressionPass(plain);
      PlainContactPass(plain);
      ASSERT_EQ(WorldHash(fast), WorldHash(plain)) << "seed " << seed << " frame " << frame << ":\n"
                                                   << Differences(fast, plain);
      ASSERT_EQ(WorldHash(separate), WorldHash(plain))
          << "seed " << seed << " frame " << frame << ":\n"
          << Differences(separate, plain);
    }
  }
}

TEST(PairPasses, MatchThePlainAllPairsPassesOnRandomTables) {
  ExpectPlainResults(RandomTable, 24, 300);
}

// Crowded rows: pushes move the row's entity between visits, quiet pairs of
// main bases are left out, and carriers and mines keep changing who may act.
TEST(PairPasses, MatchThePlainAllPairsPassesOnJammedTables) {
  ExpectPlainResults(JammedTable, 12, 300);
}

// Builds completing in the order pass fill free slots below and above their
// builders, two in one frame: the frame step's passes, which walk the set of
// slots it keeps, must see the new peasants as passes given a fresh look at
// the table do (here: pushed apart, since each pair of them touches).
TEST(PairPasses, FrameStepSeesTheSlotsBuiltInItsOrderPass) {
  // Builders in slots 0 and 2 fill 1 (above 0) and 3 (above 2); builders in
  // slots 1 and 2 fill 0 (below 1) and then 3 (above 2).
  for (const std::array<int, 2> builders : {std::array{0, 2}, std::array{1, 2}}) {
    World world;
    world.players[0].gold = 10;
    for (const int b : builders) {
      MakeBase(world, b);
      Tigrok& t = world.entities[b];
      t.owner = 0;
      t.x = 1000.0f;
      t.plan = 1;
      WriteOrder(t.order, kVerbBuild, {kBuildPeasant, 100 + 10 * b, 100});
    }
    World fresh = world;
    FrameInputs inputs;
    inputs.computerPlayer = {false, false, false};
    ViewState view;
    FrameStep(world, view, inputs, nullptr);
    OrderPass(fresh, nullptr);
    AggressionPass(fresh);
    ContactPass(fresh);
    for (int slot = 0; slot < 4; ++slot) {
      EXPECT_EQ(FormatSlot(world, slot), FormatSlot(fresh, slot)) << "builders " << builders[0];
    }
    EXPECT_TRUE(IsLive(world.entities[3])) << "builders " << builders[0];
  }
}

}  // namespace
}  // namespace kragmoor
