// The input table: every input reads back from the command it is written
// as, saved games hold exactly the inputs that set state, and Apply writes
// each input to the recorder as its command.
#include "game/input.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "game/play.h"
#include "game/recorder.h"

namespace kragmoor {
namespace {

// One input of every kind, with values off their defaults.
std::vector<Input> EveryInput() {
  Tigrok values;
  values.x = -12.5f;
  values.order = "idti 1,2";
  values.gold = 7;
  return {MouseAt{10, -20},
          MouseMove{3, 4},
          CameraAt{-12.5f, 1e30f},
          CursorAt{-1, 2},
          ClickMode{4},
          BuildItem{1},
          ComputerPlayers{{true, false, true}},
          PanelSize{300, 200},
          Resize{640, 480},
          Click{},
          Select{299},
          Seed{4294967295u},
          Gold{2, -5},
          SetSlot{17, 0b10000010001, values},
          Tick{77},
          Reset{},
          Scenario{},
          Order{7, "stroit 0,10,20"},
          Levels{{1, 2, 3}},
          SelectionSet{{4, 2}},
          Group{9, {}},
          EdgeScroll{16},
          KeepView{true},
          OwnSide{2},
          SelectedGone{}};
}

TEST(InputTable, EveryInputReadsBackFromItsCommand) {
  const std::vector<Input> inputs = EveryInput();
  ASSERT_EQ(inputs.size(), std::variant_size_v<Input>);
  for (size_t i = 0; i < inputs.size(); ++i) EXPECT_EQ(inputs[i].index(), i);
  for (const Input& input : inputs) {
    const std::string command = FormatInput(input);
    const Words words = Split(command);
    const InputEntry* entry = FindInput(words[0]);
    ASSERT_NE(entry, nullptr) << command;
    EXPECT_EQ(entry, &EntryOf(input)) << command;
    const Input back = ParseInput(*entry, words);
    EXPECT_EQ(back.index(), input.index()) << command;
    EXPECT_EQ(FormatInput(back), command);
  }
  EXPECT_EQ(FormatInput(SetSlot{17, 0b10000010001, Tigrok{}}), "set 17 x=0 order=\"\" gold=0");
  EXPECT_EQ(FormatInput(ComputerPlayers{{true, false, true}}), "ai 1 0 1");
  EXPECT_EQ(FormatInput(Order{7, "stroit 0,10,20"}), "order 7 \"stroit 0,10,20\"");
  EXPECT_EQ(FormatInput(Group{9, {}}), "group 9");
  EXPECT_EQ(FormatInput(SelectionSet{}), "selection");
  EXPECT_THROW(ParseInput(*FindInput("mouse"), Split("mouse 1")), ScriptError);
  EXPECT_EQ(FindInput("step"), nullptr);  // the runner's own, not an input
}

TEST(InputTable, OnlyClickAndResizeDoMoreThanSetState) {
  for (const Input& input : EveryInput()) {
    const InputEntry& entry = EntryOf(input);
    const bool more = entry.command == "click" || entry.command == "resize";
    EXPECT_EQ(entry.setsState, !more) << entry.command;
    EXPECT_EQ(entry.runsFrame, entry.command == "resize") << entry.command;
  }
}

TEST(Apply, WritesEveryInputToTheRecorderAsItsCommand) {
  std::ostringstream out;
  Recorder recorder(out);
  Session session;
  std::string error;
  const Front front{nullptr, nullptr, &recorder};
  Apply(session, MouseMove{10, 47}, front);
  EXPECT_EQ(session.player.view.mouseY, 400);  // 447 - 47: y counted upwards
  ASSERT_TRUE(ApplyWithFrame(session, Resize{300, 200}, front, error));  // and its frame
  ASSERT_TRUE(StepFrame(session, front, error));
  Apply(session, Click{}, front);
  EXPECT_EQ(out.str(),
            std::string(kRecordingHeader) + "\nmove 10 47\nresize 300 200\nstep 1\nclick\n");
  // A copy is a game of its own.
  Session copy = session;
  Apply(copy, Seed{9});
  EXPECT_NE(copy.world.seed, session.world.seed);
}

}  // namespace
}  // namespace kragmoor
