// The main window: lays out the controls, owns the play field's GL context,
// runs the frame timer and the information-list timer, and forwards the
// mouse and the keys to the core's functions. Holds no game rules.
#pragma once

#include <QMainWindow>
#include <QMessageBox>
#include <QPointer>
#include <QSize>
#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "app/pace.h"
#include "game/play.h"
#include "game/recorder.h"
#include "game/session.h"
#include "render/gl.h"
#include "render/opengl_gl.h"
#include "sim/frame_step.h"
#include "sim/view.h"
#include "world/tigrok.h"

class QCheckBox;
class QFrame;
class QKeyEvent;
class QLabel;
class QListWidget;
class QMenu;
class QOpenGLContext;
class QTimer;

namespace kragmoor {

class TKeyFilter;
class TPlayField;
class TRadioGroup;

// The tick count of the peasants' animation: milliseconds of a steady clock,
// wrapping at 2^32 like a system tick counter.
class MillisecondClock final : public TickSource {
 public:
  uint32_t GetTickCount() override;
};

// The window and title-strip caption: the game's name in double quotation
// marks, then the author credit (translatable).
extern const char* const kFormCaption;

// The client area below the menu bar and above the status bar holds the
// game's own layout: Panel1 along the top, Panel2 with the controls on the
// left, the play field in the rest. Its smallest size keeps every control of
// Panel2 whole and the play field at least twice the scroll margin each way,
// so the field's centre, where the pointer rests when it is away, scrolls
// nothing.
inline constexpr int kClientWidth = 694;  // at start: the play field gets 485 x 447
inline constexpr int kClientHeight = 480;
inline constexpr int kMinClientWidth = 409;   // Panel2's 209, and a 200-pixel field
inline constexpr int kMinClientHeight = 466;  // Panel1's 33, and Panel2 down to 433

class TForm1 final : public QMainWindow {
  Q_OBJECT

 public:
  // FormCreate: lays out the controls, makes the play field's GL context
  // current for good, sets the fixed GL state, seeds the random generator from
  // the UTC time of day and writes the initial scenario. The timers start
  // with the window.
  TForm1();
  // FormDestroy: releases the GL context.
  ~TForm1() override;

  // Timer1, every 10 ms: the frame steps of one tick at the current pace
  // (one at x1), drawing only the last.
  void TimerDraw();
  // Timer2, every 100 ms: the information list, the status bar and the
  // side colours from the world.
  void ShowInfo();

  // What the next frame step reads besides the world: the check boxes, the
  // play field's size and the clock.
  FrameInputs Inputs();

  World& world() { return session_.world; }
  const World& world() const { return session_.world; }
  // The game with everything the window passes it: every input goes through
  // the session's functions, which a recording writes down.
  const Session& session() const { return session_; }
  TPlayField* playField() const { return playField_; }
  // False when no GL context could be made: frames then run without drawing.
  bool hasGl() const { return gl_ != nullptr; }
  QOpenGLContext* context() const { return context_; }
  // Frame steps run so far, by the timer and by resizes.
  int64_t frameSteps() const { return frameSteps_; }
  // The open error box, or null.
  QMessageBox* errorBox() const { return errorBox_; }
  const TPace& pace() const { return pace_; }

  // Game files (form1_files.cc). Each shows a message box naming the file and
  // the reason when it fails, and then leaves the game as it was.
  // Новая игра: the start-up world with a seed from the time of day.
  void NewGame();
  // Открыть: replaces the game with the saved game in `path`.
  bool OpenGame(const QString& path);
  // Сохранить как: writes the game to `path`, whole or not at all.
  bool SaveGame(const QString& path);
  // Записывать игру: from now on every input and frame goes to `path`, until
  // StopRecording or the window closes.
  bool StartRecording(const QString& path);
  void StopRecording();
  bool recording() const { return recording_ != nullptr; }
  // The open box of a failed file operation, or null.
  QMessageBox* fileErrorBox() const { return fileErrorBox_; }

