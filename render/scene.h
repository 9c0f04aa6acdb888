// Drawing of the play field: the operations the frame step calls at fixed
// points, the fixed GL state and the projection. Reads the world and one
// player's view and draws through the Gl seam; never changes either. The
// frame step calls them only when it has a backend to draw with.
#pragma once

#include <cstdint>
#include <vector>

#include "render/gl.h"
#include "world/tigrok.h"

namespace kragmoor {

// Fixed GL state, set once after the context is made.
void InitOpenGL(Gl& gl);

// Viewport and projection for a play field of width x height pixels: one
// field unit per pixel, origin at the lower-left corner.
void SetProjection(Gl& gl, int32_t width, int32_t height);

// The same on a scaled screen: the projection counts logical pixels, as the
// mouse does, and the viewport the deviceWidth x deviceHeight pixels they fill.
void SetProjection(Gl& gl, int32_t width, int32_t height, int32_t deviceWidth,
                   int32_t deviceHeight);

// First thing in a frame: clear the buffers, reset the model-view matrix.
void BeginFrame(Gl& gl);

// After the camera scroll and the cursor cell: the pointer triangle, the
// camera translation, the grid and the cursor cell's outline.
void DrawField(const ViewState& view, Gl& gl);

// Every live entity, in slot order, with its health bar.
void DrawEntities(const World& world, Gl& gl, TickSource* ticks);

// Called by the order pass for every executed hit, after the hit's random
// draw: the red line from attacker to target when `shown`, and in any case
// the primitive and its colour.
void DrawAttackLine(const World& world, Gl& gl, int attacker, int target, bool shown);

// Called by the order pass for every build order it carries out, before that
// frame's gold is spent.
void DrawBuildBar(const World& world, Gl& gl, int builder);

// Last thing in a frame: show the picture.
void EndFrame(Gl& gl);

// Drawing that only the window does, never part of a frame step (so never in
// a trace); marks.cc.

// Right before the window shows a picture, with the camera translation of
// DrawField still in force: a white square around the selected entity while
// it is live. GL's current colour is left as it was, so the next frame's
// pointer still takes the colour the frame set last.
void DrawSelectionMark(const World& world, const ViewState& view, Gl& gl);

// The same moment: a green square around each live entity of `slots` (a
// selection set), the current colour left as it was.
void DrawSetMarks(const World& world, const std::vector<int32_t>& slots, Gl& gl);

// The picture of the world as it stands, without a frame step, for a paused
// window: the pointer, the grid, the stored cursor cell and every live
// entity; then the picture is shown. Attack lines and build bars belong to
// the order pass and are left out.
void DrawStill(const World& world, const ViewState& view, Gl& gl, TickSource* ticks);

}  // namespace kragmoor
