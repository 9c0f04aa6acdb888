// The application-wide key filter.
#include "app/key_filter.h"

#include <QCoreApplication>
#include <utility>

namespace kragmoor {

TKeyFilter::TKeyFilter(std::function<bool(const QObject*)> owns,
                       std::function<bool(const QKeyEvent&)> takes,
                       std::function<void(const QKeyEvent&)> onKey)
    : owns_(std::move(owns)), takes_(std::move(takes)), onKey_(std::move(onKey)) {
  QCoreApplication::instance()->installEventFilter(this);
}

TKeyFilter::~TKeyFilter() { QCoreApplication::instance()->removeEventFilter(this); }

bool TKeyFilter::eventFilter(QObject* watched, QEvent* event) {
  const QEvent::Type type = event->type();
  if (type != QEvent::KeyPress && type != QEvent::KeyRelease) return false;
  const auto& key = static_cast<const QKeyEvent&>(*event);
  if (!owns_(watched) || !takes_(key)) return false;
  // A key travels from the window to the focused control and up its
  // parents; taken at the first of them, it is acted on once.
  if (type == QEvent::KeyPress) onKey_(key);
  return true;
}

}  // namespace kragmoor
