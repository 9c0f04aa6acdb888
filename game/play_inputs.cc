// The player's actions beyond the design's clicks, as inputs of the table.
#include "game/play_inputs.h"

#include <string>
#include <utility>

#include "game/selection.h"
#include "game/start_view.h"
#include "game/train_build.h"

namespace kragmoor {

namespace {

// Inputs given here run no frame, so there is no frame error to keep.
void Give(Session& session, const Input& input, const Front& front) {
  std::string error;
  Apply(session, input, front, error);
}

void MoveCamera(Session& session, CameraOffset camera, const Front& front) {
  Give(session, CameraAt{camera.x, camera.y}, front);
}

}  // namespace

int PlayerSide(const Session& session) {
  for (int side = 0; side < kSideCount; ++side) {
    if (!session.computerPlayer[side]) return side;
  }
  return -1;
}

std::vector<int32_t> SessionSelection(const Session& session) {
  return CurrentSelection(session.player.view.selected, session.player.selection);
}

void GiveOrders(Session& session, const std::vector<PlayerOrder>& orders, const Front& front) {
  for (const PlayerOrder& order : orders) Give(session, Order{order.slot, order.text}, front);
}

void RightClick(Session& session, const Front& front) {
  GiveOrders(session,
             RightClickOrders(session.world, SessionSelection(session),
                              PointUnderMouse(session.player.view)),
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
  GiveOrders(session, TrainOrders(session.world, SessionSelection(session)), front);
}

void BuildBase(Session& session, FieldPoint point, const Front& front) {
  GiveOrders(session, BuildBaseOrders(session.world, SessionSelection(session), point), front);
}

void ShowStartView(Session& session, const Front& front) {
  CameraOffset camera;
  if (StartCamera(session.world, session.player.view, PlayerSide(session),
                  session.player.panelWidth, session.player.panelHeight, camera)) {
    MoveCamera(session, camera, front);
  }
}

}  // namespace kragmoor
