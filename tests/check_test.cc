// kragmoor-sim check: a script's output compared with its expected lines,
// and a recording of inputs and frames replayed under check.
#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "game/recorder.h"
#include "runner/script.h"
#include "tests/play_inputs.h"

namespace kragmoor {
namespace {

int Check(const std::string& script, std::string& err) {
  std::istringstream in(script);
  std::ostringstream errors;
  const int code = CheckScript(in, errors, ScriptOptions{});
  err = errors.str();
  return code;
}

TEST(CheckScript, ComparesOutputWithTheExpectedLines) {
  std::string err;
  EXPECT_EQ(Check("print view\n#> view mouse=0,0 camera=0,0 cursor=0,0 selected=-1\n", err), 0);
  EXPECT_EQ(err, "");
  EXPECT_EQ(
      Check("select 4\nprint view\n#> view mouse=0,0 camera=0,0 cursor=0,0 selected=3\n", err), 1);
  EXPECT_EQ(err,
            "kragmoor-sim: line 3: expected 'view mouse=0,0 camera=0,0 cursor=0,0 selected=3', "
            "got 'view mouse=0,0 camera=0,0 cursor=0,0 selected=4'\n");
  EXPECT_EQ(Check("#> hash 0\n\n", err), 1);  // missing: named at the last line
  EXPECT_EQ(err, "kragmoor-sim: line 2: expected 'hash 0', got ''\n");
  EXPECT_EQ(Check("info\n", err), 1);  // left over
  EXPECT_EQ(err, "kragmoor-sim: line 1: expected '', got 'info Выбранный игрок: -1'\n");
  EXPECT_EQ(Check("step x\n", err), 2);
}

// A session played with a recorder attached writes a script that check
// replays to the same hashes, errors included.
TEST(Recorder, ARecordedSessionReplaysUnderCheck) {
  std::ostringstream recording;
  Session game;
  game.world.seed = 21;
  Recorder recorder(recording);
  std::string error;
  recorder.State(game);
  const Front front{nullptr, nullptr, &recorder};
  for (int round = 0; round < 5; ++round) Play(game, round, front);
  ASSERT_TRUE(ApplyWithFrame(game, Resize{300, 200}, front, error));
  // A build order that never converts: every frame ends with the error now.
  game.world.entities[299].hp = 1;
  game.world.entities[299].order = "stroit 1,2,z";
  recorder.State(game);
  for (int i = 0; i < 3; ++i) EXPECT_FALSE(StepFrame(game, front, error));
  recorder.Finish(game);
  EXPECT_EQ(recorder.failure(), "");

  const std::string text = recording.str();
  EXPECT_EQ(text.rfind(kRecordingHeader, 0), 0u);
  EXPECT_NE(text.find("#> error: 'z' is not a valid integer value\n"), std::string::npos);
  EXPECT_NE(text.find("resize 300 200\n"), std::string::npos);
  std::string err;
  EXPECT_EQ(Check(text, err), 0) << err;
  // A changed hash line is caught.
  std::string wrong = text;
  wrong[wrong.rfind("#> hash ") + 8] ^= 0x01;
  EXPECT_EQ(Check(wrong, err), 1);
}

}  // namespace
}  // namespace kragmoor
