// A game session: the world plus everything the window holds besides it
// (check boxes, panel size, radio items, tick count), and the inputs that
// change it. The window and the script commands both go through these
// functions, so that a recording of the window replays exactly.
#pragma once

#include <array>
#include <cstdint>
#include <ostream>
#include <string>
#include <string_view>

#include "game/play_state.h"
#include "render/gl.h"
#include "sim/frame_step.h"
#include "world/tigrok.h"

namespace kragmoor {

class Recorder;

// A tick count that stays at whatever it was last set to.
class FixedTicks final : public TickSource {
 public:
  uint32_t GetTickCount() override { return value; }
  uint32_t value = 0;
};

struct Session {
  // The game's state right after start-up: the initial scenario written,
  // purses 0, seed 0, boxes ticked, panel 485 x 447, radio items 0, tick 0.
  Session();
  Session(const Session&) = delete;
  Session& operator=(const Session&) = delete;

  World world;
  FrameInputs inputs;  // check boxes and panel size; ticks points at `ticks`
  FixedTicks ticks;
  int32_t clickMode = 0;  // item of the click-mode radio group
  int32_t buildItem = 0;  // item of the build radio group
  PlayState play;         // selection set and groups (game/play_inputs.h)
  // When set, every input and frame step below is also written to it as
  // the script command that does the same.
  Recorder* recorder = nullptr;
};

// Replaces the game of `to` with that of `from`: the world, the boxes, the
// panel size, the radio items, the tick count, the selection set and groups
// (a load). The recorder, the tick source and the player's view preferences
// stay; the recorder writes the new state.
void AssignGame(Session& to, const Session& from);

// A new game: the start-up world with the seed `seed`, no selection set and
// no groups; boxes, panel size, radio items and view preferences stay. The recorder writes the new
// state.
void NewGame(Session& session, uint32_t seed);

// The inputs, each named after its script command.
void SetMouse(Session& session, int32_t x, int32_t y);          // mouse X Y
void MoveMouse(Session& session, int32_t x, int32_t y);         // move X Y (y counted downwards)
void SetCamera(Session& session, float x, float y);             // camera X Y
void SetCursor(Session& session, int32_t column, int32_t row);  // cursor C R
void SetClickMode(Session& session, int32_t mode);              // mode M
void SetBuildItem(Session& session, int32_t item);              // build K
void SetComputerPlayers(Session& session, const std::array<bool, kSideCount>& ticked);  // ai
void SetPanel(Session& session, int32_t width, int32_t height);                         // panel W H
// level L0 L1 L2: the computer players' levels, each 1 to 3 (3 the normal one).
void SetLevels(Session& session, const std::array<int32_t, kSideCount>& levels);
// order SLOT "TEXT": a player's order to one entity (right-click, group and
// key orders, a bot's orders): `order` := text; for a build order
// ("stroit K,X,Y", K 0 or 1) also progress := 0 and plan := that kind's
// cost, as a build click sets them. REQUIRES: slot 0 to 299; text holds no
// double quote and no line end (it is written quoted).
void GiveOrder(Session& session, int slot, std::string_view text);
void Click(Session& session);  // click

// The pointer is away from the play field: the mouse position rests at the
// panel's centre (written as `mouse X Y` when it moves).
void CentrePointer(Session& session);

// The cursor cell stored from the mouse and the camera as a frame would
// (written as `cursor C R`): for a paused game, in which no frame runs.
void StoreCursorCell(Session& session);

// One frame step, drawing through `gl` (may be null). Returns false when the
// frame ended early with the conversion error, whose whole message (NUL
// bytes and all) is then in `error`.
bool StepFrame(Session& session, Gl* gl, std::string& error);

// resize W H: the panel's new size, then the one frame step a resize runs.
bool Resize(Session& session, int32_t width, int32_t height, Gl* gl, std::string& error);

// StepFrame for the runner: a frame that ends early prints "error: <message>"
// on `out`, the message whole whatever bytes it holds, and returns false.
bool StepFrame(Session& session, Gl* gl, std::ostream& out);

}  // namespace kragmoor
