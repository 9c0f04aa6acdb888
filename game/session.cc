// The start-up session and a new game.
#include "game/session.h"

namespace kragmoor {

Session::Session() { SetUpScenario(world); }

void StartNewGame(Session& session, uint32_t seed) {
  session.world = World{};
  session.world.seed = seed;
  SetUpScenario(session.world);
  session.player.view = ViewState{};
  session.player.selection.clear();
  session.player.selectedGone = false;
  for (auto& group : session.player.groups) group.clear();
}

uint64_t StateHash(const Session& session) { return StateHash(session.world, session.player.view); }

}  // namespace kragmoor
