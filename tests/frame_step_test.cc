// The frame step's order pass, tested directly where a script cannot reach.
#include "sim/frame_step.h"

#include <gtest/gtest.h>

#include "render/recording_gl.h"
#include "sim/control.h"
#include "world/orders.h"
#include "world/state_hash.h"

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
  ViewState view;
  EXPECT_THROW(FrameStep(world, view, inputs, nullptr), ConversionError);
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

// Views are each player's own: with one player's view taking the frame step
// and another's scrolling all the while beside it, the world goes on exactly
// as for one player alone; and select clicks through two views of one world
// each select in their own view.
TEST(FrameStep, EachViewIsItsPlayersOwn) {
  World alone;
  SetUpScenario(alone);
  alone.seed = 7;
  World shared = alone;
  ViewState still;
  still.mouseX = 240;  // mid-panel: nothing scrolls
  still.mouseY = 220;
  ViewState first = still;
  ViewState second;  // at (0, 0), in two edge strips
  second.selected = 3;
  const FrameInputs inputs;
  for (int frame = 0; frame < 300; ++frame) {
    FrameStep(alone, still, inputs, nullptr);
    FrameStep(shared, first, inputs, nullptr);
    StepView(second, inputs);
  }
  EXPECT_EQ(StateHash(shared, first), StateHash(alone, still));
  EXPECT_EQ(first.cameraX, 0.0f);
  EXPECT_GT(second.cameraX, 0.0f);
  EXPECT_EQ(second.selected, 3);

  World world;
  SetUpScenario(world);
  first.cursorColumn = 3;  // slot 3's peasant at (175, 175)
  first.cursorRow = 3;
  second.cursorColumn = 5;  // slot 2's base at (275, 275)
  second.cursorRow = 5;
  ClickOnField(world, first, kModeSelect, 0);
  ClickOnField(world, second, kModeSelect, 0);
  EXPECT_EQ(first.selected, 3);
  EXPECT_EQ(second.selected, 2);
  EXPECT_EQ(InfoLines(world, first)[0], "Выбранный игрок: 3");
}

}  // namespace
}  // namespace kragmoor
