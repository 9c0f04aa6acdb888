// The frame step's order pass, tested directly where a script cannot reach.
#include "sim/frame_step.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "world/orders.h"

namespace kragmoor {
namespace {

Tigrok At(float x, float y) {
  Tigrok t;
  t.x = x;
  t.y = y;
  return t;
}

TEST(Distance2D, RoundsDifferencesAndResultToFloat) {
  EXPECT_EQ(Distance2D(At(0, 0), At(3, 4)), 5.0f);
  EXPECT_EQ(Distance2D(At(3, 4), At(0, 0)), 5.0f);
  EXPECT_EQ(Distance2D(At(0, 0), At(100, 0)), 100.0f);
  // The difference is rounded to float before squaring: 1e8 - 1 is 1e8 in float.
  EXPECT_EQ(Distance2D(At(1e8f, 0), At(1, 0)), 1e8f);
  // Squares are summed in double, so no overflow for huge coordinates.
  EXPECT_EQ(Distance2D(At(3e30f, 0), At(0, 4e30f)), 5e30f);
  EXPECT_TRUE(std::isinf(Distance2D(At(3e38f, 0), At(-3e38f, 0))));
  EXPECT_TRUE(std::isnan(Distance2D(At(std::numeric_limits<float>::quiet_NaN(), 0), At(0, 0))));
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
    OrderPass(world, nullptr);
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
    EXPECT_THROW(OrderPass(world, nullptr), ConversionError) << order;
  }
  // Orders that convert nothing never raise.
  for (const char* order : {"", "idle", "chinit", "chinit x", "IDTI 1,1", "walk"}) {
    World world;
    world.entities[0].hp = 1;
    world.entities[0].kind = kKindPeasant;
    world.entities[0].order = order;
    EXPECT_NO_THROW(OrderPass(world, nullptr)) << order;
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

}  // namespace
}  // namespace kragmoor
