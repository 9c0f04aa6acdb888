// The headless runner's session.
#include "runner/session.h"

#include "world/orders.h"

namespace kragmoor {

Session::Session() {
  SetUpScenario(world);
  inputs.ticks = &ticks;
}

bool StepFrame(Session& session, Gl* gl, std::ostream& out) {
  try {
    FrameStep(session.world, session.inputs, gl);
    return true;
  } catch (const ConversionError& error) {
    out << "error: " << error.message() << '\n';
    return false;
  }
}

}  // namespace kragmoor
