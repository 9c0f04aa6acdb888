// The view state's own rules, run by the frame step: the edge scroll of the
// camera and the cursor cell under the pointer, which a click then reads.
#pragma once

#include <cstdint>

#include "world/tigrok.h"

namespace kragmoor {

// After the computer players: moves the camera one step per axis when the
// mouse is within the scroll margin of an edge of the width x height panel.
// On a panel narrower than twice the margin both horizontal tests can fire
// and cancel out.
void ScrollCamera(ViewState& view, int32_t width, int32_t height);

// Right after the scroll: the grid cell under the pointer, the field point
// under the mouse divided by the cell size and truncated toward zero (so
// -0.6 is column 0, not -1). A quotient beyond 32 bits saturates, NaN gives 0.
void StoreCursorCell(ViewState& view);

}  // namespace kragmoor
