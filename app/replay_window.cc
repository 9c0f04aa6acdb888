// The replay window: its controls, its timer and the picture of the frame
// shown, drawn as the paused game's picture is.
#include "app/replay_window.h"

#include <QComboBox>
#include <QElapsedTimer>
#include <QHBoxLayout>
#include <QLabel>
#include <QOpenGLContext>
#include <QPushButton>
#include <QSlider>
#include <QTimer>
#include <QVBoxLayout>

#include "app/field_map_view.h"
#include "app/play_field.h"
#include "app/play_field_view.h"
#include "app/summary_window.h"
#include "world/tigrok.h"

namespace kragmoor {

namespace {

constexpr int kTickMs = 10;             // the timer, as the game's frame timer
constexpr qint64 kFastShareMs = 8;      // as fast as it goes: of each tick, stepping
constexpr qint64 kPrepareUntilMs = 9;   // then reading ahead, so that seeks are quick
constexpr int64_t kPrepareChunk = 200;  // frames read ahead at a time

// The tick count the picture's animation reads: 10 ms a frame of the replay.
class ReplayClock final : public TickSource {
 public:
  explicit ReplayClock(const Replay& replay) : replay_(replay) {}
  uint32_t GetTickCount() override { return static_cast<uint32_t>(replay_.frame() * kTickMs); }

 private:
  const Replay& replay_;
};

// The play field has a context of its own beside the main window's, which
// expects its own to stay current: each use of this one gives it back.
class BorrowedContext {
 public:
  explicit BorrowedContext(TPlayFieldView& view)
      : context_(QOpenGLContext::currentContext()),
        surface_(context_ != nullptr ? context_->surface() : nullptr) {
    if (view.context() != nullptr) view.context()->makeCurrent(view.playField());
  }
  ~BorrowedContext() {
    if (context_ != nullptr && surface_ != nullptr) context_->makeCurrent(surface_);
  }
  BorrowedContext(const BorrowedContext&) = delete;
  BorrowedContext& operator=(const BorrowedContext&) = delete;

