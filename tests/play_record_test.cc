// The selection, group and order inputs as a session records, saves and
// replays them.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "game/play.h"
#include "game/play_inputs.h"
#include "game/recorder.h"
#include "game/saved_game.h"
#include "game/selection.h"
#include "tests/driver_recording.h"

namespace kragmoor {
namespace {

using Slots = std::vector<int32_t>;

TEST(PlayInputs, SelectionGroupsAndOrdersAreRecordedSavedAndReplayed) {
  std::ostringstream recording;
  Session game;
  Recorder recorder(recording);
  recorder.State(game);
  const Front front{nullptr, nullptr, &recorder};
  const auto give = [&](const Input& input) {
    std::string error;
    ApplyWithFrame(game, input, front, error);
  };
  give(ComputerPlayers{{true, false, true}});  // the player is side 2 (owner 1)
  ASSERT_EQ(PlayerSide(game), 1);

  SelectAll(game, front);
  EXPECT_EQ(SessionSelection(game), (Slots{2, 3}));
  EXPECT_EQ(game.player.view.selected, 2);  // the list shows the first
  StoreGroup(game, 4, front);
  // A select click elsewhere drops the set; the group brings it back, and a
  // second recall centres the view on it: (225, 225) in a 485 x 447 panel.
  give(CursorAt{3, 10});  // side 2's peasant, slot 7
  give(Click{});
  EXPECT_EQ(SessionSelection(game), (Slots{7}));
  RecallGroup(game, 4, front);
  EXPECT_EQ(SessionSelection(game), (Slots{2, 3}));
  RecallGroup(game, 4, front);
  EXPECT_EQ(game.player.view.cameraX, 17.5f);
  EXPECT_EQ(game.player.view.cameraY, -1.5f);
  // A right-click on the mine at (625, 625) under the pointer.
  give(MouseAt{642, 623});
  RightClick(game, front);
  EXPECT_EQ(game.world.entities[3].order, "idtiza 1");
  TrainPeasants(game, front);
  SelectBox(game, {175, 525}, {0, 400}, true, front);  // Shift: side 2's peasant joins
  EXPECT_EQ(SessionSelection(game), (Slots{2, 3, 7}));
  give(EdgeScroll{kNarrowScrollMargin});
  std::string error;
  for (int i = 0; i < 150; ++i) ASSERT_TRUE(StepFrame(game, front, error));

  // Saved and loaded, the set, the group and the preference come back.
  std::string text;
  ASSERT_TRUE(SavedGameText(game, text, error)) << error;
  EXPECT_NE(text.find("\nselection 2 3 7\ngroup 4 2 3\nedgescroll 16\n"), std::string::npos);
  Session loaded;
  ASSERT_TRUE(LoadSavedGameText(text, loaded, error)) << error;
  EXPECT_EQ(SessionSelection(loaded), (Slots{2, 3, 7}));
  EXPECT_EQ(loaded.player.groups[3], (Slots{2, 3}));
  EXPECT_EQ(loaded.player.scrollMargin, kNarrowScrollMargin);
  // A game without any of it saves as before.
  std::string plain;
  ASSERT_TRUE(SavedGameText(Session(), plain, error));
  EXPECT_EQ(plain.find("selection"), std::string::npos);
  EXPECT_EQ(plain.find("group"), std::string::npos);
  EXPECT_EQ(plain.find("edgescroll"), std::string::npos);

  recorder.Finish(game);
  const std::string script = recording.str();
  for (const char* line :
       {"\nselection 2 3\n", "\ngroup 4 2 3\n", "\ncamera 17.5 -1.5\n", "\norder 3 \"idtiza 1\"\n",
        "\norder 2 \"stroit 1,300,250\"\n", "\nselection 2 3 7\n", "\nedgescroll 16\n"}) {
    EXPECT_NE(script.find(line), std::string::npos) << line;
  }
  ExpectReplays(script);
}

}  // namespace
}  // namespace kragmoor
