// Replays of recordings: seeking back and forth to the state the game had,
// a changed or cut recording told at its frame, bad files refused with their
// line, taking over; and the summary against figures counted apart.
#include "game/replay/replay.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "game/play.h"
#include "game/recorder.h"
#include "game/replay/summary.h"
#include "world/tigrok.h"

namespace kragmoor {
namespace {

// A game recorded as the window records it, and the state hash it had at
// every frame (before the frame after it), counted as it ran.
struct Recorded {
  std::string text;
  std::vector<uint64_t> hashes;  // index: frame
  Session end;
};

// `frames` frames of the computer players from seed 7, the player moving the
// camera and giving an order on the way.
Recorded RecordGame(int64_t frames, bool finish = true) {
  std::ostringstream out;
  Recorded game;
  Session session;
  StartNewGame(session, 7);
  Recorder recorder(out);
  recorder.State(session);
  const Front front{nullptr, nullptr, &recorder};
  std::string error;
  for (int64_t frame = 0;; ++frame) {
    if (frame == 300) Apply(session, CameraAt{40.0f, -12.5f}, front);
    if (frame == 301) Apply(session, Order{5, "idti 600,300"}, front);
    if (frame == 777) ApplyWithFrame(session, Resize{500, 460}, front, error);
    game.hashes.push_back(StateHash(session));
    if (frame >= frames) break;
    StepFrame(session, front, error);
  }
  if (finish) recorder.Finish(session);
  game.text = out.str();
  game.end = session;
  return game;
}

Replay Open(std::string text) {
  Recording recording;
  std::string error;
  EXPECT_TRUE(ReadRecording(std::move(text), recording, error)) << error;
  return Replay(std::move(recording));
}

TEST(Replay, SeeksForwardAndBackToTheStateOfEachFrame) {
  const Recorded game = RecordGame(3000);
  Replay replay = Open(game.text);
  ASSERT_EQ(replay.frames(), 3001);  // the resize ran a frame of its own
  // The resize's frame is one more than the timer's: the hashes counted
  // beside the game are one frame behind from there.
  const auto expected = [&game](int64_t frame) {
    return game.hashes[static_cast<size_t>(frame <= 777 ? frame : frame - 1)];
  };
  for (const int64_t frame : {0, 1, 299, 300, 302, 2999, 1250, 250, 3001, 776, 0, 1800}) {
    replay.Seek(frame);
    ASSERT_EQ(replay.frame(), frame);
    EXPECT_EQ(StateHash(replay.session()), expected(frame)) << "frame " << frame;
  }
  while (replay.Prepare(1000)) {
  }
  replay.Seek(2100);
  EXPECT_EQ(StateHash(replay.session()), expected(2100));
  replay.Step();
  EXPECT_EQ(StateHash(replay.session()), expected(2101));
  EXPECT_FALSE(replay.problem().has_value());
  EXPECT_EQ(replay.CutWords(), "");
  replay.Seek(3001);
  EXPECT_TRUE(replay.atEnd());
  EXPECT_EQ(StateHash(replay.session()), StateHash(game.end));
  // Taken over, the game plays on as the one recorded would.
  Session taken = replay.session();
  Session original = game.end;
  std::string error;
  for (int i = 0; i < 500; ++i) {
    StepFrame(taken, Front{}, error);
    StepFrame(original, Front{}, error);
  }
  EXPECT_EQ(StateHash(taken), StateHash(original));
}

TEST(Replay, AChangedByteOrACutIsToldAtItsFrame) {
  const Recorded game = RecordGame(1000);
  // A hash changed in the line for frame 600: everything before agrees.
  std::string text = game.text;
  const std::string mark = "#> hash " + std::string("");
  size_t at = 0;
  for (int hashes = 0; hashes < 7; ++hashes) at = text.find(mark, at + 1);
  text[at + mark.size()] = text[at + mark.size()] == '0' ? '1' : '0';
  Replay changed = Open(text);
  changed.Seek(599);
  EXPECT_FALSE(changed.problem().has_value());
  changed.Seek(1001);
  ASSERT_TRUE(changed.problem().has_value());
  EXPECT_EQ(changed.problem()->frame, 600);
  EXPECT_NE(changed.problem()->words.find("At frame 600 the game no longer matches"),
            std::string::npos)
      << changed.problem()->words;

  // A position changed at the start shows at the first hash, frame 0.
  text = game.text;
  at = text.find("set 5 x=");
  ASSERT_NE(at, std::string::npos);
  text.insert(at + 8, "1");
  Replay moved = Open(text);
  ASSERT_TRUE(moved.problem().has_value());
  EXPECT_EQ(moved.problem()->frame, 0);

  // Cut in the middle of a line: what it holds replays, and it says so.
  const Recorded cut = RecordGame(1000, false);
  Replay shorter = Open(cut.text.substr(0, cut.text.size() - 3));
  shorter.Seek(shorter.frames());
  EXPECT_FALSE(shorter.problem().has_value());
  EXPECT_EQ(shorter.frames(), 1000);
  EXPECT_NE(shorter.CutWords().find("ends at frame 1000"), std::string::npos);
}

TEST(Replay, FilesThatAreNoRecordingAreRefusedWithTheirLine) {
  const struct {
    std::string text;
    std::string error;
  } cases[] = {
      {"", "it is empty, not a recording"},
      {"# kragmoor save 1\nreset\n",
       "it is not a recording: its first line is not '# kragmoor recording 1'"},
      {"# kragmoor recording 1\nreset\nstep x\n", "line 3: 'x' is not a valid number"},
      {"# kragmoor recording 1\nload a.save\n", "line 2: 'load' is no command a recording holds"},
      {"# kragmoor recording 1\nset 300 x=1\n", "line 2: "},
      {"# kragmoor recording 1\n" + std::string(2 << 20, 'a') + "\n",
       "line 2: the line is longer than 1048576 bytes"},
  };
  for (const auto& c : cases) {
    Recording recording;
    std::string error;
    EXPECT_FALSE(ReadRecording(c.text, recording, error));
    EXPECT_TRUE(error.starts_with(c.error)) << error;
  }
}

TEST(Summary, CountsWhatTheGameDid) {
  // Computer players off. Side 1's peasant (slot 5) is sent to mine 1;
  // side 2's peasant with 3 hp beside a base of side 1 dies there.
  std::ostringstream out;
  Session session;
  Recorder recorder(out);
  const Front front{nullptr, nullptr, &recorder};
  Apply(session, ComputerPlayers{{false, false, false}});
  SetSlot base{20, kAllFields, {}};
  base.values = Tigrok{1000.0f, 1100.0f, 200.0f, 200.0f, "", "", 0, 0, 0, kKindBase, 0};
  Apply(session, base);
  SetSlot doomed = base;
  doomed.slot = 21;
  doomed.values = Tigrok{1050.0f, 1100.0f, 3.0f, 100.0f, "", "", 0, 0, 1, kKindPeasant, 0};
  Apply(session, doomed);
  recorder.State(session);
  std::string error;
  for (int frame = 0; frame < 2000; ++frame) {
    if (frame == 10) Apply(session, Order{5, "idtiza 1"}, front);
    if (frame == 11) Apply(session, Order{1, "idti 5,5"}, front);  // a mine: no side's order
    StepFrame(session, front, error);
  }
  recorder.Finish(session);

  Replay replay = Open(out.str());
  const std::string csv = SummaryCsv(Summarize(replay, 5000));
  // Counted apart: the purse and the mine's stock as the game left them,
  // the death and the one order known from the set-up.
  const World& w = session.world;
  ASSERT_FALSE(IsLive(w.entities[21]));
  const int mined = kMineStock - w.entities[1].gold;
  ASSERT_GT(mined, 0);
  EXPECT_EQ(csv,
            "frame,side,gold,mined,peasants,bases,lost,killed,orders\n"
            "0,1,0,0,1,2,0,0,0\n"
            "0,2,0,0,2,1,0,0,0\n"
            "0,3,0,0,1,1,0,0,0\n"
            "2000,1," +
                std::to_string(w.players[0].gold) + "," + std::to_string(mined) +
                ",1,2,0,1,1\n"
                "2000,2,0,0,1,1,1,0,0\n"
                "2000,3,0,0,1,1,0,0,0\n");
  EXPECT_GT(w.players[0].gold, 0);
}

}  // namespace
}  // namespace kragmoor
