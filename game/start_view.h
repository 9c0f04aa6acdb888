// Where the view starts: a new game, an opened game or a headless save opens
// with a side's base in view, so the player never starts in empty space.
// Home centres on the player's main base (game/play_inputs.h). No Qt.
#pragma once

#include <cstdint>

#include "game/picking.h"
#include "sim/view.h"
#include "world/tigrok.h"

namespace kragmoor {

// The camera offset that puts `point` at the centre of a width x height
// panel (the field moves by the offset when drawn).
CameraOffset CameraCentredOn(FieldPoint point, int32_t width, int32_t height);

// Whether a live main base of `side` (any side, when -1) lies inside the
// width x height view of `view`, edges included.
bool ShowsBase(const World& world, const ViewState& view, int32_t width, int32_t height, int side);

// The camera a game should open with for the player of `side` (-1: no side
// is the player's): false, leaving `camera` alone, when `view` already
// shows a base of that side (of any side, for -1); otherwise true and the
// camera centred on the side's lowest live main base, or its lowest live
// peasant without one; failing that the lowest live base or peasant of any
// side. False when there is nothing to show.
bool StartCamera(const World& world, const ViewState& view, int side, int32_t width, int32_t height,
                 CameraOffset& camera);

}  // namespace kragmoor
