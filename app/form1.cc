// The main window.
#include "app/form1.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QEvent>
#include <QLabel>
#include <QLayout>
#include <QTimer>
#include <QtMath>
#include <algorithm>
#include <chrono>

#include "app/control_panel.h"
#include "app/key_filter.h"
#include "app/language.h"
#include "app/play_field.h"
#include "app/play_field_view.h"
#include "game/play_inputs.h"
#include "world/random.h"

namespace kragmoor {

const char* const kFormCaption =
    QT_TRANSLATE_NOOP("kragmoor::TForm1", "\"KRAGMOOR\" — авторы: команда KRAGMOOR");

namespace {

// Layout, in logical pixels.
constexpr int kFormLeft = 54;  // initial position on the screen
constexpr int kFormTop = 0;
constexpr int kTitleHeight = 33;   // Panel1, along the top
constexpr int kPanel2Width = 209;  // Panel2, along the left below Panel1
constexpr int kFontPixels = 11;

constexpr int kFrameIntervalMs = 10;  // Timer1: 100 frame steps per second at x1
constexpr int kInfoIntervalMs = 100;  // Timer2
// A recording reaches its file at least this often: a crash loses no more.
constexpr int kRecordingFlushMs = 1000;

}  // namespace

uint32_t SeedNow() {
  const QTime now = QDateTime::currentDateTimeUtc().time();
  return SeedFromTimeOfDay(now.hour(), now.minute(), now.second(), now.msec());
}

uint32_t MillisecondClock::GetTickCount() {
  const auto since = std::chrono::steady_clock::now().time_since_epoch();
  return static_cast<uint32_t>(
      std::chrono::duration_cast<std::chrono::milliseconds>(since).count());
}

TForm1::TForm1() : driver_(SeedNow(), clock_) {
  setObjectName("Form1");
  QFont font(QStringLiteral("DejaVu Sans"));
  font.setPixelSize(kFontPixels);
  setFont(font);
  move(kFormLeft, kFormTop);

  client_ = new QWidget(this);
  client_->setObjectName("Client");
  client_->setMinimumSize(kMinClientWidth, kMinClientHeight);
  client_->installEventFilter(this);  // its resizes lay out the panels
  setCentralWidget(client_);

  panel1_ = new QLabel(client_);
  panel1_->setObjectName("Panel1");
  panel1_->setFrameStyle(QFrame::Panel | QFrame::Raised);
  panel1_->setAlignment(Qt::AlignCenter);
  captions_.Add(kFormCaption, [this](const QString& text) {
    setWindowTitle(text);
    panel1_->setText(text);
  });

  panel2_ = new TControlPanel(client_, captions_);
  ConnectControlPanel();
  panel3_ = std::make_unique<TPlayFieldView>(client_);
  ConnectPlayField();
  ConnectPlayActions();

  CreateBars();
  CreatePlayPanel();
  // The client area keeps the game's size; the window grows by the bars.
  resize(kClientWidth, kClientHeight);
  layout()->activate();
  resize(size() + QSize(kClientWidth, kClientHeight) - client_->size());
  LayOut();

  CreateTimers();
  panel3_->CreateGLContext();
  panel2_->ShowSideColours(world().players);
  ApplyViewSettings();
  ShowStatus();

  keys_ = std::make_unique<TKeyFilter>(
      [this](const QObject* o) {
        if (o == playField() || o == windowHandle()) return true;
        const auto* widget = qobject_cast<const QWidget*>(o);
        return widget != nullptr && widget->window() == this;
      },
      [](const QKeyEvent& key) { return IsGameKey(key) || IsPlayKey(key); },
      [this](const QKeyEvent& key) {
        if (IsPlayKey(key)) {
          PlayKey(key);
        } else {
          GameKey(key);
        }
      });

  timer1_->start();
  timer2_->start();
}

TForm1::~TForm1() { keys_.reset(); }

void TForm1::ConnectPlayField() {
  TPlayField* field = panel3_->playField();
  field->onSizeReport = [this] { FormResize(); };
  field->onMouseMove = [this](QPointF p) {
    driver_.PointerMoved(panel3_->size(), qFloor(p.x()), qFloor(p.y()));
    ShowOutcome();
  };
  field->onLeave = [this] {
    driver_.PointerAway(panel3_->size());
    ShowOutcome();
  };
  field->onClick = [this] {
    driver_.Click();
    ShowOutcome();
  };
}

void TForm1::ConnectControlPanel() {
  panel2_->onClickMode = [this](int item) { driver_.ChooseClickMode(item); };
  panel2_->onBuildItem = [this](int item) { driver_.ChooseBuildItem(item); };
  panel2_->onComputerPlayers = [this](const std::array<bool, kSideCount>& checked) {
    driver_.SetComputerPlayers(checked);
  };
}

void TForm1::CreateTimers() {
  timer1_ = new QTimer(this);
  timer1_->setObjectName("Timer1");
  timer1_->setTimerType(Qt::PreciseTimer);
  timer1_->setInterval(kFrameIntervalMs);
  connect(timer1_, &QTimer::timeout, this, &TForm1::TimerDraw);
  timer2_ = new QTimer(this);
  timer2_->setObjectName("Timer2");
  timer2_->setInterval(kInfoIntervalMs);
  connect(timer2_, &QTimer::timeout, this, &TForm1::ShowInfo);

  recordingFlush_ = new QTimer(this);
  recordingFlush_->setInterval(kRecordingFlushMs);
  connect(recordingFlush_, &QTimer::timeout, this, &TForm1::FlushRecording);
}

TPlayField* TForm1::playField() const { return panel3_->playField(); }

bool TForm1::hasGl() const { return panel3_->gl() != nullptr; }

QOpenGLContext* TForm1::context() const { return panel3_->context(); }

FrameInputs TForm1::Inputs() const { return driver_.Inputs(panel3_->size()); }

bool TForm1::eventFilter(QObject* watched, QEvent* event) {
  if (watched == client_ && event->type() == QEvent::Resize) LayOut();
  return QMainWindow::eventFilter(watched, event);
}

void TForm1::changeEvent(QEvent* event) {
  if (event->type() == QEvent::LanguageChange) Retranslate();
  QMainWindow::changeEvent(event);
}

void TForm1::LayOut() {
  const int width = client_->width();
  const int below = std::max(0, client_->height() - kTitleHeight);
  panel1_->setGeometry(0, 0, width, kTitleHeight);
  panel2_->setGeometry(0, kTitleHeight, kPanel2Width, below);
  panel3_->panel3()->setGeometry(kPanel2Width, kTitleHeight, std::max(0, width - kPanel2Width),
                                 below);
}

void TForm1::FormResize() {
  if (!panel3_->Project()) return;
  driver_.Resize(panel3_->size(), panel3_->gl());
  ShowOutcome();
}

void TForm1::TimerDraw() {
  driver_.TimerFired(panel3_->size(), panel3_->gl());
  ShowOutcome();
}

void TForm1::ShowOutcome() {
  panel3_->MarkSet(SessionSelection(session()));
  panel3_->Present(session());
  if (const std::string* error = driver_.latchedError(); error != nullptr && !errorBox_) {
    ShowError(*error);
  }
  if (driver_.TakeStillDue()) panel3_->ShowStill(session(), clock_);
}

void TForm1::ShowError(const std::string& error) {
  const QString message = QString::fromUtf8(error.data(), static_cast<qsizetype>(error.size()));
  timer1_->stop();
  auto* box = new QMessageBox(QMessageBox::Critical, QStringLiteral("KRAGMOOR"), message,
                              QMessageBox::Ok, this);
  box->setObjectName("ErrorBox");
  box->setAttribute(Qt::WA_DeleteOnClose);
  connect(box, &QMessageBox::finished, this, [this] {
    errorBox_ = nullptr;  // a new error from here on gets a box of its own
    driver_.AcknowledgeError();
    timer1_->start();
  });
  errorBox_ = box;
  box->open();
}

void TForm1::ShowControls() {
  const Session& game = driver_.session();
  panel2_->ShowChoices(game.computerPlayer, game.player.clickMode, game.player.buildItem);
}

void TForm1::ShowInfo() {
  ShowStatus();
  panel2_->ShowSideColours(world().players);
  // In English the list says in plain words what the Russian lines give as
  // the order texts.
  panel2_->ShowInfo(
      driver_.InfoItems(CurrentLanguage() == kEnglish ? Language::kEnglish : Language::kRussian));
  ShowPlay();
  ShowNetwork();
}

}  // namespace kragmoor
