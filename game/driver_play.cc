// The driver's play-layer controls: right-click orders, box and group
// selection, the train and build keys, the map's camera moves, the middle
// drag, the view preferences and the computer players' levels. Each gives
// its inputs through the table (game/play_inputs.h), so recordings hold them.
#include "game/driver.h"
#include "game/picking.h"
#include "game/play_inputs.h"

namespace kragmoor {

namespace {

// The field point under play-field pixel (x, y), y counted downwards.
FieldPoint FieldPointAt(const Session& session, int32_t x, int32_t y) {
  return PointUnderPixel(session.player.view, x, session.player.panelHeight - y);
}

}  // namespace

void GameDriver::RightClick(FieldSize field, int32_t x, int32_t y) {
  PointerMoved(field, x, y);  // the order goes where the pointer is
  kragmoor::RightClick(session_, Lent(nullptr));
}

void GameDriver::SelectBox(FieldSize field, int32_t x0, int32_t y0, int32_t x1, int32_t y1,
                           bool add) {
  SyncPanel(field);
  kragmoor::SelectBox(session_, FieldPointAt(session_, x0, y0), FieldPointAt(session_, x1, y1), add,
                      Lent(nullptr));
  if (pace_.paused()) stillDue_ = true;  // the marks moved
}

void GameDriver::SelectAll() {
  kragmoor::SelectAll(session_, Lent(nullptr));
  if (pace_.paused()) stillDue_ = true;
}

void GameDriver::StoreGroup(int group) { kragmoor::StoreGroup(session_, group, Lent(nullptr)); }

void GameDriver::RecallGroup(int group) {
  kragmoor::RecallGroup(session_, group, Lent(nullptr));
  ViewChanged();
  if (pace_.paused()) stillDue_ = true;
}

void GameDriver::NextIdlePeasant() {
  SelectIdlePeasant(session_, Lent(nullptr));
  ViewChanged();
  if (pace_.paused()) stillDue_ = true;
}

void GameDriver::TrainPeasants() { kragmoor::TrainPeasants(session_, Lent(nullptr)); }

void GameDriver::MoveCamera(float x, float y) {
  Give(CameraAt{x, y});
  ViewChanged();
}

void GameDriver::PanBy(int32_t dx, int32_t dy) {
  // The picture follows the pointer: a drag to the right shows what lies to
  // the left, and y counts downwards on the panel and upwards on the field.
  const ViewState& view = session_.player.view;
  MoveCamera(static_cast<float>(static_cast<double>(view.cameraX) + dx),
             static_cast<float>(static_cast<double>(view.cameraY) - dy));
}

void GameDriver::ChooseEdgeScroll(int32_t margin) { Give(EdgeScroll{margin}); }

void GameDriver::ChooseKeepView(bool keep) { Give(KeepView{keep}); }

void GameDriver::ChooseLevels(const std::array<int32_t, kSideCount>& levels) {
  if (network_) return;  // the referee's
  Give(Levels{levels});
}

void GameDriver::GameStarted() {
  watch_ = GameWatch{};
  baseBuildArmed_ = false;
  ShowStartView(session_, Lent(nullptr));
  ViewChanged();
}

}  // namespace kragmoor
