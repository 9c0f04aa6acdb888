// The map of the whole field.
#include "app/field_map_view.h"

#include <QMouseEvent>
#include <QPainter>
#include <algorithm>
#include <cmath>

#include "world/rules.h"

namespace kragmoor {

namespace {

constexpr double kDotPixels = 3.0;     // an entity's dot, across
constexpr double kFlashPixels = 11.0;  // the ring where something happened, across
constexpr qint64 kFlashMs = 3000;      // how long a ring blinks
constexpr qint64 kBlinkMs = 250;       // shown and hidden in turns this long
constexpr size_t kMostFlashes = 16;    // the newest this many blink at once

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

void TFieldMapView::Show(const Session& game) {
  panelWidth_ = game.player.panelWidth;
  panelHeight_ = game.player.panelHeight;
  std::erase_if(flashes_, [](const Flash_& f) { return f.since.elapsed() >= kFlashMs; });
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
  }
  painter.setBrush(Qt::NoBrush);
  for (const Flash_& f : flashes_) {
    if ((f.since.elapsed() / kBlinkMs) % 2 != 0) continue;
    painter.setPen(QPen(f.colour, 2));
    const QPointF at((f.x - map_.originX) * map_.scale, (map_.originY - f.y) * map_.scale);
    painter.drawEllipse(at, kFlashPixels / 2, kFlashPixels / 2);
  }
  painter.setPen(Qt::white);
  painter.drawRect(RectOf(map_.view));
}

void TFieldMapView::Flash(float x, float y, QColor colour) {
  if (!std::isfinite(x) || !std::isfinite(y)) return;
  // Far out, as the map shows entities: at its edge.
  const auto near = [](double v) { return std::clamp(v, -kMapReach, kFieldSize + kMapReach); };
  Flash_ flash{near(x), near(y), colour, {}};
  flash.since.start();
  flashes_.push_back(flash);
  if (flashes_.size() > kMostFlashes) flashes_.erase(flashes_.begin());
  update();
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
