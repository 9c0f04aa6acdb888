// The player's own orders through the driver: a selected unit that dies and
// whose slot an enemy's new unit takes is no longer selected, grouped or
// ordered; group clicks carry the click's order to every selected unit, one
// `order` line each, and the recording replays under check; Home and the
// idle-peasant key; a rush on one mine keeps mining.
#include <gtest/gtest.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "game/driver.h"
#include "game/mine_spread.h"
#include "game/picking.h"
#include "game/play.h"
#include "game/play_inputs.h"
#include "game/selection.h"
#include "game/start_view.h"
#include "tests/driver_recording.h"

namespace kragmoor {
namespace {

constexpr FieldSize kField{485, 447};  // the play field at start; the camera stays at 0,0
using Slots = std::vector<int32_t>;

// Panel pixel of field point (x, y) with the camera at 0,0, y counted downwards.
int32_t Px(double x) { return static_cast<int32_t>(x); }
int32_t Py(double y) { return kField.height - static_cast<int32_t>(y); }

Tigrok PeasantAt(const Tigrok& model, float x, float y) {
  Tigrok t = model;
  t.x = x;
  t.y = y;
  return t;
}

TEST(OwnOrdersTest, ADeadUnitsSlotTakenByAnEnemyIsNeitherSelectedNorOrdered) {
  const std::string path =
      testing::TempDir() + "own_orders_test_" + std::to_string(getpid()) + ".sim";
  FixedTicks clock;
  GameDriver driver(777, clock);
  driver.SetComputerPlayers({true, false, false});  // the player is side 2 (owner 1)
  World& w = driver.world();
  const Tigrok peasant = w.entities[3];
  // Own peasant 9 on its last health, and enemy peasant 7 beside it hitting
  // it; enemy base 12, after 7 in the order pass, finishes a peasant right
  // where 9 stands. In one frame 9 dies and the enemy's new peasant takes
  // slot 9, the lowest free one.
  w.entities[9] = PeasantAt(peasant, 350, 200);
  w.entities[9].hp = 1;
  w.entities[10] = PeasantAt(peasant, 150, 250);
  w.entities[11] = PeasantAt(peasant, 200, 250);
  w.entities[7].x = 370;
  w.entities[7].y = 200;
  w.entities[7].order = "atakovat 9";
  w.entities[12] = w.entities[6];
  w.entities[12].x = 420;
  w.entities[12].y = 330;
  w.entities[12].order = "stroit 1,325,175";
  w.entities[12].progress = 9;
  w.entities[12].plan = 10;
  w.players[2].gold = 5;
  w.players[1].gold = 500;

  std::string error;
  ASSERT_TRUE(driver.StartRecording(path, kField, error)) << error;
  driver.TogglePause();  // no frame runs but the one below
  driver.SelectAll();
  EXPECT_EQ(SessionSelection(driver.session()), (Slots{2, 3, 9, 10, 11}));
  driver.StoreGroup(1);
  driver.SelectBox(kField, Px(330), Py(180), Px(360), Py(220), false);
  EXPECT_EQ(SessionSelection(driver.session()), (Slots{9}));
  driver.StoreGroup(2);

  driver.TogglePause();
  driver.TimerFired(kField, nullptr);
  driver.TogglePause();
  ASSERT_TRUE(IsLive(w.entities[9]));
  ASSERT_EQ(w.entities[9].owner, 2);  // the enemy's new peasant
  const std::string enemyOrder = w.entities[9].order;

  // Alone selected: the view still names slot 9, as designed, but nothing
  // the player adds reaches it.
  EXPECT_EQ(driver.session().player.view.selected, 9);
  EXPECT_EQ(SessionSelection(driver.session()), Slots{});
  EXPECT_EQ(driver.session().player.groups[1], Slots{});
  EXPECT_EQ(driver.session().player.groups[0], (Slots{2, 3, 10, 11}));
  driver.RightClick(kField, Px(100), Py(400));
  driver.TrainPeasants();
  driver.ArmBaseBuild();
  driver.PointerMoved(kField, Px(100), Py(400));
  driver.Click();
  driver.RecallGroup(2);
  driver.RightClick(kField, Px(100), Py(400));
  EXPECT_EQ(w.entities[9].order, enemyOrder);

  // The group: its own live units only.
  driver.RecallGroup(1);
  EXPECT_EQ(SessionSelection(driver.session()), (Slots{2, 3, 10, 11}));
  driver.RightClick(kField, Px(100), Py(400));
  EXPECT_EQ(w.entities[9].order, enemyOrder);
  EXPECT_EQ(w.entities[10].order, "idti 125,425");

  // Group clicks: 10 selected first gets the design's click, 11 the same
  // order as an input of its own.
  driver.SelectBox(kField, Px(130), Py(235), Px(220), Py(265), false);
  ASSERT_EQ(SessionSelection(driver.session()), (Slots{10, 11}));
  const auto clickAt = [&](int mode, double x, double y) {
    driver.ChooseClickMode(mode);
    driver.PointerMoved(kField, Px(x), Py(y));
    driver.Click();
  };
  clickAt(kModeGo, 300, 350);
  EXPECT_EQ(w.entities[10].order, "idti 325,375");
  clickAt(kModeAttack, 370, 200);
  EXPECT_EQ(w.entities[10].order, "atakovat 7");
  driver.ChooseBuildItem(1);
  clickAt(kModeBuild, 300, 350);
  EXPECT_EQ(w.entities[10].order, "stroit 1,300,350");
  EXPECT_EQ(w.entities[11].order, "stroit 1,300,350");
  EXPECT_EQ(w.entities[11].plan, 10);
  driver.TogglePause();
  for (int i = 0; i < 50; ++i) driver.TimerFired(kField, nullptr);
  ASSERT_TRUE(driver.StopRecording(error)) << error;

  const std::string text = RecordingText(path);
  for (const char* lines :
       {"\nclick\norder 11 \"idti 325,375\"\n", "\nclick\norder 11 \"atakovat 7\"\n",
        "\nclick\norder 11 \"stroit 1,300,350\"\n"}) {
    EXPECT_NE(text.find(lines), std::string::npos) << lines;
  }
  EXPECT_EQ(text.find("\norder 9 "), std::string::npos);
  ExpectReplays(text);
  unlink(path.c_str());
}

TEST(OwnOrdersTest, HomeShowsTheOwnBaseAndTheIdleKeyGoesRoundTheIdlePeasants) {
  FixedTicks clock;
  GameDriver driver(777, clock);
  driver.SetComputerPlayers({true, false, true});  // the player is side 2 (owner 1)
  World& w = driver.world();
  w.entities[10] = PeasantAt(w.entities[3], 400, 100);
  w.entities[10].order = "idle";
  w.entities[11] = PeasantAt(w.entities[3], 300, 100);
  w.entities[11].order = "idti 25,25";  // busy
  driver.MoveCamera(-600.0f, 0.0f);
  driver.HomeCamera();
  const CameraOffset home = CameraCentredOn({275, 275}, kField.width, kField.height);
  EXPECT_EQ(driver.session().player.view.cameraX, home.x);
  EXPECT_EQ(driver.session().player.view.cameraY, home.y);

  Slots seen;
  for (int i = 0; i < 3; ++i) {
    driver.NextIdlePeasant();
    seen.push_back(driver.session().player.view.selected);
  }
  EXPECT_EQ(seen, (Slots{3, 10, 3}));
  const CameraOffset onPeasant = CameraCentredOn({175, 175}, kField.width, kField.height);
  EXPECT_EQ(driver.session().player.view.cameraX, onPeasant.x);
}

// The side chosen (the start dialog, --side) is the player's whatever other
// boxes are off; with none chosen the lowest unticked box is, as before.
// The recording holds the choice and replays.
TEST(OwnOrdersTest, TheChosenSideIsThePlayersWhateverBoxesAreOff) {
  const std::string path =
      testing::TempDir() + "own_side_test_" + std::to_string(getpid()) + ".sim";
  FixedTicks clock;
  GameDriver driver(777, clock);
  driver.SetComputerPlayers({false, true, false});
  EXPECT_EQ(PlayerSide(driver.session()), 0);
  std::string error;
  ASSERT_TRUE(driver.StartRecording(path, kField, error)) << error;
  driver.TogglePause();
  driver.ChooseSide(2);
  EXPECT_EQ(PlayerSide(driver.session()), 2);
  driver.SelectAll();
  const Slots own = SessionSelection(driver.session());
  EXPECT_EQ(own, SideEntities(driver.world(), 2));
  ASSERT_FALSE(own.empty());
  driver.RightClick(kField, Px(100), Py(400));
  const World& w = driver.world();
  for (int slot = 0; slot < kSlotCount; ++slot) {
    const bool ordered = w.entities[slot].order.starts_with("idti ");
    EXPECT_EQ(ordered, w.entities[slot].kind == kKindPeasant && w.entities[slot].owner == 2)
        << "slot " << slot;
  }
  driver.ChooseSide(-1);
  EXPECT_EQ(PlayerSide(driver.session()), 0);
  ASSERT_TRUE(driver.StopRecording(error)) << error;
  const std::string text = RecordingText(path);
  EXPECT_NE(text.find("\nside 2\n"), std::string::npos);
  ExpectReplays(text);
  unlink(path.c_str());
}

// 46 peasants sent to one mine: spread, at most 6 a mine, they keep mining.
TEST(OwnOrdersTest, ARushOnOneMineIsSpreadAndKeepsMining) {
  Session session;
  Apply(session, ComputerPlayers{{true, false, true}});
  for (const int other : {4, 5, 6, 7}) session.world.entities[other].hp = 0;  // no fights
  Slots rush;
  for (int i = 0; i < 46; ++i) {
    const int slot = 9 + i;
    session.world.entities[slot] =
        PeasantAt(session.world.entities[3], 100.0f + 10.0f * (i % 10), 150.0f + 10.0f * (i / 10));
    rush.push_back(slot);
  }
  const FieldPoint mine{25, 25};
  const std::vector<PlayerOrder> orders = RightClickOrders(session.world, rush, mine, 1);
  int perMine[3] = {0, 0, 0};  // slots 0, 1 and 8
  for (const PlayerOrder& o : orders) {
    if (o.text == "idtiza 0") ++perMine[0];
    if (o.text == "idtiza 1") ++perMine[1];
    if (o.text == "idtiza 8") ++perMine[2];
  }
  EXPECT_EQ(orders.size(), 18u);
  EXPECT_EQ(perMine[0], kPeasantsPerMine);
  EXPECT_EQ(perMine[1], kPeasantsPerMine);
  EXPECT_EQ(perMine[2], kPeasantsPerMine);
  // Those already working a mine count against its room.
  session.world.entities[3].order = "idtiza 0";
  EXPECT_EQ(MineOrders(session.world, 1, {9}, 0), (std::vector<PlayerOrder>{{9, "idtiza 0"}}));
  for (int slot = 10; slot < 15; ++slot) session.world.entities[slot].order = "idtiza 0";
  EXPECT_EQ(MineOrders(session.world, 1, {9}, 0), (std::vector<PlayerOrder>{{9, "idtiza 8"}}));
  session.world.entities[3].order.clear();
  for (int slot = 10; slot < 15; ++slot) session.world.entities[slot].order.clear();

  GiveOrders(session, orders, Front{});
  std::string error;
  for (int frame = 0; frame < 3000; ++frame) ASSERT_TRUE(StepFrame(session, Front{}, error));
  EXPECT_GT(session.world.players[1].gold, 300);
}

}  // namespace
}  // namespace kragmoor
