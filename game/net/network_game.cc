// The window's network game: hosting (the referee beside our own peer),
// joining, the rejoin after a loss, the notices for the event log.
#include "game/net/network_game.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "game/net/net_gate.h"
#include "game/platform/enet_transport.h"
#include "game/platform/files.h"
#include "game/platform/join_code.h"
#include "game/saved_game.h"

namespace kragmoor::net {

namespace {

constexpr Micros kFlushEvery = 1'000'000;  // the host's recording, at least once a second

// The peer's notice lines ("seat 2: dropped") in the event log's words;
// `droppedPlay` as the roster has it.
std::string NoticeText(const std::string& line, uint8_t droppedPlay) {
  if (!line.starts_with("seat ") || line.size() < 8) return line;
  const std::string side = "Side " + line.substr(5, 1);
  const std::string what = line.substr(8);
  if (what == "dropped") {
    return side + (droppedPlay == 0   ? " dropped: the computer player took over"
                   : droppedPlay == 1 ? " dropped: it plays on with no one"
                                      : " dropped: the game waits for it");
  }
  if (what == "back") return side + " is back";
  if (what == "paused") return "The game waits for " + side;
  if (what == "resumed") return "The game goes on";
  return line;
}

std::string SpeedText(int speed) {
  return speed < 0 ? "x1/" + std::to_string(1 << -speed) : "x" + std::to_string(1 << speed);
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
  game->gate_ = std::make_unique<NetGate>();
  referee.gate = game->gate_.get();
  NetworkGame* self = game.get();
  // Joins, drops and desync reports reach our own peer as every peer's
  // notices; only the referee's own trouble is told here.
  referee.onLine = [self](const std::string& line) {
    if (line.starts_with("kragmoor-sim: ")) self->notices_.push_back(line.substr(14));
  };
  const std::string files = plan.files;
  std::error_code failed;
  const std::filesystem::path folder = std::filesystem::absolute(files, failed);
  referee.filesFolder = failed ? files : folder.lexically_normal().string();
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
    game->hostRecordPath_ = plan.record;
    referee.Record(&game->recording_->recorder());
  }
  referee.StartBots([self](const std::string& line) { self->notices_.push_back(line); });
  game->host_ = plan.bind.empty() ? "127.0.0.1" : plan.bind;
  if (mine >= 0) game->code_ = game->codes_[mine];
  game->name_ = ShownName(plan.name);
  game->Connect();
  if (!game->transport_) return nullptr;
  return game;
}

std::unique_ptr<NetworkGame> NetworkGame::Join(const std::string& host, uint16_t port,
                                               const std::string& code, const std::string& name,
                                               std::string& error) {
  std::unique_ptr<NetworkGame> game(new NetworkGame());
  game->host_ = host;
  game->port_ = port;
  game->code_ = code;
  game->name_ = ShownName(name);
  game->Connect();
  if (!game->transport_) {
    error = game->failure_;
    return nullptr;
  }
  return game;
}

NetworkGame::~NetworkGame() { FinishRecording(); }

void NetworkGame::Connect() {
  std::string error;
  std::unique_ptr<Transport> next = ConnectEnet(host_, port_, kConnectWait, &error);
  if (!next) {
    failure_ = error;
    return;
  }
  if (!peer_) {
    peer_ = std::make_unique<Peer>(*next, PeerOptions{code_, code_.empty(), name_});
    peer_->onLine = [this](const std::string& line) { Notice(line); };
    peer_->onReport = [this](const DesyncReport& report) { Report(report); };
    peer_->onState = [this] { Recording(); };
  } else {
    peer_->Reconnect(*next);
  }
  transport_ = std::move(next);
}

void NetworkGame::Notice(const std::string& line) {
  notices_.push_back(NoticeText(line, peer_ ? peer_->roster().droppedPlay : 0));
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
    if (!peer_ || !peer_->haveRoster()) continue;
    const RosterSeat& entry = peer_->roster().seats[s];
    switch (entry.kind) {
      case RosterSeat::Kind::kAi:
        line += "computer player, level " + std::to_string(entry.level);
        break;
      case RosterSeat::Kind::kNone:
        line += "nobody";
        break;
      case RosterSeat::Kind::kBot:
        line += "bot";
        break;
      case RosterSeat::Kind::kPlayer: {
        const bool you = s == seat();
        line += you ? "you" : entry.name.empty() ? "player" : "\"" + entry.name + "\"";
        if (entry.dropped) {
          line += " dropped";
        } else if (!entry.taken) {
          line += " (open)";
        } else {
          line += trip(you && roundTrip() > 0 ? roundTrip() : Micros{entry.roundTripMs} * 1000);
        }
        break;
      }
    }
  }
  return lines;
}

void NetworkGame::SetPace(bool paused, int speed) {
  if (referee_) referee_->SetPace(paused, speed);
}

void NetworkGame::Report(const DesyncReport& report) {
  std::string line = "Desync at frame " + std::to_string(report.frame) + ": side " +
                     std::to_string(report.side + 1) + "'s game differed from the host's. ";
  line += report.folder.empty()
              ? "Its state could not be saved. "
              : "Both states were saved in " + report.folder + " on the host's computer. ";
  line += "The game goes on with the host's state.";
  notices_.push_back(line);
}

void NetworkGame::RosterNotices() {
  if (!peer_->haveRoster()) return;
  const Roster& roster = peer_->roster();
  if (roster.paused != pacePaused_) {
    notices_.push_back(roster.paused ? "The host paused the game" : "The host resumed the game");
  }
  if (roster.speed != paceSpeed_) {
    notices_.push_back("The host set the speed to " + SpeedText(roster.speed));
  }
  pacePaused_ = roster.paused;
  paceSpeed_ = roster.speed;
}

void NetworkGame::Recording() {
  if (recordPath_.empty() || peerRecording_ || !recordingFailure_.empty()) return;
  auto file = std::make_unique<RecordingFile>();
  std::string why;
  if (!file->Open(recordPath_, peer_->session(), why)) {
    recordingFailure_ = why;
    notices_.push_back(why);
    return;
  }
  peerRecording_ = std::move(file);
  peer_->recorder = &peerRecording_->recorder();
}

void NetworkGame::FinishRecording() {
  if (!peerRecording_) return;
  std::string why;
  if (!peerRecording_->Finish(peer_->session(), why)) {
    recordingFailure_ = why;
    notices_.push_back(why);
  } else if (peer_->state() == Peer::State::kEnded) {
    finishedRecording_ = recordPath_;
  }
  peer_->recorder = nullptr;
  peerRecording_.reset();
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
    if (!recording_->Finish(referee.session(), why)) {
      notices_.push_back(why);
    } else {
      finishedRecording_ = hostRecordPath_;
    }
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
  RosterNotices();
  using State = Peer::State;
  const State state = peer_->state();
  if (peerRecording_ && state == State::kEnded) FinishRecording();
  if (peerRecording_ && peer_->frames() > 0 && transport_->Now() - peerFlushedAt_ >= kFlushEvery) {
    peerFlushedAt_ = transport_->Now();
    std::string why;
    if (!peerRecording_->Flush(why)) {
      recordingFailure_ = why;
      notices_.push_back(why);
      peer_->recorder = nullptr;
      peerRecording_.reset();
    }
  }
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
  FinishRecording();
  if (referee_ && !referee_->over()) {
    referee_->EndNow();
    HostPoll();
  }
}

}  // namespace kragmoor::net
