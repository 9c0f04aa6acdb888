// The map of the whole field for the control panel, as geometry: a dot per
// live entity, the field's outline and the current view as rectangles, in
// map pixels; and the camera a point of the map asks for. No Qt: the window
// paints what this returns.
#pragma once

#include <cstdint>
#include <vector>

#include "sim/view.h"
#include "world/tigrok.h"

namespace kragmoor {

// Field units beyond the field that the map still takes in: a walker covers
// this in under a minute of game time, and within it the field stays a
// readable part of the map. Entities further out are shown at the map's edge.
inline constexpr double kMapReach = 5000.0;

// Map pixels, x to the right and y downwards, as a widget paints.
struct MapRect {
  double left = 0.0;
  double top = 0.0;
  double right = 0.0;
  double bottom = 0.0;
};

struct MapDot {
  int32_t slot = -1;
  int32_t kind = 0;
  double x = 0.0;  // map pixels
  double y = 0.0;
  float red = 0.0f;  // the side's colour; gold mines gold
  float green = 0.0f;
  float blue = 0.0f;
  bool outsideField = false;  // beyond the 1250 x 1250 field
};

struct FieldMap {
  double scale = 1.0;    // map pixels per field unit
  double originX = 0.0;  // the field point at the map's top-left corner
  double originY = 0.0;
  MapRect outline;           // the field, 0 to 1250 on both axes
  MapRect view;              // what the play field shows now
  std::vector<MapDot> dots;  // slot order
};

// The map of `world` on a mapWidth x mapHeight widget, for a play field of
// panelWidth x panelHeight pixels. It takes in the field, every live entity
// and the view (each up to kMapReach beyond the field), at one scale on both
// axes, centred. Positions that are not finite are left out.
FieldMap MakeFieldMap(const World& world, const ViewState& view, int32_t mapWidth,
                      int32_t mapHeight, int32_t panelWidth, int32_t panelHeight);

// The field point under map pixel (x, y).
double MapToFieldX(const FieldMap& map, double x);
double MapToFieldY(const FieldMap& map, double y);

// The camera that centres the play field on the field point under map
// pixel (x, y): a click or drag on the map, applied as `camera X Y`.
CameraOffset CameraForMapPoint(const FieldMap& map, double x, double y, int32_t panelWidth,
                               int32_t panelHeight);

}  // namespace kragmoor
