// Saved games: a save taken mid-match plays on exactly as the game it was
// taken from; damage of every kind is refused and leaves the game as it was;
// a write that fails half-way leaves the old file; the player's own marks
// come back.
#include "game/saved_game.h"

#include <gtest/gtest.h>
#include <sys/resource.h>

#include <csignal>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "game/platform/files.h"
#include "game/play.h"
#include "game/session.h"
#include "tests/play_inputs.h"
#include "world/state_hash.h"

namespace kragmoor {
namespace {

std::string Save(const Session& session) {
  std::string text;
  std::string error;
  EXPECT_TRUE(SavedGameText(session, text, error)) << error;
  return text;
}

TEST(SavedGame, LoadedMidMatchPlaysOnWithTheSameHashes) {
  Session original;
  original.world.seed = 3;
  for (int i = 0; i < 4000; ++i) StepFrame(original, Front{}, std::cout);
  Apply(original, CameraAt{-12.5f, 40.0f});
  original.player.ticks = 77;
  const std::string text = Save(original);

  Session loaded;
  loaded.world.seed = 999;  // replaced, like everything else
  std::string error;
  ASSERT_TRUE(LoadSavedGameText(text, loaded, error)) << error;
  EXPECT_EQ(Save(loaded), text);  // nothing lost or changed on the way
  for (int round = 0; round < 10; ++round) {
    Play(original, round);
    Play(loaded, round);
    ASSERT_EQ(StateHash(loaded), StateHash(original)) << "round " << round;
  }
  EXPECT_EQ(Save(loaded), Save(original));
}

// What the player's own view adds (a selected entity gone, the side chosen)
// comes back from a save; a game without them saves no line for them.
TEST(SavedGame, KeepsTheGoneMarkAndTheChosenSide) {
  Session plain;
  const std::string designed = Save(plain);
  EXPECT_EQ(designed.find("\ngone\n"), std::string::npos);
  EXPECT_EQ(designed.find("\nside "), std::string::npos);

  Session original;
  Apply(original, SelectionSet{{2, 3, 6}});
  original.player.selectedGone = true;  // slot 2's entity died after it was selected
  Apply(original, OwnSide{1});
  const std::string text = Save(original);
  Session loaded;
  std::string error;
  ASSERT_TRUE(LoadSavedGameText(text, loaded, error)) << error;
  EXPECT_TRUE(loaded.player.selectedGone);
  EXPECT_EQ(loaded.player.selection, (std::vector<int32_t>{2, 3, 6}));
  EXPECT_EQ(loaded.player.view.selected, 2);
  EXPECT_EQ(loaded.player.side, 1);
  EXPECT_EQ(Save(loaded), text);

  ASSERT_TRUE(LoadSavedGameText(designed, loaded, error)) << error;  // as an old save
  EXPECT_FALSE(loaded.player.selectedGone);
  EXPECT_EQ(loaded.player.side, -1);
}

TEST(SavedGame, DamageOfEveryKindIsRefusedAndLeavesTheGame) {
  Session saved;
  saved.world.seed = 11;
  for (int i = 0; i < 500; ++i) StepFrame(saved, Front{}, std::cout);
  const std::string text = Save(saved);
  const std::string body = text.substr(0, text.rfind("# checksum"));
  const auto refused = [](const std::string& damaged, const std::string& why) {
    Session game;
    game.world.seed = 5;
    const uint64_t before = StateHash(game);
    std::string error;
    EXPECT_FALSE(LoadSavedGameText(damaged, game, error));
    EXPECT_NE(error.find(why), std::string::npos) << error;
    EXPECT_EQ(StateHash(game), before);
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
  ASSERT_TRUE(WriteFileAtomically(path, "# kragmoor save 1\nold\n", kSaveFormat, error)) << error;

  // The file-size limit makes the write fail after 1000 bytes, as a full disk would.
  rlimit old{};
  getrlimit(RLIMIT_FSIZE, &old);
  const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
  rlimit small = old;
  small.rlim_cur = 1000;
  setrlimit(RLIMIT_FSIZE, &small);
  const bool written = WriteFileAtomically(path, std::string(5000, 'x'), kSaveFormat, error);
  setrlimit(RLIMIT_FSIZE, &old);
  std::signal(SIGXFSZ, oldHandler);

  EXPECT_FALSE(written);
  EXPECT_NE(error.find("cannot write '" + path + "' : "), std::string::npos) << error;
  std::string text;
  ASSERT_TRUE(ReadSmallFile(path, 100, text, error)) << error;
  EXPECT_EQ(text, "# kragmoor save 1\nold\n");
  int files = 0;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) files += entry.exists();
  EXPECT_EQ(files, 1);  // no temporary file left behind
  std::filesystem::remove_all(folder);
}

}  // namespace
}  // namespace kragmoor
