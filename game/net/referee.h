// The referee of a network game: it runs the game itself, closes frames on
// its own clock at the game's pace with every input it has, sends each to
// every peer and never waits for one. It seats peers by join code, watchers
// without one, runs computer-player, empty and bot seats as the arena does,
// compares the peers' sync hashes and reports a desync. No Qt, no sockets:
// it talks through a Transport.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "game/bots/bot_seat.h"
#include "game/net/state_transfer.h"
#include "game/net/transport.h"
#include "game/net/wire.h"
#include "game/play.h"
#include "game/recorder.h"
#include "game/session.h"

namespace kragmoor::net {

inline constexpr Micros kFrameMicros = 10'000;        // 100 frames a second
inline constexpr Micros kSilentDrop = 5'000'000;      // a peer silent this long is dropped
inline constexpr Micros kHolderAlive = 1'000'000;     // a seat's peer heard within this holds it
inline constexpr Micros kPauseLimit = 60'000'000;     // --dropped pause, then none
inline constexpr Micros kStateReplyWait = 1'500'000;  // for a peer's state, then report without
inline constexpr Micros kPingEvery = 250'000;         // keep-alive both ways
inline constexpr int64_t kSyncEvery = 10;             // frames between sync hashes
inline constexpr size_t kKeptSyncStates = 128;        // sync frames whose state is kept (12.8 s)
inline constexpr size_t kMaxQueuedOrders = 256;       // a peer's orders not yet applied

// What one side is in a network game.
struct RefereeSeat {
  enum class Kind { kAi, kNone, kBot, kPlayer };
  Kind kind = Kind::kAi;
  int32_t level = 3;    // kAi
  std::string command;  // kBot
  std::string code;     // kPlayer: the join code
};

// What a seat whose peer is gone (or never came) plays as.
struct DroppedPlay {
  enum class Kind { kAi, kNone, kPause };
  Kind kind = Kind::kAi;
  int32_t level = 2;  // kAi
};

struct RefereeOptions {
  uint32_t seed = 1;
  int32_t frames = 0;         // 0: until one side is left
  BotTiming timing;           // bot seats', and the peers' bots'
  Micros wait = 300'000'000;  // for every player seat before frame 1
  DroppedPlay dropped;
  int32_t watchers = 8;
};

// One player seat's account, for the end lines.
struct PeerResult {
  std::string name;
  std::string status = "dropped";  // ok, dropped, rejoined, desync
  int64_t orders = 0;              // applied
  int64_t refused = 0;
};

// Per-address bounds the referee asks before it takes a connection or a
// message (the serve command lends the transport's; tests may lend none).
struct AddressGate {
  virtual ~AddressGate() = default;
  virtual bool Connect(ConnectionId id, const std::string& address, Micros now) = 0;
  virtual void Disconnect(ConnectionId id) = 0;
  virtual bool Message(ConnectionId id, Micros now) = 0;
};

class Referee {
 public:
  Referee(Transport& transport, const RefereeOptions& options,
          const std::array<RefereeSeat, kSideCount>& seats);
  ~Referee();

  // Lends a recorder (held by the caller) that writes the whole match; call
  // before the first Advance, after the session's start state is set.
  void Record(Recorder* recorder) { front_.recorder = recorder; }
  const Session& session() const { return session_; }
  // Starts the bot seats (their start wait runs while the match waits for
  // its players). False with why for a bot that cannot start: it plays none.
  void StartBots(const std::function<void(const std::string&)>& errorLine);

  // Handles every event that has arrived and closes every frame that is
  // due on the transport's clock; never waits.
  void Advance();
  // Handles one event the caller took from the transport (waiting for it).
  void Take(NetEvent event) { Handle(std::move(event)); }
  // When the next frame is due on the transport's clock.
  Micros NextFrameAt() const;
  // The match has run its frames, or one side at most is left.
  bool over() const { return over_; }
  int64_t frames() const { return frames_; }
  const RefereeOptions& options() const { return options_; }
  // The host's start: the first frame closes now, empty player seats playing
  // as --dropped says, as when the wait runs out.
  void StartNow() { startNow_ = true; }
  // The host ends the match: over() from now on, no frame closes.
  void EndNow() { over_ = true; }
  // The host's pace, everyone's: paused or not, and the speed as a power of
  // two (clamped to kSlowestPace..kFastestPace); frames close at 100 a
  // second times 2^speed. Every peer is told in the next roster.
  void SetPace(bool paused, int speed);

