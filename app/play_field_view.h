// The play field as the main window shows it: the native GL surface in its
// container (Panel3), the GL context, viewport and projection, and showing a
// picture the game has drawn, with the selection mark and the rectangle of a
// box drag in progress. Holds no game state:
// what it shows it reads from the world it is given.
#pragma once

#include <QRectF>
#include <QSize>
#include <memory>
#include <utility>
#include <vector>

#include "game/driver.h"
#include "game/session.h"
#include "render/gl.h"
#include "render/opengl_gl.h"
#include "world/tigrok.h"

class QOpenGLContext;
class QWidget;

namespace kragmoor {

class TPlayField;

class TPlayFieldView {
 public:
  // Makes the play field inside `parent`, black until the first picture.
  explicit TPlayFieldView(QWidget* parent);
  // Releases the GL context.
  ~TPlayFieldView();
  TPlayFieldView(const TPlayFieldView&) = delete;
  TPlayFieldView& operator=(const TPlayFieldView&) = delete;

  TPlayField* playField() const { return playField_; }
  QWidget* panel3() const { return panel3_; }
  FieldSize size() const;

  // Makes the GL context, current for good, and sets the fixed GL state.
  // Without a usable context the game runs on undrawn (the world does not
  // depend on what is drawn), and gl() stays null.
  void CreateGLContext();
  Gl* gl() const { return gl_.get(); }
  QOpenGLContext* context() const { return context_; }

  // The play field reports its size: when size or pixel ratio differ from
  // the last projected, sets viewport and projection and returns true.
  // Resizing reports both a resize and an expose: one true per size.
  bool Project();

  // After the game drew a frame through gl(): shows it, with the selection
  // mark over it (only the window marks the selection, after the frame's own
  // drawing). Nothing when no frame ended since the last picture shown.
  void Present(const Session& game);
  // The selection set the next pictures mark, each in a smaller square.
  void MarkSet(std::vector<int32_t> set) { marked_ = std::move(set); }

  // The rectangle of a left-button box drag, in play-field pixels (y
  // downwards), drawn over the next pictures until cleared. The window draws
  // it after the frame's own drawing, as it does the marks.
  void SetDragBox(QRectF box) { dragBox_ = box.normalized(); }
  void ClearDragBox() { dragBox_ = QRectF(); }
  QRectF dragBox() const { return dragBox_; }

  // The paused game's picture: the game as it stands, without a frame step.
  void ShowStill(const Session& game, TickSource& clock);

 private:
  TPlayField* playField_ = nullptr;  // owned by panel3_
  QWidget* panel3_ = nullptr;        // the container that embeds playField_
  QOpenGLContext* context_ = nullptr;
  std::vector<int32_t> marked_;
  QRectF dragBox_;                // null while no box drag is in progress
  std::unique_ptr<OpenGlGl> gl_;  // null without a usable context
  QSize projectedSize_;           // play-field size of the last Project
  qreal projectedRatio_ = 0;      // its device pixel ratio
  bool swapDue_ = false;          // a frame ended with its swap, not yet shown
};

}  // namespace kragmoor
