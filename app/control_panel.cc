// Panel2, the control panel.
#include "app/control_panel.h"

#include <QCheckBox>
#include <QColor>
#include <QListWidget>
#include <QString>
#include <QStringList>
#include <cmath>

#include "app/captions.h"
#include "app/radio_group.h"

namespace kragmoor {

namespace {

constexpr int kListItemHeight = 13;
// A side's colour swatch, right of its check box and level with it.
constexpr int kSwatchGap = 2;
constexpr int kSwatchSize = 11;

// A colour component of the player table as 8 bits, as GL turns it into a
// pixel of the field (the float product rounded to nearest, halves to even),
// so a swatch shows exactly its side's colour.
int Level(float component) {
  if (!(component > 0.0f)) return 0;  // NaN too
  if (component >= 1.0f) return 255;
  return static_cast<int>(std::nearbyint(component * 255.0f));
}

}  // namespace

TControlPanel::TControlPanel(QWidget* parent, TCaptions& captions) : QFrame(parent) {
  setObjectName("Panel2");
  setFrameStyle(QFrame::Panel | QFrame::Raised);

  listBox1_ = new QListWidget(this);
  listBox1_->setObjectName("ListBox1");
  listBox1_->setGeometry(8, 8, 193, 217);
  listBox1_->setUniformItemSizes(true);

  CreateRadioGroups(captions);
  CreateCheckBoxes(captions);
  captions.Add(
      QT_TRANSLATE_NOOP("kragmoor::TForm1", "Выбранная сущность, её поля и золото каждой стороны"),
      [this](const QString& text) { listBox1_->setToolTip(text); });
  captions.Add(QT_TRANSLATE_NOOP("kragmoor::TForm1",
                                 "Что делает щелчок левой кнопкой по полю с выбранной сущностью"),
               [this](const QString& text) { radioGroup1_->setToolTip(text); });
  captions.Add(QT_TRANSLATE_NOOP("kragmoor::TForm1", "Что строит щелчок в режиме «Строить»"),
               [this](const QString& text) { radioGroup2_->setToolTip(text); });
  for (int side = 0; side < kSideCount; ++side) {
    const QString n = QString::number(side + 1);
    captions.Add(
        QT_TRANSLATE_NOOP("kragmoor::TForm1",
                          "Сторона %1 играет за компьютер; снимите галочку, чтобы играть за неё"),
        [box = checkBoxes_[side], n](const QString& text) { box->setToolTip(text.arg(n)); });
  }
}

void TControlPanel::CreateRadioGroups(TCaptions& captions) {
  const std::array<const char*, 5> modes = {QT_TRANSLATE_NOOP("kragmoor::TForm1", "Выбрать"),
                                            QT_TRANSLATE_NOOP("kragmoor::TForm1", "Идти"),
                                            QT_TRANSLATE_NOOP("kragmoor::TForm1", "Атаковать"),
                                            QT_TRANSLATE_NOOP("kragmoor::TForm1", "Строить"),
                                            QT_TRANSLATE_NOOP("kragmoor::TForm1", "Чинить")};
  radioGroup1_ = new TRadioGroup(QString(), QStringList(modes.size()), kModeSelect, this);
  radioGroup1_->setObjectName("RadioGroup1");
  radioGroup1_->setGeometry(8, 232, 185, 105);
  radioGroup1_->onChosen = [this](int item) {
    if (!showingChoices_ && onClickMode) onClickMode(item);
  };
  captions.Add(QT_TRANSLATE_NOOP("kragmoor::TForm1", "Действие по клику мышки."),
               [this](const QString& text) { radioGroup1_->setTitle(text); });
  for (int i = 0; i < static_cast<int>(modes.size()); ++i) {
    captions.Add(modes[i],
                 [this, i](const QString& text) { radioGroup1_->button(i)->setText(text); });
  }

  const std::array<const char*, 2> builds = {QT_TRANSLATE_NOOP("kragmoor::TForm1", "Главная база"),
                                             QT_TRANSLATE_NOOP("kragmoor::TForm1", "Крестьянин")};
  radioGroup2_ = new TRadioGroup(QString(), QStringList(builds.size()), kBuildBase, this);
  radioGroup2_->setObjectName("RadioGroup2");
  radioGroup2_->setGeometry(8, 336, 185, 57);
  radioGroup2_->onChosen = [this](int item) {
    if (!showingChoices_ && onBuildItem) onBuildItem(item);
  };
  captions.Add(QT_TRANSLATE_NOOP("kragmoor::TForm1", "Строительство"),
               [this](const QString& text) { radioGroup2_->setTitle(text); });
  for (int i = 0; i < static_cast<int>(builds.size()); ++i) {
    captions.Add(builds[i],
                 [this, i](const QString& text) { radioGroup2_->button(i)->setText(text); });
  }
}

void TControlPanel::CreateCheckBoxes(TCaptions& captions) {
  for (int side = 0; side < kSideCount; ++side) {
    const QString n = QString::number(side + 1);
    auto* box = new QCheckBox(QStringLiteral("AI-") + n, this);
    box->setObjectName(QStringLiteral("CheckBox") + n);
    box->setGeometry(16 + 56 * side, 408, 41, 17);
    box->setChecked(true);
    checkBoxes_[side] = box;
    connect(box, &QCheckBox::toggled, this, [this] {
      if (showingChoices_ || !onComputerPlayers) return;
      std::array<bool, kSideCount> checked{};
      for (int s = 0; s < kSideCount; ++s) checked[s] = checkBoxes_[s]->isChecked();
      onComputerPlayers(checked);
    });

    auto* swatch = new QFrame(this);
    swatch->setObjectName(QStringLiteral("Swatch") + n);
    swatch->setFrameStyle(QFrame::Box | QFrame::Plain);  // a black rim round the colour
    swatch->setAutoFillBackground(true);
    swatch->setGeometry(box->geometry().right() + 1 + kSwatchGap,
                        box->y() + (box->height() - kSwatchSize) / 2, kSwatchSize, kSwatchSize);
    swatches_[side] = swatch;
    captions.Add(QT_TRANSLATE_NOOP("kragmoor::TForm1", "Цвет стороны %1"),
                 [swatch, n](const QString& text) { swatch->setToolTip(text.arg(n)); });
  }
}

void TControlPanel::ShowChoices(const std::array<bool, kSideCount>& computerPlayers, int clickMode,
                                int buildItem) {
  showingChoices_ = true;
  for (int side = 0; side < kSideCount; ++side) {
    checkBoxes_[side]->setChecked(computerPlayers[side]);
  }
  radioGroup1_->setItemIndex(clickMode);
  radioGroup2_->setItemIndex(buildItem);
  showingChoices_ = false;
}

void TControlPanel::ShowComputerPlayers(const std::array<bool, kSideCount>& computerPlayers,
                                        bool enabled) {
  showingChoices_ = true;
  for (int side = 0; side < kSideCount; ++side) {
    if (checkBoxes_[side]->isChecked() != computerPlayers[side]) {
      checkBoxes_[side]->setChecked(computerPlayers[side]);
    }
    if (checkBoxes_[side]->isEnabled() != enabled) checkBoxes_[side]->setEnabled(enabled);
  }
  showingChoices_ = false;
}

void TControlPanel::ShowInfo(const std::vector<InfoItem>& items) {
  QStringList lines;
  for (const InfoItem& item : items) {
    lines << QCoreApplication::translate(kInfoLabelContext, item.label) +
                 QString::fromStdString(item.value);
  }
  bool same = listBox1_->count() == lines.size();
  for (int i = 0; same && i < listBox1_->count(); ++i) {
    same = listBox1_->item(i)->text() == lines[i];
  }
  if (same) return;  // spares the list a repaint
  listBox1_->clear();
  for (const QString& line : lines) {
    auto* item = new QListWidgetItem(line, listBox1_);
    item->setSizeHint(QSize(0, kListItemHeight));
    item->setToolTip(line);  // the whole line, however long
  }
}

void TControlPanel::ShowSideColours(const std::array<Player, kSideCount>& players) {
  for (int side = 0; side < kSideCount; ++side) {
    const Player& p = players[side];
    const QColor colour(Level(p.red), Level(p.green), Level(p.blue));
    QFrame* swatch = swatches_[side];
    if (swatch->palette().color(QPalette::Window) == colour) continue;
    QPalette palette = swatch->palette();
    palette.setColor(QPalette::Window, colour);
    palette.setColor(QPalette::WindowText, Qt::black);  // the rim
    swatch->setPalette(palette);
  }
}

}  // namespace kragmoor
