// Several entities at once: box selection and its side, the count line in
// both languages, and the selection, group and order inputs as a session
// records, saves and replays them.
#include "game/selection.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "game/play_inputs.h"
#include "game/recorder.h"
#include "game/saved_game.h"
#include "runner/script.h"
#include "sim/control.h"

namespace kragmoor {
namespace {

using Slots = std::vector<int32_t>;

TEST(BoxSelection, TakesTheSideOfTheEntityNearTheStartOrThePlayers) {
  World world;
  SetUpScenario(world);
  const FieldPoint farCorner{1250, 1250};
  EXPECT_EQ(BoxSelection(world, {175, 525}, farCorner, 1), (Slots{6, 7}));  // from side 2's peasant
  EXPECT_EQ(BoxSelection(world, {20, 20}, {300, 300}, 1), (Slots{2, 3}));   // from a mine
  EXPECT_EQ(BoxSelection(world, {600, 100}, {100, 600}, 2), (Slots{6, 7}));  // from open ground
  EXPECT_EQ(BoxSelection(world, {600, 100}, {100, 600}, -1), Slots{});       // nobody's
  EXPECT_EQ(BoxSelection(world, {175, 175}, {175, 175}, 0), (Slots{3}));     // edges count
  EXPECT_EQ(MergedSelection({7, 3}, {3, 2, 400}), (Slots{2, 3, 7}));
}

TEST(SelectionCountLine, CountsLiveKindsInBothLanguages) {
  World world;
  SetUpScenario(world);
  Slots slots = {2, 3};
  for (int s = 10; s < 14; ++s) {
    world.entities[s] = world.entities[3];
    slots.push_back(s);
  }
  EXPECT_EQ(SelectionCountLine(world, slots, Language::kEnglish), "5 peasants, 1 main base");
  EXPECT_EQ(SelectionCountLine(world, slots, Language::kRussian), "5 крестьян, 1 главная база");
  EXPECT_EQ(SelectionCountLine(world, {3, 4, 6, 0, 50}, Language::kEnglish),
            "1 peasant, 2 main bases, 1 gold mine");
  EXPECT_EQ(SelectionCountLine(world, {3, 4, 6, 0, 1}, Language::kRussian),
            "1 крестьянин, 2 главные базы, 2 золотые шахты");
  for (int s = 10; s < 31; ++s) world.entities[s] = world.entities[3];
  Slots many;
  for (int s = 10; s < 31; ++s) many.push_back(s);
  EXPECT_EQ(SelectionCountLine(world, many, Language::kRussian), "21 крестьянин");
  EXPECT_EQ(SelectionCountLine(world, {50}, Language::kEnglish), "nothing selected");
}

TEST(PlayInputs, SelectionGroupsAndOrdersAreRecordedSavedAndReplayed) {
  std::ostringstream recording;
  Session game;
  Recorder recorder(recording);
  recorder.State(game);
  game.recorder = &recorder;
  SetComputerPlayers(game, {true, false, true});  // the player is side 2 (owner 1)
  ASSERT_EQ(PlayerSide(game), 1);

  SelectAll(game);
  EXPECT_EQ(SessionSelection(game), (Slots{2, 3}));
  EXPECT_EQ(game.world.view.selected, 2);  // the list shows the first
  StoreGroup(game, 4);
  // A select click elsewhere drops the set; the group brings it back, and a
  // second recall centres the view on it: (225, 225) in a 485 x 447 panel.
  SetCursor(game, 3, 10);  // side 2's peasant, slot 7
  Click(game);
  EXPECT_EQ(SessionSelection(game), (Slots{7}));
  RecallGroup(game, 4);
  EXPECT_EQ(SessionSelection(game), (Slots{2, 3}));
  RecallGroup(game, 4);
  EXPECT_EQ(game.world.view.cameraX, 17.5f);
  EXPECT_EQ(game.world.view.cameraY, -1.5f);
  // A right-click on the mine at (625, 625) under the pointer.
  SetMouse(game, 642, 623);
  RightClick(game);
  EXPECT_EQ(game.world.entities[3].order, "idtiza 1");
  TrainPeasants(game);
  SelectBox(game, {175, 525}, {0, 400}, true);  // Shift: side 2's peasant joins
  EXPECT_EQ(SessionSelection(game), (Slots{2, 3, 7}));
  SetScrollMargin(game, kNarrowScrollMargin);
  std::string error;
  for (int i = 0; i < 150; ++i) ASSERT_TRUE(StepFrame(game, nullptr, error));

  // Saved and loaded, the set and the group come back; preferences stay the
  // loading player's own.
  std::string text;
  ASSERT_TRUE(SavedGameText(game, text, error)) << error;
  EXPECT_NE(text.find("\nselection 2 3 7\ngroup 4 2 3\nedgescroll 16\n"), std::string::npos);
  Session loaded;
  ASSERT_TRUE(LoadSavedGameText(text, loaded, error)) << error;
  EXPECT_EQ(SessionSelection(loaded), (Slots{2, 3, 7}));
  EXPECT_EQ(loaded.play.groups[3], (Slots{2, 3}));
  EXPECT_EQ(loaded.inputs.scrollMargin, kScrollMargin);
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
  std::istringstream in(script);
  std::ostringstream errors;
  EXPECT_EQ(CheckScript(in, errors, ScriptOptions{}), 0) << errors.str();
}

}  // namespace
}  // namespace kragmoor
