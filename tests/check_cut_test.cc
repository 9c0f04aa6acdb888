// check on recordings cut short (by a crash, kill -9 or a full disk), on
// scripts that verify nothing, and on long output: compared as it comes,
// stopped at once by its frame hook.
#include <gtest/gtest.h>
#include <sys/resource.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "game/platform/files.h"
#include "game/play.h"
#include "game/recorder.h"
#include "game/session.h"
#include "runner/script.h"

namespace kragmoor {
namespace {

struct Checked {
  int code;
  std::string err;
};

// check of `script`, with a second reader of it (as kragmoor-sim reads a
// file) or without (output waits for its lines).
Checked Check(const std::string& script, bool ahead, ScriptOptions options = {}) {
  std::istringstream in(script);
  std::istringstream second(script);
  std::ostringstream err;
  const int code = CheckScript(in, err, options, ahead ? second.rdbuf() : nullptr);
  return {code, err.str()};
}

// A recording of a few hundred frames with inputs between them.
std::string Recording() {
  std::ostringstream text;
  Session game;
  game.world.seed = 5;
  Recorder recorder(text);
  recorder.State(game);
  const Front front{nullptr, nullptr, &recorder};
  for (int round = 0; round < 3; ++round) {
    Apply(game, MouseAt{100 + round, 200}, front);
    Apply(game, Click{}, front);
    for (int i = 0; i < 120; ++i) StepFrame(game, front, std::cout);
  }
  recorder.Finish(game);
  return text.str();
}

TEST(CheckCut, ACutRecordingVerifiesWhatItHoldsAndSaysSo) {
  const std::string whole = Recording();
  const size_t lastHash = whole.rfind("hash\n#> hash ");
  const size_t middleHash = whole.rfind("#> hash ", lastHash - 1);
  for (const bool ahead : {true, false}) {
    EXPECT_EQ(Check(whole, ahead).code, 0) << Check(whole, ahead).err;
    const std::string cuts[] = {
        whole.substr(0, whole.size() - 5),                 // in the end line
        whole.substr(0, whole.rfind('#')),                 // a whole closing hash, no end line
        whole.substr(0, lastHash + 5),                     // after `hash`, before its line
        whole.substr(0, middleHash + 12),                  // in the middle of an earlier hash line
        whole.substr(0, middleHash + 25) + "step 3\nmou",  // steps after a hash, cut in a line
    };
    for (const std::string& cut : cuts) {
      const Checked r = Check(cut, ahead);
      EXPECT_EQ(r.code, 3) << r.err;
      EXPECT_NE(r.err.find("the recording ends here without its closing hash"), std::string::npos)
          << r.err;
      EXPECT_EQ(r.err.find('\n'), r.err.size() - 1) << r.err;
    }
    // Damage before the cut is still a difference.
    std::string damaged = whole.substr(0, lastHash);
    damaged[middleHash + 9] ^= 0x01;
    EXPECT_EQ(Check(damaged, ahead).code, 1);
  }
}

TEST(CheckCut, NothingToCompareIsNoSuccess) {
  for (const bool ahead : {true, false}) {
    for (const char* script : {"", "# only a comment\n\n", "step 3\n"}) {
      const Checked r = Check(script, ahead);
      EXPECT_EQ(r.code, 1) << script;
      EXPECT_NE(r.err.find("nothing was verified"), std::string::npos) << r.err;
    }
  }
}

TEST(CheckCut, OutputIsComparedAsItComes) {
  // The first traced line differs: check stops after the first frame,
  // never holding the output of all the others.
  int64_t frames = 0;
  ScriptOptions options;
  options.onFrame = [&frames](int64_t run) { frames = run; };
  const Checked r = Check("trace 20000\n#> nope\n", true, options);
  EXPECT_EQ(r.code, 1);
  EXPECT_NE(r.err.find("line 2: expected 'nope', got 'glClear"), std::string::npos) << r.err;
  EXPECT_LE(frames, 1);

  // The frame hook ends a long replay at once (Ctrl+C); a frame limit
  // refuses it before it starts.
  options.onFrame = [](int64_t run) {
    if (run == 50) throw ScriptStop(130, "interrupted");
  };
  const std::string endless = "# kragmoor recording 1\nstep 100000000\nhash\n#> hash 0\n";
  EXPECT_EQ(Check(endless, true, options).code, 130);
  ScriptOptions limited;
  limited.maxFrames = 1000;
  const Checked bounded = Check(endless, true, limited);
  EXPECT_EQ(bounded.code, 2);
  EXPECT_NE(bounded.err.find("frame limit of 1000 frames"), std::string::npos) << bounded.err;
}

TEST(CheckCut, ARecordingWhoseWriteFailsEndsAtItsLastWholeLine) {
  const std::string folder = testing::TempDir() + "/kragmoor_cut_test";
  std::filesystem::create_directories(folder);
  const std::string path = folder + "/game.sim";
  Session game;
  RecordingFile file;
  std::string error;
  ASSERT_TRUE(file.Open(path, game, error)) << error;
  const Front front{nullptr, nullptr, &file.recorder()};
  const auto size = std::filesystem::file_size(path);
  for (int i = 0; i < 2000; ++i) StepFrame(game, front, std::cout);

  // The file-size limit fails the write part-way, as a full disk would.
  rlimit old{};
  getrlimit(RLIMIT_FSIZE, &old);
  const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
  rlimit small = old;
  small.rlim_cur = size + 100;
  setrlimit(RLIMIT_FSIZE, &small);
  const bool flushed = file.Flush(error);
  setrlimit(RLIMIT_FSIZE, &old);
  std::signal(SIGXFSZ, oldHandler);
  EXPECT_FALSE(flushed);

  std::string text;
  ASSERT_TRUE(ReadSmallFile(path, 1 << 20, text, error)) << error;
  EXPECT_GT(text.size(), size);
  EXPECT_EQ(text.back(), '\n');
  EXPECT_EQ(Check(text, true).code, 3);
  std::filesystem::remove_all(folder);
}

}  // namespace
}  // namespace kragmoor
