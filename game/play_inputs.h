// The player's inputs beyond the design's clicks, each applied to a session
// and recorded as the script command that does the same: orders to single
// entities (`order SLOT "TEXT"`, one per entity a right-click, key or group
// order reaches), the selection set (`selection S ...`), groups (`group G S
// ...`), the view preferences (`edgescroll W`, `keepview B`) and camera
// moves (`camera X Y`). No Qt; the window calls these.
#pragma once

#include <cstdint>
#include <vector>

#include "game/picking.h"
#include "game/session.h"

namespace kragmoor {

// The player's own side: the lowest side whose computer-player box is
// unticked, or -1 when the computer plays every side.
int PlayerSide(const Session& session);

// Each as the input `order SLOT "TEXT"` (GiveOrder, game/session.h).
void GiveOrders(Session& session, const std::vector<PlayerOrder>& orders);

// selection S ...: the set (made normal, NormalSelection), its first slot
// the world's `selected`; -1 there when the set is empty.
void SetSelection(Session& session, std::vector<int32_t> slots);

// group G S ...: group g (1 to 9) := slots, made normal. REQUIRES: 1 <= g <= 9.
void SetGroup(Session& session, int g, std::vector<int32_t> slots);

// The what-is-selected-now of the session (CurrentSelection).
std::vector<int32_t> SessionSelection(const Session& session);

// A right-click at the mouse position: the orders of RightClickOrders for
// what is selected.
void RightClick(Session& session);

// A drag on the field from `start` to `end`: BoxSelection for the player's
// side; with `add` (Shift) joined to what is selected.
void SelectBox(Session& session, FieldPoint start, FieldPoint end, bool add);

// Ctrl+A: every entity of the player's side (nothing without one).
void SelectAll(Session& session);

// Ctrl+G: group g := what is selected. REQUIRES: 1 <= g <= 9.
void StoreGroup(Session& session, int g);

// G: the live members of group g selected; when they already are, the view
// centred on them instead. REQUIRES: 1 <= g <= 9.
void RecallGroup(Session& session, int g);

// P: TrainOrders for what is selected.
void TrainPeasants(Session& session);

// B, then a point on the field: BuildBaseOrders for what is selected.
void BuildBase(Session& session, FieldPoint point);

// edgescroll W: the edge-scroll width in pixels (kScrollMargin as designed,
// kNarrowScrollMargin, 0 for none).
void SetScrollMargin(Session& session, int32_t margin);

// keepview B: hold the view's centre over the field (KeepViewOverField).
void SetKeepViewOverField(Session& session, bool keep);

// A new, opened or loaded game: the camera moved to StartCamera for the
// player's side when the view shows none of its bases (written as `camera
// X Y` when it moves).
void ShowStartView(Session& session);

}  // namespace kragmoor
