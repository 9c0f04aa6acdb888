// The driver in a network game: the timer polls the network game and shows
// the frames it ran in this window's own view; a left click becomes orders.
#include <algorithm>

#include "game/driver.h"
#include "game/entity_keys.h"
#include "game/group_orders.h"
#include "game/net/network_game.h"
#include "game/play_inputs.h"
#include "sim/view.h"

namespace kragmoor {

void GameDriver::PlayNetwork(std::unique_ptr<net::NetworkGame> game) {
  if (recording_) {
    std::string error;
    StopRecording(error);
  }
  for (BotSeat& seat : bots_) seat.Stop();
  network_ = std::move(game);
  pace_ = TPace{};  // the host's pace starts at x1, running
  networkFrames_ = -1;
  frameSteps_ = 0;
  watch_ = GameWatch{};
  baseBuildArmed_ = false;
}

void GameDriver::LeaveNetwork(uint32_t seed) { NewGame(seed); }

void GameDriver::NetworkTimer(FieldSize field) {
  SyncPanel(field);
  if (!pointerOver_) PointerAway(field);
  network_->Poll();
  const net::NetworkGame& game = *network_;
  if (game.phase() == net::NetworkGame::Phase::kJoining) return;
  // A joined window's pause holds its picture; the frames go on meanwhile.
  if (pace_.paused() && !game.hosting() && networkFrames_ >= 0) return;
  const Session& shared = game.session();
  if (game.frames() == networkFrames_ && shared.world.seed == session_.world.seed) return;
  const bool first = networkFrames_ < 0;
  // The edge scroll is the view's own: one step for each frame run since
  // the last tick, as the frame step takes it on one machine (a catch-up
  // scrolls no further than a second's frames would).
  const int64_t ran = first ? 0 : std::clamp<int64_t>(game.frames() - networkFrames_, 0, 100);
  PlayerView& own = session_.player;
  for (int64_t f = 0; f < ran; ++f) {
    ScrollCamera(own.view, own.panelWidth, own.panelHeight, own.scrollMargin);
    if (own.keepViewOverField) KeepViewOverField(own.view, own.panelWidth, own.panelHeight);
  }
  networkFrames_ = game.frames();
  // The shared part is the referee's; the view, selection and groups stay
  // ours, less the entities that are gone.
  const EntityKeys before = KeysOf(session_.world);
  session_.world = shared.world;
  session_.computerPlayer = shared.computerPlayer;
  session_.level = shared.level;
  session_.player.side = game.seat();
  ForgetGoneEntities(session_.player, before, session_.world);
  frameSteps_ = game.frames();
  if (first) ShowStartView(session_, Lent(nullptr));
  watch_.Observe(session_.world, frameSteps_, session_.computerPlayer);
  Give(StoredCursorCell(session_));
  stillDue_ = true;
}

void GameDriver::NetworkClick() {
  PlayerView& player = session_.player;
  if (baseBuildArmed_) {
    baseBuildArmed_ = false;
    BuildBase(session_, PointUnderMouse(player.view), Lent(nullptr));
    return;
  }
  if (player.clickMode == kModeSelect) {
    Give(kragmoor::Click{});  // selects: the view's alone
    stillDue_ = true;
    return;
  }
  // Every selected entity, the one the design's click would write into
  // among them, gets the group's order.
  ViewState view = player.view;
  std::vector<int32_t> selection = SessionSelection(session_);
  if (IsSlot(view.selected) && !player.selectedGone &&
      std::find(selection.begin(), selection.end(), view.selected) == selection.end()) {
    selection.push_back(view.selected);
  }
  view.selected = -1;
  GiveOrders(session_,
             GroupClickOrders(session_.world, view, player.clickMode, player.buildItem, selection,
                              PlayerSide(session_)),
             Lent(nullptr));
}

}  // namespace kragmoor
