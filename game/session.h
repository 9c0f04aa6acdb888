// A game session as a plain, copyable value: what every player of the game
// shares and what is one player's own. Inputs change it through Apply
// (game/play.h); a new game or a load replaces it whole.
#pragma once

#include <array>
#include <cstdint>

#include "world/tigrok.h"

namespace kragmoor {

// One player's own part of a session, besides the view state (mouse,
// camera, cursor cell, selection) that the frame step reads from the world.
struct PlayerView {
  int32_t clickMode = 0;     // item of the click-mode radio group
  int32_t buildItem = 0;     // item of the build radio group
  int32_t panelWidth = 485;  // play-field panel, pixels
  int32_t panelHeight = 447;
  uint32_t ticks = 0;  // tick count the drawing reads when no clock is lent
};

struct Session {
  // The game's state right after start-up: the initial scenario written,
  // purses 0, seed 0, boxes ticked, panel 485 x 447, radio items 0, tick 0.
  Session();

  // Shared by every player of the game.
  World world;  // entities, players, seed (and the view state, one player's)
  std::array<bool, kSideCount> computerPlayer{true, true, true};  // the AI check boxes

  // One player's own.
  PlayerView player;
};

// A new game: the start-up world with the seed `seed`; boxes, panel size,
// radio items and tick count stay.
void StartNewGame(Session& session, uint32_t seed);

}  // namespace kragmoor
