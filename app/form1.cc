// The main window.
#include "app/form1.h"

#include <QCheckBox>
#include <QDateTime>
#include <QLabel>
#include <QListWidget>
#include <QMessageBox>
#include <QOpenGLContext>
#include <QTimer>
#include <QtMath>
#include <algorithm>
#include <chrono>
#include <string>
#include <vector>

#include "app/play_field.h"
#include "app/radio_group.h"
#include "render/scene.h"
#include "sim/control.h"
#include "world/orders.h"
#include "world/random.h"

namespace kragmoor {

const char* const kFormCaption = "\"KRAGMOOR\" — авторы: команда KRAGMOOR";

namespace {

// Layout, in logical pixels.
constexpr int kFormLeft = 54;  // initial position on the screen
constexpr int kFormTop = 0;
constexpr int kClientWidth = 694;  // initial client area; the play field gets 485 x 447
constexpr int kClientHeight = 480;
constexpr int kTitleHeight = 33;   // Panel1, along the top
constexpr int kPanel2Width = 209;  // Panel2, along the left below Panel1
constexpr int kListItemHeight = 13;
constexpr int kFontPixels = 11;

constexpr int kFrameIntervalMs = 10;  // Timer1: 100 frame steps per second
constexpr int kInfoIntervalMs = 100;  // Timer2

}  // namespace

uint32_t MillisecondClock::GetTickCount() {
  const auto since = std::chrono::steady_clock::now().time_since_epoch();
  return static_cast<uint32_t>(
      std::chrono::duration_cast<std::chrono::milliseconds>(since).count());
}

TForm1::TForm1() {
  setObjectName("Form1");
  const QString caption = QString::fromUtf8(kFormCaption);
  setWindowTitle(caption);
  QFont font(QStringLiteral("DejaVu Sans"));
  font.setPixelSize(kFontPixels);
  setFont(font);
  move(kFormLeft, kFormTop);
  resize(kClientWidth, kClientHeight);

  panel1_ = new QLabel(caption, this);
  panel1_->setObjectName("Panel1");
  panel1_->setFrameStyle(QFrame::Panel | QFrame::Raised);
  panel1_->setAlignment(Qt::AlignCenter);

  auto* panel2 = new QFrame(this);
  panel2->setObjectName("Panel2");
  panel2->setFrameStyle(QFrame::Panel | QFrame::Raised);
  panel2_ = panel2;

  listBox1_ = new QListWidget(panel2_);
  listBox1_->setObjectName("ListBox1");
  listBox1_->setGeometry(8, 8, 193, 217);
  listBox1_->setUniformItemSizes(true);

  radioGroup1_ = new TRadioGroup(
      QStringLiteral("Действие по клику мышки."),
      {QStringLiteral("Выбрать"), QStringLiteral("Идти"), QStringLiteral("Атаковать"),
       QStringLiteral("Строить"), QStringLiteral("Чинить")},
      kModeSelect, panel2_);
  radioGroup1_->setObjectName("RadioGroup1");
  radioGroup1_->setGeometry(8, 232, 185, 105);

  radioGroup2_ = new TRadioGroup(QStringLiteral("Строительство"),
                                 {QStringLiteral("Главная база"), QStringLiteral("Крестьянин")},
                                 kBuildBase, panel2_);
  radioGroup2_->setObjectName("RadioGroup2");
  radioGroup2_->setGeometry(8, 336, 185, 57);

  for (int side = 0; side < kSideCount; ++side) {
    const QString n = QString::number(side + 1);
    auto* box = new QCheckBox(QStringLiteral("AI-") + n, panel2_);
    box->setObjectName(QStringLiteral("CheckBox") + n);
    box->setGeometry(16 + 56 * side, 408, 41, 17);
    box->setChecked(true);
    checkBoxes_[side] = box;
  }

  playField_ = new TPlayField;
  playField_->setObjectName("Panel3");
  panel3_ = QWidget::createWindowContainer(playField_, this);
  panel3_->setObjectName("Panel3");
  panel3_->setPalette(QPalette(Qt::black));
  panel3_->setAutoFillBackground(true);
  playField_->onSizeReport = [this] { FormResize(); };
  playField_->onMouseMove = [this](QPointF p) { Panel3Cursor(p); };
  playField_->onClick = [this] { Panel3Click(); };
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

  CreateGLContext();
  if (gl_) InitOpenGL(*gl_);
  const QTime now = QDateTime::currentDateTimeUtc().time();
  world_.seed = SeedFromTimeOfDay(now.hour(), now.minute(), now.second(), now.msec());
  SetUpScenario(world_);

  timer1_->start();
  timer2_->start();
}

TForm1::~TForm1() {
  gl_.reset();
  if (context_ != nullptr) {
    context_->doneCurrent();
    delete context_;
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

void TForm1::resizeEvent(QResizeEvent* /*event*/) { LayOut(); }

void TForm1::LayOut() {
  const int below = std::max(0, height() - kTitleHeight);
  panel1_->setGeometry(0, 0, width(), kTitleHeight);
  panel2_->setGeometry(0, kTitleHeight, kPanel2Width, below);
  panel3_->setGeometry(kPanel2Width, kTitleHeight, std::max(0, width() - kPanel2Width), below);
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
  RunFrameStep();
}

void TForm1::TimerDraw() { RunFrameStep(); }

FrameInputs TForm1::Inputs() {
  FrameInputs inputs;
  for (int side = 0; side < kSideCount; ++side) {
    inputs.computerPlayer[side] = checkBoxes_[side]->isChecked();
  }
  inputs.panelWidth = playField_->width();
  inputs.panelHeight = playField_->height();
  inputs.ticks = &ticks_;
  return inputs;
}

void TForm1::RunFrameStep() {
  ++frameSteps_;
  try {
    FrameStep(world_, Inputs(), gl_.get());
  } catch (const ConversionError& error) {
    const std::string& message = error.message();
    ShowError(QString::fromUtf8(message.data(), static_cast<qsizetype>(message.size())));
  }
}

void TForm1::ShowError(const QString& message) {
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
  if (playField_->isExposed()) context_->swapBuffers(playField_);
}

void TForm1::ShowInfo() {
  const std::vector<std::string> lines = InfoLines(world_);
  bool same = listBox1_->count() == static_cast<int>(lines.size());
  for (int i = 0; same && i < listBox1_->count(); ++i) {
    same = listBox1_->item(i)->text() == QString::fromStdString(lines[i]);
  }
  if (same) return;  // spares the list a repaint
  listBox1_->clear();
  for (const std::string& line : lines) {
    auto* item = new QListWidgetItem(QString::fromStdString(line), listBox1_);
    item->setSizeHint(QSize(0, kListItemHeight));
  }
}

void TForm1::Panel3Cursor(QPointF position) {
  kragmoor::Panel3Cursor(world_, qFloor(position.x()), qFloor(position.y()), playField_->height());
}

void TForm1::Panel3Click() {
  kragmoor::Panel3Click(world_, radioGroup1_->itemIndex(), radioGroup2_->itemIndex());
}

}  // namespace kragmoor
