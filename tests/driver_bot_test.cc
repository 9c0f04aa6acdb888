// A bot seated by the game driver: its orders reach the game between the
// timer's frames as recorded `order` inputs, its side's computer player is
// unticked, and the recording replays under check with no bot running.
#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>

#include "game/driver.h"
#include "game/session.h"
#include "tests/driver_recording.h"

namespace kragmoor {
namespace {

struct StillTicks final : TickSource {
  uint32_t GetTickCount() override { return 0; }
};

constexpr FieldSize kField{485, 447};  // the play field at start

TEST(DriverBot, OrdersAreRecordedAndTheRecordingReplays) {
  const std::string path =
      testing::TempDir() + "driver_bot_test_" + std::to_string(getpid()) + ".sim";
  StillTicks clock;
  GameDriver driver(7, clock);
  std::string error;
  ASSERT_TRUE(driver.StartRecording(path, kField, error)) << error;
  // Side 0's peasant (slot 5) is sent towards 300,300 at every turn.
  ASSERT_TRUE(
      driver.SeatBot(0,
                     "read l; echo '{\"type\":\"ready\",\"name\":\"walker\"}'; while read l; "
                     "do echo '{\"type\":\"orders\",\"orders\":[{\"slot\":5,\"do\":\"go\","
                     "\"x\":300,\"y\":300}]}'; done",
                     5, error))
      << error;
  EXPECT_FALSE(driver.session().computerPlayer[0]);
  for (int i = 0; i < 10000 && driver.session().world.entities[5].order != "idti 300,300"; ++i) {
    driver.TimerFired(kField, nullptr);
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  EXPECT_EQ(driver.bot(0).status(), "ok");
  EXPECT_EQ(driver.bot(0).name(), "walker");
  EXPECT_EQ(driver.session().world.entities[5].order, "idti 300,300");
  driver.TimerFired(kField, nullptr);
  ASSERT_TRUE(driver.StopRecording(error)) << error;

  const std::string text = RecordingText(path);
  EXPECT_NE(text.find("\nai 0 1 1\n"), std::string::npos);
  EXPECT_NE(text.find("\norder 5 \"idti 300,300\"\n"), std::string::npos);
  ExpectReplays(text);
  unlink(path.c_str());
}

}  // namespace
}  // namespace kragmoor
