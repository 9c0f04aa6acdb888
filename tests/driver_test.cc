// The game driver without a window: the frame steps a tick runs at each pace
// and which of them draw, the error latch that holds frames back until the
// player has seen the error, and a recording of driven inputs that replays
// under check.
#include "game/driver.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <fstream>
#include <sstream>
#include <string>

#include "game/session.h"
#include "render/recording_gl.h"
#include "tests/driver_recording.h"

namespace kragmoor {
namespace {

constexpr FieldSize kField{485, 447};  // the play field at start

// A driver on a still clock with no computer players, so that only the test
// writes orders.
struct Driven {
  FixedTicks clock;
  GameDriver driver{1, clock};
  Driven() { driver.SetComputerPlayers({false, false, false}); }

  // Runs `n` ticks; returns the frame steps they ran.
  int64_t Ticks(int n, Gl* gl = nullptr) {
    const int64_t before = driver.frameSteps();
    for (int i = 0; i < n; ++i) driver.TimerFired(kField, gl);
    return driver.frameSteps() - before;
  }
};

int64_t Swaps(const RecordingGl& gl) {
  return std::count(gl.lines().begin(), gl.lines().end(), "SwapBuffers");
}

TEST(DriverTest, PaceSetsTheStepsOfATickAndOnlyTheLastDraws) {
  Driven d;
  RecordingGl gl;
  EXPECT_EQ(d.Ticks(10, &gl), 10);
  EXPECT_EQ(Swaps(gl), 10);

  for (int i = 0; i < 4; ++i) d.driver.ChangeSpeed(true);  // past x8: stays x8
  EXPECT_EQ(d.driver.pace().SpeedText(), "8");
  gl.clear();
  EXPECT_EQ(d.Ticks(1, &gl), 8);
  EXPECT_EQ(Swaps(gl), 1);

  for (int i = 0; i < 6; ++i) d.driver.ChangeSpeed(false);  // past x1/4: stays x1/4
  EXPECT_EQ(d.driver.pace().SpeedText(), "1/4");
  gl.clear();
  EXPECT_EQ(d.Ticks(3, &gl), 0);
  EXPECT_EQ(d.Ticks(1, &gl), 1);
  EXPECT_EQ(d.Ticks(8, &gl), 2);
  EXPECT_EQ(Swaps(gl), 3);

  // Paused, no tick runs a frame, and what a frame would show is redrawn
  // as a still picture instead.
  d.driver.TogglePause();
  EXPECT_TRUE(d.driver.TakeStillDue());
  EXPECT_EQ(d.Ticks(8), 0);
  d.driver.PointerMoved(kField, 175, 447 - 175);
  EXPECT_EQ(d.driver.session().player.view.cursorColumn, 3);  // stored for a click
  EXPECT_TRUE(d.driver.TakeStillDue());
  EXPECT_FALSE(d.driver.TakeStillDue());
  d.driver.Resize({500, 447}, &gl);
  EXPECT_EQ(d.driver.frameSteps(), 21);  // no frame for the paused resize
  EXPECT_TRUE(d.driver.TakeStillDue());
  d.driver.TogglePause();
  d.driver.PointerMoved(kField, 10, 10);
  EXPECT_FALSE(d.driver.TakeStillDue());
}

TEST(DriverTest, AConversionErrorHoldsFramesBackUntilAcknowledged) {
  Driven d;
  d.driver.world().entities[3].order = "idti a,1";
  d.driver.ChangeSpeed(true);  // two steps a tick: the second one is held back
  EXPECT_EQ(d.Ticks(1), 1);
  ASSERT_NE(d.driver.latchedError(), nullptr);
  EXPECT_EQ(*d.driver.latchedError(), "'a' is not a valid integer value");
  EXPECT_EQ(d.Ticks(5), 0);

  // A resize still runs its frame; its own error does not replace the first.
  d.driver.world().entities[3].order = "idti b,1";
  d.driver.Resize({500, 400}, nullptr);
  EXPECT_EQ(d.driver.frameSteps(), 2);
  EXPECT_EQ(*d.driver.latchedError(), "'a' is not a valid integer value");

  d.driver.world().entities[3].order = "idle";
  d.driver.AcknowledgeError();
  EXPECT_EQ(d.driver.latchedError(), nullptr);
  EXPECT_EQ(d.Ticks(1), 2);
}

// Every kind of input the window passes on, running and paused, while the
// game is recorded: the recording replays with every hash equal.
TEST(DriverTest, ARecordingOfDrivenInputsReplaysUnderCheck) {
  const std::string path = testing::TempDir() + "driver_test_" + std::to_string(getpid()) + ".sim";
  FixedTicks clock;
  GameDriver driver(12345, clock);
  driver.SetComputerPlayers({true, false, true});
  std::string error;
  ASSERT_TRUE(driver.StartRecording(path, kField, error)) << error;
  const auto point = [&](int x, int y) { driver.PointerMoved(kField, x, kField.height - y); };
  const auto tick = [&](int n) {
    for (int i = 0; i < n; ++i) driver.TimerFired(kField, nullptr);
  };

  driver.PointerAway(kField);
  tick(30);
  point(275, 275);  // slot 2's base
  tick(1);
  driver.Click();
  driver.ChooseBuildItem(1);
  driver.ChooseClickMode(3);
  point(125, 175);
  tick(1);
  driver.Click();  // the base trains a peasant there
  driver.ChangeSpeed(true);
  tick(60);
  driver.TogglePause();
  driver.ChooseClickMode(0);
  point(175, 175);
  driver.Click();  // with no frame between: the cursor cell was stored by the move
  EXPECT_EQ(driver.session().player.view.selected, 3);
  driver.PanCamera(1, 0);
  driver.Resize({520, 430}, nullptr);
  driver.TogglePause();
  driver.HomeCamera();
  driver.ChooseClickMode(1);
  point(375, 125);
  tick(2);
  driver.Click();
  driver.Resize({485, 447}, nullptr);
  tick(150);
  ASSERT_TRUE(driver.FlushRecording(error)) << error;
  ASSERT_TRUE(driver.StopRecording(error)) << error;
  EXPECT_FALSE(driver.recording());
  EXPECT_GT(driver.frameSteps(), 300);

  const std::string text = RecordingText(path);
  for (const char* input : {"\nai 1 0 1\n", "\nmode 3\n", "\nbuild 1\n", "\nclick\n", "\ncursor ",
                            "\npanel 520 430\n", "\nresize 485 447\n", "\ncamera 0 0\n"}) {
    EXPECT_NE(text.find(input), std::string::npos) << input;
  }
  ExpectReplays(text);
  unlink(path.c_str());
}

}  // namespace
}  // namespace kragmoor
