// The start view of a game.
#include "game/start_view.h"

#include <cmath>

namespace kragmoor {

namespace {

// The lowest live entity of `kind` of `side` (any side for -1) at a finite
// position, or -1.
int First(const World& world, int side, int32_t kind) {
  for (int i = 0; i < kSlotCount; ++i) {
    const Tigrok& t = world.entities[i];
    if (IsLive(t) && t.kind == kind && (side == -1 || t.owner == side) && std::isfinite(t.x) &&
        std::isfinite(t.y)) {
      return i;
    }
  }
  return -1;
}

}  // namespace

CameraOffset CameraCentredOn(FieldPoint point, int32_t width, int32_t height) {
  return {static_cast<float>(width / 2.0 - point.x), static_cast<float>(height / 2.0 - point.y)};
}

bool ShowsBase(const World& world, const ViewState& view, int32_t width, int32_t height, int side) {
  const FieldPoint low = PointUnderPixel(view, 0, 0);
  const FieldPoint high = PointUnderPixel(view, width, height);
  for (const Tigrok& t : world.entities) {
    if (!IsLive(t) || t.kind != kKindBase || (side != -1 && t.owner != side)) continue;
    if (t.x >= low.x && t.x <= high.x && t.y >= low.y && t.y <= high.y) return true;
  }
  return false;
}

bool StartCamera(const World& world, const ViewState& view, int side, int32_t width, int32_t height,
                 CameraOffset& camera) {
  if (ShowsBase(world, view, width, height, side)) return false;
  int target = -1;
  for (const int s : {side, -1}) {
    for (const int32_t kind : {kKindBase, kKindPeasant}) {
      if (target == -1) target = First(world, s, kind);
    }
  }
  if (target == -1) return false;
  const Tigrok& t = world.entities[target];
  camera = CameraCentredOn({t.x, t.y}, width, height);
  return true;
}

}  // namespace kragmoor
