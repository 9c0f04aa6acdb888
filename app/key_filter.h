// An application-wide key filter: the keys a window takes for itself reach it
// whatever control has the focus, and never reach that control.
#pragma once

#include <QKeyEvent>
#include <QObject>
#include <functional>

namespace kragmoor {

class TKeyFilter final : public QObject {
 public:
  // Sees every key event of the application while it lives. `owns` says
  // whether an event's receiver belongs to the window; `onKey` acts on a key
  // press there and says whether the window takes that key. A taken key's
  // press and release go no further.
  TKeyFilter(std::function<bool(const QObject*)> owns, std::function<bool(const QKeyEvent&)> takes,
             std::function<void(const QKeyEvent&)> onKey);
  ~TKeyFilter() override;

  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  std::function<bool(const QObject*)> owns_;
  std::function<bool(const QKeyEvent&)> takes_;
  std::function<void(const QKeyEvent&)> onKey_;
};

}  // namespace kragmoor
