// The frame step's order pass, tested directly where a script cannot reach.
#include "sim/frame_step.h"

#include <gtest/gtest.h>

#include "render/recording_gl.h"
#include "world/orders.h"

namespace kragmoor {
namespace {

Tigrok At(float x, float y) {
  Tigrok t;
  t.x = x;
  t.y = y;
  return t;
}

void RunOrderPass(World& world, Gl* gl = nullptr) {
  FrameScratch scratch(world);
  OrderPass(world, gl, scratch);
}

// Every executed hit takes one random(10), drawn or not: below 5 its line
// shows. Seed 0 draws 0, seed 2^32-1 draws 9.
TEST(OrderPass, EveryHitTakesOneDrawWithOrWithoutDrawing) {
  for (const uint32_t seed : {0u, 4294967295u}) {
    World world;
    for (int s : {2, 5}) {
      world.entities[s] = At(10.0f * s, 0);
      world.entities[s].hp = 100;
      world.entities[s].kind = kKindPeasant;
    }
    world.entities[2].order = "atakovat 5";
    world.seed = seed;
    World unseen = world;
    RecordingGl gl;
    RunOrderPass(world, &gl);
    RunOrderPass(unseen);
    EXPECT_EQ(world.seed, seed * 134775813u + 1u);
    EXPECT_EQ(unseen.seed, world.seed);
    const bool shown = seed == 0;
    EXPECT_EQ(gl.lines().size(), shown ? 5u : 3u);
  }
}

TEST(OrderPass, ConversionErrorStopsThePassAndKeepsEarlierChanges) {
  World world;
  Tigrok& walker = world.entities[3];
  walker = At(0, 0);
  walker.hp = 100;
  walker.kind = kKindPeasant;
  walker.order = "idti 5,5";
  Tigrok& broken = world.entities[4];
  broken.hp = 100;
  broken.order = "stroit 1,2,z";
  Tigrok& later = world.entities[5];
  later = At(0, 0);
  later.hp = 100;
  later.kind = kKindPeasant;
  later.order = "idti 5,5";
  try {
    RunOrderPass(world);
    FAIL() << "no error";
  } catch (const ConversionError& e) {
    EXPECT_STREQ(e.what(), "'z' is not a valid integer value");
  }
  EXPECT_EQ(walker.x, 1.0f);
  EXPECT_EQ(later.x, 0.0f);
  EXPECT_EQ(broken.order, "stroit 1,2,z");
}

TEST(OrderPass, EveryFormWithAMissingNumberRaisesWithTheEmptyText) {
  for (const char* order : {"idtiza", "idti 5", "atakovat", "stroit 1,2", "idti ,5"}) {
    World world;
    world.entities[0].hp = 1;
    world.entities[0].kind = kKindPeasant;
    world.entities[0].order = order;
    world.players[0].gold = 100;
    EXPECT_THROW(RunOrderPass(world), ConversionError) << order;
  }
  // Orders that convert nothing never raise.
  for (const char* order : {"", "idle", "chinit", "chinit x", "IDTI 1,1", "walk"}) {
    World world;
    world.entities[0].hp = 1;
    world.entities[0].kind = kKindPeasant;
    world.entities[0].order = order;
    EXPECT_NO_THROW(RunOrderPass(world)) << order;
  }
}

TEST(OrderPass, FrameStepPropagatesTheError) {
  World world;
  SetUpScenario(world);
  world.entities[3].order = "atakovat 1e3";
  FrameInputs inputs;
  inputs.computerPlayer = {false, false, false};
  EXPECT_THROW(FrameStep(world, inputs, nullptr), ConversionError);
}

TEST(OrderPass, BuildWithNoFreeSlotSpendsButCreatesNothing) {
  World world;
  for (int i = 0; i < kSlotCount; ++i) {
    Tigrok& t = world.entities[i];
    t.hp = 1;
    t.x = static_cast<float>(i * 1000);  // far apart
    t.order = "idle";
  }
  Tigrok& builder = world.entities[150];
  builder.owner = 1;
  builder.order = "stroit 1,0,0";
  builder.plan = 2;
  builder.progress = 1;
  world.players[1].gold = 5;
  const World before = world;
  RunOrderPass(world);
  EXPECT_EQ(world.players[1].gold, 4);
  EXPECT_EQ(builder.progress, 0);
  EXPECT_EQ(builder.order, "stroit 1,0,0");
  for (int i = 0; i < kSlotCount; ++i) {
    if (i == 150) continue;
    EXPECT_EQ(world.entities[i].order, before.entities[i].order);
    EXPECT_EQ(world.entities[i].hp, before.entities[i].hp);
  }
}

TEST(OrderPass, ProgressWrapsAndOwnersOutsideTheTableHaveNoPurse) {
  World world;
  Tigrok& builder = world.entities[0];
  builder.hp = 1;
  builder.order = "stroit 1,0,0";
  builder.progress = INT32_MAX;
  builder.plan = 0;
  world.players[0].gold = 1;
  RunOrderPass(world);
  EXPECT_EQ(builder.progress, INT32_MIN);  // wrapped, still below plan
  EXPECT_EQ(world.players[0].gold, 0);

  for (int32_t owner : {-1, 3, INT32_MIN, INT32_MAX}) {
    World w;
    w.entities[0].hp = 1;
    w.entities[0].owner = owner;
    w.entities[0].order = "stroit 1,0,0";
    for (Player& p : w.players) p.gold = 10;
    RunOrderPass(w);
    EXPECT_EQ(w.entities[0].progress, 0) << owner;
    for (const Player& p : w.players) EXPECT_EQ(p.gold, 10) << owner;
  }
}

TEST(OrderPass, BuildPositionsAreExactForEveryInteger) {
  World world;
  Tigrok& builder = world.entities[0];
  builder.hp = 1;
  builder.order = "stroit 0,2147483647,-2147483648";
  builder.plan = 1;
  world.players[0].gold = 1;
  RunOrderPass(world);
  EXPECT_EQ(world.entities[1].x, 2147483672.0f);
  EXPECT_EQ(world.entities[1].y, -2147483623.0f);
  EXPECT_EQ(world.entities[1].kind, kKindBase);
}

}  // namespace
}  // namespace kragmoor
