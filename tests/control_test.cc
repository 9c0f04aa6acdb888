// The click handler and the information list at their edges: saturated
// cells and positions, wrapped coordinates, rounded health.
#include "sim/control.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <vector>

namespace kragmoor {
namespace {

// The hit test truncates each stored position over 50 the same way, so a
// slot is found in the saturated cell of its position and NaN lies in cell 0.
TEST(HitTest, PositionsBeyondTheIntegerRangeLieInTheEdgeCells) {
  World world;
  world.entities[0] = {};
  world.entities[0].x = 1e30f;
  world.entities[0].y = -std::numeric_limits<float>::infinity();
  world.entities[1].x = std::numeric_limits<float>::quiet_NaN();
  world.entities[1].y = -49.0f;  // -0.98 truncates to row 0
  world.entities[2].x = -1e12f;
  world.entities[2].y = std::numeric_limits<float>::max();
  // Slot 0 no longer lies in cell (0, 0); slot 1 does, NaN and all.
  world.view.cursorColumn = 0;
  world.view.cursorRow = 0;
  EXPECT_EQ(HitTest(world), 1);
  world.view.cursorColumn = INT32_MAX;
  world.view.cursorRow = INT32_MIN;
  EXPECT_EQ(HitTest(world), 0);
  world.view.cursorColumn = INT32_MIN;
  world.view.cursorRow = INT32_MAX;
  EXPECT_EQ(HitTest(world), 2);
  world.view.cursorColumn = INT32_MAX - 1;
  EXPECT_EQ(HitTest(world), -1);
}

// Clicks on a saturated cursor cell write the cell's corner and centre with
// two's-complement arithmetic (column 2^31 - 1 times 50 wraps to -50), as
// decimal texts that the order pass reads back.
TEST(Panel3Click, SaturatedCursorCellWritesWrappedCoordinates) {
  World world;
  world.view.selected = 3;
  world.view.cursorColumn = INT32_MAX;
  world.view.cursorRow = INT32_MIN;
  world.entities[3].x = 5000.0f;  // no slot lies in that cell
  for (Tigrok& t : world.entities) t.y = 5000.0f;
  Panel3Click(world, 1, 0);
  EXPECT_EQ(world.entities[3].order, "idti -25,25");
  Panel3Click(world, 3, 1);
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
    world.view.selected = 299;
    world.entities[299].hp = c.hp;
    const std::vector<std::string> lines = InfoLines(world);
    ASSERT_EQ(lines.size(), 13u);
    EXPECT_EQ(lines[4], c.line);
  }
}

}  // namespace
}  // namespace kragmoor
