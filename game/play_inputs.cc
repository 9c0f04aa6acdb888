// The player's inputs beyond the design's clicks.
#include "game/play_inputs.h"

#include <string>
#include <utility>

#include "game/recorder.h"
#include "game/selection.h"
#include "game/start_view.h"
#include "game/train_build.h"

namespace kragmoor {

namespace {

void Record(Session& session, const std::string& command) {
  if (session.recorder != nullptr) session.recorder->Input(command);
}

std::string WithSlots(std::string command, const std::vector<int32_t>& slots) {
  for (const int32_t s : slots) command += ' ' + std::to_string(s);
  return command;
}

void MoveCamera(Session& session, CameraOffset camera) { SetCamera(session, camera.x, camera.y); }

}  // namespace

int PlayerSide(const Session& session) {
  for (int side = 0; side < kSideCount; ++side) {
    if (!session.inputs.computerPlayer[side]) return side;
  }
  return -1;
}

void GiveOrders(Session& session, const std::vector<PlayerOrder>& orders) {
  for (const PlayerOrder& order : orders) GiveOrder(session, order.slot, order.text);
}

void SetSelection(Session& session, std::vector<int32_t> slots) {
  session.play.selection = NormalSelection(std::move(slots));
  const auto& set = session.play.selection;
  session.world.view.selected = set.empty() ? -1 : set.front();
  Record(session, WithSlots("selection", set));
}

void SetGroup(Session& session, int g, std::vector<int32_t> slots) {
  auto& group = session.play.groups[g - 1];
  group = NormalSelection(std::move(slots));
  Record(session, WithSlots("group " + std::to_string(g), group));
}

std::vector<int32_t> SessionSelection(const Session& session) {
  return CurrentSelection(session.world, session.play);
}

void RightClick(Session& session) {
  const World& world = session.world;
  GiveOrders(session,
             RightClickOrders(world, SessionSelection(session), PointUnderMouse(world.view)));
}

void SelectBox(Session& session, FieldPoint start, FieldPoint end, bool add) {
  std::vector<int32_t> slots = BoxSelection(session.world, start, end, PlayerSide(session));
  if (add) slots = MergedSelection(SessionSelection(session), slots);
  SetSelection(session, std::move(slots));
}

void SelectAll(Session& session) {
  SetSelection(session, SideEntities(session.world, PlayerSide(session)));
}

void StoreGroup(Session& session, int g) { SetGroup(session, g, SessionSelection(session)); }

void RecallGroup(Session& session, int g) {
  const std::vector<int32_t> live = LiveOnly(session.world, session.play.groups[g - 1]);
  FieldPoint centre;
  if (!live.empty() && live == SessionSelection(session) && CentreOf(session.world, live, centre)) {
    MoveCamera(session,
               CameraCentredOn(centre, session.inputs.panelWidth, session.inputs.panelHeight));
    return;
  }
  SetSelection(session, live);
}

void TrainPeasants(Session& session) {
  GiveOrders(session, TrainOrders(session.world, SessionSelection(session)));
}

void BuildBase(Session& session, FieldPoint point) {
  GiveOrders(session, BuildBaseOrders(session.world, SessionSelection(session), point));
}

void SetScrollMargin(Session& session, int32_t margin) {
  session.inputs.scrollMargin = margin;
  Record(session, "edgescroll " + std::to_string(margin));
}

void SetKeepViewOverField(Session& session, bool keep) {
  session.inputs.keepViewOverField = keep;
  Record(session, std::string("keepview ") + (keep ? '1' : '0'));
}

void ShowStartView(Session& session) {
  CameraOffset camera;
  if (StartCamera(session.world, PlayerSide(session), session.inputs.panelWidth,
                  session.inputs.panelHeight, camera)) {
    MoveCamera(session, camera);
  }
}

}  // namespace kragmoor
