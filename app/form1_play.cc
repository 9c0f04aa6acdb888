// The main window's play-layer parts: the play panel beside the game's own
// layout, the play field's drags and right-clicks, the selection and group
// keys, the View menu, and what the game watch saw after frames.
#include <QAction>
#include <QActionGroup>
#include <QDockWidget>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QSettings>
#include <QStatusBar>
#include <QtMath>

#include "app/field_map_view.h"
#include "app/form1.h"
#include "app/language.h"
#include "app/play_field.h"
#include "app/play_field_view.h"
#include "app/play_panel.h"
#include "game/play_inputs.h"
#include "game/selection.h"
#include "game/text/describe.h"

namespace kragmoor {

namespace {

// The View menu's settings keys and the edge-scroll widths it offers.
constexpr char kEdgeScrollKey[] = "view/edgeScroll";
constexpr char kKeepViewKey[] = "view/keepViewOverField";

Language GameLanguage() {
  return CurrentLanguage() == kEnglish ? Language::kEnglish : Language::kRussian;
}

QString Text(const std::string& s) { return QString::fromStdString(s); }

}  // namespace

void TForm1::CreatePlayPanel() {
  auto* dock = new QDockWidget(this);
  dock->setObjectName("PlayDock");
  dock->setFeatures(QDockWidget::NoDockWidgetFeatures);
  dock->setTitleBarWidget(new QWidget(dock));
  playPanel_ = new TPlayPanel(dock, captions_);
  dock->setWidget(playPanel_);
  addDockWidget(Qt::RightDockWidgetArea, dock);
  playPanel_->onTrain = [this] { driver_.TrainPeasants(); };
  playPanel_->onLevels = [this](const std::array<int32_t, kSideCount>& levels) {
    driver_.ChooseLevels(levels);
  };
  playPanel_->map()->onCamera = [this](CameraOffset camera) {
    driver_.MoveCamera(camera.x, camera.y);
    ShowOutcome();
  };
  sidesText_ = new QLabel(statusBar());
  sidesText_->setObjectName("PlayerSides");
  statusBar()->addPermanentWidget(sidesText_);
}

void TForm1::ConnectPlayActions() {
  TPlayField* field = panel3_->playField();
  field->onDrag = [this](QPointF from, QPointF to, bool add) {
    driver_.SelectBox(panel3_->size(), qFloor(from.x()), qFloor(from.y()), qFloor(to.x()),
                      qFloor(to.y()), add);
    ShowOutcome();
  };
  // The box is drawn over the picture; paused, no frame would show it.
  field->onDragMove = [this](QPointF from, QPointF to) {
    panel3_->SetDragBox(QRectF(from, to));
    if (driver_.pace().paused()) panel3_->ShowStill(session(), clock_);
  };
  field->onDragEnd = [this] {
    panel3_->ClearDragBox();
    if (driver_.pace().paused()) panel3_->ShowStill(session(), clock_);
  };
  field->onRightClick = [this](QPointF at) {
    driver_.RightClick(panel3_->size(), qFloor(at.x()), qFloor(at.y()));
    ShowOutcome();
  };
  field->onPan = [this](QPointF by) {
    driver_.PanBy(qRound(by.x()), qRound(by.y()));
    ShowOutcome();
  };
}

bool TForm1::IsPlayKey(const QKeyEvent& key) {
  const auto mods = key.modifiers() & ~Qt::KeypadModifier;
  const bool digit = key.key() >= Qt::Key_1 && key.key() <= Qt::Key_9;
  if (mods == Qt::ControlModifier) return digit || key.key() == Qt::Key_A;
  if (mods != Qt::NoModifier) return false;
  return digit || key.key() == Qt::Key_P || key.key() == Qt::Key_B;
}

void TForm1::PlayKey(const QKeyEvent& key) {
  if (key.isAutoRepeat()) return;
  const bool ctrl = key.modifiers() & Qt::ControlModifier;
  const int k = key.key();
  if (k >= Qt::Key_1 && k <= Qt::Key_9) {
    const int group = k - Qt::Key_0;
    if (ctrl) {
      driver_.StoreGroup(group);
    } else {
      driver_.RecallGroup(group);
    }
  } else if (k == Qt::Key_A) {
    driver_.SelectAll();
  } else if (k == Qt::Key_P) {
    driver_.TrainPeasants();
  } else if (k == Qt::Key_B) {
    driver_.ArmBaseBuild();
    statusBar()->showMessage(tr("Щёлкните по полю, где строить главную базу"));
  }
  ShowOutcome();
  ShowPlay();
}

void TForm1::CreateViewMenu() {
  QMenu* menu = menuBar()->addMenu(QString());
  menu->setObjectName("ViewMenu");
  captions_.Add(QT_TR_NOOP("Вид"), [menu](const QString& t) { menu->setTitle(t); });
  auto* group = new QActionGroup(menu);
  const std::pair<const char*, int32_t> widths[] = {
      {QT_TR_NOOP("Прокрутка у края: 100 пикселей"), kScrollMargin},
      {QT_TR_NOOP("Прокрутка у края: узкая"), kNarrowScrollMargin},
      {QT_TR_NOOP("Прокрутка у края: выключена"), 0}};
  const int32_t saved = QSettings().value(kEdgeScrollKey, kScrollMargin).toInt();
  for (const auto& width : widths) {
    // Named copies, not a structured binding: Clang 14 cannot capture one in a lambda.
    const char* const text = width.first;
    const int32_t margin = width.second;
    QAction* item = AddAction(menu, text, QKeySequence(), [this, margin] {
      QSettings().setValue(kEdgeScrollKey, margin);
      driver_.ChooseEdgeScroll(margin);
    });
    item->setObjectName(QStringLiteral("EdgeScroll%1").arg(margin));
    item->setCheckable(true);
    item->setChecked(margin == saved);
    group->addAction(item);
  }
  menu->addSeparator();
  QAction* keep = AddAction(menu, QT_TR_NOOP("Держать вид над полем"), QKeySequence(), [] {});
  keep->setObjectName("KeepView");
  keep->setCheckable(true);
  keep->setChecked(QSettings().value(kKeepViewKey, false).toBool());
  connect(keep, &QAction::toggled, this, [this](bool on) {
    QSettings().setValue(kKeepViewKey, on);
    driver_.ChooseKeepView(on);
  });
}

void TForm1::ApplyViewSettings() {
  const QSettings settings;
  const int32_t margin = settings.value(kEdgeScrollKey, kScrollMargin).toInt();
  const bool keep = settings.value(kKeepViewKey, false).toBool();
  // Only what differs from the design's is given, so a game with no
  // preference touched records and plays as before.
  if (margin != driver_.session().player.scrollMargin) driver_.ChooseEdgeScroll(margin);
  if (keep != driver_.session().player.keepViewOverField) driver_.ChooseKeepView(keep);
}

void TForm1::ShowPlay() {
  const Session& game = driver_.session();
  const World& w = game.world;
  const Language language = GameLanguage();
  const std::vector<int32_t> selected = SessionSelection(game);
  // A selected unit that died, or whose slot another now holds, is no
  // longer described (the design's list still shows the slot).
  const int slot = game.player.selectedGone ? -1 : game.player.view.selected;
  playPanel_->ShowLines(SelectionCountLine(w, selected, language),
                        IsSlot(slot) ? DescribeEntity(w, slot, language) : std::string());
  playPanel_->ShowLevels(game.level);
  for (const GameEvent& event : driver_.TakeEvents()) {
    playPanel_->AddEvent(EventText(event, language));
    FlashEvent(event);
    if (event.kind == EventKind::kSideOut || event.kind == EventKind::kBaseDestroyed)
      statusBar()->showMessage(Text(EventText(event, language)), 5000);
  }
  playPanel_->map()->Show(game);
  playPanel_->ShowHint(HintText());

  const int side = PlayerSide(game);
  QString sides = Text(PlayerSidesText(game.computerPlayer, language));
  if (driver_.watch().standstill()) sides = Text(StandstillText(language)) + "    " + sides;
  if (sidesText_->text() != sides) sidesText_->setText(sides);
  if (side >= 0) {
    const Player& p = w.players[side];
    sidesText_->setStyleSheet(
        QStringLiteral("color: %1").arg(QColor::fromRgbF(p.red, p.green, p.blue).name()));
  }
  if (driver_.watch().over() && !overShown_) ShowGameOver();
}

void TForm1::FlashEvent(const GameEvent& event) {
  switch (event.kind) {
    case EventKind::kBaseUnderAttack:
    case EventKind::kPeasantUnderAttack:
      playPanel_->map()->Flash(event.x, event.y, Qt::red);
      break;
    case EventKind::kPeasantLost:
    case EventKind::kBaseDestroyed:
      playPanel_->map()->Flash(event.x, event.y, Qt::white);
      break;
    case EventKind::kPeasantIdle:
      playPanel_->map()->Flash(event.x, event.y, Qt::yellow);
      break;
    default:
      break;
  }
}

void TForm1::ShowGameOver() {
  overShown_ = true;
  const Language language = GameLanguage();
  const int winner = driver_.watch().winner();
  const std::array<bool, kSideCount>& computer = driver_.session().computerPlayer;
  const bool playing = !computer[0] || !computer[1] || !computer[2];
  const bool won = playing && winner >= 0 && !computer[winner];
  QString text;
  if (playing) text = (won ? tr("Вы победили!") : tr("Вы проиграли.")) + '\n';
  text += winner >= 0 ? tr("Победила сторона %1.").arg(winner + 1) : tr("Игра окончена.");
  for (int side = 0; side < kSideCount; ++side) {
    text += '\n' + Text(SummaryText(driver_.watch().summaries()[side], side, driver_.frameSteps(),
                                    language));
  }
  auto* box = new QMessageBox(QMessageBox::Information, QStringLiteral("KRAGMOOR"), text,
                              QMessageBox::NoButton, this);
  box->setObjectName("GameOverBox");
  box->setAttribute(Qt::WA_DeleteOnClose);
  QPushButton* again = box->addButton(tr("Новая игра"), QMessageBox::AcceptRole);
  again->setObjectName("NewGameButton");
  // After a loss the computer players may play on: the game runs behind.
  QPushButton* watch =
      box->addButton(won ? tr("Закрыть") : tr("Смотреть дальше"), QMessageBox::RejectRole);
  watch->setObjectName("KeepWatchingButton");
  // A recorded game offers its replay; its summary opens beside the box.
  const QString recorded = recordingPath_;
  QPushButton* replay = nullptr;
  if (!recorded.isEmpty()) {
    replay = box->addButton(tr("Смотреть повтор"), QMessageBox::ActionRole);
    replay->setObjectName("WatchReplayButton");
  }
  connect(box, &QMessageBox::finished, this, [this, box, again, watch, replay, recorded] {
    if (box->clickedButton() == again) AskStart(true, CurrentLanguage());
    if (box->clickedButton() == watch) SetPaused(false);
    if (replay != nullptr && box->clickedButton() == replay) {
      FlushRecording();
      OpenReplay(recorded);
    }
  });
  gameOverBox_ = box;
  box->open();
  if (!recorded.isEmpty()) ShowLiveSummary();
}

bool TForm1::AskNewGame() {
  if (driver_.frameSteps() == 0) return true;
  return QMessageBox::question(this, QStringLiteral("KRAGMOOR"),
                               tr("Бросить идущую игру и начать новую?")) == QMessageBox::Yes;
}

}  // namespace kragmoor
