// The game as a window drives it, without the window: the session, the pace,
// the frame count, the error latch and the recording, and one operation per
// thing the player does. Every game input goes through the session's
// functions, so a recording of the window replays. No Qt, no GL headers.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "game/bots/bot_seat.h"
#include "game/input.h"
#include "game/pace.h"
#include "game/play.h"
#include "game/session.h"
#include "game/text/game_watch.h"
#include "render/gl.h"
#include "sim/control.h"
#include "sim/frame_step.h"
#include "world/tigrok.h"

namespace kragmoor {

class RecordingFile;
namespace net {
class NetworkGame;
}

// The play field's size in logical pixels, as the window has it now: what
// the next frame and mouse move read.
struct FieldSize {
  int32_t width = 0;
  int32_t height = 0;
};

class GameDriver {
 public:
  // The start-up game with the random generator's seed `seed`. `clock` is
  // the tick count the picture's animation reads; it must outlive the driver.
  GameDriver(uint32_t seed, TickSource& clock);
  // A recording still running gets its last hash, with no one left to tell.
  ~GameDriver();
  GameDriver(const GameDriver&) = delete;
  GameDriver& operator=(const GameDriver&) = delete;

  const Session& session() const { return session_; }
  // The world and the player's view themselves, for tests that set a
  // situation up directly (no recording sees such a change).
  World& world() { return session_.world; }
  ViewState& view() { return session_.player.view; }
  const TPace& pace() const { return pace_; }
  // Frame steps run so far, by the timer and by resizes.
  int64_t frameSteps() const { return frameSteps_; }
  // What the next frame step reads besides the world, on a field `field` large.
  FrameInputs Inputs(FieldSize field) const;

  // Timer1 fired (every 10 ms): the frame steps of one firing at the pace
  // (one at x1), drawing only the last through `gl` (may be null). None while an
  // error is latched.
  void TimerFired(FieldSize field, Gl* gl);
  // The play field has a new size (the window has set viewport and
  // projection): one frame step draws it, or, while paused, the still
  // picture is due. A resize runs its frame even while an error is latched.
  void Resize(FieldSize field, Gl* gl);

  // The pointer moved over the play field to (x, y), y counted downwards.
  void PointerMoved(FieldSize field, int32_t x, int32_t y);
  // The pointer is away from the play field (not entered yet, or left): the
  // game takes it to rest at the field's centre.
  void PointerAway(FieldSize field);
  // A left click on the field: the design's click on the selected entity,
  // and in the go, attack and build modes the same order to the rest of a
  // selected group that is the player's.
  void Click();
  // Home: the view on the player's main base. The arrows: one cell to the
  // right (1, 0), up (0, 1)...
  void HomeCamera();
  void PanCamera(int32_t columns, int32_t rows);

  // The controls of the panel: the click-mode and build radio items, the
  // computer-player check boxes.
  void ChooseClickMode(int32_t item);
  void ChooseBuildItem(int32_t item);
  void SetComputerPlayers(const std::array<bool, kSideCount>& checked);
  // The side the player plays from now on (the start dialog, --side): the
  // input `side N`; -1 for none chosen.
  void ChooseSide(int32_t side);

  // The play layer's controls (game/driver_play.cc). Positions are play-field
  // pixels, y counted downwards, as the toolkit reports them.
  // A right-click at (x, y): every selected entity that can carry it out is
  // ordered there (attack, walk to an entity, or walk to the point).
  void RightClick(FieldSize field, int32_t x, int32_t y);
  // A left-button drag from (x0, y0) to (x1, y1): the entities of one side
  // inside the box selected; with `add` (Shift) joined to what is selected.
  void SelectBox(FieldSize field, int32_t x0, int32_t y0, int32_t x1, int32_t y1, bool add);
  void SelectAll();            // Ctrl+A
  void StoreGroup(int group);  // Ctrl+1..9
  // 1..9: the group selected; a second press centres the view on it.
  void RecallGroup(int group);
  void TrainPeasants();  // P: a peasant at each selected main base
  // The idle-peasant key: the player's next idle peasant selected, the view
  // centred on it.
  void NextIdlePeasant();
  // B: the next left click on the field builds a main base there with the
  // selected peasants, in place of the design's click.
  void ArmBaseBuild() { baseBuildArmed_ = true; }
  bool baseBuildArmed() const { return baseBuildArmed_; }
  void MoveCamera(float x, float y);      // the map: camera X Y
  void PanBy(int32_t dx, int32_t dy);     // a middle-button drag by (dx, dy) pixels
  void ChooseEdgeScroll(int32_t margin);  // View menu: pixels, 0 for none
  void ChooseKeepView(bool keep);
  void ChooseLevels(const std::array<int32_t, kSideCount>& levels);
  // What the game watch saw in the frames run so far.
  const GameWatch& watch() const { return watch_; }
  std::vector<GameEvent> TakeEvents() { return watch_.TakeEvents(); }

