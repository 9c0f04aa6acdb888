// A game session as a plain, copyable value: what every player of the game
// shares and what is one player's own. Inputs change it through Apply
// (game/play.h); a new game or a load replaces it whole.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "game/play_state.h"
#include "world/rules.h"
#include "world/state_hash.h"
#include "world/tigrok.h"

namespace kragmoor {

// One player's own part of a session: what they see and point at, their
// radio items, panel, selections and preferences. A game of several players
// would hold one of these for each beside the one world they share.
struct PlayerView {
  ViewState view;                         // mouse, camera, cursor cell, selected entity
  int32_t clickMode = 0;                  // item of the click-mode radio group
  int32_t buildItem = 0;                  // item of the build radio group
  int32_t panelWidth = kStartPanelWidth;  // play-field panel, pixels
  int32_t panelHeight = kStartPanelHeight;
  uint32_t ticks = 0;  // tick count the drawing reads when no clock is lent
  // Selected slots, ascending and without repeats. It is in use only while
  // its first slot is the view's `selected` (what the information list
  // shows); anything else that changes `selected` (a select click, `select
  // N`) thereby drops it. It holds entities: one that dies, or whose slot
  // a build fills anew, leaves it after the frame step or input that did it
  // (game/entity_keys.h), all but the first slot, which `selectedGone` marks.
  std::vector<int32_t> selection;
  // The entity `view.selected` picked has died or been replaced in its slot:
  // the view still names the slot, as designed, but the player's own orders
  // no longer reach it. Cleared when something selects again.
  bool selectedGone = false;
  // The side this player plays (0 to 2), as the start dialog or --side chose
  // it; -1 when nothing chose one, and then the lowest side whose
  // computer-player box is unticked counts (PlayerSide, game/play_inputs.h).
  int32_t side = -1;
  // Group g (1 to 9) at index g - 1: slots ascending, as stored; entities
  // as the selection set holds them.
  std::array<std::vector<int32_t>, kGroupCount> groups;
  // View preferences; the defaults are the design's.
  int32_t scrollMargin = kScrollMargin;  // edge-scroll width, pixels; 0 turns it off
  bool keepViewOverField = false;        // hold the view's centre over the field
};

struct Session {
  // The game's state right after start-up: the initial scenario written,
  // purses 0, seed 0, boxes ticked, panel 485 x 447, radio items 0, tick 0.
  Session();

  // Shared by every player of the game: the world (entities, players,
  // seed) and the computer players.
  World world;
  std::array<bool, kSideCount> computerPlayer{true, true, true};  // the AI check boxes
  std::array<int32_t, kSideCount> level{3, 3, 3};  // their levels, 1 to 3 (3 the normal one)

  // One player's own.
  PlayerView player;
};

// A new game: the start-up world with the seed `seed`, the view initial, no
// selection set and no groups; boxes, levels, panel size, radio items, tick
// count, view preferences and the side chosen stay.
void StartNewGame(Session& session, uint32_t seed);

// The state hash of the game as this player has it: the shared world, then
// the player's view.
uint64_t StateHash(const Session& session);

}  // namespace kragmoor
