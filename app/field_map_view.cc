// The map of the whole field.
#include "app/field_map_view.h"

#include <QMouseEvent>
#include <QPainter>

namespace kragmoor {

namespace {

constexpr double kDotPixels = 3.0;    // an entity's dot, across
constexpr double kFlashPixels = 9.0;  // the ring round a base under attack

QColor ColourOf(const MapDot& dot) { return QColor::fromRgbF(dot.red, dot.green, dot.blue); }

QRectF RectOf(const MapRect& r) {
  return QRectF(QPointF(r.left, r.top), QPointF(r.right, r.bottom));
}

}  // namespace

TFieldMapView::TFieldMapView(QWidget* parent) : QWidget(parent) {
  setObjectName("FieldMap");
  setMouseTracking(false);
  setCursor(Qt::CrossCursor);
}

void TFieldMapView::Show(const Session& game, int flashSlot) {
  panelWidth_ = game.player.panelWidth;
  panelHeight_ = game.player.panelHeight;
  flashSlot_ = flashSlot;
  map_ = MakeFieldMap(game.world, game.player.view, width(), height(), panelWidth_, panelHeight_);
  update();
}

void TFieldMapView::paintEvent(QPaintEvent* /*event*/) {
  QPainter painter(this);
  painter.fillRect(rect(), Qt::black);
  painter.setPen(QColor(110, 110, 110));
  painter.drawRect(RectOf(map_.outline));
  painter.setPen(Qt::NoPen);
  for (const MapDot& dot : map_.dots) {
    painter.setBrush(ColourOf(dot));
    painter.drawEllipse(QPointF(dot.x, dot.y), kDotPixels / 2, kDotPixels / 2);
    if (dot.slot == flashSlot_) {
      painter.setBrush(Qt::NoBrush);
      painter.setPen(QPen(Qt::red, 2));
      painter.drawEllipse(QPointF(dot.x, dot.y), kFlashPixels / 2, kFlashPixels / 2);
      painter.setPen(Qt::NoPen);
    }
  }
  painter.setBrush(Qt::NoBrush);
  painter.setPen(Qt::white);
  painter.drawRect(RectOf(map_.view));
}

void TFieldMapView::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) Report(event->position());
}

void TFieldMapView::mouseMoveEvent(QMouseEvent* event) {
  if (event->buttons() & Qt::LeftButton) Report(event->position());
}

void TFieldMapView::Report(QPointF at) {
  if (onCamera) onCamera(CameraForMapPoint(map_, at.x(), at.y(), panelWidth_, panelHeight_));
}

}  // namespace kragmoor
