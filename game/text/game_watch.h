// The end of a game and what the player is told: an observer that is fed
// the world after every frame and keeps, per side, what it mined, trained,
// built and lost; which sides are out and who won; the standstill; and the
// alerts as an event list. Not part of the state hash nor of a saved game: a
// watch starts afresh with each new, opened or loaded game. No Qt.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "game/play_state.h"
#include "world/tigrok.h"

namespace kragmoor {

// Frames of game time (10 ms each) with nothing mined, spent or hurt that make
// a standstill: five minutes.
inline constexpr int64_t kStandstillFrames = 30000;
// Frames between two "under attack" alerts for one base: ten seconds.
inline constexpr int64_t kAttackAlertFrames = 1000;
// Frames between two alerts of one kind for one of the player's sides, so a
// fight or a crowd of idle peasants cannot flood the log: a peasant under
// attack or idle at most every five seconds, a peasant lost every second.
// A base destroyed is always told.
inline constexpr int64_t kPeasantAlertFrames = 500;
inline constexpr int64_t kLossAlertFrames = 100;

enum class EventKind {
  kBaseUnderAttack,
  kPeasantTrained,
  kMineEmpty,
  kSideOut,
  kGameOver,
  kPeasantUnderAttack,  // one of the player's peasants was hurt
  kPeasantLost,         // one of the player's peasants died
  kBaseDestroyed,       // one of the player's bases died
  kPeasantIdle,         // one of the player's peasants has nothing left to do
};

struct GameEvent {
  int64_t frame = 0;  // the frame count when it was seen
  EventKind kind = EventKind::kSideOut;
  int32_t side = -1;  // the side it concerns (the winner for kGameOver, -1: none)
  int32_t slot = -1;  // the entity it concerns, or -1
  float x = 0.0f;     // where it happened, field units (with a slot)
  float y = 0.0f;
};

// One side's game so far.
struct SideSummary {
  int64_t goldMined = 0;  // taken from mines by its peasants
  int64_t peasantsTrained = 0;
  int64_t basesBuilt = 0;
  int64_t entitiesLost = 0;  // its peasants and bases that died
  int64_t outAtFrame = -1;   // when it lost its last peasant and base; -1 while in
};

class GameWatch {
 public:
  // `frame` is the frame count of the game after the frame just run; the
  // player's sides are those whose computer-player box is unticked. The first
  // call only takes note of the world.
  void Observe(const World& world, int64_t frame,
               const std::array<bool, kSideCount>& computerPlayer);

  // Events seen so far, oldest first; TakeEvents hands them over and forgets them.
  const std::vector<GameEvent>& events() const { return events_; }
  std::vector<GameEvent> TakeEvents();

  const std::array<SideSummary, kSideCount>& summaries() const { return summaries_; }
  bool over() const { return over_; }
  // The one side left when the game ended, or -1 (several left, or none).
  int winner() const { return winner_; }
  // No side has mined, spent or been hurt for kStandstillFrames.
  bool standstill() const { return standstill_; }

 private:
  struct Seen {
    bool live = false;
    int32_t kind = 0;
    int32_t owner = 0;
    float hp = 0.0f;
    int32_t gold = 0;
    bool idle = false;  // its order is "idle"
  };
  // Adds the event unless one of its kind was told for its side less than
  // `gap` frames ago (`last` is that side's frame of it).
  void Alert(int64_t& last, int64_t gap, const GameEvent& event);
  std::array<Seen, kSlotCount> seen_{};
  std::array<int32_t, kSideCount> purses_{};
  std::array<int64_t, kSlotCount> lastAttackAlert_{};
  // Per side: the last peasant-under-attack, peasant-lost and idle alert.
  std::array<std::array<int64_t, kSideCount>, 3> lastSideAlert_{};
  std::array<SideSummary, kSideCount> summaries_{};
  std::vector<GameEvent> events_;
  bool started_ = false;
  bool over_ = false;
  int winner_ = -1;
  bool standstill_ = false;
  int64_t lastActivity_ = 0;
};

// The player's text of an event: "Your base is under attack" and so on.
std::string EventText(const GameEvent& event, Language language);

// The status bar's standstill line: "The game is at a standstill".
std::string StandstillText(Language language);

// A side's summary line for the end-of-game dialog: side shown as 1 to 3,
// time in minutes and seconds of game time (up to `frame` or its end).
std::string SummaryText(const SideSummary& summary, int side, int64_t frame, Language language);

}  // namespace kragmoor
