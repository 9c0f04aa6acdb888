// The main window: lays out the title strip, the control panel and the play
// field with the menu bar and the status bar around them, runs the frame
// timer and the information-list timer, forwards every event to the game
// driver and shows what it returns. Holds no game rules and no game state.
#pragma once

#include <QMainWindow>
#include <QMessageBox>
#include <QPointer>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "app/captions.h"
#include "app/start_dialog.h"
#include "game/driver.h"
#include "game/net/network_game.h"
#include "game/pace.h"
#include "game/session.h"
#include "render/gl.h"
#include "world/tigrok.h"

class QDialog;
class QDragEnterEvent;
class QDropEvent;
class QKeyEvent;
class QLabel;
class QMenu;
class QOpenGLContext;
class QTimer;

namespace kragmoor {

class TControlPanel;
class TPlayPanel;
class TReplayWindow;
class TSummaryWindow;
struct Options;
class TKeyFilter;
class TPlayField;
class TPlayFieldView;

// The tick count of the peasants' animation: milliseconds of a steady clock,
// wrapping at 2^32 like a system tick counter.
class MillisecondClock final : public TickSource {
 public:
  uint32_t GetTickCount() override;
};

// The random generator's seed of a new game: the UTC time of day.
uint32_t SeedNow();

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
  // current for good, sets the fixed GL state and starts the game with a
  // seed from the UTC time of day. The timers start with the window.
  TForm1();
  // FormDestroy: releases the GL context.
  ~TForm1() override;

  // Timer1, every 10 ms: the frame steps of one tick at the current pace.
  void TimerDraw();
  // Timer2, every 100 ms: the information list, the status bar and the
  // side colours from the world.
  void ShowInfo();

  // What the next frame step reads besides the world: the check boxes, the
  // play field's size and the clock.
  FrameInputs Inputs() const;

  World& world() { return driver_.world(); }
  ViewState& view() { return driver_.view(); }
  const World& world() const { return driver_.session().world; }
  const GameDriver& driver() const { return driver_; }
  const Session& session() const { return driver_.session(); }
  TPlayField* playField() const;
  // False when no GL context could be made: frames then run without drawing.
  bool hasGl() const;
  QOpenGLContext* context() const;
  int64_t frameSteps() const { return driver_.frameSteps(); }
  // The open error box, or null.
  QMessageBox* errorBox() const { return errorBox_; }
  const TPace& pace() const { return driver_.pace(); }

  // Bots (form1_bots.cc): gives `side` to the bot program `command` through
  // the driver, a turn every `turn` frames; its AI box is unticked. A bot
  // that is slow, stuck or broken is ended, its side plays on with no one,
  // and the status bar says so. False, with a box saying why, when it
  // cannot be started.
  bool StartBot(int side, const QString& command, int32_t turn = 10);

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
  bool recording() const { return driver_.recording(); }
  // --record at start: refuses `path` when it is the saved game `loaded`
  // (the recording would replace it), asks before replacing a recording
  // already there, and then starts recording.
  void RecordFromStart(const QString& path, const QString& loaded);
  // The open question whether to replace a recording, or null.
  QMessageBox* replaceBox() const { return replaceBox_; }
  // The open box of a failed file operation, or null.
  QMessageBox* fileErrorBox() const { return fileErrorBox_; }

  // The keys the window takes whatever control has the focus: Space pauses
  // and resumes, + (or =) and - double and halve the speed, Home centres the
  // view on the player's main base, the arrows pan it one cell, the full
  // stop selects the next idle peasant.
  static bool IsGameKey(const QKeyEvent& key);
  void GameKey(const QKeyEvent& key);
  // The play keys (form1_play.cc): Ctrl+A selects all of the player's own,
  // Ctrl+1..9 stores a group, 1..9 recalls it, P trains, B builds a base.
  static bool IsPlayKey(const QKeyEvent& key);
  void PlayKey(const QKeyEvent& key);
  // Новая игра from the menu: asks first when a game is in progress.
  bool AskNewGame();