 private:
  QOpenGLContext* context_;
  QSurface* surface_;
};

}  // namespace

TReplayWindow::TReplayWindow(Recording recording, const QString& name, QWidget* parent)
    : QMainWindow(parent), copy_(recording) {
  setObjectName("ReplayWindow");
  setAttribute(Qt::WA_DeleteOnClose);
  setWindowTitle(tr("Повтор: %1").arg(name));
  replay_ = std::make_unique<Replay>(std::move(recording));

  auto* client = new QWidget(this);
  auto* layout = new QVBoxLayout(client);
  auto* field = new QHBoxLayout;
  view_ = std::make_unique<TPlayFieldView>(client);
  view_->panel3()->setMinimumSize(kStartPanelWidth, kStartPanelHeight);
  field->addWidget(view_->panel3(), 1);
  map_ = new TFieldMapView(client);  // no onCamera: a click on it changes nothing
  map_->setObjectName("ReplayMap");
  field->addWidget(map_, 0, Qt::AlignTop);
  layout->addLayout(field, 1);

  auto* controls = new QHBoxLayout;
  play_ = new QPushButton(tr("Пуск"), client);
  play_->setObjectName("ReplayPlay");
  auto* step = new QPushButton(tr("Кадр вперёд"), client);
  step->setObjectName("ReplayStep");
  speed_ = new QComboBox(client);
  speed_->setObjectName("ReplaySpeed");
  for (const int s : kReplaySpeeds) speed_->addItem(QStringLiteral("×%1").arg(s));
  speed_->addItem(tr("как можно быстрее"));
  frameText_ = new QLabel(client);
  frameText_->setObjectName("ReplayFrame");
  controls->addWidget(play_);
  controls->addWidget(step);
  controls->addWidget(speed_);
  controls->addWidget(frameText_, 1);
  layout->addLayout(controls);

  timeline_ = new QSlider(Qt::Horizontal, client);
  timeline_->setObjectName("ReplayTimeline");
  timeline_->setRange(0, static_cast<int>(std::min<int64_t>(replay_->frames(), INT32_MAX)));
  layout->addWidget(timeline_);

  auto* sides = new QHBoxLayout;
  side_ = new QComboBox(client);
  side_->setObjectName("ReplaySide");
  for (int s = 1; s <= kSideCount; ++s) side_->addItem(tr("Сторона %1").arg(s));
  sideText_ = new QLabel(client);
  sideText_->setObjectName("ReplaySideText");
  auto* takeOver = new QPushButton(tr("Играть отсюда"), client);
  takeOver->setObjectName("ReplayTakeOver");
  auto* summary = new QPushButton(tr("Итоги"), client);
  summary->setObjectName("ReplaySummary");
  sides->addWidget(side_);
  sides->addWidget(sideText_, 1);
  sides->addWidget(summary);
  sides->addWidget(takeOver);
  layout->addLayout(sides);

  problemText_ = new QLabel(client);
  problemText_->setObjectName("ReplayProblem");
  problemText_->setWordWrap(true);
  problemText_->setTextFormat(Qt::PlainText);
  problemText_->setStyleSheet(QStringLiteral("color: #b00000"));
  layout->addWidget(problemText_);
  setCentralWidget(client);

  connect(play_, &QPushButton::clicked, this, [this] { SetPlaying(!playing_); });
  connect(step, &QPushButton::clicked, this, [this] { StepOne(); });
  connect(speed_, &QComboBox::currentIndexChanged, this, [this](int index) { SetSpeed(index); });
  connect(side_, &QComboBox::currentIndexChanged, this, [this](int index) { ShowSide(index); });
  connect(timeline_, &QSlider::valueChanged, this, [this](int value) {
    if (!timelineMoving_) SeekTo(value);
  });
  connect(summary, &QPushButton::clicked, this, [this] { ShowSummary(); });
  connect(takeOver, &QPushButton::clicked, this, [this] {
    SetPlaying(false);
    if (onTakeOver) onTakeOver(replay_->session());
    close();
  });
  view_->playField()->onSizeReport = [this] {
    BorrowedContext borrowed(*view_);
    view_->Project();
    Show();
  };

  {
    BorrowedContext borrowed(*view_);
    view_->CreateGLContext();
  }
  timer_ = new QTimer(this);
  timer_->setTimerType(Qt::PreciseTimer);
  connect(timer_, &QTimer::timeout, this, [this] { Tick(); });
  timer_->start(kTickMs);
  resize(kStartPanelWidth + 260, kStartPanelHeight + 170);
  Show();
}

TReplayWindow::~TReplayWindow() {
  BorrowedContext borrowed(*view_);
  view_.reset();
}

void TReplayWindow::SeekTo(int64_t frame) {
  replay_->Seek(frame);
  Show();
}

void TReplayWindow::SetPlaying(bool playing) {
  playing_ = playing && !replay_->atEnd();
  play_->setText(playing_ ? tr("Пауза") : tr("Пуск"));
}

void TReplayWindow::SetSpeed(int index) {
  speedIndex_ = std::clamp(index, 0, kAsFastAsItGoes);
  if (speed_->currentIndex() != speedIndex_) speed_->setCurrentIndex(speedIndex_);
}

void TReplayWindow::StepOne() {
  SetPlaying(false);
  replay_->Step();
  Show();
}

void TReplayWindow::ShowSide(int side) {
  sideShown_ = std::clamp(side, 0, kSideCount - 1);
  if (side_->currentIndex() != sideShown_) side_->setCurrentIndex(sideShown_);
  Show();
}

TSummaryWindow* TReplayWindow::ShowSummary() {
  if (!summary_) {
    Replay whole(copy_);
    summary_ = new TSummaryWindow(Summarize(whole), replay_->session().world.players, this);
    summary_->onSeek = [this](int64_t frame) {
      SetPlaying(false);
      SeekTo(frame);
    };
  }
  summary_->show();
  summary_->raise();
  return summary_;
}

QString TReplayWindow::ProblemText() const {
  QStringList said;
  const auto& problem = replay_->problem();
  if (problem && replay_->frame() >= problem->frame) said << QString::fromStdString(problem->words);
  if (replay_->atEnd() && !replay_->recording().closed) {
    said << QString::fromStdString(replay_->CutWords());
  }
  return said.join(QLatin1Char('\n'));
}

QString TReplayWindow::SideText() const {
  const World& world = replay_->session().world;
  int peasants = 0, bases = 0;
  for (const Tigrok& t : world.entities) {
    if (!IsLive(t) || t.owner != sideShown_) continue;
    peasants += t.kind == kKindPeasant ? 1 : 0;
    bases += t.kind == kKindBase ? 1 : 0;
  }
  return tr("золото %1, крестьян %2, баз %3")
      .arg(world.players[sideShown_].gold)
      .arg(peasants)
      .arg(bases);
}

void TReplayWindow::Tick() {
  QElapsedTimer spent;
  spent.start();
  if (playing_) {
    if (speedIndex_ == kAsFastAsItGoes) {
      while (!replay_->atEnd() && spent.elapsed() < kFastShareMs) replay_->Step();
    } else {
      for (int i = 0; i < kReplaySpeeds[speedIndex_] && !replay_->atEnd(); ++i) replay_->Step();
    }
    if (replay_->atEnd()) SetPlaying(false);
  }
  while (spent.elapsed() < kPrepareUntilMs && replay_->Prepare(kPrepareChunk)) {
  }
  if (playing_ || replay_->atEnd()) Show();
}

void TReplayWindow::Show() {
  timelineMoving_ = true;
  timeline_->setValue(static_cast<int>(std::min<int64_t>(replay_->frame(), INT32_MAX)));
  timelineMoving_ = false;
  frameText_->setText(tr("Кадр %1 из %2").arg(replay_->frame()).arg(replay_->frames()));
  sideText_->setText(SideText());
  const QString problem = ProblemText();
  if (problemText_->text() != problem) problemText_->setText(problem);
  map_->Show(replay_->session());
  if (view_->gl() == nullptr || !view_->playField()->isExposed()) return;
  BorrowedContext borrowed(*view_);
  view_->Project();
  ReplayClock clock(*replay_);
  view_->ShowStill(replay_->session(), clock);
}

}  // namespace kragmoor
