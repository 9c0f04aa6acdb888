// A bot in a game that never waits for it (the window's way): its orders
// arrive as `order` inputs between frames, and a bot that stops answering is
// ended while every frame goes on without waiting.
#include "game/bots/bot_seat.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <unistd.h>

#include <fstream>
#include <thread>

#include "game/play.h"
#include "game/session.h"

namespace kragmoor {
namespace {

// Runs frames, a millisecond apart, until `done` or ten seconds have passed.
template <typename Done>
int64_t PlayUntil(BotSeat& seat, Session& session, int64_t frame, Done done) {
  for (int i = 0; i < 10000 && !done(); ++i, ++frame) {
    seat.BeforeFrame(session, Front{}, frame);
    std::string error;
    StepFrame(session, Front{}, error);
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  return frame;
}

TEST(BotSeat, OrdersArriveBetweenFramesAndAStuckBotIsEnded) {
  Session session;
  session.computerPlayer = {false, false, false};
  BotSeat seat;
  std::string error;
  // Side 0's peasant (slot 5) is sent towards 300,300, at every turn for
  // three turns; then the bot reads on but never answers again.
  ASSERT_TRUE(seat.Start(
      "read l; echo '{\"type\":\"ready\",\"name\":\"walker\"}'; for k in 1 2 3; do read l; "
      "echo '{\"type\":\"orders\",\"orders\":[{\"slot\":5,\"do\":\"go\",\"x\":300,\"y\":300}]}'; "
      "done; cat >/dev/null",
      0, BotTiming{5, 20, 30}, 0, error))
      << error;
  EXPECT_EQ(seat.status(), "starting");
  int64_t frame = PlayUntil(seat, session, 0, [&] { return seat.status() != "starting"; });
  EXPECT_EQ(seat.status(), "ok");
  EXPECT_EQ(seat.name(), "walker");
  PlayUntil(seat, session, frame, [&] { return !seat.playing(); });
  EXPECT_EQ(seat.status(), "timeout");
  EXPECT_GE(seat.lateMs(), 30) << "the whole pool is spent";
  EXPECT_EQ(session.world.entities[5].order, "idti 300,300");
}

// A bot that exits while a process it left in a session of its own still
// holds its standard output: it is `exited` as soon as it has gone, not
// when its time is up, and what it left is ended with it.
TEST(BotSeat, ABotThatExitsIsEndedWithWhatItLeft) {
  Session session;
  session.computerPlayer = {false, false, false};
  const std::string pidFile = testing::TempDir() + "bot_seat_orphan_" + std::to_string(getpid());
  BotSeat seat;
  std::string error;
  ASSERT_TRUE(seat.Start("f=" + pidFile +
                             "; setsid sh -c 'echo $$ >\"$0\"; exec sleep 60' \"$f\" & "
                             "while [ ! -s \"$f\" ]; do sleep 0.01; done; read l; "
                             "echo '{\"type\":\"ready\",\"name\":\"o\"}'; read l; exit 3",
                         0, BotTiming{1, 20, 60000}, 0, error))
      << error;
  PlayUntil(seat, session, 0, [&] { return !seat.playing(); });
  EXPECT_EQ(seat.status(), "exited");
  std::ifstream file(pidFile);
  pid_t orphan = 0;
  ASSERT_TRUE(file >> orphan);
  EXPECT_NE(kill(orphan, 0), 0) << "the process the bot left still runs";
  unlink(pidFile.c_str());
}

// The turn messages name the bot's entities whose order the rules changed:
// side 0's peasant (slot 5) next to side 1's (slot 3) is set on it by the
// aggression rule in the first frame, and is listed once, in the next turn.
TEST(BotSeat, TurnsListTheOrdersTheRulesChanged) {
  Session session;
  session.computerPlayer = {false, false, false};
  Tigrok& enemy = session.world.entities[3];
  enemy.x = session.world.entities[5].x - 60;  // out of base 4's range
  enemy.y = session.world.entities[5].y;
  std::vector<std::string> seen;
  BotSeat seat;
  seat.onErrorLine = [&seen](std::string_view line) { seen.emplace_back(line); };
  std::string error;
  ASSERT_TRUE(
      seat.Start("while read -r l; do printf '%s\\n' \"$l\" >&2; case $l in *start*) "
                 "echo '{\"type\":\"ready\"}';; *) echo '{\"type\":\"orders\","
                 "\"orders\":[]}';; esac; done",
                 0, BotTiming{1, 1000, 60000, 7}, 0, error))
      << error;
  // Ready before the first frame, so that the first turn sees the orders
  // as they were.
  for (int i = 0; i < 10000 && seat.status() == "starting"; ++i) {
    seat.Poll();
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  PlayUntil(seat, session, 0, [&] { return seen.size() >= 4; });
  ASSERT_GE(seen.size(), 4u);
  EXPECT_NE(seen[0].find("\"seed\":7}"), std::string::npos) << seen[0];
  EXPECT_NE(seen[1].find("\"changed\":[],"), std::string::npos) << seen[1];
  EXPECT_NE(seen[2].find("\"changed\":[{\"slot\":5,\"order\":\"atakovat 3\"}],"), std::string::npos)
      << seen[2];
  EXPECT_NE(seen[3].find("\"changed\":[],"), std::string::npos) << seen[3];
  seat.Stop();
}

}  // namespace
}  // namespace kragmoor
