// The game as a window drives it: the timer, the pace, the computer-player
// boxes, files and bots. Its play controls are in driver_play.cc.
#include "game/driver.h"

#include "game/net/network_game.h"
#include "game/platform/files.h"
#include "game/play.h"
#include "game/play_inputs.h"
#include "game/recorder.h"
#include "game/saved_game.h"
#include "game/text/describe.h"
#include "sim/view.h"

namespace kragmoor {

GameDriver::GameDriver(uint32_t seed, TickSource& clock) : clock_(clock) {
  StartNewGame(session_, seed);
}

GameDriver::~GameDriver() {
  std::string error;
  StopRecording(error);
}

FrameInputs GameDriver::Inputs(FieldSize field) const {
  // The panel as the next frame will give it.
  FrameInputs inputs = FrameInputsOf(session_, &clock_);
  inputs.panelWidth = field.width;
  inputs.panelHeight = field.height;
  return inputs;
}

void GameDriver::TimerFired(FieldSize field, Gl* gl) {
  if (network_) return NetworkTimer(field);
  const int steps = pace_.StepsForTimer();
  for (int i = 1; i <= steps && !latched_; ++i) StepOneFrame(field, i == steps ? gl : nullptr);
}

void GameDriver::Resize(FieldSize field, Gl* gl) {
  SyncPanel(field);
  if (!pointerOver_) PointerAway(field);  // the resting pointer follows the centre
  if (pace_.paused() || network_) {
    ViewChanged();  // no frame: the still picture at the new size
    return;
  }
  ++frameSteps_;
  std::string error;
  if (!ApplyWithFrame(session_, kragmoor::Resize{field.width, field.height}, Lent(gl), error)) {
    Latch(error);
  }
}

void GameDriver::StepOneFrame(FieldSize field, Gl* gl) {
  SyncPanel(field);
  if (!pointerOver_) PointerAway(field);  // follows the field's size, whatever reported it
  ++frameSteps_;
  BotsBeforeFrame();
  std::string error;
  if (!StepFrame(session_, Lent(gl), error)) Latch(error);
  watch_.Observe(session_.world, frameSteps_, session_.computerPlayer);
}

Front GameDriver::Lent(Gl* gl) {
  Front front{&clock_, gl, recording_ ? &recording_->recorder() : nullptr, {}};
  if (network_) {
    front.orders = [game = network_.get()](const Order& o) { game->SendOrder(o.slot, o.text); };
  }
  return front;
}

void GameDriver::Give(const Input& input) {
  Apply(session_, input, Lent(nullptr));  // only a resize runs a frame, and it is not given here
}

// The field's size, given to the game when it changed (the game's panel size
// is what its frames and mouse moves read).
void GameDriver::SyncPanel(FieldSize field) {
  if (session_.player.panelWidth != field.width || session_.player.panelHeight != field.height) {
    Give(PanelSize{field.width, field.height});
  }
}

void GameDriver::Latch(const std::string& error) {
  // The first error stands: a faulty order would fail again in every frame.
  if (latched_) return;
  latched_ = true;
  error_ = error;
}

void GameDriver::PointerMoved(FieldSize field, int32_t x, int32_t y) {
  pointerOver_ = true;
  SyncPanel(field);  // the move counts y from the panel's height
  Give(MouseMove{x, y});
  ViewChanged();
}

void GameDriver::PointerAway(FieldSize field) {
  pointerOver_ = false;
  SyncPanel(field);
  const MouseAt rest = RestingPointer(session_);
  const ViewState& view = session_.player.view;
  if (rest.x == view.mouseX && rest.y == view.mouseY) return;
  Give(rest);
  ViewChanged();
}

void GameDriver::Click() {
  if (network_) return NetworkClick();
  if (baseBuildArmed_) {
    baseBuildArmed_ = false;
    BuildBase(session_, PointUnderMouse(session_.player.view), Lent(nullptr));
  } else {
    kragmoor::ClickOnField(session_, Lent(nullptr));
  }
  if (pace_.paused()) stillDue_ = true;  // the selection mark may have moved
}

void GameDriver::HomeCamera() {
  HomeView(session_, Lent(nullptr));
  ViewChanged();
}

void GameDriver::PanCamera(int32_t columns, int32_t rows) {
  const CameraOffset camera = PannedCamera(session_.player.view, columns, rows);
  Give(CameraAt{camera.x, camera.y});
  ViewChanged();
}

void GameDriver::ViewChanged() {
  if (!pace_.paused() && !network_) return;
  Give(StoredCursorCell(session_));
  stillDue_ = true;
}

void GameDriver::ChooseClickMode(int32_t item) { Give(ClickMode{item}); }

void GameDriver::ChooseBuildItem(int32_t item) { Give(BuildItem{item}); }

void GameDriver::SetComputerPlayers(const std::array<bool, kSideCount>& checked) {
  if (network_) return;  // the referee's
  Give(ComputerPlayers{checked});
}

void GameDriver::ChooseSide(int32_t side) { Give(OwnSide{side}); }

void GameDriver::TogglePause() {
  // In a network game the host's pause is everyone's; a window that joined
  // pauses only its own picture, and the shared game goes on.
  pace_.TogglePause();
  if (network_ && network_->hosting()) network_->SetPace(pace_.paused(), pace_.power());
  ViewChanged();
}

void GameDriver::ChangeSpeed(bool faster) {
  if (network_ && !network_->hosting()) return;  // the host's
  if (faster) {
    pace_.Faster();
  } else {
    pace_.Slower();
  }
  if (network_) network_->SetPace(pace_.paused(), pace_.power());
}

void GameDriver::NewGame(uint32_t seed) {
  if (network_) {
    network_->Leave();
    network_.reset();
  }
  StartNewGame(session_, seed);
  if (recording_) recording_->recorder().State(session_);
  frameSteps_ = 0;
  GameStarted();
}

bool GameDriver::OpenGame(const std::string& path, std::string& error) {
  if (network_) {
    error = "a network game is running";
    return false;
  }
  const PlayerView before = session_.player;
  if (!LoadSavedGame(path, session_, error)) return false;
  if (recording_) recording_->recorder().State(session_);
  // The view preferences are the player's, not the saved game's.
  if (session_.player.scrollMargin != before.scrollMargin) Give(EdgeScroll{before.scrollMargin});
  if (session_.player.keepViewOverField != before.keepViewOverField) {
    Give(KeepView{before.keepViewOverField});
  }
  GameStarted();
  return true;
}

void GameDriver::TakeOver(const Session& session) {
  const PlayerView before = session_.player;
  session_ = session;
  session_.player.scrollMargin = before.scrollMargin;
  session_.player.keepViewOverField = before.keepViewOverField;
  if (recording_) recording_->recorder().State(session_);
  frameSteps_ = 0;
  watch_ = GameWatch{};
  baseBuildArmed_ = false;
  ViewChanged();
}

bool GameDriver::SaveGame(const std::string& path, std::string& error) {
  session_.player.ticks = clock_.GetTickCount();  // the picture's clock, for a replay's trace
  std::string text;
  return SavedGameText(session_, text, error) &&
         WriteFileAtomically(path, text, kSaveFormat, error);
}

bool GameDriver::StartRecording(const std::string& path, FieldSize field, std::string& error) {
  if (network_) {
    error = "a network game is recorded by its host (--record)";
    return false;
  }
  SyncPanel(field);  // the recording starts from the size the frames will read
  auto file = std::make_unique<RecordingFile>();
  if (!file->Open(path, session_, error)) return false;
  recording_ = std::move(file);
  return true;
}

bool GameDriver::StopRecording(std::string& error) {
  if (!recording_) return true;
  const bool finished = recording_->Finish(session_, error);
  EndRecording();
  return finished;
}

bool GameDriver::FlushRecording(std::string& error) {
  if (!recording_) return true;
  if (recording_->Flush(error)) return true;
  EndRecording();  // what follows would not replay: the recording ends here
  return false;
}

void GameDriver::EndRecording() { recording_.reset(); }

bool GameDriver::TakeStillDue() {
  const bool due = stillDue_;
  stillDue_ = false;
  return due;
}

std::vector<InfoItem> GameDriver::InfoItems(Language language) const {
  return InfoItemsIn(session_.world, session_.player.view, language);
}

int GameDriver::LastSideStanding() const { return kragmoor::LastSideStanding(session_.world); }

// Bots.

bool GameDriver::SeatBot(int side, const std::string& command, int32_t turn, std::string& error) {
  if (network_) {
    error = "a network game's bots are its host's";
    return false;
  }
  BotSeat& seat = bots_[side];
  seat.Stop();
  seat.onErrorLine = [this, side](std::string_view line) {
    if (onBotErrorLine) onBotErrorLine(side, line);
  };
  BotTiming timing;  // the arena's budget and pool
  timing.turn = turn;
  timing.seed = session_.world.seed;  // the random state the bot's game goes on from
  // The window has no frame limit: the start message says 0 frames.
  if (!seat.Start(command, side, timing, 0, error)) return false;
  if (session_.computerPlayer[side]) {  // the bot plays the side, not the computer player
    std::array<bool, kSideCount> checked = session_.computerPlayer;
    checked[side] = false;
    Give(ComputerPlayers{checked});
  }
  return true;
}

void GameDriver::BotsBeforeFrame() {
  for (BotSeat& seat : bots_) {
    if (seat.playing()) seat.BeforeFrame(session_, Lent(nullptr), frameSteps_ - 1);
  }
}

}  // namespace kragmoor
