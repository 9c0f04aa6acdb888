// The play panel beside the game's own layout: the hint of the first steps,
// the map of the whole field,
// the line that counts what is selected, the plain-words line of the
// selected entity, the train button, the computer players' levels and the
// event log. Shows what it is given and reports what the player chose;
// holds no game state.
#pragma once

#include <QWidget>
#include <array>
#include <functional>
#include <string>

#include "world/tigrok.h"

class QComboBox;
class QLabel;
class QListWidget;
class QPushButton;

namespace kragmoor {

class TCaptions;
class TFieldMapView;

class TPlayPanel final : public QWidget {
 public:
  TPlayPanel(QWidget* parent, TCaptions& captions);

  std::function<void()> onTrain;
  // Never called while ShowLevels sets them.
  std::function<void(const std::array<int32_t, kSideCount>&)> onLevels;

  TFieldMapView* map() const { return map_; }
  void ShowLines(const std::string& count, const std::string& description);
  void ShowLevels(const std::array<int32_t, kSideCount>& levels);
  // A line at the end of the event log (the oldest drop off).
  void AddEvent(const std::string& text);
  void ClearEvents();
  // The hint line at the top; hidden while empty.
  void ShowHint(const QString& text);

 private:
  QLabel* hint_ = nullptr;
  TFieldMapView* map_ = nullptr;
  QLabel* count_ = nullptr;
  QLabel* description_ = nullptr;
  QPushButton* train_ = nullptr;
  std::array<QComboBox*, kSideCount> levels_{};
  QListWidget* log_ = nullptr;
  bool showingLevels_ = false;
};

}  // namespace kragmoor
