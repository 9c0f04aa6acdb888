// The click handler and the information list at their edges: saturated
// cells and positions, wrapped coordinates, rounded health; the resting
// pointer, the camera's key moves and the census of live sides.
#include "sim/control.h"

#include <gtest/gtest.h>

#include <array>
#include <limits>
#include <string>
#include <vector>

#include "sim/view.h"

namespace kragmoor {
namespace {

// The hit test truncates each stored position over 50 the same way, so a
// slot is found in the saturated cell of its position and NaN lies in cell 0.
TEST(HitTest, PositionsBeyondTheIntegerRangeLieInTheEdgeCells) {
  World world;
  ViewState view;
  world.entities[0] = {};
  world.entities[0].x = 1e30f;
  world.entities[0].y = -std::numeric_limits<float>::infinity();
  world.entities[1].x = std::numeric_limits<float>::quiet_NaN();
  world.entities[1].y = -49.0f;  // -0.98 truncates to row 0
  world.entities[2].x = -1e12f;
  world.entities[2].y = std::numeric_limits<float>::max();
  // Slot 0 no longer lies in cell (0, 0); slot 1 does, NaN and all.
  view.cursorColumn = 0;
  view.cursorRow = 0;
  EXPECT_EQ(HitTest(world, view), 1);
  view.cursorColumn = INT32_MAX;
  view.cursorRow = INT32_MIN;
  EXPECT_EQ(HitTest(world, view), 0);
  view.cursorColumn = INT32_MIN;
  view.cursorRow = INT32_MAX;
  EXPECT_EQ(HitTest(world, view), 2);
  view.cursorColumn = INT32_MAX - 1;
  EXPECT_EQ(HitTest(world, view), -1);
}

// Clicks on a saturated cursor cell write the cell's corner and centre with
// two's-complement arithmetic (column 2^31 - 1 times 50 wraps to -50), as
// decimal texts that the order pass reads back.
TEST(ClickOnField, SaturatedCursorCellWritesWrappedCoordinates) {
  World world;
  ViewState view;
  view.selected = 3;
  view.cursorColumn = INT32_MAX;
  view.cursorRow = INT32_MIN;
  world.entities[3].x = 5000.0f;  // no slot lies in that cell
  for (Tigrok& t : world.entities) t.y = 5000.0f;
  ClickOnField(world, view, 1, 0);
  EXPECT_EQ(world.entities[3].order, "idti -25,25");
  ClickOnField(world, view, 3, 1);
  EXPECT_EQ(world.entities[3].order, "stroit 1,-50,0");
  EXPECT_EQ(world.entities[3].plan, 10);
}

// The information list rounds hp to the nearest integer, halves to even,
// and shows the saturated value for hp beyond 32 bits, 0 for NaN.
TEST(InfoLines, HealthRoundsHalvesToEvenAndSaturates) {
  const struct {
    float hp;
    const char* line;
  } cases[] = {
      {99.5f, "Здоровье игрока: 100"},
      {100.5f, "Здоровье игрока: 100"},
      {-0.5f, "Здоровье игрока: 0"},
      {-2.5f, "Здоровье игрока: -2"},
      {1e30f, "Здоровье игрока: 2147483647"},
      {-std::numeric_limits<float>::infinity(), "Здоровье игрока: -2147483648"},
      {std::numeric_limits<float>::quiet_NaN(), "Здоровье игрока: 0"},
  };
  for (const auto& c : cases) {
    World world;
    ViewState view;
    view.selected = 299;
    world.entities[299].hp = c.hp;
    const std::vector<std::string> lines = InfoLines(world, view);
    ASSERT_EQ(lines.size(), 13u);
    EXPECT_EQ(lines[4], c.line);
  }
}

// The list's items are its lines split at the label: the window translates
// the labels, the runner prints the lines.
TEST(InfoItems, LabelAndValueMakeTheLine) {
  World world;
  SetUpScenario(world);
  ViewState view;
  view.selected = 3;
  world.players[2].gold = 15;
  const std::vector<InfoItem> items = InfoItems(world, view);
  const std::vector<std::string> lines = InfoLines(world, view);
  ASSERT_EQ(items.size(), lines.size());
  for (size_t i = 0; i < items.size(); ++i) EXPECT_EQ(items[i].label + items[i].value, lines[i]);
  EXPECT_EQ(std::string(items[7].label), "Ход выполнения:");
  EXPECT_EQ(std::string(items[12].label), "Злолто рассы N");
  EXPECT_EQ(items[12].value, "3: $15");
}

// The pointer away from the field rests at its centre, y counted upwards;
// there no edge scrolls on an even-sized panel of any size, nor on one at
// least twice the margin each way.
TEST(RestPointer, RestsWhereNothingScrolls) {
  for (const auto& [w, h] : {std::array{485, 447}, std::array{200, 200}, std::array{201, 433},
                             std::array{0, 0}, std::array{150, 120}}) {
    ViewState view;
    view.mouseX = 3;
    view.mouseY = 3;
    EXPECT_TRUE(RestPointer(view, w, h));
    EXPECT_FALSE(RestPointer(view, w, h));  // already there
    EXPECT_EQ(view.mouseX, w / 2);
    EXPECT_EQ(view.mouseY, h / 2);
    ScrollCamera(view, w, h);
    EXPECT_EQ(view.cameraX, 0.0f) << w << "x" << h;
    EXPECT_EQ(view.cameraY, 0.0f) << w << "x" << h;
  }
}

// An arrow pans one cell the way the edge scroll goes; the sum is rounded
// to float once.
TEST(PannedCamera, OneCellPerStepFromAnyOffset) {
  ViewState view;
  const CameraOffset right = PannedCamera(view, 1, 0);
  EXPECT_EQ(right.x, -50.0f);
  EXPECT_EQ(right.y, 0.0f);
  PlaceCamera(view, 1e8f, 0.25f);
  const CameraOffset down = PannedCamera(view, 0, -1);
  EXPECT_EQ(down.x, 1e8f);  // 1e8 + 0 stays; the float grid there is 8 wide
  EXPECT_EQ(down.y, 50.25f);
  PlaceCamera(view, down.x, down.y);
  EXPECT_EQ(view.cameraY, 50.25f);
}

// A side is alive while it has a live peasant or main base; mines, dead
// slots and owners outside the table count for nobody.
TEST(LastSideStanding, OnlyPeasantsAndBasesCount) {
  World world;
  SetUpScenario(world);
  EXPECT_EQ(LiveSides(world), (std::array<bool, 3>{true, true, true}));
  EXPECT_EQ(LastSideStanding(world), -1);
  for (const int slot : {2, 3}) world.entities[slot].hp = 0;  // side 1's base and peasant
  world.entities[5].hp = -1;                                  // side 0's peasant
  EXPECT_EQ(LiveSides(world), (std::array<bool, 3>{true, false, true}));
  EXPECT_EQ(LastSideStanding(world), -1);
  world.entities[4].hp = std::numeric_limits<float>::quiet_NaN();  // side 0's base
  world.entities[9] = world.entities[7];
  world.entities[9].owner = 7;             // no side
  world.entities[10] = world.entities[0];  // a mine of side 0
  EXPECT_EQ(LastSideStanding(world), 2);
  world.entities[6].hp = 0;
  world.entities[7].hp = 0;
  EXPECT_EQ(LastSideStanding(world), -1);  // none left
}

}  // namespace
}  // namespace kragmoor
