// The messages of network play, both ways, and their one strict byte form:
// a type byte, then fixed fields little-endian and texts as a 32-bit length
// and their bytes. Decode bounds every size and count before it reads, and
// refuses anything malformed with a reason; it never trusts the sender.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace kragmoor::net {

// The version of these messages; a peer and a referee of different
// versions refuse each other, both named.
inline constexpr uint32_t kProtocolVersion = 2;

// Bounds of what a message may carry.
inline constexpr size_t kMaxCodeBytes = 64;         // a join code
inline constexpr size_t kMaxNameBytes = 64;         // a player's or bot's name
inline constexpr size_t kMaxOrderTextBytes = 64;    // "stroit 1,-2147483648,..." fits
inline constexpr size_t kMaxReasonBytes = 512;      // a refusal's text
inline constexpr size_t kMaxOrdersPerMessage = 64;  // a peer's inputs of one message
inline constexpr size_t kMaxInputsPerFrame = 192;   // the inputs a closed frame carries
inline constexpr size_t kMaxRefusalsPerFrame = 32;  // refusals one closed frame carries
inline constexpr size_t kMaxChunkBytes = 60000;     // a state chunk, below 64 KiB whole
inline constexpr size_t kMaxChunks = 64;            // chunks of one state: 3.8 MB at most
inline constexpr size_t kMaxReportBytes = 8192;     // a desync report's lines
inline constexpr size_t kMaxEndLinesBytes = 8192;   // the match lines at the end
inline constexpr uint8_t kWatcherSeat = 3;          // the seat a watcher gets
inline constexpr size_t kMaxFolderBytes = 512;      // where the host saved a desync's states
inline constexpr int kSlowestPace = -2;             // the host's speed, a power of two: x1/4
inline constexpr int kFastestPace = 3;              // to x8

// Peer to referee: the first message of a connection.
struct Hello {
  uint32_t protocol = kProtocolVersion;
  uint64_t fingerprint = 0;  // SimulationFingerprint() of the sender
  bool watch = false;        // a watcher: no code
  std::string code;          // the seat's join code (printable ASCII)
  std::string name;          // printable ASCII, may be empty
};

// Referee to peer: the join is taken. The match's settings, as the arena's
// start message names them.
struct Welcome {
  uint8_t seat = 0;  // 0 to 2, or kWatcherSeat
  uint32_t seed = 1;
  int32_t frames = 0;  // 0: no frame limit
  int32_t turn = 10;
  int32_t budgetMs = 100;
  int32_t overtimeMs = 10000;
};

enum class RefuseReason : uint8_t {
  kVersion = 1,  // another protocol or simulation version
  kCode = 2,     // no seat has that code
  kTaken = 3,    // the seat's peer is there
  kFull = 4,     // no more watchers, or the address has too many connections
  kBadMessage = 5,
  kOver = 6,  // the match is over
};
inline constexpr uint8_t kLastRefuseReason = 6;

// Referee to peer: the join is refused, or the connection is ended; the
// referee's own versions, so that the peer names both.
struct Refuse {
  RefuseReason reason = RefuseReason::kBadMessage;
  std::string text;  // printable ASCII
  uint32_t protocol = kProtocolVersion;
  uint64_t fingerprint = 0;
};

// One entity's order (the `order SLOT "TEXT"` input).
struct WireOrder {
  int32_t slot = 0;
  std::string text;  // printable ASCII without '"', at most kMaxOrderTextBytes
};

// Peer to referee: orders for the next frame the referee closes.
struct Inputs {
  std::vector<WireOrder> orders;
};

// One shared input of a closed frame: an order of a seat, or the computer
// players' boxes or levels (a seat dropped or taken back).
struct FrameInput {
  enum class Kind : uint8_t { kOrder = 0, kBoxes = 1, kLevels = 2 };
  Kind kind = Kind::kOrder;
  uint8_t seat = 0;                 // kOrder: who gave it, 0 to 2
  WireOrder order;                  // kOrder
  std::array<uint8_t, 3> values{};  // kBoxes: 0/1; kLevels: 1 to 3
};

// Referee to peer: frame `frame` (1 on) is closed: apply `inputs` in order,
// then run one frame step. `refusals` are this peer's orders that were not
// applied, each with why.
struct Frame {
  uint64_t frame = 0;
  std::vector<FrameInput> inputs;
  std::vector<std::string> refusals;  // printable ASCII
};

