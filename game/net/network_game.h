// A network game as the window plays it: a Peer over ENet and, when this
// window hosts, the Referee in the same process with the window as one of
// its peers. Polled from the window's timer, never blocking; it rejoins a
// lost connection by itself for a while. No Qt.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "game/net/peer.h"
#include "game/net/referee.h"
#include "game/net/seat_words.h"
#include "game/net/transport.h"
#include "game/recorder.h"

namespace kragmoor::net {

inline constexpr uint16_t kDefaultPort = 27467;
inline constexpr Micros kConnectWait = 5'000'000;  // for the referee's first answer
inline constexpr Micros kRejoinFor = 15'000'000;   // connects again after a loss, this long
inline constexpr Micros kRetryEvery = 1'000'000;
inline constexpr Micros kLagging = 250'000;  // a round trip past this is marked lagging

// What a host gives: the three sides as `serve` takes them, with `me` for
// the window's own seat, and serve's options.
struct HostPlan {
  std::array<std::string, kSideCount> sides{"me", "player", "ai:2"};
  uint16_t port = kDefaultPort;  // 0: any free port
  std::string bind;              // empty: all interfaces
  RefereeOptions referee;
  std::string files = ".";  // where desync reports go
  std::string record;       // the referee's recording of the match; empty: none
  std::string name;         // the host's own, as Join's
};

class NetworkGame {
 public:
  enum class Phase {
    kJoining,    // connecting, or waiting for the referee's state
    kLobby,      // seated, waiting for the first frame
    kPlaying,    // frames run
    kRejoining,  // the connection was lost: connecting again with the same code
    kLost,       // could not connect again (JoinAgain starts anew)
    kRefused,    // the referee refused the join
    kEnded,      // the match is over
  };

  // Hosts `plan`: listens, seats the window at its `me` side (none: it
  // watches). Null with `error` when a side is bad or the port is taken.
  static std::unique_ptr<NetworkGame> Host(const HostPlan& plan, std::string& error);
  // Joins the referee at host:port with a seat's `code`, or watches (empty
  // code). Null with `error` when the host does not resolve.
  // `name` is ours in the referee's roster, as ShownName writes it.
  static std::unique_ptr<NetworkGame> Join(const std::string& host, uint16_t port,
                                           const std::string& code, const std::string& name,
                                           std::string& error);
  // Records the game this window runs to `path` from the first state it
  // takes (a later state, after a rejoin or a desync repair, is written as
  // the recording's new state), flushed at least once a second, finished
  // when the match ends or is left. Call before the first Poll; the host's
  // recording is its plan's. False with why when the file cannot be made.
  void RecordTo(const std::string& path) { recordPath_ = path; }
  // The recording of the match once it is finished and whole (the host's
  // or this window's own), or empty.
  const std::string& finishedRecording() const { return finishedRecording_; }
  // Why the recording stopped early, or empty.
  const std::string& recordingFailure() const { return recordingFailure_; }
  const std::string& recordPath() const { return recordPath_; }
  ~NetworkGame();

  // Everything that has arrived, and the frames due when hosting. Never waits.
  void Poll();
  // Starts the match now (the host's start button): empty seats play as
  // the plan's dropped seats do.
  void StartNow();
  // After kLost: joins again with the same code.
  void JoinAgain();
  // Ends the host's match for everyone, or leaves the referee's game.
  void Leave();
  // The host's pause and speed (a power of two), everyone's; nothing for a
  // window that only joined.
  void SetPace(bool paused, int speed);
  // The pace as the referee last told it.
  bool hostPaused() const { return peer_ && peer_->roster().paused; }
  bool waitingForSeat() const { return peer_ && peer_->roster().waiting; }
  int speed() const { return peer_ ? peer_->roster().speed : 0; }

  // The order goes to the referee, which puts it into the next frame it
  // closes if our seat may give it; a watcher sends nothing.
  void SendOrder(int32_t slot, const std::string& text);

  Phase phase() const { return phase_; }
  const Session& session() const { return peer_->session(); }
  int64_t frames() const { return peer_->frames(); }
  // Our seat, 0 to 2, or -1 while watching or not yet seated.
  int seat() const;
  bool watching() const { return code_.empty(); }
  bool hosting() const { return referee_ != nullptr; }
  // Why the game was refused or lost.
  const std::string& failure() const { return failure_; }
  // Our round trip to the referee, microseconds (0 while unknown).
  Micros roundTrip() const;
  // The host's seats: each side's code (empty for a side no peer takes),
  // the port listened on.
  const std::array<std::string, kSideCount>& codes() const { return codes_; }
  uint16_t port() const { return port_; }
  const std::string& host() const { return host_; }
  const std::string& code() const { return code_; }
  // The players' panel and the lobby: one line a side, "Side 2: "Ann" 35
  // ms", with "lagging" past kLagging, "dropped" for a seat whose peer is
  // gone and "(open)" for one nobody took yet, as the referee's roster says.
  std::array<std::string, kSideCount> PlayerLines() const;
  // Watchers the referee has now.
  int watchers() const { return peer_ ? peer_->roster().watchers : 0; }
  // Lines for the event log since the last call: seats dropped and back,
  // desync reports, the rejoin.
  std::vector<std::string> TakeNotices();

 private:
  NetworkGame() = default;
  void Connect();
  void HostPoll();
  void Notice(const std::string& line);
  void Report(const DesyncReport& report);
  void RosterNotices();
  void Recording();
  void FinishRecording();

  std::string host_;
  uint16_t port_ = 0;
  std::string code_;  // empty: watching
  std::unique_ptr<Transport> transport_;
  std::unique_ptr<Peer> peer_;
  Phase phase_ = Phase::kJoining;
  bool everPlayed_ = false;
  Micros lostAt_ = 0, retryAt_ = 0;
  std::string failure_;
  std::vector<std::string> notices_;
  std::string name_;
  std::string recordPath_;
  std::unique_ptr<RecordingFile> peerRecording_;  // this window's own game
  std::string recordingFailure_;
  std::string finishedRecording_;
  std::string hostRecordPath_;
  Micros peerFlushedAt_ = 0;
  bool pacePaused_ = false;  // the roster's last, for the notices
  int paceSpeed_ = 0;

  // Hosting.
  std::unique_ptr<Transport> listen_;
  std::unique_ptr<AddressGate> gate_;
  std::unique_ptr<Referee> referee_;
  std::unique_ptr<RecordingFile> recording_;
  std::array<RefereeSeat, kSideCount> plan_{};
  std::array<std::string, kSideCount> codes_{};
  Micros flushedAt_ = 0;
  bool endSent_ = false;
};

}  // namespace kragmoor::net
