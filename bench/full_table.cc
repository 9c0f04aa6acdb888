// The benchmarks' full table.
#include "bench/full_table.h"

#include "world/orders.h"

namespace kragmoor {

namespace {

constexpr int kColumns = 20;        // grid columns across the field
constexpr int kRows = 15;           // grid rows; 20 x 15 = 300 slots
constexpr double kField = 1250.0;   // field side, field units
constexpr double kJitter = 15.0;    // at most this far off a grid point, per axis
constexpr int kMineEvery = 33;      // slot 0, 33, 66, ... is a gold mine
constexpr int kBaseEvery = 10;      // slot 5, 15, 25, ... is a main base
constexpr int kRaiderPercent = 10;  // peasants that stand in another side's band

// A small generator of the benchmark's own, so the table does not depend on
// (or disturb) the game's random sequence.
class Dice {
 public:
  explicit Dice(uint32_t seed) : state_(seed * 2654435761u + 1u) {}
  // An integer from 0 to n - 1.
  int32_t Below(int32_t n) {
    state_ = state_ * 1664525u + 1013904223u;
    return static_cast<int32_t>((static_cast<uint64_t>(state_) * static_cast<uint32_t>(n)) >> 32);
  }

 private:
  uint32_t state_;
};

int32_t SideOfColumn(int column) { return column * kSideCount / kColumns; }

// The slot's grid point, moved by up to kJitter on each axis.
void Place(Tigrok& t, int slot, Dice& dice) {
  const double cellX = kField / kColumns;
  const double cellY = kField / kRows;
  const int column = slot % kColumns;
  const int row = slot / kColumns;
  t.x = static_cast<float>((column + 0.5) * cellX + dice.Below(2 * kJitter + 1) - kJitter);
  t.y = static_cast<float>((row + 0.5) * cellY + dice.Below(2 * kJitter + 1) - kJitter);
}

// The first main base of `side` in the table (bases sit at slots 5, 15, ...).
int32_t FirstBase(const World& world, int32_t side) {
  for (int s = 0; s < kSlotCount; ++s) {
    const Tigrok& t = world.entities[s];
    if (t.kind == kKindBase && t.owner == side) return s;
  }
  return kSlotCount - 1;
}

// Some slot of another side than `side` (any kind, mines included).
int32_t Enemy(const World& world, int32_t side, Dice& dice) {
  for (;;) {
    const int32_t s = dice.Below(kSlotCount);
    if (world.entities[s].owner != side) return s;
  }
}

void GiveBaseOrder(Tigrok& t, Dice& dice) {
  if (dice.Below(3) == 0) {
    t.plan = 10;
    t.progress = dice.Below(10);
    WriteOrder(t.order, kVerbBuild,
               {1, static_cast<int32_t>(t.x) - 25, static_cast<int32_t>(t.y) - 25});
  } else {
    t.order.assign(kOrderIdle);
  }
  if (dice.Below(4) == 0) t.hp = 150.0f;  // damaged: deliveries repair it
}

void GivePeasantOrder(World& world, int slot, Dice& dice) {
  Tigrok& t = world.entities[slot];
  const int32_t mine = kMineEvery * dice.Below(kSlotCount / kMineEvery + 1);
  WriteOrder(t.nextOrder, kVerbWalk, {mine});
  const int32_t choice = dice.Below(100);
  if (choice < 35) {  // on the way to a mine
    WriteOrder(t.order, kVerbWalk, {mine});
  } else if (choice < 50) {  // carrying a load home
    t.gold = 10 * (1 + dice.Below(3));
    WriteOrder(t.order, kVerbWalk, {FirstBase(world, t.owner)});
  } else if (choice < 70) {
    t.order.assign(kOrderIdle);
  } else if (choice < 82) {
    WriteOrder(t.order, kVerbAttack, {Enemy(world, t.owner, dice)});
  } else if (choice < 92) {
    WriteOrder(t.order, kVerbPoint, {dice.Below(1250), dice.Below(1250)});
  } else if (choice < 96) {
    t.plan = 100;
    WriteOrder(t.order, kVerbBuild,
               {0, static_cast<int32_t>(t.x) + 25, static_cast<int32_t>(t.y) + 25});
  } else {
    WriteOrder(t.order, kVerbRepair, {FirstBase(world, t.owner)});
  }
}

}  // namespace

World FullTable(uint32_t seed) {
  World world;
  SetUpScenario(world);  // colours (and slots 0 to 8, all overwritten below)
  world.players[0].gold = 300;
  world.players[1].gold = 120;
  world.players[2].gold = 0;
  world.seed = seed;
  Dice dice(seed);

  for (int s = 0; s < kSlotCount; ++s) {
    Tigrok& t = world.entities[s];
    t = Tigrok{};
    Place(t, s, dice);
    t.owner = SideOfColumn(s % kColumns);
    if (s % kMineEvery == 0) {
      t.kind = kKindMine;
      t.owner = 0;
      t.hp = t.maxHp = 100.0f;
      t.gold = kMineStock;
    } else if (s % kBaseEvery == kBaseEvery / 2) {
      t.kind = kKindBase;
      t.hp = t.maxHp = 200.0f;
    } else {
      t.kind = kKindPeasant;
      t.hp = t.maxHp = 100.0f;
      if (dice.Below(100) < kRaiderPercent) t.owner = (t.owner + 1 + dice.Below(2)) % kSideCount;
    }
  }
  // Orders name other slots, so they are given once every slot has its side.
  for (int s = 0; s < kSlotCount; ++s) {
    Tigrok& t = world.entities[s];
    if (t.kind == kKindBase) GiveBaseOrder(t, dice);
    if (t.kind == kKindPeasant) GivePeasantOrder(world, s, dice);
    if (t.kind == kKindMine) t.order.assign(kOrderIdle);
  }
  return world;
}

}  // namespace kragmoor
