// Playing a session: Apply, the only way an input changes the game, and
// the frame step, both written to a recorder when the front end lends one.
#pragma once

#include <cstdint>
#include <functional>
#include <ostream>
#include <string>

#include "game/input.h"
#include "game/session.h"
#include "render/gl.h"
#include "sim/frame_step.h"

namespace kragmoor {

class Recorder;

// What a front end lends an input or a frame step: the clock the drawing
// reads (null: the session's own tick count), the GL it draws through
// (null: no drawing calls, the same effect on the game) and the recorder
// that writes every input and frame (null: none).
struct Front {
  TickSource* clock = nullptr;
  Gl* gl = nullptr;
  Recorder* recorder = nullptr;
  // In a network game: every `order` goes here, to the referee, and changes
  // nothing in this session (empty: orders are applied as any input).
  std::function<void(const Order&)> orders = nullptr;
};

// What a frame step of `session` reads besides the world, the animation
// clock being `clock`.
FrameInputs FrameInputsOf(const Session& session, TickSource* clock);

// Applies `input` to `session` and records it through what `front` lends
// (nothing lent: no clock, no drawing, no recording). For the inputs that
// run no frame step, every one but resize: one that does runs it here too,
// but its frame error is dropped, so give those through ApplyWithFrame.
void Apply(Session& session, const Input& input, const Front& front = Front{});

// Applies `input` as Apply does, for an input that may run a frame step
// (resize runs one here). False when that frame ended early with the
// conversion error, whose whole message is then in `error`.
bool ApplyWithFrame(Session& session, const Input& input, const Front& front, std::string& error);

// One frame step, as the 10 ms timer runs it. Returns false when the frame
// ended early with the conversion error, whose whole message (NUL bytes and
// all) is then in `error`.
bool StepFrame(Session& session, const Front& front, std::string& error);

// StepFrame for the runner: a frame that ends early prints "error:
// <message>" on `out`, the message whole whatever bytes it holds.
bool StepFrame(Session& session, const Front& front, std::ostream& out);

// The input that takes the pointer to rest at the panel's centre when it is
// away from the play field (a `mouse X Y`): no edge scrolls there.
MouseAt RestingPointer(const Session& session);

// The input that stores the cursor cell under the mouse as a frame would (a
// `cursor C R`): for a paused game, in which no frame runs.
CursorAt StoredCursorCell(const Session& session);

}  // namespace kragmoor
