// The replay window: a recording played as a replay (game/replay/replay.h),
// with play and pause, speeds from x1 to x64 and as fast as it goes, a step
// of one frame, a timeline to seek with, the side whose figures are shown,
// what the replay found wrong in plain words, taking over and the summary.
// Nothing done here changes the replay: it only reads the game it shows.
#pragma once

#include <QMainWindow>
#include <QPointer>
#include <cstdint>
#include <functional>
#include <memory>

#include "game/replay/replay.h"
#include "game/session.h"
#include "render/gl.h"

class QComboBox;
class QLabel;
class QPushButton;
class QSlider;
class QTimer;

namespace kragmoor {

class TFieldMapView;
class TPlayFieldView;
class TSummaryWindow;

// The speeds offered: frames a 10 ms tick runs, and last, as many as fit.
inline constexpr int kReplaySpeeds[] = {1, 2, 4, 8, 16, 32, 64};
inline constexpr int kAsFastAsItGoes = 7;  // the speed list's last entry

class TReplayWindow final : public QMainWindow {
  Q_OBJECT

 public:
  // Plays `recording`, read from the file `name`, from frame 0, paused.
  TReplayWindow(Recording recording, const QString& name, QWidget* parent = nullptr);
  ~TReplayWindow() override;

  const Replay& replay() const { return *replay_; }
  // Shows frame `frame` (clamped to the recording).
  void SeekTo(int64_t frame);
  void SetPlaying(bool playing);
  bool playing() const { return playing_; }
  // Index into kReplaySpeeds, or kAsFastAsItGoes.
  void SetSpeed(int index);
  void StepOne();
  // Whose figures the side line shows, 0 to 2.
  void ShowSide(int side);
  // The summary window (made on the first call), over the whole recording.
  TSummaryWindow* ShowSummary();
  TSummaryWindow* summaryWindow() const { return summary_; }
  // What the window says about the replay now: a disagreement or a cut
  // once the frame shown has reached it, otherwise empty.
  QString ProblemText() const;
  QString SideText() const;
  QSlider* timeline() const { return timeline_; }

  // "Take over from here": the game at the frame shown, for the main window.
  std::function<void(const Session&)> onTakeOver;

 private:
  void Tick();
  void Show();

  std::unique_ptr<Replay> replay_;
  Recording copy_;  // the summary's own replay reads it
  std::unique_ptr<TPlayFieldView> view_;
  QTimer* timer_ = nullptr;
  QPushButton* play_ = nullptr;
  QComboBox* speed_ = nullptr;
  QComboBox* side_ = nullptr;
  QSlider* timeline_ = nullptr;
  QLabel* frameText_ = nullptr;
  QLabel* sideText_ = nullptr;
  QLabel* problemText_ = nullptr;
  TFieldMapView* map_ = nullptr;
  QPointer<TSummaryWindow> summary_;
  bool playing_ = false;
  int speedIndex_ = 0;
  int sideShown_ = 0;
  bool timelineMoving_ = false;  // the window itself moves the slider
};

}  // namespace kragmoor
