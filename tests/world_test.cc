// The world tables: templates, the initial scenario, the random generator and
// the state hash.
#include <gtest/gtest.h>

#include "game/print.h"
#include "world/random.h"
#include "world/state_hash.h"
#include "world/tigrok.h"

namespace kragmoor {
namespace {

TEST(SetUpScenario, WritesNineEntitiesAndTheColours) {
  World world;
  SetUpScenario(world);
  const char* expected[] = {
      "slot 0 x=25 y=25 hp=100 maxHp=100 order=\"\" nextOrder=\"\" progress=0 plan=0 owner=0 "
      "kind=-5 gold=100000",
      "slot 1 x=625 y=625 hp=100 maxHp=100 order=\"\" nextOrder=\"\" progress=0 plan=0 owner=0 "
      "kind=-5 gold=100000",
      "slot 2 x=275 y=275 hp=200 maxHp=200 order=\"\" nextOrder=\"\" progress=0 plan=0 owner=1 "
      "kind=0 gold=0",
      "slot 3 x=175 y=175 hp=100 maxHp=100 order=\"\" nextOrder=\"\" progress=0 plan=0 owner=1 "
      "kind=-1 gold=0",
      "slot 4 x=925 y=675 hp=200 maxHp=200 order=\"\" nextOrder=\"\" progress=0 plan=0 owner=0 "
      "kind=0 gold=0",
      "slot 5 x=825 y=625 hp=100 maxHp=100 order=\"\" nextOrder=\"\" progress=0 plan=0 owner=0 "
      "kind=-1 gold=0",
      "slot 6 x=275 y=525 hp=200 maxHp=200 order=\"\" nextOrder=\"\" progress=0 plan=0 owner=2 "
      "kind=0 gold=0",
      "slot 7 x=175 y=525 hp=100 maxHp=100 order=\"\" nextOrder=\"\" progress=0 plan=0 owner=2 "
      "kind=-1 gold=0",
      "slot 8 x=25 y=625 hp=100 maxHp=100 order=\"\" nextOrder=\"\" progress=0 plan=0 owner=0 "
      "kind=-5 gold=100000",
      "slot 9 x=0 y=0 hp=0 maxHp=0 order=\"\" nextOrder=\"\" progress=0 plan=0 owner=0 kind=0 "
      "gold=0",
  };
  for (int i = 0; i < 10; ++i) EXPECT_EQ(FormatSlot(world, i), expected[i]);
  EXPECT_EQ(FormatLive(world), "live 0 1 2 3 4 5 6 7 8");
  EXPECT_EQ(FormatPlayer(world, 0), "player 0 red=0.5 green=0.5 blue=0.5 gold=0");
  EXPECT_EQ(FormatPlayer(world, 1), "player 1 red=0.8 green=0.5 blue=0.5 gold=0");
  EXPECT_EQ(FormatPlayer(world, 2), "player 2 red=0.4 green=0.9 blue=0.5 gold=0");
  EXPECT_EQ(FormatView(ViewState{}), "view mouse=0,0 camera=0,0 cursor=0,0 selected=-1");
}

TEST(SetUpScenario, CopiedSlotsCarryTheSourcesOtherFields) {
  World world;
  world.entities[0].nextOrder = "left over";  // rewritten: slot 0 is written whole
  SetUpScenario(world);
  EXPECT_EQ(world.entities[0].nextOrder, "");
  EXPECT_EQ(world.entities[1].nextOrder, "");
}

TEST(Templates, MakePeasantKeepsTheOrderMakeBaseEmptiesIt) {
  World world;
  Tigrok& t = world.entities[42];
  t = {1.5f, 2.5f, -3.0f, 7.0f, "atakovat 3", "idle", 5, 6, 2, 0, 99};
  MakePeasant(world, 42);
  EXPECT_EQ(FormatSlot(world, 42),
            "slot 42 x=1.5 y=2.5 hp=100 maxHp=100 order=\"atakovat 3\" nextOrder=\"idle\" "
            "progress=5 plan=6 owner=1 kind=-1 gold=0");
  MakeBase(world, 42);
  EXPECT_EQ(FormatSlot(world, 42),
            "slot 42 x=1.5 y=2.5 hp=200 maxHp=200 order=\"\" nextOrder=\"idle\" "
            "progress=5 plan=6 owner=1 kind=0 gold=0");
}

TEST(Liveness, ZeroNegativeAndNanAreFree) {
  Tigrok t;
  t.hp = 0.0f;
  EXPECT_FALSE(IsLive(t));
  t.hp = -1.0f;
  EXPECT_FALSE(IsLive(t));
  t.hp = std::numeric_limits<float>::quiet_NaN();
  EXPECT_FALSE(IsLive(t));
  t.hp = 1e-30f;
  EXPECT_TRUE(IsLive(t));
}

TEST(Random, FollowsTheLinearCongruentialSequence) {
  World world;
  world.seed = 0;
  EXPECT_EQ(Random(world, 10), 0u);  // seed 1: (1 * 10) >> 32
  EXPECT_EQ(world.seed, 1u);
  EXPECT_EQ(Random(world, 100), 3u);  // seed 134775814
  EXPECT_EQ(world.seed, 134775814u);
  world.seed = 0xFFFFFFFFu;
  Random(world, 1);
  EXPECT_EQ(world.seed, static_cast<uint32_t>(0xFFFFFFFFull * 134775813ull + 1));
  world.seed = 123;
  for (int i = 0; i < 1000; ++i) EXPECT_LT(Random(world, 7), 7u);
}

TEST(Random, SeedFromTimeOfDayCountsMilliseconds) {
  EXPECT_EQ(SeedFromTimeOfDay(0, 0, 0, 0), 0u);
  EXPECT_EQ(SeedFromTimeOfDay(1, 2, 3, 4), 3723004u);
  EXPECT_EQ(SeedFromTimeOfDay(23, 59, 59, 999), 86399999u);
}

TEST(StateHash, EmptyWorldAndSensitivity) {
  World a;
  World b;
  const ViewState v;
  EXPECT_EQ(StateHash(a, v), StateHash(b, v));
  b.entities[299].order = "x";
  EXPECT_NE(StateHash(a, v), StateHash(b, v));
  ViewState selecting;
  selecting.selected = 0;
  EXPECT_NE(StateHash(a, v), StateHash(a, selecting));
  b = a;
  b.entities[5].x = -0.0f;  // a different bit pattern from +0
  EXPECT_NE(StateHash(a, v), StateHash(b, v));
  EXPECT_EQ(FormatHash(0x0123456789abcdefull), "0123456789abcdef");
}

}  // namespace
}  // namespace kragmoor
