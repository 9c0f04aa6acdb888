// The frame step: one unit of game time. Runs the computer players, scrolls
// the camera, draws, carries out every live entity's order and resolves the
// contacts, in that fixed order.
#pragma once

#include <array>
#include <cstdint>

#include "render/gl.h"
#include "sim/frame_scratch.h"
#include "world/rules.h"
#include "world/tigrok.h"

namespace kragmoor {

// What the frame step reads from the window besides the world.
struct FrameInputs {
  std::array<bool, kSideCount> computerPlayer{true, true, true};  // the AI check boxes
  std::array<int32_t, kSideCount> level{3, 3, 3};                 // their levels, 1 to 3
  int32_t panelWidth = kStartPanelWidth;  // play-field panel, pixels
  int32_t panelHeight = kStartPanelHeight;
  TickSource* ticks = nullptr;  // animation clock; null reads as 0
  // The player's view preferences; the defaults are the design's.
  int32_t scrollMargin = kScrollMargin;  // edge-scroll width, pixels; 0 turns it off
  bool keepViewOverField = false;        // hold the view's centre over the field
};

// Runs one frame on `world` as seen through `view` (the player's own: it
// scrolls, and its cursor cell follows the mouse), drawing through `gl`
// (null: no drawing calls, the same effect on the world and the view). A number in an order that
// does not convert throws ConversionError from the order pass (or a computer player): the rest of
// the frame is skipped, and what it changed before stays changed.
void FrameStep(World& world, ViewState& view, const FrameInputs& inputs, Gl* gl);

// The frame's part for one view, which the frame step runs for its own
// between the computer players and the drawing: the edge scroll, the hold
// over the field when asked for, and the cursor cell under the mouse. The
// rules never read a view, so another player's view of the same world takes
// this step at any point of the frame.
void StepView(ViewState& view, const FrameInputs& inputs);

// The order pass: every live slot's order, in ascending slot order, drawing
// attack lines and build bars through `gl` when there is one.
void OrderPass(World& world, Gl* gl);

// The same as the frame step runs it, sharing its working storage.
// REQUIRES: `scratch` fits `world` (ScratchMisfit); it still does afterwards.
void OrderPass(World& world, Gl* gl, FrameScratch& scratch);

}  // namespace kragmoor
