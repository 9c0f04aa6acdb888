// The map of the whole field in the play panel: every live entity a dot in
// its side's colour, the field's outline, the play field's view as a
// rectangle, and flashes where the player's entities were hurt, lost or left
// idle (seen, never heard). A click or drag reports
// the camera that centres the play field there. Holds no game state.
#pragma once

#include <QColor>
#include <QElapsedTimer>
#include <QWidget>
#include <functional>
#include <vector>

#include "game/field_map.h"
#include "game/session.h"
#include "world/rules.h"

namespace kragmoor {

class TFieldMapView final : public QWidget {
 public:
  explicit TFieldMapView(QWidget* parent);

  // Called with the camera a click or drag on the map asks for.
  std::function<void(CameraOffset)> onCamera;

  // The map of the game as its player sees it (the view and the play
  // field's size are theirs), with the flashes not yet over.
  void Show(const Session& game);
  // A ring blinking in `colour` at field point (x, y) for kFlashMs.
  void Flash(float x, float y, QColor colour);
  // Flashes still blinking.
  int flashes() const { return static_cast<int>(flashes_.size()); }
  void ClearFlashes() { flashes_.clear(); }

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;

 private:
  void Report(QPointF at);

  FieldMap map_;
  int32_t panelWidth_ = kStartPanelWidth;
  int32_t panelHeight_ = kStartPanelHeight;
  struct Flash_ {
    double x = 0.0;  // field units
    double y = 0.0;
    QColor colour;
    QElapsedTimer since;
  };
  std::vector<Flash_> flashes_;
};

}  // namespace kragmoor
