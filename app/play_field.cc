// The play field's native window.
#include "app/play_field.h"

#include <QMouseEvent>
#include <QSurfaceFormat>

namespace kragmoor {

namespace {

// A press and a point further apart than kDragPixels, either way.
bool IsDrag(QPointF from, QPointF to) {
  const QPointF moved = to - from;
  return qAbs(moved.x()) > kDragPixels || qAbs(moved.y()) > kDragPixels;
}

}  // namespace

QSurfaceFormat PlayFieldFormat() {
  QSurfaceFormat format;
  format.setRenderableType(QSurfaceFormat::OpenGL);
  format.setSwapBehavior(QSurfaceFormat::DoubleBuffer);
  format.setRedBufferSize(8);
  format.setGreenBufferSize(8);
  format.setBlueBufferSize(8);
  format.setAlphaBufferSize(8);
  // The 10 ms timer paces the frames; waiting for vertical sync would slow
  // them to the display's rate.
  format.setSwapInterval(0);
  return format;
}

TPlayField::TPlayField() {
  setSurfaceType(QSurface::OpenGLSurface);
  setFormat(PlayFieldFormat());
}

bool TPlayField::event(QEvent* event) {
  if (event->type() == QEvent::Leave && onLeave) onLeave();
  return QWindow::event(event);
}

void TPlayField::exposeEvent(QExposeEvent* /*event*/) {
  if (isExposed() && onSizeReport) onSizeReport();
}

void TPlayField::resizeEvent(QResizeEvent* /*event*/) {
  if (isExposed() && onSizeReport) onSizeReport();
}

void TPlayField::mouseMoveEvent(QMouseEvent* event) {
  if (leftPressed_ && (dragging_ || IsDrag(leftFrom_, event->position()))) {
    dragging_ = true;
    if (onDragMove) onDragMove(leftFrom_, event->position());
  }
  if (onMouseMove) onMouseMove(event->position());
  if (middlePressed_) {
    const QPointF p = event->position();
    if (onPan) onPan(p - middleAt_);
    middleAt_ = p;
  }
}

void TPlayField::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) {
    leftPressed_ = true;
    leftFrom_ = event->position();
  } else if (event->button() == Qt::MiddleButton) {
    middlePressed_ = true;
    middleAt_ = event->position();
  }
}

void TPlayField::mouseReleaseEvent(QMouseEvent* event) {
  const QPointF p = event->position();
  const bool inside = p.x() >= 0 && p.y() >= 0 && p.x() < width() && p.y() < height();
  if (event->button() == Qt::MiddleButton) middlePressed_ = false;
  if (event->button() == Qt::RightButton && inside && onRightClick) onRightClick(p);
  if (event->button() != Qt::LeftButton || !leftPressed_) return;
  leftPressed_ = false;
  if (dragging_) {
    dragging_ = false;
    if (onDragEnd) onDragEnd();
  }
  if (IsDrag(leftFrom_, p)) {
    if (inside && onDrag) onDrag(leftFrom_, p, event->modifiers() & Qt::ShiftModifier);
  } else if (inside && onClick) {
    onClick();
  }
}

}  // namespace kragmoor
