// The arena: a match from the initial scenario in which each side is the
// computer player (at a level), nobody, or a bot program that plays through
// the bot protocol; and its command line.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "game/bots/bot_seat.h"
#include "runner/command_line.h"
#include "world/tigrok.h"

namespace kragmoor {

struct Session;

struct ArenaOptions {
  uint32_t seed = 1;
  int32_t frames = 10000;
  int32_t turn = BotTiming{}.turn;          // frames per turn
  int32_t budgetMs = BotTiming{}.budgetMs;  // for one answer
  int32_t overtimeMs =
      BotTiming{}.overtimeMs;  // pool for the whole match, paid from by late answers
  std::string recordPath;      // empty: no recording
  std::string transcriptPath;  // every message to and from each bot; empty: none
  std::string tag;        // printed first as "tag TAG" (a planned tournament's match); empty: none
  std::string startPath;  // --start: a saved game to play on from, its seed the game's
  std::shared_ptr<const Session> start;  // that game, loaded; null: the initial scenario
};

// The most bytes of a --tag.
inline constexpr size_t kMaxTagBytes = 1024;

// Who plays a side: `ai` / `ai:L`, `none`, or any other text, a command.
struct ArenaSide {
  enum class Kind { kAi, kNone, kBot };
  Kind kind = Kind::kNone;
  int32_t level = 3;    // kAi
  std::string command;  // kBot
};

// Reads one SIDE word; false for an empty text or `ai:` with a bad level.
bool ParseArenaSide(std::string_view text, ArenaSide& side);

// How one side's player did.
struct SeatResult {
  std::string name;      // a bot's name from its ready message
  std::string status;    // ok, ai, none, timeout, exited, bad-output, flooded, no-start
  int64_t orders = 0;    // accepted
  int64_t refused = 0;   // refused orders, and answers refused whole
  int64_t lateMs = 0;    // paid from the overtime pool
  int64_t badLines = 0;  // answers refused whole
  std::string detail;    // a bot ended early: "frame=F ..." (BotSeat::endDetail)
};

struct ArenaResult {
  std::array<SeatResult, kSideCount> seats;
  std::array<int, kSideCount> places{};
  std::string matchLines;  // what `match` prints for the same game
};

// Plays the match. Each line a bot writes on standard error goes to
// `errorLine` as "side N: <line>" (N shown as 1 to 3). False, with the
// reason, only when the recording or the transcript cannot be written (the
// match is played out all the same).
bool RunArena(const ArenaOptions& options, const std::array<ArenaSide, kSideCount>& sides,
              const std::function<void(const std::string&)>& errorLine, ArenaResult& result,
              std::string& error);

// How a bot seat did, once it has ended.
SeatResult ResultOf(const BotSeat& bot);

// "bot N name="..." status=S [DETAIL] orders=O refused=R bad_lines=B
// late_ms=L" for each side (only name and status for ai and none), then
// "places P1 P2 P3".
void PrintSeatLines(const ArenaResult& result, std::ostream& out);

// Whether some bot of the match failed: ended early, or answered with
// something that is not an orders message.
bool SomeBotFailed(const ArenaResult& result);

// The arena's options, each storing its value into `options` (which must
// outlive the list): --seed, --frames, --turn, --budget, --overtime, --record,
// --transcript, --tag, --start.
std::vector<Option> ArenaOptionList(ArenaOptions& options);

// kragmoor-sim arena [OPTIONS] SIDE1 SIDE2 SIDE3 (argv[1] is "arena").
int ArenaCommand(int argc, char** argv, std::ostream& out);

}  // namespace kragmoor
