// The main window's menu bar, status bar and languages: what the window adds
// around the game's own layout.
#include <QAction>
#include <QActionGroup>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <utility>

#include "app/form1.h"
#include "app/language.h"

namespace kragmoor {

void TForm1::CreateBars() {
  menuBar()->setObjectName("MenuBar");
  QMenu* game = menuBar()->addMenu(QString());
  game->setObjectName("GameMenu");
  captions_.Add(QT_TR_NOOP("Игра"), [game](const QString& text) { game->setTitle(text); });
  FillGameMenu(game);
  CreateViewMenu();
  CreateLanguageMenu();
  CreateHelpMenu();

  statusBar()->setObjectName("StatusBar");
  statusText_ = new QLabel(statusBar());
  statusText_->setObjectName("StatusText");
  // Its text never widens the window's smallest size.
  statusText_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
  statusBar()->addWidget(statusText_, 1);
}

void TForm1::FillGameMenu(QMenu* menu) {
  AddAction(menu, QT_TR_NOOP("Новая игра"), QKeySequence(Qt::CTRL | Qt::Key_N), [this] {
    if (AskNewGame()) AskStart(true, CurrentLanguage());
  });
  AddAction(menu, QT_TR_NOOP("Открыть…"), QKeySequence(Qt::CTRL | Qt::Key_O),
            [this] { ChooseAndOpen(); });
  AddAction(menu, QT_TR_NOOP("Сохранить как…"), QKeySequence(Qt::CTRL | Qt::Key_S),
            [this] { ChooseAndSave(); });
  recordAction_ = AddAction(menu, QT_TR_NOOP("Записывать игру…"), QKeySequence(),
                            [this] { ToggleRecording(); });
  recordAction_->setObjectName("RecordAction");
  recordAction_->setCheckable(true);  // ticked while a recording runs
  AddAction(menu, QT_TR_NOOP("Отдать сторону боту…"), QKeySequence(), [this] { AskForBot(); });
  CreateReplayActions(menu);
  menu->addSeparator();
  AddAction(menu, QT_TR_NOOP("Создать сетевую игру…"), QKeySequence(), [this] {
    AskHostNetwork();
  })->setObjectName("HostNetworkAction");
  AddAction(menu, QT_TR_NOOP("Присоединиться к сетевой игре…"), QKeySequence(), [this] {
    AskJoinNetwork();
  })->setObjectName("JoinNetworkAction");
  menu->addSeparator();
  AddAction(menu, QT_TR_NOOP("Выход"), QKeySequence(Qt::CTRL | Qt::Key_Q), [this] { close(); });
}

QAction* TForm1::AddAction(QMenu* menu, const char* text, const QKeySequence& shortcut,
                           const std::function<void()>& action) {
  QAction* item = menu->addAction(QString());
  item->setShortcut(shortcut);
  connect(item, &QAction::triggered, this, action);
  captions_.Add(text, [item](const QString& t) { item->setText(t); });
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
  const TPace& pace = driver_.pace();
  QStringList parts;
  const net::NetworkGame* network = driver_.network();
  parts << tr("Кадр: %1").arg(driver_.frameSteps());
  if (network == nullptr) {
    parts << tr("Скорость: ×%1").arg(QString::fromStdString(pace.SpeedText()));
    if (pace.paused()) parts << tr("Пауза");
  } else {
    // The pace is the host's, the same in every window.
    TPace host;
    for (int i = 0; i < network->speed(); ++i) host.Faster();
    for (int i = 0; i > network->speed(); --i) host.Slower();
    parts << tr("Скорость хозяина игры: ×%1").arg(QString::fromStdString(host.SpeedText()));
    if (network->hostPaused()) parts << tr("Пауза (у хозяина игры)");
    if (pace.paused() && !network->hosting()) parts << tr("Картинка остановлена");
  }
  if (const int side = driver_.LastSideStanding(); side != -1) {
    parts << tr("Осталась одна сторона: %1").arg(side + 1);
  }
  if (const QString bots = BotsStatus(); !bots.isEmpty()) parts << bots;
  if (const QString network = NetworkStatus(); !network.isEmpty()) parts << network;
  const QString text = parts.join(QStringLiteral("    "));
  if (statusText_->text() != text) statusText_->setText(text);
}

void TForm1::Retranslate() {
  captions_.Retranslate();
  for (QAction* item : menuBar()->findChildren<QAction*>()) {
    if (item->objectName().startsWith(QStringLiteral("Language_"))) {
      item->setChecked(item->objectName().endsWith(CurrentLanguage()));
    }
  }
  ShowInfo();
}

}  // namespace kragmoor