  // The start as the player chooses it (form1_start.cc). At program start:
  // --side (with --levels) starts that side's game paused; --levels alone
  // sets the levels; with a game to open, a recording, a bot or
  // KRAGMOOR_NO_START_DIALOG set, the game starts as designed; otherwise the
  // choice of an earlier run is taken, and at the first start the dialog asks.
  void StartFromOptions(const Options& options);
  // The player's side (its AI box off, the others on), the levels; paused
  // with the hint of the first steps, or running when the player watches.
  void StartAs(const StartChoice& choice);
  // The start dialog, offering `language`, over the game, which waits paused
  // meanwhile. Play: the choice is kept, a new game starts when `newGame`,
  // and StartAs. Cancel: everything stays as it was.
  void AskStart(bool newGame, const QString& language);
  TStartDialog* startDialog() const { return startDialog_; }
  // The end-of-game dialog while it is open, or null.
  QMessageBox* gameOverBox() const { return gameOverBox_; }
  TPlayFieldView* playFieldView() const { return panel3_.get(); }

  // Network play (form1_net.cc). Hosts `plan` (the referee in this process,
  // this window at its `me` seat) or joins HOST:PORT with a seat's code
  // (empty: watching). False, with a box saying why, when it cannot start.
  // Either game is recorded: to `record` (the plan's for the host) or,
  // when that is empty, automatically as a game on one machine is.
  bool HostNetwork(net::HostPlan plan);
  bool JoinNetwork(const QString& address, const QString& code, const QString& record = {});
  // The name this window gives in network games: --name, or the one last
  // typed into a network dialog, or the user's login name.
  QString networkName() const;
  void SetNetworkName(const QString& name, bool keep);
  // The host's and join dialogs of the Game menu (form1_net_dialogs.cc).
  void AskHostNetwork();
  void AskJoinNetwork();
  // The open dialog of a network game (host, join, lobby, lost), or null.
  QDialog* networkDialog() const { return networkDialog_; }
  // Replays and summaries (form1_replay.cc). Opens the recording `path` in
  // a replay window, the live game paused meanwhile; its "take over" makes
  // the frame shown the game played here. False, with a box saying why,
  // when the file is no recording.
  bool OpenReplay(const QString& path);
  TReplayWindow* replayWindow() const;
  // The summary of the live game so far, from its recording; false, with a
  // box, when the game is not being recorded.
  bool ShowLiveSummary();
  // The summary of the finished recording `path` (a network game's).
  bool ShowSummaryOf(const QString& path);
  TSummaryWindow* liveSummary() const;
  // Records the game into the user's data folder, a new file for each game
  // and the last kKeptRecordings kept, unless the preference is off or
  // KRAGMOOR_NO_AUTO_RECORD is set. Called at program start.
  void RecordByDefault();
  QString recordingPath() const { return recordingPath_; }

