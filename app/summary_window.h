// The summary window: one chart per figure of a game's summary
// (game/replay/summary.h) over time, a line per side in its colour on the
// field, and the final table. A click on a chart's point asks to seek the
// replay to that point's frame.
#pragma once

#include <QWidget>
#include <array>
#include <cstdint>
#include <functional>
#include <vector>

#include "game/replay/summary.h"
#include "world/tigrok.h"

class QChartView;
class QTableWidget;

namespace kragmoor {

class TSummaryWindow final : public QWidget {
  Q_OBJECT

 public:
  // The figures are `summary`'s; the sides' colours `players`'.
  TSummaryWindow(const Summary& summary, const std::array<Player, kSideCount>& players,
                 QWidget* parent = nullptr);

  // The charts, one per figure, in the order of the CSV's columns.
  const std::vector<QChartView*>& charts() const { return charts_; }
  QTableWidget* table() const { return table_; }

  // Called with a point's frame when a chart's point is clicked (null: the
  // window has no replay to seek, after a live game without a recording).
  std::function<void(int64_t frame)> onSeek;

 private:
  std::vector<QChartView*> charts_;
  QTableWidget* table_ = nullptr;
};

}  // namespace kragmoor
