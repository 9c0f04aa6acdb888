// The main window's menu bar, status bar, side colours and languages: what
// the window adds around the game's own layout.
#include <QAction>
#include <QActionGroup>
#include <QColor>
#include <QFrame>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QRadioButton>
#include <QStatusBar>
#include <cmath>
#include <utility>

#include "app/form1.h"
#include "app/language.h"
#include "app/radio_group.h"
#include "sim/control.h"

namespace kragmoor {

namespace {

// A colour component of the player table as 8 bits, as GL turns it into a
// pixel of the field (the float product rounded to nearest, halves to even),
// so a swatch shows exactly its side's colour.
int Level(float component) {
  if (!(component > 0.0f)) return 0;  // NaN too
  if (component >= 1.0f) return 255;
  return static_cast<int>(std::nearbyint(component * 255.0f));
}

}  // namespace

void TForm1::CreateBars() {
  menuBar()->setObjectName("MenuBar");
  QMenu* game = menuBar()->addMenu(QString());
  game->setObjectName("GameMenu");
  Caption(QT_TR_NOOP("Игра"), [game](const QString& text) { game->setTitle(text); });
  FillGameMenu(game);
  CreateLanguageMenu();

  statusBar()->setObjectName("StatusBar");
  statusText_ = new QLabel(statusBar());
  statusText_->setObjectName("StatusText");
  // Its text never widens the window's smallest size.
  statusText_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
  statusBar()->addWidget(statusText_, 1);
}

void TForm1::FillGameMenu(QMenu* menu) {
  AddAction(menu, QT_TR_NOOP("Новая игра"), QKeySequence(Qt::CTRL | Qt::Key_N),
            [this] { NewGame(); });
  AddAction(menu, QT_TR_NOOP("Открыть…"), QKeySequence(Qt::CTRL | Qt::Key_O),
            [this] { ChooseAndOpen(); });
  AddAction(menu, QT_TR_NOOP("Сохранить как…"), QKeySequence(Qt::CTRL | Qt::Key_S),
            [this] { ChooseAndSave(); });
  recordAction_ = AddAction(menu, QT_TR_NOOP("Записывать игру…"), QKeySequence(),
                            [this] { ToggleRecording(); });
  recordAction_->setObjectName("RecordAction");
  recordAction_->setCheckable(true);  // ticked while a recording runs
  AddAction(menu, QT_TR_NOOP("Отдать сторону боту…"), QKeySequence(), [this] { AskForBot(); });
  menu->addSeparator();
  AddAction(menu, QT_TR_NOOP("Выход"), QKeySequence(Qt::CTRL | Qt::Key_Q), [this] { close(); });
}

QAction* TForm1::AddAction(QMenu* menu, const char* text, const QKeySequence& shortcut,
                           const std::function<void()>& action) {
  QAction* item = menu->addAction(QString());
  item->setShortcut(shortcut);
  connect(item, &QAction::triggered, this, action);
  Caption(text, [item](const QString& t) { item->setText(t); });
  return item;
}

// Both languages' names stay as they are in either language, so a player who
// reads neither caption can still find their own.
void TForm1::CreateLanguageMenu() {
  QMenu* menu = menuBar()->addMenu(QStringLiteral("Язык / Language"));
  menu->setObjectName("LanguageMenu");
  auto* group = new QActionGroup(menu);
  const std::pair<const char*, QString> languages[] = {{kRussian, QStringLiteral("Русский")},
                                                       {kEnglish, QStringLiteral("English")}};
  for (const auto& [code, name] : languages) {
    QAction* item = menu->addAction(name);
    item->setObjectName(QStringLiteral("Language_") + code);
    item->setCheckable(true);
    item->setChecked(CurrentLanguage() == code);
    group->addAction(item);
    const QString language = code;
    connect(item, &QAction::triggered, this, [language] {
      ApplyLanguage(language);
      SaveLanguage(language);
    });
  }
}

void TForm1::ShowStatus() {
  QStringList parts;
  parts << tr("Кадр: %1").arg(frameSteps_) << tr("Скорость: ×%1").arg(pace_.SpeedText());
  if (pace_.paused()) parts << tr("Пауза");
  if (const int side = LastSideStanding(session_.world); side != -1) {
    parts << tr("Осталась одна сторона: %1").arg(side + 1);
  }
  if (const QString bots = BotsStatus(); !bots.isEmpty()) parts << bots;
  const QString text = parts.join(QStringLiteral("    "));
  if (statusText_->text() != text) statusText_->setText(text);
}

void TForm1::ShowSideColours() {
  for (int side = 0; side < kSideCount; ++side) {
    const Player& p = session_.world.players[side];
    const QColor colour(Level(p.red), Level(p.green), Level(p.blue));
    QFrame* swatch = swatches_[side];
    if (swatch->palette().color(QPalette::Window) == colour) continue;
    QPalette palette = swatch->palette();
    palette.setColor(QPalette::Window, colour);
    palette.setColor(QPalette::WindowText, Qt::black);  // the rim
    swatch->setPalette(palette);
  }
}

void TForm1::Caption(const char* source, std::function<void(const QString&)> set) {
  set(tr(source));
  captions_.push_back({source, std::move(set)});
}

void TForm1::Retranslate() {
  for (const TranslatedText& caption : captions_) caption.set(tr(caption.source));
  for (QAction* item : menuBar()->findChildren<QAction*>()) {
    if (item->objectName().startsWith(QStringLiteral("Language_"))) {
      item->setChecked(item->objectName().endsWith(CurrentLanguage()));
    }
  }
  ShowInfo();
}

}  // namespace kragmoor
