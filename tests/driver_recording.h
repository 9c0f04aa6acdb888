// What the driver tests share: a still clock, and reading back a recording
// the driver wrote and replaying it with `kragmoor-sim check`, run as a user
// runs it (the game's tests link no part of the runner).
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

#include "render/gl.h"

namespace kragmoor {

// A clock that stays at 0, so that no animation differs between runs.
struct FixedTicks final : TickSource {
  uint32_t GetTickCount() override { return 0; }
};

// The whole text of the recording at `path`.
inline std::string RecordingText(const std::string& path) {
  std::ifstream in(path);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

// `text` replays under check with every hash as recorded and no message.
inline void ExpectReplays(const std::string& text) {
  const std::string base = ::testing::TempDir() + "replay-" +
                           ::testing::UnitTest::GetInstance()->current_test_info()->name();
  const std::string recording = base + ".sim";
  const std::string errors = base + ".err";
  std::ofstream(recording) << text;
  const std::string command =
      std::string("'") + KRAGMOOR_SIM + "' check '" + recording + "' >/dev/null 2>'" + errors + "'";
  EXPECT_EQ(std::system(command.c_str()), 0) << command;
  EXPECT_EQ(RecordingText(errors), "");
  std::remove(recording.c_str());
  std::remove(errors.c_str());
}

}  // namespace kragmoor
