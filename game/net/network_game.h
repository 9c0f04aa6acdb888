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
  static std::unique_ptr<NetworkGame> Join(const std::string& host, uint16_t port,
                                           const std::string& code, std::string& error);
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
  // The players' panel: one line a side, "Side 2: player "Ann" 35 ms", with
  // "lagging" past kLagging and "dropped" for a seat whose peer is gone.
  // The host sees every seat; a peer its own and its round trip.
  std::array<std::string, kSideCount> PlayerLines() const;
  // Lines for the event log since the last call: seats dropped and back,
  // desync reports, the rejoin.
  std::vector<std::string> TakeNotices();

 private:
  NetworkGame() = default;
  void Connect();
  void HostPoll();
  void Notice(const std::string& line);

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
