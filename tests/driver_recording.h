// What the driver tests share: a still clock, and reading back a recording
// the driver wrote and replaying it under the runner's check.
#pragma once

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

#include "render/gl.h"
#include "runner/script.h"

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
  std::istringstream replay(text);
  std::ostringstream err;
  EXPECT_EQ(CheckScript(replay, err, ScriptOptions{}), 0);
  EXPECT_EQ(err.str(), "");
}

}  // namespace kragmoor
