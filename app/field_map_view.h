// The map of the whole field in the play panel: every live entity a dot in
// its side's colour, the field's outline, the play field's view as a
// rectangle, and a flash on a base under attack. A click or drag reports
// the camera that centres the play field there. Holds no game state.
#pragma once

#include <QWidget>
#include <functional>

#include "game/field_map.h"
#include "game/session.h"

namespace kragmoor {

class TFieldMapView final : public QWidget {
 public:
  explicit TFieldMapView(QWidget* parent);

  // Called with the camera a click or drag on the map asks for.
  std::function<void(CameraOffset)> onCamera;

  // The map of the game as its player sees it (the view and the play
  // field's size are theirs); `flashSlot` (or -1) is drawn ringed, a base
  // under attack.
  void Show(const Session& game, int flashSlot);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;

 private:
  void Report(QPointF at);

  FieldMap map_;
  int32_t panelWidth_ = 485;
  int32_t panelHeight_ = 447;
  int flashSlot_ = -1;
};

}  // namespace kragmoor
