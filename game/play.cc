// Apply and the frame step, with their recording.
#include "game/play.h"

#include "game/entity_keys.h"
#include "game/recorder.h"
#include "sim/control.h"
#include "sim/frame_step.h"
#include "sim/view.h"
#include "world/orders.h"

namespace kragmoor {

namespace {

// A clock that reads the session's own tick count.
class FixedTicks final : public TickSource {
 public:
  explicit FixedTicks(uint32_t value) : value_(value) {}
  uint32_t GetTickCount() override { return value_; }

 private:
  uint32_t value_;
};

bool StepFrameOrResize(Session& session, const Front& front, std::string& error, bool byResize) {
  FixedTicks fixed(session.player.ticks);
  const FrameInputs inputs = FrameInputsOf(session, front.clock != nullptr ? front.clock : &fixed);
  // Only picks that could go stale need the slots' keys from before the frame.
  const bool picks = HoldsPicks(session.player);
  EntityKeys before{};
  if (picks) before = KeysOf(session.world);
  bool ok = true;
  try {
    FrameStep(session.world, session.player.view, inputs, front.gl);
  } catch (const ConversionError& e) {
    error = e.message();
    ok = false;
  }
  if (picks) ForgetGoneEntities(session.player, before, session.world);
  if (front.recorder != nullptr) front.recorder->Frame(session, byResize, ok ? nullptr : &error);
  return ok;
}

}  // namespace

FrameInputs FrameInputsOf(const Session& session, TickSource* clock) {
  const PlayerView& player = session.player;
  FrameInputs inputs;
  inputs.computerPlayer = session.computerPlayer;
  inputs.level = session.level;
  inputs.panelWidth = player.panelWidth;
  inputs.panelHeight = player.panelHeight;
  inputs.ticks = clock;
  inputs.scrollMargin = player.scrollMargin;
  inputs.keepViewOverField = player.keepViewOverField;
  return inputs;
}

bool ApplyWithFrame(Session& session, const Input& input, const Front& front, std::string& error) {
  if (const auto* order = std::get_if<Order>(&input); order != nullptr && front.orders) {
    front.orders(*order);
    return true;
  }
  const InputEntry& entry = EntryOf(input);
  const EntityKeys before = KeysOf(session.world);
  entry.change(session, input);
  ForgetGoneEntities(session.player, before, session.world);
  if (front.recorder != nullptr) front.recorder->Applied(input);
  return !entry.runsFrame || StepFrameOrResize(session, front, error, true);
}

void Apply(Session& session, const Input& input, const Front& front) {
  std::string error;
  ApplyWithFrame(session, input, front, error);
}

bool StepFrame(Session& session, const Front& front, std::string& error) {
  return StepFrameOrResize(session, front, error, false);
}

bool StepFrame(Session& session, const Front& front, std::ostream& out) {
  std::string error;
  if (StepFrame(session, front, error)) return true;
  out << "error: " << error << '\n';
  return false;
}

MouseAt RestingPointer(const Session& session) {
  ViewState view = session.player.view;
  RestPointer(view, session.player.panelWidth, session.player.panelHeight);
  return {view.mouseX, view.mouseY};
}

CursorAt StoredCursorCell(const Session& session) {
  ViewState view = session.player.view;
  StoreCursorCell(view);
  return {view.cursorColumn, view.cursorRow};
}

}  // namespace kragmoor