  void TogglePause();
  void ChangeSpeed(bool faster);

  // Game files. Each returns false with the reason in `error` when it fails,
  // leaving the game as it was.
  // A new game: the start-up world with the seed `seed`, the frame count
  // from 0 again, opening with a view of the player's base.
  void NewGame(uint32_t seed);
  bool OpenGame(const std::string& path, std::string& error);
  // Take over from here: the game `session` (a replay's frame) becomes the
  // one played, its view as it was, the frame count from 0 again; the view
  // preferences stay the player's. A recording going on writes it next.
  void TakeOver(const Session& session);
  bool SaveGame(const std::string& path, std::string& error);
  // From now on every input and frame goes to `path`, starting from the game
  // on a field `field` large. REQUIRES: no recording runs (StopRecording).
  bool StartRecording(const std::string& path, FieldSize field, std::string& error);
  // Finishes the recording with its last hash. False when the recording
  // broke on the way; it is over either way. True when none runs.
  bool StopRecording(std::string& error);
  // Appends what was recorded since the last flush (at least once a second).
  // False when the file cannot be written: the recording is then over.
  bool FlushRecording(std::string& error);
  bool recording() const { return recording_ != nullptr; }

  // The conversion error that ended a frame, latched: no timer frames run
  // until AcknowledgeError. Null when none is latched.
  const std::string* latchedError() const { return latched_ ? &error_ : nullptr; }
  // The player has seen the error: frames run again.
  void AcknowledgeError() { latched_ = false; }

  // Whether the paused game's picture must be redrawn (after a change that a
  // running game's next frame would show); reading it clears it.
  bool TakeStillDue();

  // Bots: `side` (0 to 2) is played by the bot program `command` through the
  // bot protocol, a turn every `turn` frames, its orders given before the
  // frame steps the timer runs (and recorded); its computer player is
  // unticked. The game never waits for it: a slow, stuck or broken bot is
  // ended and its side plays on with no one. False, with the reason in
  // `error`, when it cannot be started.
  bool SeatBot(int side, const std::string& command, int32_t turn, std::string& error);
  const BotSeat& bot(int side) const { return bots_[side]; }
  // Each line a bot writes on standard error, with its side (0 to 2).
  std::function<void(int side, std::string_view line)> onBotErrorLine;

  // Network play (game/driver_net.cc). From PlayNetwork on, the shared game
  // is `game`'s: the timer polls it and shows the frames its referee closed,
  // orders go to the referee, and nothing local (a resize, the pointer, the
  // camera, the selection, pause and speed) runs a shared frame. The boxes,
  // levels, pause, speed, bots, files and recording of a game on one machine
  // do nothing meanwhile. LeaveNetwork starts a new game on one machine.
  void PlayNetwork(std::unique_ptr<net::NetworkGame> game);
  void LeaveNetwork(uint32_t seed);
  net::NetworkGame* network() const { return network_.get(); }

  // What the information list and the status bar show; the list in
  // `language` (InfoItemsIn: the design's lines in Russian).
  std::vector<InfoItem> InfoItems(Language language = Language::kRussian) const;
  int LastSideStanding() const;

 private:
  void SyncPanel(FieldSize field);
  void StepOneFrame(FieldSize field, Gl* gl);
  // After the mouse or the camera moved: while paused no frame stores the
  // cursor cell, so it is stored here for clicks, and the picture is due.
  void ViewChanged();
  void Latch(const std::string& error);
  // What the driver lends every input and frame: the clock, `gl` and the
  // recording's recorder when one runs.
  Front Lent(Gl* gl);
  // Applies one input (one that runs no frame) through the session's table.
  void Give(const Input& input);
  void EndRecording();
  void BotsBeforeFrame();
  // A new or opened game: the watch from the start, the view on a base.
  void GameStarted();
  // The timer of a network game: polls it and takes the frames it ran.
  void NetworkTimer(FieldSize field);
  // A left click in a network game: a select click stays local, the others
  // become orders for every selected entity of our side.
  void NetworkClick();

  Session session_;
  TickSource& clock_;
  TPace pace_;
  int64_t frameSteps_ = 0;
  bool pointerOver_ = false;  // the pointer is over the play field
  bool latched_ = false;
  std::string error_;  // the latched error's whole message
  bool stillDue_ = false;
  std::unique_ptr<RecordingFile> recording_;  // null while not recording
  std::array<BotSeat, kSideCount> bots_;      // the sides given to bot programs
  GameWatch watch_;
  bool baseBuildArmed_ = false;
  std::unique_ptr<net::NetworkGame> network_;  // null: a game on one machine
  int64_t networkFrames_ = -1;                 // the network game's frames last shown
};

}  // namespace kragmoor
