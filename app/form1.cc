// The main window.
#include "app/form1.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QDateTime>
#include <QKeyEvent>
#include <QLabel>
#include <QLayout>
#include <QListWidget>
#include <QMessageBox>
#include <QOpenGLContext>
#include <QTimer>
#include <QtMath>
#include <algorithm>
#include <chrono>
#include <string>
#include <vector>

#include "app/key_filter.h"
#include "app/play_field.h"
#include "app/radio_group.h"
#include "render/scene.h"
#include "sim/control.h"
#include "world/orders.h"
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
constexpr int kListItemHeight = 13;
constexpr int kFontPixels = 11;
// A side's colour swatch, right of its check box and level with it.
constexpr int kSwatchGap = 2;
constexpr int kSwatchSize = 11;

constexpr int kFrameIntervalMs = 10;  // Timer1: 100 frame steps per second at x1
constexpr int kInfoIntervalMs = 100;  // Timer2
// A recording reaches its file at least this often: a crash loses no more.
constexpr int kRecordingFlushMs = 1000;

}  // namespace

uint32_t MillisecondClock::GetTickCount() {
  const auto since = std::chrono::steady_clock::now().time_since_epoch();
  return static_cast<uint32_t>(
      std::chrono::duration_cast<std::chrono::milliseconds>(since).count());
}

TForm1::TForm1() {
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
  Caption(kFormCaption, [this](const QString& text) {
    setWindowTitle(text);
    panel1_->setText(text);
  });

  auto* panel2 = new QFrame(client_);
  panel2->setObjectName("Panel2");
  panel2->setFrameStyle(QFrame::Panel | QFrame::Raised);
  panel2_ = panel2;

  CreatePanel2Controls();

  playField_ = new TPlayField;
  playField_->setObjectName("Panel3");
  panel3_ = QWidget::createWindowContainer(playField_, client_);
  panel3_->setObjectName("Panel3");
  panel3_->setPalette(QPalette(Qt::black));
  panel3_->setAutoFillBackground(true);
  playField_->onSizeReport = [this] { FormResize(); };
  playField_->onMouseMove = [this](QPointF p) { Panel3Cursor(p); };
  playField_->onLeave = [this] { PointerAway(); };
  playField_->onClick = [this] { Panel3Click(); };

  CreateBars();
  // The client area keeps the game's size; the window grows by the bars.
  resize(kClientWidth, kClientHeight);
  layout()->activate();
  resize(size() + QSize(kClientWidth, kClientHeight) - client_->size());
  LayOut();

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

  CreateGLContext();
  if (gl_) InitOpenGL(*gl_);
  const QTime now = QDateTime::currentDateTimeUtc().time();
  session_.world.seed = SeedFromTimeOfDay(now.hour(), now.minute(), now.second(), now.msec());
  SetUpScenario(session_.world);
  ShowSideColours();
  ShowStatus();

  keys_ = std::make_unique<TKeyFilter>(
      [this](const QObject* o) {
        if (o == playField_ || o == windowHandle()) return true;
        const auto* widget = qobject_cast<const QWidget*>(o);
        return widget != nullptr && widget->window() == this;
      },
      [](const QKeyEvent& key) { return IsGameKey(key); },
      [this](const QKeyEvent& key) { GameKey(key); });

  timer1_->start();
  timer2_->start();
}

TForm1::~TForm1() {
  // The loop can end without a close (the window destroyed from outside):
  // the recording still gets its last hash, with no one left to tell.
  if (recording_) {
    std::string error;
    recording_->Finish(session_, error);
  }
  keys_.reset();
  gl_.reset();
  if (context_ != nullptr) {
    context_->doneCurrent();
    delete context_;
  }
}

