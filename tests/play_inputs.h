// Inputs of every kind played on a session, shared by the tests of saved
// games and of recordings.
#pragma once

#include "game/play.h"
#include "game/session.h"

namespace kragmoor {

// Points at cell (column, row) and runs the frame that stores it.
void PointAt(Session& s, int column, int row, const Front& front);

// A selection, orders by click and by `order`, the radio items, the boxes
// and levels, a selection set and a group, the view preferences, a mouse
// move and 100 frames, varied by `round`.
void Play(Session& s, int round, const Front& front = {});

}  // namespace kragmoor
