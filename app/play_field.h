// The play field's native window: an OpenGL surface that reports its size,
// its exposure and the mouse to the main window. Holds no game state.
#pragma once

#include <QPointF>
#include <QWindow>
#include <functional>

namespace kragmoor {

// A left press and release further apart than this, either way, are a drag
// (box selection), not a click.
inline constexpr double kDragPixels = 4.0;

class TPlayField final : public QWindow {
 public:
  TPlayField();

  // Called when the size may have changed (a resize, or an expose that
  // reports one), while the window is exposed.
  std::function<void()> onSizeReport;
  // Called on every mouse movement over the window, in logical pixels, y
  // counted downwards.
  std::function<void(QPointF)> onMouseMove;
  // Called when the pointer leaves the window.
  std::function<void()> onLeave;
  // Called on a left click: press and release both over the window, the
  // pointer moved less than kDragPixels between them.
  std::function<void()> onClick;
  // Called while a left-button drag is in progress, before onMouseMove:
  // from where the press was to where the pointer is now.
  std::function<void(QPointF, QPointF)> onDragMove;
  // Called when that drag ends (its release, wherever it is), before onDrag.
  std::function<void()> onDragEnd;
  // Called on a left-button drag released over the window: from where the
  // press was to the release, and whether Shift was held.
  std::function<void(QPointF, QPointF, bool)> onDrag;
  // Called on a right-button release over the window, where it was.
  std::function<void(QPointF)> onRightClick;
  // Called while the middle button is held and the pointer moves: by how far.
  std::function<void(QPointF)> onPan;

 protected:
  bool event(QEvent* event) override;
  void exposeEvent(QExposeEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  bool leftPressed_ = false;  // a left press over the window awaits its release
  QPointF leftFrom_;          // where it was
  bool dragging_ = false;     // it has moved beyond kDragPixels: a drag
  bool middlePressed_ = false;
  QPointF middleAt_;  // the pointer when the middle drag last moved
};

// The pixel format the play field asks for: double-buffered RGBA with 8 bits
// per channel (32-bit colour), no vertical sync wait.
QSurfaceFormat PlayFieldFormat();

}  // namespace kragmoor