// The information list, the two radio groups, and the check boxes with
// their sides' colours, at their places in Panel2.
void TForm1::CreatePanel2Controls() {
  listBox1_ = new QListWidget(panel2_);
  listBox1_->setObjectName("ListBox1");
  listBox1_->setGeometry(8, 8, 193, 217);
  listBox1_->setUniformItemSizes(true);

  const std::array<const char*, 5> modes = {QT_TR_NOOP("Выбрать"), QT_TR_NOOP("Идти"),
                                            QT_TR_NOOP("Атаковать"), QT_TR_NOOP("Строить"),
                                            QT_TR_NOOP("Чинить")};
  radioGroup1_ = new TRadioGroup(QString(), QStringList(modes.size()), kModeSelect, panel2_);
  radioGroup1_->setObjectName("RadioGroup1");
  radioGroup1_->setGeometry(8, 232, 185, 105);
  radioGroup1_->onChosen = [this](int item) {
    if (!showingControls_) Give(ClickMode{item});
  };
  Caption(QT_TR_NOOP("Действие по клику мышки."),
          [this](const QString& text) { radioGroup1_->setTitle(text); });
  for (int i = 0; i < static_cast<int>(modes.size()); ++i) {
    Caption(modes[i], [this, i](const QString& text) { radioGroup1_->button(i)->setText(text); });
  }

  const std::array<const char*, 2> builds = {QT_TR_NOOP("Главная база"), QT_TR_NOOP("Крестьянин")};
  radioGroup2_ = new TRadioGroup(QString(), QStringList(builds.size()), kBuildBase, panel2_);
  radioGroup2_->setObjectName("RadioGroup2");
  radioGroup2_->setGeometry(8, 336, 185, 57);
  radioGroup2_->onChosen = [this](int item) {
    if (!showingControls_) Give(BuildItem{item});
  };
  Caption(QT_TR_NOOP("Строительство"),
          [this](const QString& text) { radioGroup2_->setTitle(text); });
  for (int i = 0; i < static_cast<int>(builds.size()); ++i) {
    Caption(builds[i], [this, i](const QString& text) { radioGroup2_->button(i)->setText(text); });
  }

  for (int side = 0; side < kSideCount; ++side) {
    const QString n = QString::number(side + 1);
    auto* box = new QCheckBox(QStringLiteral("AI-") + n, panel2_);
    box->setObjectName(QStringLiteral("CheckBox") + n);
    box->setGeometry(16 + 56 * side, 408, 41, 17);
    box->setChecked(true);
    checkBoxes_[side] = box;
    connect(box, &QCheckBox::toggled, this, [this] {
      if (showingControls_) return;
      std::array<bool, kSideCount> ticked{};
      for (int s = 0; s < kSideCount; ++s) ticked[s] = checkBoxes_[s]->isChecked();
      Give(ComputerPlayers{ticked});
    });

    auto* swatch = new QFrame(panel2_);
    swatch->setObjectName(QStringLiteral("Swatch") + n);
    swatch->setFrameStyle(QFrame::Box | QFrame::Plain);  // a black rim round the colour
    swatch->setAutoFillBackground(true);
    swatch->setGeometry(box->geometry().right() + 1 + kSwatchGap,
                        box->y() + (box->height() - kSwatchSize) / 2, kSwatchSize, kSwatchSize);
    swatches_[side] = swatch;
    Caption(QT_TR_NOOP("Цвет стороны %1"),
            [swatch, n](const QString& text) { swatch->setToolTip(text.arg(n)); });
  }
}

void TForm1::CreateGLContext() {
  playField_->create();
  context_ = new QOpenGLContext;
  context_->setFormat(PlayFieldFormat());
  // Without a context the game runs on undrawn, as the world does not depend
  // on what is drawn.
  if (!context_->create() || !context_->makeCurrent(playField_)) return;
  gl_ = std::make_unique<OpenGlGl>([this] { SwapPlayField(); });
}

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
  panel3_->setGeometry(kPanel2Width, kTitleHeight, std::max(0, width - kPanel2Width), below);
}

void TForm1::FormResize() {
  const QSize size = playField_->size();
  const qreal ratio = playField_->devicePixelRatio();
  // Resizing reports both a resize and an expose: one frame step per size.
  if (size == projectedSize_ && ratio == projectedRatio_) return;
  projectedSize_ = size;
  projectedRatio_ = ratio;
  if (gl_) {
    SetProjection(*gl_, size.width(), size.height(), qRound(size.width() * ratio),
                  qRound(size.height() * ratio));
  }
  SyncPanel();
  if (!pointerOver_) PointerAway();  // the resting pointer follows the centre
  if (pace_.paused()) {
    ViewChanged();  // no frame: the still picture at the new size
    return;
  }
  ++frameSteps_;
  std::string error;
  if (!Apply(session_, Resize{size.width(), size.height()}, Lent(true), error)) ShowError(error);
}