  // Ends the match: every bot seat gets the end message and is ended
  // (bots() then has their results); then SendEnd gives every peer `End`
  // with `lines`, what the referee prints before its match lines.
  void EndBots();
  void SendEnd(const std::string& lines);
  std::array<PeerResult, kSideCount> PeerResults() const;
  // Each side's seat and the pace, as every peer is sent it.
  Roster RosterNow() const;
  const std::array<BotSeat, kSideCount>& bots() const { return bots_; }

  // Lines for the referee's standard error: joins, drops, desync reports.
  std::function<void(const std::string&)> onLine;
  // Saves a desync state as `name` (a fixed name: desync-F-...kgs).
  std::function<void(const std::string& name, const std::string& text)> saveFile;
  // Where saveFile puts them, as a desync report names it to the peers.
  std::string filesFolder;
  AddressGate* gate = nullptr;

 private:
  struct Connection {
    ConnectionId id = 0;
    std::string address;
    int seat = -1;  // -1 until its hello; 0 to 2, or kWatcherSeat
    Micros lastHeard = 0;
    std::vector<WireOrder> queued;      // orders for the next frames
    std::vector<std::string> refusals;  // for the next frame sent
    ChunkAssembler reply;               // a state asked for
  };

  struct PlayerSeat {
    std::string code;
    ConnectionId connection = 0;  // 0: no peer
    std::string name;
    bool joined = false;    // a peer took it once
    bool dropped = false;   // plays as --dropped says
    bool rejoined = false;  // taken again after a first peer
    bool desync = false;
    bool pausedOut = false;  // paused the game for the whole limit: plays none
    PeerResult result;
    int64_t desyncFrame = -1;  // asked for its state at this sync frame
    uint64_t peerHash = 0;
    Micros askedAt = 0;
    std::unique_ptr<Session> refereeState;  // the referee's at desyncFrame
    int64_t ignoreSyncUpTo = 0;             // a state was sent: earlier hashes are past
  };

  void Handle(NetEvent event);
  void HandleMessage(Connection& c, const Message& message);
  void HandleHello(Connection& c, const Hello& hello);
  void HandleSync(Connection& c, const Sync& sync);
  void HandleReply(Connection& c, StateChunk chunk);
  void Close(Connection& c, RefuseReason reason, const std::string& why);
  void Send(ConnectionId id, const Message& message);
  void SendToAll(const Message& message);
  void SendState(ConnectionId id);
  void CheckSilence();
  void Gone(ConnectionId id);
  void Drop(int seat);
  void Back(int seat);
  void Resume(bool limitReached);
  void CloseFrame();
  // The recording's "# bot N status=..." comment for each bot seat that has
  // ended (every one when `all`), once.
  void RecordBotEnds(bool all);
  void ReportDesync(int seat, const Session* peer, const std::string& peerText);
  bool Started() const;
  // Frames close from now on at the pace's period, counted from frame `frames_`.
  void Reanchor();
  Micros FramePeriod() const;

  Transport& transport_;
  RefereeOptions options_;
  std::array<RefereeSeat, kSideCount> seatPlan_;
  Session session_;
  Front front_;
  std::array<BotSeat, kSideCount> bots_;
  std::vector<std::unique_ptr<PlayerSeat>> players_;  // one per side; null for no player seat
  std::map<ConnectionId, std::unique_ptr<Connection>> connections_;
  // The boxes and levels the seats want: given as inputs of the next frame
  // where they differ from the session's.
  std::array<bool, kSideCount> boxes_{};
  std::array<int32_t, kSideCount> levels_{};
  std::map<int64_t, uint64_t> syncHashes_;  // sync frame -> hash
  std::map<int64_t, Session> syncStates_;   // the last kKeptSyncStates sync frames
  Micros createdAt_ = 0;
  bool started_ = false;
  bool startNow_ = false;  // StartNow was called
  bool paused_ = false;    // waiting for a dropped seat (--dropped pause)
  Micros pausedAt_ = 0;
  bool hostPaused_ = false;
  int speed_ = 0;        // the host's, a power of two
  Micros anchorAt_ = 0;  // frame anchorFrames_ + 1 was due then
  int64_t anchorFrames_ = 0;
  int64_t frames_ = 0;  // closed
  bool over_ = false;
  Micros lastPing_ = 0;
  bool rosterDue_ = true;
  std::array<bool, kSideCount> botEndRecorded_{};  // the recording's comment on its end  // a seat
                                                   // or the pace changed since the last roster
};

}  // namespace kragmoor::net
