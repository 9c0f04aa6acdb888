// Edge scroll, cursor cell and the camera's setters.
#include "sim/view.h"

#include "world/convert.h"
#include "world/rules.h"

namespace kragmoor {

void ScrollCamera(ViewState& view, int32_t width, int32_t height) {
  // Read once for all four tests; W - margin in 64 bits cannot overflow.
  const int64_t mx = view.mouseX;
  const int64_t my = view.mouseY;
  if (mx < kScrollMargin) view.cameraX += kScrollStep;
  if (my < kScrollMargin) view.cameraY += kScrollStep;
  if (mx > int64_t{width} - kScrollMargin) view.cameraX -= kScrollStep;
  if (my > int64_t{height} - kScrollMargin) view.cameraY -= kScrollStep;
}

void StoreCursorCell(ViewState& view) {
  // The camera offset is unbounded: the quotients are taken in double.
  const double fieldX = static_cast<double>(view.mouseX) - static_cast<double>(view.cameraX);
  const double fieldY = static_cast<double>(view.mouseY) - static_cast<double>(view.cameraY);
  view.cursorColumn = TruncToInt32(fieldX / kCellSize);
  view.cursorRow = TruncToInt32(fieldY / kCellSize);
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