void TForm1::TimerDraw() {
  const int steps = pace_.StepsForTick();
  for (int i = 1; i <= steps && !errorBox_; ++i) RunFrameStep(i == steps);
}

FrameInputs TForm1::Inputs() {
  // The panel's size as the next frame will give it.
  return FrameInputs{session_.computerPlayer, playField_->width(), playField_->height(), &ticks_};
}

void TForm1::Give(const Input& input) {
  std::string error;
  Apply(session_, input, Lent(false), error);
}

Front TForm1::Lent(bool draw) {
  return Front{&ticks_, draw ? gl_.get() : nullptr, recording_ ? &recording_->recorder() : nullptr};
}

void TForm1::RunFrameStep(bool draw) {
  SyncPanel();
  if (!pointerOver_) PointerAway();  // follows the field's size, whatever reported it
  ++frameSteps_;
  std::string error;
  if (!StepFrame(session_, Lent(draw), error)) ShowError(error);
}

void TForm1::SyncPanel() {
  const int width = playField_->width();
  const int height = playField_->height();
  if (session_.player.panelWidth != width || session_.player.panelHeight != height) {
    Give(PanelSize{width, height});
  }
}

void TForm1::ShowControls() {
  showingControls_ = true;
  for (int side = 0; side < kSideCount; ++side) {
    checkBoxes_[side]->setChecked(session_.computerPlayer[side]);
  }
  radioGroup1_->setItemIndex(session_.player.clickMode);
  radioGroup2_->setItemIndex(session_.player.buildItem);
  showingControls_ = false;
}

void TForm1::ShowStill() {
  if (gl_ && playField_->isExposed()) DrawStill(session_.world, *gl_, &ticks_);
}

void TForm1::ShowError(const std::string& error) {
  const QString message = QString::fromUtf8(error.data(), static_cast<qsizetype>(error.size()));
  // One box at a time, and no frames behind it: a faulty order would fail
  // again in every frame and bury the window under boxes.
  if (errorBox_) return;
  timer1_->stop();
  auto* box = new QMessageBox(QMessageBox::Critical, QStringLiteral("KRAGMOOR"), message,
                              QMessageBox::Ok, this);
  box->setObjectName("ErrorBox");
  box->setAttribute(Qt::WA_DeleteOnClose);
  connect(box, &QMessageBox::finished, timer1_, qOverload<>(&QTimer::start));
  errorBox_ = box;
  box->open();
}

void TForm1::SwapPlayField() {
  if (!playField_->isExposed()) return;
  // Only the window marks the selection, after the frame's own drawing.
  DrawSelectionMark(session_.world, *gl_);
  context_->swapBuffers(playField_);
}

void TForm1::ShowInfo() {
  const std::vector<InfoItem> items = InfoItems(session_.world);
  QStringList lines;
  for (const InfoItem& item : items) {
    lines << QCoreApplication::translate(kInfoLabelContext, item.label) +
                 QString::fromStdString(item.value);
  }
  ShowStatus();
  ShowSideColours();
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

void TForm1::Panel3Cursor(QPointF position) {
  pointerOver_ = true;
  SyncPanel();  // the move counts y from the panel's height
  Give(MouseMove{qFloor(position.x()), qFloor(position.y())});
  ViewChanged();
}

void TForm1::PointerAway() {
  pointerOver_ = false;
  SyncPanel();
  const MouseAt rest = RestingPointer(session_);
  const ViewState& view = session_.world.view;
  if (rest.x == view.mouseX && rest.y == view.mouseY) return;
  Give(rest);
  ViewChanged();
}

void TForm1::Panel3Click() {
  Give(Click{});
  if (pace_.paused()) ShowStill();  // the selection mark may have moved
}

void TForm1::MoveCamera(CameraOffset camera) {
  Give(CameraAt{camera.x, camera.y});
  ViewChanged();
}

void TForm1::ViewChanged() {
  if (!pace_.paused()) return;
  Give(StoredCursorCell(session_));
  ShowStill();
}

}  // namespace kragmoor
