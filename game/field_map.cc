// Geometry of the map of the whole field.
#include "game/field_map.h"

#include <algorithm>
#include <cmath>

#include "game/start_view.h"
#include "world/rules.h"

namespace kragmoor {

namespace {

constexpr float kMineColour[3] = {1.0f, 0.84f, 0.0f};  // gold, told apart from every side

double Reach(double v) { return std::clamp(v, -kMapReach, kFieldSize + kMapReach); }

struct Bounds {
  double left = 0.0;
  double bottom = 0.0;
  double right = kFieldSize;
  double top = kFieldSize;
  void Take(double x, double y) {
    if (!std::isfinite(x) || !std::isfinite(y)) return;
    left = std::min(left, Reach(x));
    right = std::max(right, Reach(x));
    bottom = std::min(bottom, Reach(y));
    top = std::max(top, Reach(y));
  }
};

}  // namespace

FieldMap MakeFieldMap(const World& world, const ViewState& v, int32_t mapWidth, int32_t mapHeight,
                      int32_t panelWidth, int32_t panelHeight) {
  const double viewLeft = -static_cast<double>(v.cameraX);
  const double viewBottom = -static_cast<double>(v.cameraY);
  const double viewRight = viewLeft + panelWidth;
  const double viewTop = viewBottom + panelHeight;
  Bounds b;
  b.Take(viewLeft, viewBottom);
  b.Take(viewRight, viewTop);
  for (const Tigrok& t : world.entities) {
    if (IsLive(t)) b.Take(t.x, t.y);
  }
  FieldMap map;
  const double w = std::max(mapWidth, 1);
  const double h = std::max(mapHeight, 1);
  map.scale = std::min(w / (b.right - b.left), h / (b.top - b.bottom));
  // Centred: the spare room split evenly on both sides of the axis.
  map.originX = b.left - (w / map.scale - (b.right - b.left)) / 2.0;
  map.originY = b.top + (h / map.scale - (b.top - b.bottom)) / 2.0;
  const auto mapX = [&map](double x) { return (x - map.originX) * map.scale; };
  const auto mapY = [&map](double y) { return (map.originY - y) * map.scale; };
  map.outline = {mapX(0.0), mapY(kFieldSize), mapX(kFieldSize), mapY(0.0)};
  map.view = {mapX(Reach(viewLeft)), mapY(Reach(viewTop)), mapX(Reach(viewRight)),
              mapY(Reach(viewBottom))};
  for (int i = 0; i < kSlotCount; ++i) {
    const Tigrok& t = world.entities[i];
    if (!IsLive(t) || !std::isfinite(t.x) || !std::isfinite(t.y)) continue;
    MapDot dot;
    dot.slot = i;
    dot.kind = t.kind;
    dot.x = mapX(Reach(t.x));
    dot.y = mapY(Reach(t.y));
    dot.outsideField = t.x < 0.0f || t.y < 0.0f || t.x > kFieldSize || t.y > kFieldSize;
    if (t.kind == kKindMine) {
      dot.red = kMineColour[0], dot.green = kMineColour[1], dot.blue = kMineColour[2];
    } else if (IsSide(t.owner)) {
      const Player& p = world.players[t.owner];
      dot.red = p.red, dot.green = p.green, dot.blue = p.blue;
    }
    map.dots.push_back(dot);
  }
  return map;
}

double MapToFieldX(const FieldMap& map, double x) { return map.originX + x / map.scale; }
double MapToFieldY(const FieldMap& map, double y) { return map.originY - y / map.scale; }

CameraOffset CameraForMapPoint(const FieldMap& map, double x, double y, int32_t panelWidth,
                               int32_t panelHeight) {
  return CameraCentredOn({MapToFieldX(map, x), MapToFieldY(map, y)}, panelWidth, panelHeight);
}

}  // namespace kragmoor
