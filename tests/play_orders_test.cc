// Orders without the click modes: the entity under the pointer, the orders a
// right-click gives and the train and base-build keys, each checked against
// what the design's clicks write.
#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <vector>

#include "game/picking.h"
#include "game/play.h"
#include "game/session.h"
#include "game/train_build.h"
#include "sim/control.h"

namespace kragmoor {
namespace {

World Scenario() {
  World world;
  SetUpScenario(world);
  return world;
}

// What a design click in `mode` with cursor cell (column, row) writes into
// slot `selected`: the reference every key and right-click order must equal.
Tigrok ClickResult(World world, int selected, int mode, int build, int column, int row) {
  ViewState view;
  view.selected = selected;
  view.cursorColumn = column;
  view.cursorRow = row;
  ClickOnField(world, view, mode, build);
  return world.entities[selected];
}

// Slot `slot` of `world` after the input `order SLOT "TEXT"`.
Tigrok Ordered(const World& world, int slot, const std::string& text) {
  Session session;
  session.world = world;
  Apply(session, Order{slot, text});
  return session.world.entities[slot];
}

void ExpectSameOrder(const Tigrok& a, const Tigrok& b) {
  EXPECT_EQ(a.order, b.order);
  EXPECT_EQ(a.progress, b.progress);
  EXPECT_EQ(a.plan, b.plan);
}

TEST(NearestLive, PicksTheNearestLiveCentreWithinTheRadius) {
  World world = Scenario();
  EXPECT_EQ(NearestLive(world, {180, 170}), 3);
  EXPECT_EQ(NearestLive(world, {175 + kPickRadius, 175}), -1);  // strictly within
  // A dead entity nearer still is never picked, nor a position that is NaN.
  world.entities[20].x = 178;
  world.entities[20].y = 172;
  EXPECT_EQ(NearestLive(world, {180, 170}), 3);
  world.entities[20].hp = 1;
  EXPECT_EQ(NearestLive(world, {180, 170}), 20);
  world.entities[20].x = std::numeric_limits<float>::quiet_NaN();
  EXPECT_EQ(NearestLive(world, {180, 170}), 3);
  // A tie goes to the lower slot.
  world.entities[20].x = 185;
  world.entities[20].y = 175;
  EXPECT_EQ(NearestLive(world, {180, 175}), 3);
  // The pixel under the pointer is the pixel less the camera.
  ViewState view;
  view.cameraX = 100;
  view.cameraY = -50;
  const FieldPoint p = PointUnderPixel(view, 275, 125);
  EXPECT_EQ(p.x, 175);
  EXPECT_EQ(p.y, 175);
}

TEST(RightClickOrders, AttackOthersWalkToMinesAndOwnAndGoOnGround) {
  World world = Scenario();
  const std::vector<int32_t> selection = {0, 2, 3, 40};  // a mine, a base, a peasant, a free slot
  using Orders = std::vector<PlayerOrder>;
  // Side 2's peasant: both of side 1's units that hit attack it.
  EXPECT_EQ(RightClickOrders(world, selection, {175, 525}, 1),
            (Orders{{2, "atakovat 7"}, {3, "atakovat 7"}}));
  // A gold mine (owner 0 in the table, yet no enemy) and an own base:
  // the peasant walks there; the base does not walk, nor is it its own target.
  EXPECT_EQ(RightClickOrders(world, selection, {620, 630}, 1), (Orders{{3, "idtiza 1"}}));
  EXPECT_EQ(RightClickOrders(world, selection, {275, 275}, 1), (Orders{{3, "idtiza 2"}}));
  // Empty ground: the centre of the cell, as a go click on that cell.
  const Orders ground = RightClickOrders(world, selection, {330.5, 449}, 1);
  ASSERT_EQ(ground, (Orders{{3, "idti 325,425"}}));
  EXPECT_EQ(ClickResult(world, 3, kModeGo, 0, 6, 8).order, ground[0].text);
  EXPECT_EQ(ClickResult(world, 3, kModeAttack, 0, 3, 10).order, "atakovat 7");
}

TEST(TrainOrders, ABaseTrainsAtAFreeSpotBesideItAsABuildClickWould) {
  World world = Scenario();
  using Orders = std::vector<PlayerOrder>;
  // Base 2 at (275, 275): right of it is free. Peasants and mines get none.
  EXPECT_EQ(TrainOrders(world, {2, 3, 0}, 1), (Orders{{2, "stroit 1,300,250"}}));
  // Taken spots (an entity, or the spot of another base's order) are passed.
  world.entities[30] = world.entities[3];
  world.entities[30].x = 330;
  world.entities[30].y = 280;
  world.entities[31] = world.entities[2];
  world.entities[31].x = 275;
  world.entities[31].y = 425;
  EXPECT_EQ(TrainOrders(world, {2, 31}, 1),
            (Orders{{2, "stroit 1,250,300"}, {31, "stroit 1,300,400"}}));
  // A base already building keeps its build and the gold spent on it.
  world.entities[2].order = "stroit 1,300,250";
  EXPECT_EQ(TrainOrders(world, {2}, 1), Orders{});

  // The order input sets what a build click with the peasant item sets.
  World before = Scenario();
  before.entities[2].progress = 7;
  ExpectSameOrder(Ordered(before, 2, "stroit 1,300,250"),
                  ClickResult(before, 2, kModeBuild, 1, 6, 5));
}

TEST(BuildBaseOrders, OnePeasantBuildsWhereABuildClickWould) {
  World world = Scenario();
  world.entities[30] = world.entities[3];
  const std::vector<PlayerOrder> orders = BuildBaseOrders(world, {2, 3, 30}, {330.5, 449}, 1);
  ASSERT_EQ(orders, (std::vector<PlayerOrder>{{3, "stroit 0,300,400"}}));
  ExpectSameOrder(Ordered(world, 3, orders[0].text), ClickResult(world, 3, kModeBuild, 0, 6, 8));
  EXPECT_TRUE(BuildBaseOrders(world, {2, 0}, {330, 449}, 1).empty());
}

}  // namespace
}  // namespace kragmoor