 protected:
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;
  void changeEvent(QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  // Panel1 along the top of the client area, Panel2 along the left below it,
  // the play field in the rest.
  void LayOut();
  void ConnectPlayField();
  void ConnectControlPanel();
  void CreateTimers();
  // The play field reports its size: when it changed, viewport and
  // projection follow and the driver runs the frame of a resize.
  void FormResize();
  // After every event forwarded to the driver: the picture a frame drew, a
  // new error in its box, the paused game's picture when it changed.
  void ShowOutcome();
  // The conversion error latched by the driver, in its one box: no frames
  // run behind it, and they run again once it is closed.
  void ShowError(const std::string& error);
  // The check boxes and radio groups show the game's (after a load).
  void ShowControls();

  // Game files (form1_files.cc).
  void ChooseAndOpen();
  void ChooseAndSave();
  void ToggleRecording();
  void FlushRecording();
  // The recording's menu entry and flush timer follow whether one runs.
  void ShowRecording();
  void ShowFileError(const QString& what, const std::string& reason);
  // A new or opened game replaced the last: its log, flashes, end dialog
  // and chosen side are gone with it.
  void GameReplaced();

  // Bots (form1_bots.cc): the menu's question, the status bar's words.
  void AskForBot();
  QString BotsStatus() const;

  // Menu bar and status bar (form1_bars.cc).
  void CreateBars();
  // The Игра menu's entries, top to bottom.
  void FillGameMenu(QMenu* menu);
  QAction* AddAction(QMenu* menu, const char* text, const QKeySequence& shortcut,
                     const std::function<void()>& action);
  void CreateLanguageMenu();
  void ShowStatus();
  void Retranslate();

  // The play layer's parts (form1_play.cc).
  void CreatePlayPanel();
  void ConnectPlayActions();
  void CreateViewMenu();
  void CreateHelpMenu();
  // The View menu's settings given to the game (at start and after a load).
  void ApplyViewSettings();
  // The play panel, the player's sides and what the game watch saw.
  void ShowPlay();
  void ShowGameOver();
  // The help dialog's rules, their numbers taken from the game's rules.
  QString RulesText() const;
  // The player's events on the map: a flash where each happened.
  void FlashEvent(const GameEvent& event);
  // The first steps while a game the player chose waits or has just begun.
  QString HintText() const;
  void SetPaused(bool paused);

  // Network play (form1_net.cc): the event log's notices, the status bar's
  // words, the lobby and the lost connection's question.
  void ShowNetwork();
  QString NetworkStatus() const;
  void ShowLobby();
  QString networkName_;        // --name, for this run only
  bool networkShown_ = false;  // the window shows a network game's panels
  bool networkEndShown_ = false;
  // A network game has ended: its summary, and a box that offers its replay.
  void ShowNetworkEnd(const QString& recorded);

  QPointer<QDialog> networkDialog_;
  QPointer<QMessageBox> lostBox_;
  QLabel* playersText_ = nullptr;  // the players' panel of a network game

  MillisecondClock clock_;
  GameDriver driver_;  // the game: after the clock it reads

  TCaptions captions_;
  QWidget* client_ = nullptr;  // the client area between the bars
  QLabel* panel1_ = nullptr;
  TControlPanel* panel2_ = nullptr;
  std::unique_ptr<TPlayFieldView> panel3_;
  QTimer* timer1_ = nullptr;
  QTimer* timer2_ = nullptr;
  QLabel* statusText_ = nullptr;
  QPointer<QMessageBox> errorBox_;

  QTimer* recordingFlush_ = nullptr;  // once a second while recording
  QAction* recordAction_ = nullptr;
  QPointer<QMessageBox> fileErrorBox_;
  QPointer<QMessageBox> replaceBox_;

  // Replays and summaries (form1_replay.cc).
  void CreateReplayActions(QMenu* menu);
  // A new automatic recording, the oldest beyond the kept ones removed.
  void StartAutoRecording();
  // The file a new automatic recording goes to, the oldest beyond the kept
  // ones removed; empty without a data folder. The IfWanted one is empty
  // too when automatic recording is off (a network game's).
  static QString NewAutoRecordingPath();
  static QString AutoRecordingPathIfWanted();
  QString recordingPath_;       // the file the running recording goes to, or empty
  bool autoRecording_ = false;  // it is the automatic one
  QAction* autoRecordAction_ = nullptr;
  QPointer<TReplayWindow> replayWindow_;
  QPointer<TSummaryWindow> liveSummary_;

  TPlayPanel* playPanel_ = nullptr;
  QLabel* sidesText_ = nullptr;  // the player's sides, in the status bar
  bool overShown_ = false;       // the end-of-game dialog was shown for this game
  QPointer<QMessageBox> gameOverBox_;
  QPointer<TStartDialog> startDialog_;

  std::unique_ptr<TKeyFilter> keys_;  // last: gone before anything it calls
};

}  // namespace kragmoor
