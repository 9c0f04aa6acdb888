// The player's actions beyond the design's clicks, each given to a session
// as the inputs of the table that carry it out (so a recording holds those
// inputs): orders to single entities (`order SLOT "TEXT"`, one per entity a
// right-click, key or group order reaches), the selection set (`selection S
// ...`), groups (`group G S ...`) and camera moves (`camera X Y`). No Qt;
// the window's driver calls these.
#pragma once

#include <cstdint>
#include <vector>

#include "game/picking.h"
#include "game/play.h"
#include "game/session.h"

namespace kragmoor {

// The player's own side: the one chosen (PlayerView::side) when there is
// one; otherwise the lowest side whose computer-player box is unticked, or
// -1 when the computer plays every side. Every order given here reaches
// only this side's live entities (MayOrder).
int PlayerSide(const Session& session);

// The what-is-selected-now of the session (CurrentSelection).
std::vector<int32_t> SessionSelection(const Session& session);

// Each that the player's side may give (MayOrder) as the input `order SLOT
// "TEXT"`; the others are dropped.
void GiveOrders(Session& session, const std::vector<PlayerOrder>& orders, const Front& front);

// A left click on the field: the design's click (`click`), which writes
// into the one selected entity as designed; in the go, attack and build
// modes then the same command to the rest of what is selected
// (GroupClickOrders), one `order` each.
void ClickOnField(Session& session, const Front& front);

// A right-click at the mouse position: the orders of RightClickOrders for
// what is selected.
void RightClick(Session& session, const Front& front);

// Home: the view centred on the player's lowest live main base; the
// design's start view (camera 0,0) without one.
void HomeView(Session& session, const Front& front);

// The idle-peasant key: the player's next idle peasant after the one
// selected (NextIdlePeasant) selected alone, the view centred on it.
// Nothing changes when there is none.
void SelectIdlePeasant(Session& session, const Front& front);

// A drag on the field from `start` to `end`: BoxSelection for the player's
// side; with `add` (Shift) joined to what is selected.
void SelectBox(Session& session, FieldPoint start, FieldPoint end, bool add, const Front& front);

// Ctrl+A: every entity of the player's side (nothing without one).
void SelectAll(Session& session, const Front& front);

// Ctrl+G: group g := what is selected. REQUIRES: 1 <= g <= 9.
void StoreGroup(Session& session, int g, const Front& front);

// G: the live members of group g selected; when they already are, the view
// centred on them instead. REQUIRES: 1 <= g <= 9.
void RecallGroup(Session& session, int g, const Front& front);

// P: TrainOrders for what is selected.
void TrainPeasants(Session& session, const Front& front);

// B, then a point on the field: BuildBaseOrders for what is selected.
void BuildBase(Session& session, FieldPoint point, const Front& front);

// A new, opened or loaded game: the camera moved to StartCamera for the
// player's side when the view shows none of its bases.
void ShowStartView(Session& session, const Front& front);

}  // namespace kragmoor
