// The driver's play-layer controls without a window: a recording of a game
// that uses every one of them replays under check, and the game watch and
// a new game's frame count follow the frames the driver runs.
#include <gtest/gtest.h>
#include <unistd.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "game/driver.h"
#include "game/play_inputs.h"
#include "game/start_view.h"
#include "tests/driver_recording.h"

namespace kragmoor {
namespace {

constexpr FieldSize kField{485, 447};  // the play field at start

using Slots = std::vector<int32_t>;

TEST(DriverPlayTest, ARecordingUsingEveryPlayControlReplaysUnderCheck) {
  const std::string path =
      testing::TempDir() + "driver_play_test_" + std::to_string(getpid()) + ".sim";
  FixedTicks clock;
  GameDriver driver(777, clock);
  driver.SetComputerPlayers({true, false, true});  // the player is side 2 (owner 1)
  std::string error;
  ASSERT_TRUE(driver.StartRecording(path, kField, error)) << error;
  const auto tick = [&](int n) {
    for (int i = 0; i < n; ++i) driver.TimerFired(kField, nullptr);
  };
  // Field (x, y) on the panel, y downwards, with the camera where it is.
  const auto px = [&](double x) {
    return static_cast<int32_t>(x + driver.session().player.view.cameraX);
  };
  const auto py = [&](double y) {
    return kField.height - static_cast<int32_t>(y + driver.session().player.view.cameraY);
  };

  tick(5);
  driver.SelectAll();
  EXPECT_EQ(SessionSelection(driver.session()), (Slots{2, 3}));
  driver.StoreGroup(4);
  driver.RightClick(kField, px(300), py(120));  // empty ground: the peasant walks there
  EXPECT_EQ(driver.session().world.entities[3].order.rfind("idti ", 0), 0u);
  driver.TrainPeasants();  // base 2 trains one
  EXPECT_EQ(driver.session().world.entities[2].order.rfind("stroit 1,", 0), 0u);
  tick(20);
  const FieldPoint peasant{driver.session().world.entities[3].x,
                           driver.session().world.entities[3].y};
  driver.SelectBox(kField, px(peasant.x - 20), py(peasant.y - 20), px(peasant.x + 20),
                   py(peasant.y + 20), false);
  EXPECT_EQ(SessionSelection(driver.session()), (Slots{3}));
  driver.ArmBaseBuild();
  driver.PointerMoved(kField, px(400), py(100));
  driver.Click();  // the peasant builds a main base there, not the design's click
  EXPECT_FALSE(driver.baseBuildArmed());
  EXPECT_EQ(driver.session().world.entities[3].order.rfind("stroit 0,", 0), 0u);
  driver.RecallGroup(4);
  driver.RecallGroup(4);  // the second press centres the view on the group
  driver.MoveCamera(-100.0f, -50.0f);
  driver.PanBy(10, 5);
  EXPECT_EQ(driver.session().player.view.cameraX, -90.0f);
  EXPECT_EQ(driver.session().player.view.cameraY, -55.0f);
  driver.ChooseEdgeScroll(kNarrowScrollMargin);
  driver.ChooseKeepView(true);
  driver.ChooseLevels({1, 3, 2});
  tick(150);
  ASSERT_TRUE(driver.StopRecording(error)) << error;

  const std::string text = RecordingText(path);
  for (const char* input :
       {"\nselection 2 3\n", "\ngroup 4 2 3\n", "\norder 3 \"idti ", "\norder 2 \"stroit 1,",
        "\nselection 3\n", "\norder 3 \"stroit 0,", "\ncamera -100 -50\n", "\ncamera -90 -55\n",
        "\nedgescroll 16\n", "\nkeepview 1\n", "\nlevel 1 3 2\n"}) {
    EXPECT_NE(text.find(input), std::string::npos) << input;
  }
  ExpectReplays(text);
  unlink(path.c_str());
}

TEST(DriverPlayTest, TheWatchSeesTheGameEndAndANewGameCountsFramesAgain) {
  FixedTicks clock;
  GameDriver driver(1, clock);
  driver.SetComputerPlayers({false, true, true});  // the player is side 1 (owner 0)
  for (int i = 0; i < 3; ++i) driver.TimerFired(kField, nullptr);
  EXPECT_FALSE(driver.watch().over());
  for (Tigrok& t : driver.world().entities) {
    if (t.owner != 1 && t.kind != kKindMine) t.hp = 0;  // only side 2 is left
  }
  driver.TimerFired(kField, nullptr);
  EXPECT_TRUE(driver.watch().over());
  EXPECT_EQ(driver.watch().winner(), 1);
  EXPECT_FALSE(driver.TakeEvents().empty());  // the sides out, and the game's end

  driver.NewGame(5);
  EXPECT_EQ(driver.frameSteps(), 0);
  EXPECT_FALSE(driver.watch().over());
  // The player's base (slot 4 of side 1) is in view from the start.
  EXPECT_TRUE(ShowsBase(driver.session().world, driver.session().player.view, kField.width,
                        kField.height, 0));
}

}  // namespace
}  // namespace kragmoor
