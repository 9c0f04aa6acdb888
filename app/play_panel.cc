// The play panel.
#include "app/play_panel.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/captions.h"
#include "app/field_map_view.h"

namespace kragmoor {

namespace {

constexpr int kMapPixels = 190;     // the map's width and height
constexpr int kEventLogLines = 50;  // the log keeps the newest this many
constexpr int kLevels = 3;          // 1 and 2 the easier computer players, 3 the normal one

}  // namespace

TPlayPanel::TPlayPanel(QWidget* parent, TCaptions& captions) : QWidget(parent) {
  setObjectName("PlayPanel");
  auto* column = new QVBoxLayout(this);
  hint_ = new QLabel(this);
  hint_->setObjectName("Hint");
  hint_->setWordWrap(true);
  hint_->setMaximumWidth(kMapPixels);
  hint_->setStyleSheet(QStringLiteral("font-weight: bold"));
  hint_->hide();
  column->addWidget(hint_);
  map_ = new TFieldMapView(this);
  map_->setFixedSize(kMapPixels, kMapPixels);
  captions.Add(QT_TRANSLATE_NOOP("kragmoor::TForm1",
                                 "Карта всего поля: щелчок или протяжка переносит туда вид"),
               [this](const QString& t) { map_->setToolTip(t); });
  column->addWidget(map_);

  count_ = new QLabel(this);
  count_->setObjectName("SelectionCount");
  description_ = new QLabel(this);
  description_->setObjectName("Description");
  description_->setWordWrap(true);
  captions.Add(QT_TRANSLATE_NOOP("kragmoor::TForm1", "Сколько чего выбрано"),
               [this](const QString& t) { count_->setToolTip(t); });
  captions.Add(QT_TRANSLATE_NOOP("kragmoor::TForm1", "Выбранный объект простыми словами"),
               [this](const QString& t) { description_->setToolTip(t); });
  column->addWidget(count_);
  column->addWidget(description_);

  train_ = new QPushButton(this);
  train_->setObjectName("TrainButton");
  train_->setFocusPolicy(Qt::NoFocus);
  captions.Add(QT_TRANSLATE_NOOP("kragmoor::TForm1", "Обучить крестьянина (P)"),
               [this](const QString& t) { train_->setText(t); });
  captions.Add(
      QT_TRANSLATE_NOOP("kragmoor::TForm1", "Каждая выбранная главная база обучает крестьянина"),
      [this](const QString& t) { train_->setToolTip(t); });
  connect(train_, &QPushButton::clicked, this, [this] {
    if (onTrain) onTrain();
  });
  column->addWidget(train_);

  auto* grid = new QGridLayout;
  for (int side = 0; side < kSideCount; ++side) {
    auto* label = new QLabel(QStringLiteral("AI-%1").arg(side + 1), this);
    auto* box = new QComboBox(this);
    box->setObjectName(QStringLiteral("Level%1").arg(side + 1));
    box->setFocusPolicy(Qt::NoFocus);
    for (int level = 1; level <= kLevels; ++level) box->addItem(QString());
    captions.Add(QT_TRANSLATE_NOOP("kragmoor::TForm1", "Лёгкий"),
                 [box](const QString& t) { box->setItemText(0, t); });
    captions.Add(QT_TRANSLATE_NOOP("kragmoor::TForm1", "Средний"),
                 [box](const QString& t) { box->setItemText(1, t); });
    captions.Add(QT_TRANSLATE_NOOP("kragmoor::TForm1", "Нормальный"),
                 [box](const QString& t) { box->setItemText(2, t); });
    captions.Add(QT_TRANSLATE_NOOP("kragmoor::TForm1", "Уровень компьютерного игрока стороны %1"),
                 [box, side](const QString& t) { box->setToolTip(t.arg(side + 1)); });
    box->setCurrentIndex(kLevels - 1);
    connect(box, &QComboBox::currentIndexChanged, this, [this] {
      if (showingLevels_ || !onLevels) return;
      std::array<int32_t, kSideCount> chosen{};
      for (int s = 0; s < kSideCount; ++s) chosen[s] = levels_[s]->currentIndex() + 1;
      onLevels(chosen);
    });
    levels_[side] = box;
    grid->addWidget(label, side, 0);
    grid->addWidget(box, side, 1);
  }
  column->addLayout(grid);

  log_ = new QListWidget(this);
  log_->setObjectName("EventLog");
  log_->setFocusPolicy(Qt::NoFocus);
  captions.Add(QT_TRANSLATE_NOOP("kragmoor::TForm1", "Что случилось в игре, новое внизу"),
               [this](const QString& t) { log_->setToolTip(t); });
  column->addWidget(log_, 1);
}

void TPlayPanel::ShowLines(const std::string& count, const std::string& description) {
  const QString c = QString::fromStdString(count);
  const QString d = QString::fromStdString(description);
  if (count_->text() != c) count_->setText(c);
  if (description_->text() != d) description_->setText(d);
}

void TPlayPanel::ShowLevels(const std::array<int32_t, kSideCount>& levels) {
  showingLevels_ = true;
  for (int side = 0; side < kSideCount; ++side) levels_[side]->setCurrentIndex(levels[side] - 1);
  showingLevels_ = false;
}

void TPlayPanel::AddEvent(const std::string& text) {
  log_->addItem(QString::fromStdString(text));
  while (log_->count() > kEventLogLines) delete log_->takeItem(0);
  log_->scrollToBottom();
}

void TPlayPanel::ClearEvents() { log_->clear(); }

void TPlayPanel::ShowHint(const QString& text) {
  if (hint_->text() != text) hint_->setText(text);
  hint_->setVisible(!text.isEmpty());
}

}  // namespace kragmoor