  // The keys the window takes whatever control has the focus: Space pauses
  // and resumes, + (or =) and - double and halve the speed, Home puts the
  // camera back at the start view, the arrows pan it one cell.
  static bool IsGameKey(const QKeyEvent& key);
  void GameKey(const QKeyEvent& key);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void changeEvent(QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  // Panel1 along the top of the client area, Panel2 along the left below it,
  // the play field in the rest.
  void LayOut();
  void CreatePanel2Controls();
  void CreateGLContext();
  // The play field reports its size: when it changed, viewport and projection
  // follow and one frame step draws the new size (while paused, only a still
  // picture).
  void FormResize();
  void RunFrameStep(bool draw);
  // The play field's size, given to the game when it changed (the game's
  // panel size is what its frames and mouse moves read).
  void SyncPanel();
  // The check boxes and radio groups show the session's, without passing
  // the change back as an input (after a load).
  void ShowControls();
  // The conversion error that ended a frame, in its one box.
  void ShowError(const std::string& error);
  void SwapPlayField();
  // The paused game's picture, redrawn after whatever changes it.
  void ShowStill();

  // The inputs the window gives the game, each through one core function.
  void Panel3Cursor(QPointF position);
  // The pointer is away from the play field: the game takes it to rest at
  // the field's centre.
  void PointerAway();
  void Panel3Click();
  void MoveCamera(CameraOffset camera);
  // After the mouse or the camera moved: while paused no frame stores the
  // cursor cell, so it is stored here for clicks, and the picture redrawn.
  void ViewChanged();

  void TogglePause();
  void ChangeSpeed(bool faster);

  // Game files (form1_files.cc).
  void ChooseAndOpen();
  void ChooseAndSave();
  void ToggleRecording();
  void FlushRecording();
  // Detaches the recording from the game and closes its file, finished or not.
  void EndRecording();
  void ShowFileError(const QString& what, const std::string& reason);

  // Menu bar and status bar (form1_bars.cc).
  void CreateBars();
  // The Игра menu's entries, top to bottom.
  void FillGameMenu(QMenu* menu);
  QAction* AddAction(QMenu* menu, const char* text, const QKeySequence& shortcut,
                     const std::function<void()>& action);
  void CreateLanguageMenu();
  void ShowStatus();
  void ShowSideColours();
  // Sets a text in the current language now and again after every change of
  // language. `source` is the Russian text, marked with QT_TR_NOOP.
  void Caption(const char* source, std::function<void(const QString&)> set);
  void Retranslate();

  // Applies `input` to the session, written to the recording if one runs.
  void Give(const Input& input);
  // What a frame or input lends the session: the clock, GL when drawing,
  // the recorder.
  Front Lent(bool draw);

  Session session_;
  MillisecondClock ticks_;
  TPace pace_;

  QWidget* client_ = nullptr;  // the client area between the bars
  QLabel* panel1_ = nullptr;
  QWidget* panel2_ = nullptr;
  QListWidget* listBox1_ = nullptr;
  TRadioGroup* radioGroup1_ = nullptr;
  TRadioGroup* radioGroup2_ = nullptr;
  std::array<QCheckBox*, kSideCount> checkBoxes_{};
  std::array<QFrame*, kSideCount> swatches_{};  // each side's colour beside its box
  TPlayField* playField_ = nullptr;             // owned by panel3_
  QWidget* panel3_ = nullptr;                   // the container that embeds playField_
  QTimer* timer1_ = nullptr;
  QTimer* timer2_ = nullptr;
  QLabel* statusText_ = nullptr;

  struct TranslatedText {
    const char* source;
    std::function<void(const QString&)> set;
  };
  std::vector<TranslatedText> captions_;

  QOpenGLContext* context_ = nullptr;
  std::unique_ptr<OpenGlGl> gl_;  // null without a usable context
  QSize projectedSize_;           // play-field size of the last FormResize
  qreal projectedRatio_ = 0;      // its device pixel ratio
  QPointer<QMessageBox> errorBox_;
  int64_t frameSteps_ = 0;
  bool pointerOver_ = false;      // the pointer is over the play field
  bool showingControls_ = false;  // ShowControls is setting them: no input

  std::unique_ptr<RecordingFile> recording_;  // null while not recording
  QTimer* recordingFlush_ = nullptr;          // once a second while recording
  QAction* recordAction_ = nullptr;
  QPointer<QMessageBox> fileErrorBox_;

  std::unique_ptr<TKeyFilter> keys_;  // last: gone before anything it calls
};

}  // namespace kragmoor
