// Float-to-integer conversions at their edges: the saturating helpers, and
// the four places the game converts (cursor cell, hit test, the computer
// player's build positions, the health in the information list). Values
// beyond 32 bits go to the nearest limit, NaN gives 0, nothing is undefined.
#include "world/convert.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <vector>

#include "sim/computer_player.h"
#include "sim/control.h"

namespace kragmoor {
namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

TEST(TruncToInt32, TowardZeroAndSaturating) {
  const struct {
    double in;
    int32_t out;
  } cases[] = {
      {0.0, 0},
      {-0.0, 0},
      {0.99, 0},
      {-0.6, 0},
      {-1.2, -1},
      {2147483646.9, 2147483646},
      {2147483647.0, INT32_MAX},
      {2147483647.9, INT32_MAX},
      {2147483648.0, INT32_MAX},
      {1e300, INT32_MAX},
      {kInf, INT32_MAX},
      {-2147483648.0, INT32_MIN},
      {-2147483648.9, INT32_MIN},
      {-2147483649.0, INT32_MIN},
      {-kInf, INT32_MIN},
      {kNaN, 0},
      {-kNaN, 0},
      {std::numeric_limits<double>::denorm_min(), 0},
  };
  for (const auto& c : cases) EXPECT_EQ(TruncToInt32(c.in), c.out) << c.in;
}

TEST(RoundToInt32, HalvesToEvenAndSaturating) {
  const struct {
    double in;
    int32_t out;
  } cases[] = {
      {0.5, 0},
      {1.5, 2},
      {2.5, 2},
      {-0.5, 0},
      {-1.5, -2},
      {-2.5, -2},
      {125.5, 126},
      {126.5, 126},
      {2147483646.5, 2147483646},
      {2147483647.4, INT32_MAX},
      {2147483647.5, INT32_MAX},  // rounds to 2^31: saturates
      {kInf, INT32_MAX},
      {-2147483648.5, INT32_MIN},  // rounds to -2^31 (even)
      {-2147483649.5, INT32_MIN},
      {-kInf, INT32_MIN},
      {kNaN, 0},
  };
  for (const auto& c : cases) EXPECT_EQ(RoundToInt32(c.in), c.out) << c.in;
}

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

// The computer player's builder positions round x - 25 + 50 (base) and x - 25
// (peasant) to the nearest integer, halves to even, and saturate.
TEST(ComputerPlayer, BuildPositionsRoundAndSaturate) {
  const struct {
    float x;
    float y;
    const char* base;     // the peasant's order after the base decision
    const char* peasant;  // the base's order after the peasant decision
  } cases[] = {
      {100.5f, 101.5f, "stroit 0,126,126", "stroit 1,76,76"},
      {1e30f, -1e30f, "stroit 0,2147483647,-2147483648", "stroit 1,2147483647,-2147483648"},
      {std::numeric_limits<float>::quiet_NaN(), std::numeric_limits<float>::infinity(),
       "stroit 0,0,2147483647", "stroit 1,0,2147483647"},
      {2147483520.0f, -2147483648.0f, "stroit 0,2147483545,-2147483623",
       "stroit 1,2147483495,-2147483648"},
  };
  for (const auto& c : cases) {
    World world;
    // Side 0 with 150 gold and an idle peasant and base on one spot: the
    // base decision takes the peasant at once.
    world.players[0].gold = 150;
    Tigrok& peasant = world.entities[5];
    peasant.hp = 100;
    peasant.kind = kKindPeasant;
    peasant.x = c.x;
    peasant.y = c.y;
    peasant.order = "idle";
    Tigrok& base = world.entities[6];
    base = peasant;
    base.kind = kKindBase;
    ComputerPlayerStep(world, 0);
    EXPECT_EQ(world.entities[5].order, c.base) << c.x;

    // Without a peasant, the peasant decision trains one without a draw.
    World alone;
    alone.entities[6] = base;
    ComputerPlayerStep(alone, 0);
    EXPECT_EQ(alone.entities[6].order, c.peasant) << c.x;
  }
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
