// The view state's own rules: the edge scroll of the camera and the cursor
// cell under the pointer, which the frame step runs and a click then reads,
// and the camera moves that scripts and the window's keys make.
#pragma once

#include <cstdint>

#include "world/rules.h"
#include "world/tigrok.h"

namespace kragmoor {

// After the computer players: moves the camera one step per axis when the
// mouse is within the scroll margin of an edge of the width x height panel.
// On a panel narrower than twice the margin both horizontal tests can fire
// and cancel out. `margin` is the design's 100 pixels unless the player chose
// another; 0 or less scrolls nothing.
void ScrollCamera(ViewState& view, int32_t width, int32_t height, int32_t margin = kScrollMargin);

// After the scroll, when the player asked for it: the camera held so that the
// centre of the width x height view stays over the field (0 to kFieldSize on
// both axes). A NaN offset stays as it is.
void KeepViewOverField(ViewState& view, int32_t width, int32_t height);

// Right after the scroll: the grid cell under the pointer, the field point
// under the mouse divided by the cell size and truncated toward zero (so
// -0.6 is column 0, not -1). A quotient beyond 32 bits saturates, NaN gives 0.
void StoreCursorCell(ViewState& view);

// The camera offset set outright: the `camera X Y` script command, and the
// window's Home and arrow keys.
void PlaceCamera(ViewState& view, float x, float y);

// A camera offset, field units.
struct CameraOffset {
  float x = 0.0f;
  float y = 0.0f;
};

// The offset that pans the view `columns` cells to the right and `rows` cells
// up (negative: left, down): the field moves the other way, as under the edge
// scroll. Summed in double, rounded to float once.
CameraOffset PannedCamera(const ViewState& view, int32_t columns, int32_t rows);

}  // namespace kragmoor
