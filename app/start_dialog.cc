// The start dialog and the start choices kept between runs.
#include "app/start_dialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QEvent>
#include <QFormLayout>
#include <QLabel>
#include <QPushButton>
#include <QSettings>
#include <QVBoxLayout>

#include "app/language.h"

namespace kragmoor {

namespace {

constexpr char kSideKey[] = "start/side";      // -1 to 2, as StartChoice::side
constexpr char kLevelsKey[] = "start/levels";  // three digits, as --levels

// Beside the language (language.cc): ~/.config/kragmoor/kragmoor.conf.
QSettings Settings() { return QSettings(QStringLiteral("kragmoor"), QStringLiteral("kragmoor")); }

QString LevelsText(const std::array<int32_t, kSideCount>& levels) {
  QString text;
  for (const int32_t level : levels) text += QString::number(level);
  return text;
}

}  // namespace

bool ParseLevels(const QString& text, std::array<int32_t, kSideCount>& levels) {
  if (text.size() != kSideCount) return false;
  std::array<int32_t, kSideCount> read{};
  for (int side = 0; side < kSideCount; ++side) {
    const QChar c = text[side];
    if (c < QLatin1Char('1') || c > QLatin1Char('0' + kNormalLevel)) return false;
    read[side] = c.unicode() - '0';
  }
  levels = read;
  return true;
}

bool HasSavedStartChoice() { return Settings().contains(kSideKey); }

StartChoice SavedStartChoice() {
  const QSettings settings = Settings();
  StartChoice choice;
  const int side = settings.value(kSideKey, 0).toInt();
  choice.side = side >= -1 && side < kSideCount ? side : 0;
  ParseLevels(settings.value(kLevelsKey).toString(), choice.levels);
  // The menu's choice when one was made, else the system's language.
  choice.language = HasSavedLanguage() ? SavedLanguage() : SystemLanguage();
  return choice;
}

void SaveStartChoice(const StartChoice& choice) {
  QSettings settings = Settings();
  settings.setValue(kSideKey, choice.side);
  settings.setValue(kLevelsKey, LevelsText(choice.levels));
  if (IsLanguage(choice.language)) SaveLanguage(choice.language);
}

TStartDialog::TStartDialog(QWidget* parent, const StartChoice& initial) : QDialog(parent) {
  setObjectName("StartDialog");
  auto* column = new QVBoxLayout(this);
  auto* intro = new QLabel(this);
  intro->setWordWrap(true);
  captions_.Add(QT_TRANSLATE_NOOP("kragmoor::TForm1",
                                  "Выберите свою сторону и силу противников. Игра начнётся на "
                                  "паузе: пробел — пуск, F1 — правила."),
                [intro](const QString& t) { intro->setText(t); });
  column->addWidget(intro);

  auto* form = new QFormLayout;
  side_ = new QComboBox(this);
  side_->setObjectName("StartSide");
  for (int item = 0; item <= kSideCount; ++item) side_->addItem(QString());
  for (int side = 0; side < kSideCount; ++side) {
    captions_.Add(QT_TRANSLATE_NOOP("kragmoor::TForm1", "Сторона %1"),
                  [this, side](const QString& t) { side_->setItemText(side, t.arg(side + 1)); });
  }
  captions_.Add(QT_TRANSLATE_NOOP("kragmoor::TForm1", "Никакая: смотреть, как играет компьютер"),
                [this](const QString& t) { side_->setItemText(kSideCount, t); });
  auto* sideLabel = new QLabel(this);
  captions_.Add(QT_TRANSLATE_NOOP("kragmoor::TForm1", "Ваша сторона:"),
                [sideLabel](const QString& t) { sideLabel->setText(t); });
  form->addRow(sideLabel, side_);
  for (int side = 0; side < kSideCount; ++side) {
    auto* box = new QComboBox(this);
    box->setObjectName(QStringLiteral("StartLevel%1").arg(side + 1));
    for (int level = 1; level <= kNormalLevel; ++level) box->addItem(QString());
    captions_.Add(QT_TRANSLATE_NOOP("kragmoor::TForm1", "Лёгкий"),
                  [box](const QString& t) { box->setItemText(0, t); });
    captions_.Add(QT_TRANSLATE_NOOP("kragmoor::TForm1", "Средний"),
                  [box](const QString& t) { box->setItemText(1, t); });
    captions_.Add(QT_TRANSLATE_NOOP("kragmoor::TForm1", "Нормальный"),
                  [box](const QString& t) { box->setItemText(2, t); });
    box->setCurrentIndex(initial.levels[side] - 1);
    auto* label = new QLabel(this);
    captions_.Add(QT_TRANSLATE_NOOP("kragmoor::TForm1", "Компьютер стороны %1:"),
                  [label, side](const QString& t) { label->setText(t.arg(side + 1)); });
    form->addRow(label, box);
    levels_[side] = box;
  }
  // Both names stay as they are in either language, as in the menu.
  language_ = new QComboBox(this);
  language_->setObjectName("StartLanguage");
  language_->addItem(QStringLiteral("Русский"), QString(kRussian));
  language_->addItem(QStringLiteral("English"), QString(kEnglish));
  language_->setCurrentIndex(initial.language == kEnglish ? 1 : 0);
  form->addRow(new QLabel(QStringLiteral("Язык / Language:"), this), language_);
  column->addLayout(form);

  // Buttons of its own: a box's standard buttons take their own texts back
  // at a change of language.
  auto* buttons = new QDialogButtonBox(this);
  QPushButton* play = buttons->addButton(QString(), QDialogButtonBox::AcceptRole);
  play->setObjectName("StartPlay");
  play->setDefault(true);
  captions_.Add(QT_TRANSLATE_NOOP("kragmoor::TForm1", "Играть"),
                [play](const QString& t) { play->setText(t); });
  QPushButton* cancel = buttons->addButton(QString(), QDialogButtonBox::RejectRole);
  captions_.Add(QT_TRANSLATE_NOOP("kragmoor::TForm1", "Отмена"),
                [cancel](const QString& t) { cancel->setText(t); });
  captions_.Add(QT_TRANSLATE_NOOP("kragmoor::TForm1", "KRAGMOOR: новая игра"),
                [this](const QString& t) { setWindowTitle(t); });
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  column->addWidget(buttons);

  side_->setCurrentIndex(initial.side >= 0 && initial.side < kSideCount ? initial.side
                                                                        : kSideCount);
  ShowSide();
  connect(side_, &QComboBox::currentIndexChanged, this, [this] { ShowSide(); });
  connect(language_, &QComboBox::currentIndexChanged, this,
          [this] { ApplyLanguage(language_->currentData().toString()); });
}

StartChoice TStartDialog::choice() const {
  StartChoice choice;
  choice.side = side_->currentIndex() < kSideCount ? side_->currentIndex() : -1;
  for (int side = 0; side < kSideCount; ++side) {
    choice.levels[side] = levels_[side]->currentIndex() + 1;
  }
  choice.language = language_->currentData().toString();
  return choice;
}

void TStartDialog::changeEvent(QEvent* event) {
  if (event->type() == QEvent::LanguageChange) captions_.Retranslate();
  QDialog::changeEvent(event);
}

void TStartDialog::ShowSide() {
  for (int side = 0; side < kSideCount; ++side) {
    levels_[side]->setEnabled(side != side_->currentIndex());
  }
}

}  // namespace kragmoor
