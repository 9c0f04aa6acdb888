// The player's actions beyond the design's clicks, as inputs of the table.
#include "game/play_inputs.h"

#include <string>
#include <utility>

#include "game/group_orders.h"
#include "game/may_order.h"
#include "game/selection.h"
#include "game/start_view.h"
#include "game/train_build.h"

namespace kragmoor {

namespace {

// Inputs given here run no frame, so there is no frame error to keep.
void Give(Session& session, const Input& input, const Front& front) {
  Apply(session, input, front);
}

void MoveCamera(Session& session, CameraOffset camera, const Front& front) {
  Give(session, CameraAt{camera.x, camera.y}, front);
}

}  // namespace

int PlayerSide(const Session& session) {
  if (session.player.side >= 0 && session.player.side < kSideCount) return session.player.side;
  for (int side = 0; side < kSideCount; ++side) {
    if (!session.computerPlayer[side]) return side;
  }
  return -1;
}

std::vector<int32_t> SessionSelection(const Session& session) {
  return CurrentSelection(session.player.view.selected, session.player.selection,
                          session.player.selectedGone);
}

void GiveOrders(Session& session, const std::vector<PlayerOrder>& orders, const Front& front) {
  const int side = PlayerSide(session);
  for (const PlayerOrder& order : orders) {
    if (MayOrder(session.world, side, order.slot))
      Give(session, Order{order.slot, order.text}, front);
  }
}

void ClickOnField(Session& session, const Front& front) {
  Give(session, Click{}, front);
  const PlayerView& player = session.player;
  // After the click: a go click's selected peasant then counts as working
  // the mine it was sent to.
  GiveOrders(session,
             GroupClickOrders(session.world, player.view, player.clickMode, player.buildItem,
                              SessionSelection(session), PlayerSide(session)),
             front);
}

void RightClick(Session& session, const Front& front) {
  GiveOrders(session,
             RightClickOrders(session.world, SessionSelection(session),
                              PointUnderMouse(session.player.view), PlayerSide(session)),
             front);
}

void HomeView(Session& session, const Front& front) {
  const int side = PlayerSide(session);
  for (int i = 0; i < kSlotCount; ++i) {
    const Tigrok& t = session.world.entities[i];
    if (!MayOrder(session.world, side, i) || t.kind != kKindBase) continue;
    MoveCamera(session,
               CameraCentredOn({t.x, t.y}, session.player.panelWidth, session.player.panelHeight),
               front);
    return;
  }
  MoveCamera(session, CameraOffset{0.0f, 0.0f}, front);
}

void SelectIdlePeasant(Session& session, const Front& front) {
  const std::vector<int32_t> now = SessionSelection(session);
  const int after = now.size() == 1 ? now.front() : -1;
  const int next = NextIdlePeasant(session.world, PlayerSide(session), after);
  if (next == -1) return;
  Give(session, SelectionSet{{next}}, front);
  const Tigrok& t = session.world.entities[next];
  MoveCamera(session,
             CameraCentredOn({t.x, t.y}, session.player.panelWidth, session.player.panelHeight),
             front);
}

void SelectBox(Session& session, FieldPoint start, FieldPoint end, bool add, const Front& front) {
  std::vector<int32_t> slots = BoxSelection(session.world, start, end, PlayerSide(session));
  if (add) slots = MergedSelection(SessionSelection(session), slots);
  Give(session, SelectionSet{std::move(slots)}, front);
}

void SelectAll(Session& session, const Front& front) {
  Give(session, SelectionSet{SideEntities(session.world, PlayerSide(session))}, front);
}

void StoreGroup(Session& session, int g, const Front& front) {
  Give(session, Group{g, SessionSelection(session)}, front);
}

void RecallGroup(Session& session, int g, const Front& front) {
  const std::vector<int32_t> live = LiveOnly(session.world, session.player.groups[g - 1]);
  FieldPoint centre;
  if (!live.empty() && live == SessionSelection(session) && CentreOf(session.world, live, centre)) {
    MoveCamera(session,
               CameraCentredOn(centre, session.player.panelWidth, session.player.panelHeight),
               front);
    return;
  }
  Give(session, SelectionSet{live}, front);
}

void TrainPeasants(Session& session, const Front& front) {
  GiveOrders(session, TrainOrders(session.world, SessionSelection(session), PlayerSide(session)),
             front);
}

void BuildBase(Session& session, FieldPoint point, const Front& front) {
  GiveOrders(session,
             BuildBaseOrders(session.world, SessionSelection(session), point, PlayerSide(session)),
             front);
}

void ShowStartView(Session& session, const Front& front) {
  CameraOffset camera;
  if (StartCamera(session.world, session.player.view, PlayerSide(session),
                  session.player.panelWidth, session.player.panelHeight, camera)) {
    MoveCamera(session, camera, front);
  }
}

}  // namespace kragmoor
