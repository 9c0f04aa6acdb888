// The headless runner's state: a world plus everything the window would
// otherwise hold (check boxes, panel size, radio items, tick count).
#pragma once

#include <cstdint>
#include <ostream>

#include "render/gl.h"
#include "sim/frame_step.h"
#include "world/tigrok.h"

namespace kragmoor {

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
};

// Runs one frame step on the session, drawing through `gl` (may be null). A
// frame that ends early with the conversion error prints
// "error: <message>" on `out`, the message whole whatever bytes it holds,
// and returns false.
bool StepFrame(Session& session, Gl* gl, std::ostream& out);

}  // namespace kragmoor
