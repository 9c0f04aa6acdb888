// The play field as the main window shows it.
#include "app/play_field_view.h"

#include <QOpenGLContext>
#include <QPalette>
#include <QWidget>
#include <QtMath>

#include "app/play_field.h"
#include "render/scene.h"

namespace kragmoor {

namespace {

// The box drag's rectangle over the picture. The frame left the camera's
// translation in place, so a pixel (px, py), y downwards, is the field point
// (px - cameraX, height - py - cameraY).
void DrawDragBox(QRectF box, const ViewState& view, int height, Gl& gl) {
  const auto vertex = [&](double px, double py) {
    gl.Vertex3f(static_cast<float>(px - view.cameraX),
                static_cast<float>(height - py - view.cameraY), 0.0f);
  };
  gl.PushAttrib(kCurrentBit);
  gl.Color3f(1.0f, 1.0f, 1.0f);
  gl.Begin(GlEnum::kLineLoop);
  vertex(box.left(), box.top());
  vertex(box.right(), box.top());
  vertex(box.right(), box.bottom());
  vertex(box.left(), box.bottom());
  gl.End();
  gl.PopAttrib();
}

}  // namespace

TPlayFieldView::TPlayFieldView(QWidget* parent) {
  playField_ = new TPlayField;
  playField_->setObjectName("Panel3");
  panel3_ = QWidget::createWindowContainer(playField_, parent);
  panel3_->setObjectName("Panel3");
  panel3_->setPalette(QPalette(Qt::black));
  panel3_->setAutoFillBackground(true);
}

TPlayFieldView::~TPlayFieldView() {
  gl_.reset();
  if (context_ != nullptr) {
    context_->doneCurrent();
    delete context_;
  }
}

FieldSize TPlayFieldView::size() const { return {playField_->width(), playField_->height()}; }

void TPlayFieldView::CreateGLContext() {
  playField_->create();
  context_ = new QOpenGLContext;
  context_->setFormat(PlayFieldFormat());
  if (!context_->create() || !context_->makeCurrent(playField_)) return;
  // The frame's last call: the picture is shown once the frame has returned.
  gl_ = std::make_unique<OpenGlGl>([this] { swapDue_ = true; });
  InitOpenGL(*gl_);
}

bool TPlayFieldView::Project() {
  const QSize size = playField_->size();
  const qreal ratio = playField_->devicePixelRatio();
  if (size == projectedSize_ && ratio == projectedRatio_) return false;
  projectedSize_ = size;
  projectedRatio_ = ratio;
  if (gl_) {
    SetProjection(*gl_, size.width(), size.height(), qRound(size.width() * ratio),
                  qRound(size.height() * ratio));
  }
  return true;
}

void TPlayFieldView::Present(const Session& game) {
  if (!swapDue_) return;
  swapDue_ = false;
  if (!playField_->isExposed()) return;
  DrawSetMarks(game.world, marked_, *gl_);
  DrawSelectionMark(game.world, game.player.view, *gl_);
  if (!dragBox_.isNull()) DrawDragBox(dragBox_, game.player.view, playField_->height(), *gl_);
  context_->swapBuffers(playField_);
}

void TPlayFieldView::ShowStill(const Session& game, TickSource& clock) {
  if (!gl_ || !playField_->isExposed()) return;
  DrawStill(game.world, game.player.view, *gl_, &clock);
  Present(game);
}

}  // namespace kragmoor
