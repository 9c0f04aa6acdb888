// The frame step: one unit of game time. Runs the computer players, scrolls
// the camera, draws, carries out every live entity's order and resolves the
// contacts, in that fixed order.
#pragma once

#include <array>
#include <cstdint>

#include "render/gl.h"
#include "sim/slot_set.h"
#include "world/tigrok.h"

namespace kragmoor {

// Rules of the order pass.
inline constexpr float kMoveStep = 1.0f;          // field units per frame, per axis
inline constexpr float kAttackRange = 100.0f;     // a hit needs a distance strictly below
inline constexpr float kDamage = 1.0f;            // hp per frame per attacker
inline constexpr double kPlacementOffset = 25.0;  // added to a build order's X and Y

// What the frame step reads from the window besides the world.
struct FrameInputs {
  std::array<bool, kSideCount> computerPlayer{true, true, true};  // the AI check boxes
  int32_t panelWidth = 485;                                       // play-field panel, pixels
  int32_t panelHeight = 447;
  TickSource* ticks = nullptr;  // animation clock; null reads as 0
};

// Runs one frame on `world`, drawing through `gl` (null: no drawing calls,
// same effect on the world). A number in an order that does not convert
// throws ConversionError from the order pass (or a computer player): the rest
// of the frame is skipped, and what it changed before stays changed.
void FrameStep(World& world, const FrameInputs& inputs, Gl* gl);

// The order pass alone: every live slot's order, in ascending slot order.
void OrderPass(World& world, Gl* gl);

// The same, visiting only the members of `mayBeLive`, which must hold every
// slot that is live when the pass starts; the pass adds the slots its builds
// fill.
void OrderPass(World& world, Gl* gl, SlotSet& mayBeLive);

// Distance of two entities: differences as 32-bit floats, root taken in
// double, result rounded to a 32-bit float. Symmetric.
float Distance2D(const Tigrok& a, const Tigrok& b);

}  // namespace kragmoor
