// The game's inputs: one type, and one table that names, parses, formats
// and applies each of them. The window, the runner's scripts, recordings
// and saved games all go through this table, so a new input is one struct,
// one entry in game/input.cc and its test.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "game/session.h"
#include "game/words.h"
#include "world/tigrok_fields.h"

namespace kragmoor {

// Inputs a player gives (each is also written when a recording runs).
struct MouseAt {
  int32_t x = 0, y = 0;
};  // mouse X Y: panel pixels, y upwards
struct MouseMove {
  int32_t x = 0, y = 0;
};  // move X Y: as the toolkit reports it, y downwards
struct CameraAt {
  float x = 0.0f, y = 0.0f;
};  // camera X Y
struct CursorAt {
  int32_t column = 0, row = 0;
};  // cursor C R, as a frame would store it
struct ClickMode {
  int32_t mode = 0;
};  // mode M
struct BuildItem {
  int32_t item = 0;
};  // build K
struct ComputerPlayers {
  std::array<bool, kSideCount> checked{};
};  // ai B0 B1 B2
struct PanelSize {
  int32_t width = 0, height = 0;
};  // panel W H
struct Resize {
  int32_t width = 0, height = 0;
};                // resize W H: the size, then one frame step
struct Click {};  // click
struct Order {
  int32_t slot = 0;
  std::string text;  // no double quote, no line end: it is written quoted
};  // order SLOT "TEXT": one entity's order (right-click, key and group orders, bots)
struct Levels {
  std::array<int32_t, kSideCount> level{3, 3, 3};
};  // level L0 L1 L2: the computer players' levels, 1 to 3
struct SelectionSet {
  std::vector<int32_t> members;  // slots
};  // selection S ...: the selection set, its first slot the one selected
struct Group {
  int32_t group = 1;
  std::vector<int32_t> members;  // slots
};                               // group G S ...: group G (1 to 9) stored
struct EdgeScroll {
  int32_t margin = 0;
};  // edgescroll W: the edge-scroll width, pixels; 0 for none
struct KeepView {
  bool keep = false;
};  // keepview B: hold the view's centre over the field
struct OwnSide {
  int32_t side = -1;
};  // side N: the player's own side, 0 to 2; -1 for none chosen

// Commands that set state outright, as saved games write it.
struct Select {
  int32_t slot = -1;
};  // select N
struct Seed {
  uint32_t seed = 0;
};  // seed S
struct Gold {
  int32_t side = 0, value = 0;
};  // gold SIDE VALUE
struct SetSlot {
  int32_t slot = 0;
  FieldMask fields = 0;
  Tigrok values;
};                       // set SLOT F=V ...
struct SelectedGone {};  // gone: the selected entity has gone (PlayerView::selectedGone)
struct Tick {
  uint32_t value = 0;
};                   // tick T
struct Reset {};     // reset
struct Scenario {};  // scenario

using Input =
    std::variant<MouseAt, MouseMove, CameraAt, CursorAt, ClickMode, BuildItem, ComputerPlayers,
                 PanelSize, Resize, Click, Select, Seed, Gold, SetSlot, Tick, Reset, Scenario,
                 Order, Levels, SelectionSet, Group, EdgeScroll, KeepView, OwnSide, SelectedGone>;

// One entry of the input table.
struct InputEntry {
  std::string_view command;  // the script command's name
  size_t minWords;           // including the command itself
  size_t maxWords;
  bool setsState;                      // sets state and nothing else: a saved game may hold it
  bool runsFrame;                      // Apply runs one frame step after the change (resize)
  Input (*parse)(const Words& words);  // throws ScriptError
  void (*format)(const Input& input, std::string& out);  // the words after the name
  void (*change)(Session& session, const Input& input);  // the change alone, no frame
};

// The entry of `input`'s kind.
const InputEntry& EntryOf(const Input& input);

// The entry named `command`, or null.
const InputEntry* FindInput(std::string_view command);

// The input that a script line's words give. Throws ScriptError when the
// words do not fit the entry ("wrong number of words for 'X'", bad values).
Input ParseInput(const InputEntry& entry, const Words& words);

// The script command of `input`, without a line end: "mouse 10 20".
std::string FormatInput(const Input& input);

}  // namespace kragmoor
