// The game watch fed by hand-made worlds: sides going out and the winner,
// the alerts and their spacing, the summaries and the standstill.
#include "game/text/game_watch.h"

#include <gtest/gtest.h>

#include <vector>

namespace kragmoor {
namespace {

constexpr std::array<bool, kSideCount> kAllComputer = {true, true, true};
constexpr std::array<bool, kSideCount> kPlayerIsSide2 = {true, false, true};  // owner 1

World Scenario() {
  World world;
  SetUpScenario(world);
  return world;
}

std::vector<EventKind> Kinds(const std::vector<GameEvent>& events) {
  std::vector<EventKind> kinds;
  for (const GameEvent& e : events) kinds.push_back(e.kind);
  return kinds;
}

TEST(GameWatch, SidesGoOutAndTheLastOneLeftWins) {
  World world = Scenario();
  GameWatch watch;
  watch.Observe(world, 0, kAllComputer);
  world.entities[6].hp = 0;  // side 3 (owner 2) loses its base and peasant
  world.entities[7].hp = 0;
  watch.Observe(world, 1, kAllComputer);
  ASSERT_EQ(watch.events().size(), 1u);
  EXPECT_EQ(EventText(watch.events()[0], Language::kEnglish), "Side 3 is out");
  EXPECT_EQ(EventText(watch.events()[0], Language::kRussian), "Сторона 3 выбыла");
  EXPECT_FALSE(watch.over());
  world.entities[4].hp = 0;
  world.entities[5].hp = 0;
  watch.Observe(world, 2, kAllComputer);
  EXPECT_TRUE(watch.over());
  EXPECT_EQ(watch.winner(), 1);
  EXPECT_EQ(EventText(watch.TakeEvents().back(), Language::kEnglish), "Side 2 won");
  EXPECT_EQ(watch.summaries()[2].entitiesLost, 2);
  EXPECT_EQ(watch.summaries()[2].outAtFrame, 1);
  EXPECT_TRUE(watch.events().empty());

  // The player's only side out, two computer sides left: over, no winner.
  GameWatch lost;
  World other = Scenario();
  lost.Observe(other, 0, kPlayerIsSide2);
  other.entities[2].hp = 0;
  other.entities[3].hp = 0;
  lost.Observe(other, 5, kPlayerIsSide2);
  EXPECT_TRUE(lost.over());
  EXPECT_EQ(lost.winner(), -1);
  EXPECT_EQ(EventText(lost.events().back(), Language::kEnglish), "Game over: no winner");
}

TEST(GameWatch, AlertsForThePlayersBaseAtMostEveryTenSeconds) {
  World world = Scenario();
  GameWatch watch;
  watch.Observe(world, 0, kPlayerIsSide2);
  for (int64_t frame = 1; frame <= 1001; ++frame) {
    world.entities[2].hp -= 0.1f;  // the player's base
    world.entities[6].hp -= 0.1f;  // a computer side's base: no alert
    watch.Observe(world, frame, kPlayerIsSide2);
  }
  const std::vector<GameEvent> events = watch.TakeEvents();
  ASSERT_EQ(Kinds(events),
            (std::vector<EventKind>{EventKind::kBaseUnderAttack, EventKind::kBaseUnderAttack}));
  EXPECT_EQ(events[0].frame, 1);
  EXPECT_EQ(events[1].frame, 1001);
  EXPECT_EQ(EventText(events[0], Language::kEnglish), "Your base is under attack");
  EXPECT_EQ(EventText(events[0], Language::kRussian), "Ваша база атакована");
}

TEST(GameWatch, TellsThePlayersLossesHurtsAndIdlePeasantsAtABoundedRate) {
  World world = Scenario();
  world.entities[3].order = "idtiza 0";  // the player's peasant, busy
  world.entities[7].order = "idtiza 0";  // a computer side's peasant
  GameWatch watch;
  watch.Observe(world, 0, kPlayerIsSide2);
  for (int64_t frame = 1; frame <= kPeasantAlertFrames; ++frame) {
    world.entities[3].hp -= 0.1f;
    world.entities[7].hp -= 0.1f;
    watch.Observe(world, frame, kPlayerIsSide2);
  }
  world.entities[3].order = "idle";
  world.entities[7].order = "idle";
  watch.Observe(world, kPeasantAlertFrames + 1, kPlayerIsSide2);
  world.entities[3].hp = 0;  // the player's peasant and base die
  world.entities[2].hp = 0;
  world.entities[7].hp = 0;
  watch.Observe(world, kPeasantAlertFrames + 2, kPlayerIsSide2);
  const std::vector<GameEvent> events = watch.TakeEvents();
  ASSERT_EQ(Kinds(events),
            (std::vector<EventKind>{EventKind::kPeasantUnderAttack, EventKind::kPeasantIdle,
                                    EventKind::kBaseDestroyed, EventKind::kPeasantLost,
                                    EventKind::kSideOut, EventKind::kGameOver}));
  EXPECT_EQ(events[0].frame, 1);  // the next hurt would be told at kPeasantAlertFrames + 1
  EXPECT_EQ(events[0].x, world.entities[3].x);
  EXPECT_EQ(events[0].y, world.entities[3].y);
  EXPECT_EQ(EventText(events[0], Language::kEnglish), "Your peasant 3 is under attack");
  EXPECT_EQ(EventText(events[1], Language::kRussian), "Крестьянин 3 без дела");
  EXPECT_EQ(EventText(events[2], Language::kEnglish), "Your base 2 was destroyed");
  EXPECT_EQ(EventText(events[3], Language::kRussian), "Ваш крестьянин 3 погиб");
}

TEST(GameWatch, CountsMinedTrainedAndBuiltAndSeesAnEmptyMine) {
  World world = Scenario();
  GameWatch watch;
  watch.Observe(world, 0, kPlayerIsSide2);
  world.entities[3].gold = 10;             // taken from a mine
  world.entities[7].gold = 1;              // the computer player's go-home mark: not mined
  world.entities[20] = world.entities[3];  // trained by the player's side
  world.entities[21] = world.entities[6];  // a base built by side 3
  world.entities[1].gold = 5;              // below what a mine gives
  watch.Observe(world, 1, kPlayerIsSide2);
  EXPECT_EQ(watch.summaries()[1].goldMined, 10);
  EXPECT_EQ(watch.summaries()[2].goldMined, 0);
  EXPECT_EQ(watch.summaries()[1].peasantsTrained, 1);
  EXPECT_EQ(watch.summaries()[2].basesBuilt, 1);
  const std::vector<GameEvent> events = watch.TakeEvents();
  ASSERT_EQ(Kinds(events),
            (std::vector<EventKind>{EventKind::kMineEmpty, EventKind::kPeasantTrained}));
  EXPECT_EQ(EventText(events[0], Language::kEnglish), "Gold mine 1 is empty");
  EXPECT_EQ(EventText(events[1], Language::kRussian), "Обучен крестьянин 20");
  watch.Observe(world, 2, kPlayerIsSide2);
  EXPECT_TRUE(watch.events().empty());  // said once
  EXPECT_EQ(SummaryText(watch.summaries()[1], 1, 12345, Language::kEnglish),
            "Side 2: gold mined 10, peasants trained 1, bases built 0, entities lost 0, "
            "time 2:03");
  EXPECT_EQ(SummaryText(watch.summaries()[1], 1, 12345, Language::kRussian),
            "Сторона 2: добыто золота 10, обучено крестьян 1, построено баз 0, потеряно 0, "
            "время 2:03");
}

TEST(GameWatch, StandstillAfterFiveMinutesWithNothingMinedSpentOrHurt) {
  World world = Scenario();
  GameWatch watch;
  watch.Observe(world, 0, kAllComputer);
  world.players[0].gold = 50;  // a purse that grows is no activity
  watch.Observe(world, kStandstillFrames - 1, kAllComputer);
  EXPECT_FALSE(watch.standstill());
  watch.Observe(world, kStandstillFrames, kAllComputer);
  EXPECT_TRUE(watch.standstill());
  world.players[0].gold = 40;  // spent
  watch.Observe(world, kStandstillFrames + 1, kAllComputer);
  EXPECT_FALSE(watch.standstill());
  world.entities[5].hp -= 1;  // hurt
  watch.Observe(world, 2 * kStandstillFrames, kAllComputer);
  EXPECT_FALSE(watch.standstill());
}

}  // namespace
}  // namespace kragmoor
