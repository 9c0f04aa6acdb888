// Edge scroll, cursor cell and the camera's setters.
#include "sim/view.h"

#include "world/cells.h"
#include "world/convert.h"
#include "world/rules.h"

namespace kragmoor {

void ScrollCamera(ViewState& view, int32_t width, int32_t height, int32_t margin) {
  if (margin <= 0) return;  // edge scroll off
  // Read once for all four tests; W - margin in 64 bits cannot overflow.
  const int64_t mx = view.mouseX;
  const int64_t my = view.mouseY;
  if (mx < margin) view.cameraX += kScrollStep;
  if (my < margin) view.cameraY += kScrollStep;
  if (mx > int64_t{width} - margin) view.cameraX -= kScrollStep;
  if (my > int64_t{height} - margin) view.cameraY -= kScrollStep;
}

namespace {

// The offset on one axis that puts the view's centre (size / 2 - offset, in
// field units) between 0 and kFieldSize.
float KeepAxis(float offset, int32_t size) {
  const double half = size / 2.0;
  const double low = half - kFieldSize;
  if (offset < low) return static_cast<float>(low);
  if (offset > half) return static_cast<float>(half);
  return offset;
}

}  // namespace

void KeepViewOverField(ViewState& view, int32_t width, int32_t height) {
  view.cameraX = KeepAxis(view.cameraX, width);
  view.cameraY = KeepAxis(view.cameraY, height);
}

void StoreCursorCell(ViewState& view) {
  // The camera offset is unbounded: the quotients are taken in double.
  const double fieldX = static_cast<double>(view.mouseX) - static_cast<double>(view.cameraX);
  const double fieldY = static_cast<double>(view.mouseY) - static_cast<double>(view.cameraY);
  view.cursorColumn = CellOf(fieldX);
  view.cursorRow = CellOf(fieldY);
}

void PlaceCamera(ViewState& view, float x, float y) {
  view.cameraX = x;
  view.cameraY = y;
}

CameraOffset PannedCamera(const ViewState& view, int32_t columns, int32_t rows) {
  return {static_cast<float>(static_cast<double>(view.cameraX) - double{kCellSize} * columns),
          static_cast<float>(static_cast<double>(view.cameraY) - double{kCellSize} * rows)};
}

}  // namespace kragmoor
