// The summary window: its charts (Qt Charts) and its final table.
#include "app/summary_window.h"

#include <QChart>
#include <QChartView>
#include <QGridLayout>
#include <QHeaderView>
#include <QLineSeries>
#include <QTableWidget>
#include <QVBoxLayout>
#include <QValueAxis>
#include <cmath>

namespace kragmoor {

namespace {

struct Figure {
  const char* title;
  int64_t (*of)(const SideFigures& f);
};

// In the order of the CSV's columns.
const Figure kFigures[] = {
    {QT_TRANSLATE_NOOP("kragmoor::TSummaryWindow", "Золото в казне"),
     [](const SideFigures& f) { return int64_t{f.gold}; }},
    {QT_TRANSLATE_NOOP("kragmoor::TSummaryWindow", "Добыто золота"),
     [](const SideFigures& f) { return f.mined; }},
    {QT_TRANSLATE_NOOP("kragmoor::TSummaryWindow", "Крестьяне"),
     [](const SideFigures& f) { return int64_t{f.peasants}; }},
    {QT_TRANSLATE_NOOP("kragmoor::TSummaryWindow", "Главные базы"),
     [](const SideFigures& f) { return int64_t{f.bases}; }},
    {QT_TRANSLATE_NOOP("kragmoor::TSummaryWindow", "Потеряно"),
     [](const SideFigures& f) { return f.lost; }},
    {QT_TRANSLATE_NOOP("kragmoor::TSummaryWindow", "Уничтожено"),
     [](const SideFigures& f) { return f.killed; }},
    {QT_TRANSLATE_NOOP("kragmoor::TSummaryWindow", "Отдано приказов"),
     [](const SideFigures& f) { return f.orders; }},
};

constexpr int kChartColumns = 2;

}  // namespace

TSummaryWindow::TSummaryWindow(const Summary& summary,
                               const std::array<Player, kSideCount>& players, QWidget* parent)
    : QWidget(parent, Qt::Window) {
  setObjectName("SummaryWindow");
  setAttribute(Qt::WA_DeleteOnClose);
  setWindowTitle(tr("Итоги игры"));
  auto* layout = new QVBoxLayout(this);
  auto* grid = new QGridLayout;
  layout->addLayout(grid, 1);
  const int64_t last = summary.samples.empty() ? 0 : summary.samples.back().frame;
  int index = 0;
  for (const Figure& figure : kFigures) {
    auto* chart = new QChart;
    chart->setTitle(tr(figure.title));
    chart->legend()->setVisible(index == 0);
    auto* frames = new QValueAxis;
    frames->setRange(0, static_cast<qreal>(std::max<int64_t>(last, 1)));
    frames->setLabelFormat(QStringLiteral("%d"));
    auto* values = new QValueAxis;
    values->setLabelFormat(QStringLiteral("%d"));
    chart->addAxis(frames, Qt::AlignBottom);
    chart->addAxis(values, Qt::AlignLeft);
    int64_t top = 1;
    for (int side = 0; side < kSideCount; ++side) {
      auto* series = new QLineSeries;
      series->setName(tr("Сторона %1").arg(side + 1));
      const Player& p = players[side];
      series->setColor(QColor::fromRgbF(p.red, p.green, p.blue));
      series->setPointsVisible(summary.samples.size() <= 200);
      for (const SummarySample& sample : summary.samples) {
        const int64_t value = figure.of(sample.sides[side]);
        top = std::max(top, value);
        series->append(static_cast<qreal>(sample.frame), static_cast<qreal>(value));
      }
      chart->addSeries(series);
      series->attachAxis(frames);
      series->attachAxis(values);
      connect(series, &QLineSeries::clicked, this, [this](const QPointF& point) {
        if (onSeek) onSeek(std::llround(std::max(0.0, point.x())));
      });
    }
    values->setRange(0, static_cast<qreal>(top));
    auto* view = new QChartView(chart, this);
    view->setObjectName(QStringLiteral("SummaryChart%1").arg(index));
    view->setRenderHint(QPainter::Antialiasing);
    view->setMinimumSize(320, 200);
    grid->addWidget(view, index / kChartColumns, index % kChartColumns);
    charts_.push_back(view);
    ++index;
  }

  // The final table: a row per side, a column per figure.
  table_ = new QTableWidget(kSideCount, static_cast<int>(std::size(kFigures)), this);
  table_->setObjectName("SummaryTable");
  table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  QStringList headers;
  for (const Figure& figure : kFigures) headers << tr(figure.title);
  table_->setHorizontalHeaderLabels(headers);
  for (int side = 0; side < kSideCount; ++side) {
    table_->setVerticalHeaderItem(side, new QTableWidgetItem(tr("Сторона %1").arg(side + 1)));
    for (int column = 0; column < table_->columnCount(); ++column) {
      const int64_t value =
          summary.samples.empty() ? 0 : kFigures[column].of(summary.samples.back().sides[side]);
      table_->setItem(side, column, new QTableWidgetItem(QString::number(value)));
    }
  }
  table_->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
  table_->setMaximumHeight(table_->verticalHeader()->length() +
                           table_->horizontalHeader()->height() + 6);
  layout->addWidget(table_);
  resize(760, 900);
}

}  // namespace kragmoor
