// A peer of a network game: it joins a referee with a seat's code (or as a
// watcher), takes the referee's state, runs every closed frame in order
// through Apply and the frame step (catching up at full speed), sends its
// sync hash every 10th frame and its orders when told. What the referee
// sends is checked as the referee checks a peer. No Qt, no sockets.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "game/net/state_transfer.h"
#include "game/net/transport.h"
#include "game/net/wire.h"
#include "game/play.h"
#include "game/recorder.h"
#include "game/session.h"

namespace kragmoor::net {

inline constexpr size_t kKeptPeerStates = 64;  // sync frames a peer keeps (6.4 s)

struct PeerOptions {
  std::string code;    // a seat's join code
  bool watch = false;  // a watcher: no code, sends nothing
  std::string name;    // printable ASCII, at most kMaxNameBytes
};

class Peer {
 public:
  enum class State {
    kConnecting,  // waiting for the transport's connection
    kJoining,     // hello sent, waiting for the welcome and the state
    kPlaying,     // running closed frames
    kEnded,       // the referee's End came
    kRefused,     // the join was refused (failure() says why)
    kLost,        // the connection is gone or was ended (failure() says why)
  };

  Peer(Transport& transport, PeerOptions options);

  // Handles every event that has arrived, running each closed frame as it
  // comes; sends the keep-alive. Never waits.
  void Advance();
  // Handles one event the caller took from the transport (waiting for it).
  void Take(NetEvent event);
  // Our name for the referee's roster and end lines, when it is known only
  // after the hello (a bot's), as ShownName writes it.
  void SendName(const std::string& name);
  // Orders for the referee to apply to the next frame it closes.
  void SendOrders(const std::vector<WireOrder>& orders);
  // After a lost connection: the next kConnected event of `transport`
  // starts a new join with the same code; the game is kept until the
  // referee's state comes.
  void Reconnect(Transport& transport);

  State state() const { return state_; }
  const Session& session() const { return session_; }
  int64_t frames() const { return frames_; }  // closed frames run
  const Welcome& welcome() const { return welcome_; }
  const std::string& failure() const { return failure_; }
  // Why the referee refused the join or ended the connection, when it did.
  RefuseReason refuseReason() const { return refuseReason_; }
  // The referee's End (state() kEnded).
  const net::End& end() const { return end_; }
  // A desync report named this peer's seat.
  bool desync() const { return desync_; }
  // The referee's last roster: each side's seat and the host's pace.
  const Roster& roster() const { return roster_; }
  bool haveRoster() const { return haveRoster_; }
  // The transport's round trip to the referee, or 0 while not connected.
  Micros roundTrip() const { return connection_ != 0 ? transport_->RoundTrip(connection_) : 0; }

  // After each frame run: its number and the refusals it carried for us.
  std::function<void(int64_t frame, const std::vector<std::string>& refusals)> onFrame;
  // After an order of our seat was applied, before the frame step: its slot.
  std::function<void(int slot)> onApplied;
  // After a state from the referee was taken (a join, a rejoin, a repair).
  std::function<void()> onState;
  // Lines for standard error: desync reports, seats dropped and back.
  std::function<void(const std::string&)> onLine;
  // A desync report as the referee sent it (after its lines went to onLine).
  std::function<void(const DesyncReport&)> onReport;
  // Lent by the caller: every input applied and frame run from the first
  // state on is recorded, and each state taken later (a rejoin, a repair)
  // is written as the recording's new state. Set before the first state.
  Recorder* recorder = nullptr;
  // For tests only, never set by a shipped program: called after each frame
  // run, so that a test can make this peer's game differ at a chosen frame.
  std::function<void(Session& session, int64_t frame)> testChange;

 private:
  void Handle(const Message& message);
  void RunFrame(const Frame& frame);
  void TakeState(StateChunk chunk);
  void SendState(uint64_t frame);
  void Fail(const std::string& why);
  void Send(const Message& message);
  Front Lent() const {
    Front front;
    front.recorder = recorder;
    return front;
  }

  Transport* transport_;
  PeerOptions options_;
  State state_ = State::kConnecting;
  ConnectionId connection_ = 0;
  bool welcomed_ = false;
  bool haveState_ = false;
  Welcome welcome_;
  Session session_;
  int64_t frames_ = 0;
  ChunkAssembler state_chunks_;
  std::deque<std::pair<int64_t, Session>> kept_;  // recent sync frames' states
  std::string failure_;
  RefuseReason refuseReason_ = RefuseReason::kBadMessage;
  net::End end_;
  bool desync_ = false;
  Roster roster_;
  bool haveRoster_ = false;
  Micros lastHeard_ = 0;
  Micros lastPing_ = 0;
};

}  // namespace kragmoor::net
