// Saved games, recordings and check: a save taken mid-match plays on exactly
// as the game it was taken from; damage of every kind is refused and leaves
// the game as it was; a write that fails half-way leaves the old file; a
// recording of inputs and frames replays under check.
#include "game/saved_game.h"

#include <gtest/gtest.h>
#include <sys/resource.h>

#include <csignal>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "game/files.h"
#include "game/recorder.h"
#include "game/session.h"
#include "runner/script.h"
#include "world/state_hash.h"

namespace kragmoor {
namespace {

std::string Save(const Session& session) {
  std::string text;
  std::string error;
  EXPECT_TRUE(SavedGameText(session, text, error)) << error;
  return text;
}

// Points at cell (column, row) and runs the frame that stores it.
void PointAt(Session& s, int column, int row) {
  SetMouse(s, static_cast<int32_t>(column * 50 + 25 - s.world.view.cameraX),
           static_cast<int32_t>(row * 50 + 25 - s.world.view.cameraY));
  StepFrame(s, nullptr, std::cout);
}

// Inputs of every kind on a session: a selection, orders by click and by
// `order`, boxes and levels.
void Play(Session& s, int round) {
  SetClickMode(s, 0);
  PointAt(s, 3 + round % 3, 3);
  Click(s);
  SetClickMode(s, 1 + round % 3);
  SetBuildItem(s, round % 2);
  PointAt(s, round % 7, 4);
  Click(s);
  SetComputerPlayers(s, {true, round % 2 == 0, true});
  SetLevels(s, {3, 1 + round % 3, 2});
  GiveOrder(s, 4, round % 2 == 0 ? "stroit 1,100,100" : "idti 500,500");
  MoveMouse(s, 10 * round, 400 - round);
  for (int i = 0; i < 100; ++i) StepFrame(s, nullptr, std::cout);
}

TEST(SavedGame, LoadedMidMatchPlaysOnWithTheSameHashes) {
  Session original;
  original.world.seed = 3;
  for (int i = 0; i < 4000; ++i) StepFrame(original, nullptr, std::cout);
  SetCamera(original, -12.5f, 40.0f);
  original.ticks.value = 77;
  const std::string text = Save(original);

  Session loaded;
  loaded.world.seed = 999;  // replaced, like everything else
  std::string error;
  ASSERT_TRUE(LoadSavedGameText(text, loaded, error)) << error;
  EXPECT_EQ(Save(loaded), text);  // nothing lost or changed on the way
  for (int round = 0; round < 10; ++round) {
    Play(original, round);
    Play(loaded, round);
    ASSERT_EQ(StateHash(loaded.world), StateHash(original.world)) << "round " << round;
  }
  EXPECT_EQ(Save(loaded), Save(original));
}

TEST(SavedGame, DamageOfEveryKindIsRefusedAndLeavesTheGame) {
  Session saved;
  saved.world.seed = 11;
  for (int i = 0; i < 500; ++i) StepFrame(saved, nullptr, std::cout);
  const std::string text = Save(saved);
  const std::string body = text.substr(0, text.rfind("# checksum"));
  const auto refused = [](const std::string& damaged, const std::string& why) {
    Session game;
    game.world.seed = 5;
    const uint64_t before = StateHash(game.world);
    std::string error;
    EXPECT_FALSE(LoadSavedGameText(damaged, game, error));
    EXPECT_NE(error.find(why), std::string::npos) << error;
    EXPECT_EQ(StateHash(game.world), before);
  };
  refused("", "not a saved game");
  refused(text.substr(0, 10), "not a saved game");
  for (size_t cut : {body.size() / 2, body.size(), text.size() - 1}) {
    refused(text.substr(0, cut), "cut short");
  }
  for (size_t at = 0; at < text.size(); at += 97) {
    std::string changed = text;
    changed[at] ^= 0x01;
    Session game;
    std::string error;
    EXPECT_FALSE(LoadSavedGameText(changed, game, error)) << "byte " << at;
  }
  std::string version = text;
  version.replace(0, kSaveHeader.size(), "# kragmoor save 2");
  refused(version, "version '2'");
  // Well formed and checksummed, but for a command that does more than set state.
  for (const char* command : {"step\n", "click\n", "hash\n", "load other.save\n"}) {
    const std::string stepped = body + command;
    refused(stepped + ChecksumLine(stepped) + "\n", "not a command that sets state");
  }
  refused("set 0 x=1\n", "not a saved game");
}

TEST(SavedGame, AWriteThatFailsHalfWayLeavesTheOldFile) {
  const std::string folder = testing::TempDir() + "/kragmoor_save_test";
  std::filesystem::create_directories(folder);
  const std::string path = folder + "/game.save";
  std::string error;
  ASSERT_TRUE(WriteFileAtomically(path, "old\n", error)) << error;

  // The file-size limit makes the write fail after 1000 bytes, as a full disk would.
  rlimit old{};
  getrlimit(RLIMIT_FSIZE, &old);
  const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
  rlimit small = old;
  small.rlim_cur = 1000;
  setrlimit(RLIMIT_FSIZE, &small);
  const bool written = WriteFileAtomically(path, std::string(5000, 'x'), error);
  setrlimit(RLIMIT_FSIZE, &old);
  std::signal(SIGXFSZ, oldHandler);

  EXPECT_FALSE(written);
  EXPECT_NE(error.find("cannot write '" + path + "' : "), std::string::npos) << error;
  std::string text;
  ASSERT_TRUE(ReadSmallFile(path, 100, text, error)) << error;
  EXPECT_EQ(text, "old\n");
  int files = 0;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) files += entry.exists();
  EXPECT_EQ(files, 1);  // no temporary file left behind
  std::filesystem::remove_all(folder);
}

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
  game.recorder = &recorder;
  for (int round = 0; round < 5; ++round) Play(game, round);
  ASSERT_TRUE(Resize(game, 300, 200, nullptr, error));
  // A build order that never converts: every frame ends with the error now.
  game.world.entities[299].hp = 1;
  game.world.entities[299].order = "stroit 1,2,z";
  recorder.State(game);
  for (int i = 0; i < 3; ++i) EXPECT_FALSE(StepFrame(game, nullptr, error));
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