// Peer to referee: the sync hash (SyncHash) after frame `frame`, a multiple
// of kSyncEvery.
struct Sync {
  uint64_t frame = 0;
  uint64_t hash = 0;
};

// Referee to peer: send your state after frame `frame` (a desync).
struct StateRequest {
  uint64_t frame = 0;
};

// A saved game's text in pieces. Peer to referee: the state asked for.
// Referee to peer: the state to take, after `frame` frames (a join, a
// rejoin or a desync repair); the closed frames after it follow.
struct StateChunk {
  uint64_t frame = 0;
  uint32_t index = 0;  // 0 to count - 1, sent in order
  uint32_t count = 1;  // 1 to kMaxChunks
  std::string bytes;   // at most kMaxChunkBytes
};

// Referee to peer: a desync report, the lines as the referee printed them,
// and the folder on the host's machine where both states were saved (empty
// when they were not, or the folder's name is not printable ASCII).
struct DesyncReport {
  uint64_t frame = 0;
  uint8_t side = 0;    // 0 to 2
  std::string lines;   // printable ASCII and line ends
  std::string folder;  // printable ASCII
};

// Referee to peer: the match is over.
struct End {
  uint64_t frames = 0;
  uint64_t syncHash = 0;  // the referee's after its last frame
  std::string lines;      // the seat lines, printable ASCII and line ends
};

// Either way: a keep-alive and a round-trip measure; the other end answers
// a ping with a pong of the same stamp.
struct Ping {
  uint64_t stamp = 0;
  bool pong = false;
};

// Referee to peer: what happened to a seat.
struct Notice {
  enum class What : uint8_t { kDropped = 0, kBack = 1, kPaused = 2, kResumed = 3 };
  uint8_t seat = 0;  // 0 to 2
  What what = What::kDropped;
};

// One side as the lobby and the players' panels show it.
struct RosterSeat {
  enum class Kind : uint8_t { kAi = 0, kNone = 1, kBot = 2, kPlayer = 3 };
  Kind kind = Kind::kAi;
  uint8_t level = 2;         // kAi: 1 to 3
  bool taken = false;        // kPlayer: its peer is connected now
  bool dropped = false;      // kPlayer: plays as the dropped seats do
  uint32_t roundTripMs = 0;  // kPlayer: the referee's round trip to its peer
  std::string name;          // kPlayer: the peer's, printable ASCII
};

// Referee to peer, with every keep-alive and at once after a join, a drop
// or a change of pace: each side's seat, and the host's pace, which is
// everyone's in a network game.
struct Roster {
  std::array<RosterSeat, 3> seats{};
  bool started = false;  // frames close
  bool paused = false;   // the host paused the game
  bool waiting = false;  // the game waits for a dropped seat
  int32_t speed = 0;     // a power of two, kSlowestPace to kFastestPace (one byte)
  uint16_t watchers = 0;
  // What a dropped seat plays as: 0 the computer player, 1 nobody, 2 the
  // game waits for it.
  uint8_t droppedPlay = 0;
};

// Peer to referee: the player's name, once it is known after the hello (a
// bot names itself only when it has started); printable ASCII.
struct Name {
  std::string name;
};

using Message = std::variant<Hello, Welcome, Refuse, Inputs, Frame, Sync, StateRequest, StateChunk,
                             DesyncReport, End, Ping, Notice, Roster, Name>;

// The bytes of `message`. REQUIRES: its texts and counts within the bounds
// above (Decode refuses anything else).
std::vector<uint8_t> Encode(const Message& message);

// Reads one whole message. False, with what was wrong and where in `why`,
// for anything that is not exactly one message within the bounds.
bool Decode(std::span<const uint8_t> bytes, Message& message, std::string& why);

// Whether `text` is printable ASCII (0x20 to 0x7e), line ends allowed or not.
bool IsPrintable(std::string_view text, bool lineEnds = false);

// `name` as the referee keeps and prints it (`peer N name="..."`): cut to
// kMaxNameBytes, and every byte that is not printable ASCII, and '"' and
// '\\', written '_', so that no name breaks the line it is printed in.
std::string ShownName(std::string_view name);

// A peer's `order` text that one of the game's own fronts could give: "idle",
// or a verb and its numbers ("idti X,Y", "idtiza N", "atakovat N",
// "stroit K,X,Y" with K 0 or 1), each a 32-bit decimal. Otherwise false with
// why.
bool IsOrderText(std::string_view text, std::string& why);

}  // namespace kragmoor::net
