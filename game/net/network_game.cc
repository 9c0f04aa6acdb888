// The window's network game: hosting (the referee beside our own peer),
// joining, the rejoin after a loss, the notices for the event log.
#include "game/net/network_game.h"

#include <algorithm>

#include "game/platform/enet_transport.h"
#include "game/platform/files.h"
#include "game/platform/join_code.h"
#include "game/saved_game.h"

namespace kragmoor::net {

namespace {

constexpr Micros kFlushEvery = 1'000'000;  // the host's recording, at least once a second

// The peer's notice lines ("seat 2: dropped") in the event log's words.
std::string NoticeText(const std::string& line, const DroppedPlay& dropped, bool hosting) {
  if (!line.starts_with("seat ") || line.size() < 8) return line;
  const std::string side = "Side " + line.substr(5, 1);
  const std::string what = line.substr(8);
  if (what == "dropped") {
    if (!hosting) return side + " dropped";
    return side + (dropped.kind == DroppedPlay::Kind::kAi
                       ? " dropped: the computer player took over"
                   : dropped.kind == DroppedPlay::Kind::kNone ? " dropped: it plays on with no one"
                                                              : " dropped: the game waits for it");
  }
  if (what == "back") return side + " is back";
  if (what == "paused") return "The game waits for " + side;
  if (what == "resumed") return "The game goes on";
  return line;
}

}  // namespace

std::unique_ptr<NetworkGame> NetworkGame::Host(const HostPlan& plan, std::string& error) {
  std::unique_ptr<NetworkGame> game(new NetworkGame());
  int mine = -1;
  for (int s = 0; s < kSideCount; ++s) {
    bool me = false;
    if (!ParseHostSide(plan.sides[s], game->plan_[s], me)) {
      error = "bad side '" + plan.sides[s] + "'";
      return nullptr;
    }
    if (me && mine >= 0) {
      error = "only one side can be 'me'";
      return nullptr;
    }
    if (me) mine = s;
    if (game->plan_[s].kind == RefereeSeat::Kind::kPlayer) {
      if (!NewJoinCode(game->plan_[s].code, error)) return nullptr;
      game->codes_[s] = game->plan_[s].code;
    }
  }
  EnetListenOptions listen;
  listen.bind = plan.bind;
  listen.port = plan.port;
  listen.maxConnections = static_cast<size_t>(plan.referee.watchers) + 16;
  game->listen_ = ListenEnet(listen, &game->port_, &error);
  if (!game->listen_) return nullptr;
  game->referee_ = std::make_unique<Referee>(*game->listen_, plan.referee, game->plan_);
  Referee& referee = *game->referee_;
  NetworkGame* self = game.get();
  referee.onLine = [self](const std::string& line) {
    if (line.starts_with("desync")) self->notices_.push_back(line);
  };
  const std::string files = plan.files;
  referee.saveFile = [self, files](const std::string& name, const std::string& text) {
    std::string why;
    if (!WriteFileAtomically(files + "/" + name, text, kSaveFormat, why)) {
      self->notices_.push_back(why);
    } else {
      self->notices_.push_back("Saved " + files + "/" + name);
    }
  };
  if (!plan.record.empty()) {
    game->recording_ = std::make_unique<RecordingFile>();
    if (!game->recording_->Open(plan.record, referee.session(), error)) return nullptr;
    referee.Record(&game->recording_->recorder());
  }
  referee.StartBots([self](const std::string& line) { self->notices_.push_back(line); });
  game->host_ = plan.bind.empty() ? "127.0.0.1" : plan.bind;
  if (mine >= 0) game->code_ = game->codes_[mine];
  game->Connect();
  if (!game->transport_) return nullptr;
  return game;
}

std::unique_ptr<NetworkGame> NetworkGame::Join(const std::string& host, uint16_t port,
                                               const std::string& code, std::string& error) {
  std::unique_ptr<NetworkGame> game(new NetworkGame());
  game->host_ = host;
  game->port_ = port;
  game->code_ = code;
  game->Connect();
  if (!game->transport_) {
    error = game->failure_;
    return nullptr;
  }
  return game;
}

NetworkGame::~NetworkGame() = default;

void NetworkGame::Connect() {
  std::string error;
  std::unique_ptr<Transport> next = ConnectEnet(host_, port_, kConnectWait, &error);
  if (!next) {
    failure_ = error;
    return;
  }
  if (!peer_) {
    peer_ = std::make_unique<Peer>(*next, PeerOptions{code_, code_.empty(), ""});
    peer_->onLine = [this](const std::string& line) { Notice(line); };
  } else {
    peer_->Reconnect(*next);
  }
  transport_ = std::move(next);
}

void NetworkGame::Notice(const std::string& line) {
  notices_.push_back(NoticeText(line, referee_ ? referee_->options().dropped : DroppedPlay{},
                                referee_ != nullptr));
}

int NetworkGame::seat() const {
  if (watching() || phase_ == Phase::kJoining) return -1;
  const int s = peer_->welcome().seat;
  return s < kSideCount ? s : -1;
}

Micros NetworkGame::roundTrip() const { return peer_ ? peer_->roundTrip() : 0; }

void NetworkGame::StartNow() {
  if (referee_) referee_->StartNow();
}

void NetworkGame::SendOrder(int32_t slot, const std::string& text) {
  if (!watching() && peer_) peer_->SendOrders({WireOrder{slot, text}});
}

std::array<std::string, kSideCount> NetworkGame::PlayerLines() const {
  std::array<std::string, kSideCount> lines;
  const auto trip = [](Micros rtt) {
    return " " + std::to_string(rtt / 1000) + " ms" + (rtt > kLagging ? " lagging" : "");
  };
  for (int s = 0; s < kSideCount; ++s) {
    std::string& line = lines[s];
    line = "Side " + std::to_string(s + 1) + ": ";
    if (!referee_) {
      line += s == seat() ? "you" + trip(roundTrip()) : "";
      continue;
    }
    const SeatStatus seat = referee_->Seats()[s];
    switch (seat.kind) {
      case RefereeSeat::Kind::kAi:
        line += "computer player, level " + std::to_string(plan_[s].level);
        break;
      case RefereeSeat::Kind::kNone:
        line += "nobody";
        break;
      case RefereeSeat::Kind::kBot:
        line += "bot";
        break;
      case RefereeSeat::Kind::kPlayer:
        line += codes_[s] == code_ ? "you" : seat.name.empty() ? "player" : "\"" + seat.name + "\"";
        if (seat.dropped) {
          line += " dropped";
        } else if (!seat.taken) {
          line += " (open)";
        } else {
          line += trip(seat.roundTrip);
        }
        break;
    }
  }
  return lines;
}

std::vector<std::string> NetworkGame::TakeNotices() {
  std::vector<std::string> out;
  out.swap(notices_);
  return out;
}

void NetworkGame::HostPoll() {
  Referee& referee = *referee_;
  referee.Advance();
  const Micros now = listen_->Now();
  if (recording_ && now - flushedAt_ >= kFlushEvery) {
    flushedAt_ = now;
    std::string why;
    if (!recording_->Flush(why)) {
      notices_.push_back(why);
      referee.Record(nullptr);
      recording_.reset();
    }
  }
  if (!referee.over() || endSent_) return;
  endSent_ = true;
  referee.EndBots();
  std::string lines;
  const auto results = referee.PeerResults();
  for (int s = 0; s < kSideCount; ++s) {
    if (plan_[s].kind != RefereeSeat::Kind::kPlayer) continue;
    lines += "peer " + std::to_string(s + 1) + " name=\"" + results[s].name +
             "\" status=" + results[s].status + " orders=" + std::to_string(results[s].orders) +
             " refused=" + std::to_string(results[s].refused) + '\n';
  }
  referee.SendEnd(lines);
  if (recording_) {
    std::string why;
    if (!recording_->Finish(referee.session(), why)) notices_.push_back(why);
    referee.Record(nullptr);
    recording_.reset();
  }
}

void NetworkGame::Poll() {
  // The referee stays served after the end, so that its End reaches everyone.
  if (referee_) HostPoll();
  if (!peer_) return;
  peer_->Advance();
  if (referee_) HostPoll();  // our own inputs and syncs, without a timer's wait
  using State = Peer::State;
  const State state = peer_->state();
  switch (state) {
    case State::kConnecting:
    case State::kJoining:
      if (phase_ != Phase::kRejoining) phase_ = Phase::kJoining;
      break;
    case State::kPlaying:
      if (phase_ == Phase::kRejoining) notices_.push_back("Joined again");
      phase_ = peer_->frames() > 0 ? Phase::kPlaying : Phase::kLobby;
      everPlayed_ = true;
      break;
    case State::kEnded:
      phase_ = Phase::kEnded;
      break;
    case State::kRefused:
    case State::kLost: {
      if (phase_ == Phase::kLost || phase_ == Phase::kRefused || phase_ == Phase::kEnded) break;
      failure_ = peer_->failure();
      const bool retry =
          everPlayed_ && (state == State::kLost || peer_->refuseReason() == RefuseReason::kTaken);
      if (!retry) {
        phase_ = state == State::kRefused ? Phase::kRefused : Phase::kLost;
        break;
      }
      const Micros now = transport_->Now();
      if (phase_ != Phase::kRejoining) {
        phase_ = Phase::kRejoining;
        lostAt_ = now;
        notices_.push_back(failure_ + "; joining again");
      }
      if (now - lostAt_ > kRejoinFor) {
        phase_ = Phase::kLost;
        notices_.push_back("The connection could not be made again");
        break;
      }
      if (now < retryAt_) break;
      retryAt_ = now + kRetryEvery;
      Connect();
      break;
    }
  }
}

void NetworkGame::JoinAgain() {
  if (phase_ != Phase::kLost) return;
  phase_ = Phase::kRejoining;
  lostAt_ = transport_ ? transport_->Now() : 0;
  retryAt_ = 0;
  Connect();
}

void NetworkGame::Leave() {
  if (referee_ && !referee_->over()) {
    referee_->EndNow();
    HostPoll();
  }
}

}  // namespace kragmoor::net
