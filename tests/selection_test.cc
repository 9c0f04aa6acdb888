// Several entities at once: box selection and its side, and the count line
// in both languages.
#include "game/selection.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

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

}  // namespace
}  // namespace kragmoor
