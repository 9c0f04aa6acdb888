// The peer: its join, the frames it runs and the states it keeps and sends.
#include "game/net/peer.h"

#include <sstream>

#include "game/input.h"
#include "game/net/fingerprint.h"
#include "game/net/referee.h"
#include "game/play.h"
#include "game/saved_game.h"
#include "world/state_hash.h"

namespace kragmoor::net {

Peer::Peer(Transport& transport, PeerOptions options)
    : transport_(&transport), options_(std::move(options)) {}

void Peer::Send(const Message& message) {
  if (connection_ != 0) transport_->Send(connection_, Encode(message));
}

void Peer::Fail(const std::string& why) {
  if (state_ == State::kEnded || state_ == State::kRefused || state_ == State::kLost) return;
  failure_ = why;
  state_ = State::kLost;
  if (connection_ != 0) transport_->Disconnect(connection_);
  connection_ = 0;
}

void Peer::Reconnect(Transport& transport) {
  if (state_ != State::kLost && state_ != State::kRefused) return;
  transport_ = &transport;
  state_ = State::kConnecting;
  welcomed_ = false;
  failure_.clear();
}

void Peer::SendName(const std::string& name) {
  if (options_.watch || !welcomed_) return;
  Send(Name{ShownName(name)});
}

void Peer::SendOrders(const std::vector<WireOrder>& orders) {
  if (state_ != State::kPlaying || options_.watch) return;
  for (size_t i = 0; i < orders.size(); i += kMaxOrdersPerMessage) {
    Inputs inputs;
    const size_t end = std::min(orders.size(), i + kMaxOrdersPerMessage);
    for (size_t k = i; k < end; ++k) {
      if (orders[k].text.size() <= kMaxOrderTextBytes && IsPrintable(orders[k].text)) {
        inputs.orders.push_back(orders[k]);
      }
    }
    Send(inputs);
  }
}

void Peer::Take(NetEvent event) {
  if (event.kind == NetEvent::Kind::kConnected) {
    if (state_ != State::kConnecting) return;
    connection_ = event.connection;
    state_ = State::kJoining;
    lastHeard_ = transport_->Now();
    Send(Hello{kProtocolVersion, SimulationFingerprint(), options_.watch, options_.code,
               options_.name});
    return;
  }
  if (event.connection != connection_ || connection_ == 0) return;
  if (event.kind == NetEvent::Kind::kDisconnected) {
    connection_ = 0;
    return Fail("the connection to the referee was lost");
  }
  Message message;
  std::string why;
  if (!Decode(event.bytes, message, why)) return Fail("bad message from the referee: " + why);
  lastHeard_ = transport_->Now();
  Handle(message);
}

void Peer::Advance() {
  while (auto event = transport_->Poll(0)) Take(std::move(*event));
  if (connection_ == 0) return;
  const Micros now = transport_->Now();
  if (now - lastHeard_ > kSilentDrop) return Fail("the referee has been silent for 5 s");
  if (now - lastPing_ >= kPingEvery) {
    lastPing_ = now;
    Send(Ping{static_cast<uint64_t>(now), false});
  }
}

void Peer::Handle(const Message& message) {
  if (const auto* refuse = std::get_if<Refuse>(&message)) {
    const bool joining = !welcomed_;
    refuseReason_ = refuse->reason;
    Fail("refused: " + refuse->text);
    if (joining) state_ = State::kRefused;
    return;
  }
  if (const auto* ping = std::get_if<Ping>(&message)) {
    if (!ping->pong) Send(Ping{ping->stamp, true});
    return;
  }
  if (const auto* welcome = std::get_if<Welcome>(&message)) {
    if (welcomed_) return Fail("out of turn: a second welcome");
    if (!options_.watch && welcome->seat == kWatcherSeat) return Fail("seated as a watcher");
    welcomed_ = true;
    welcome_ = *welcome;
    return;
  }
  if (!welcomed_) return Fail("out of turn: a message before the welcome");
  if (const auto* chunk = std::get_if<StateChunk>(&message)) return TakeState(*chunk);
  if (const auto* frame = std::get_if<Frame>(&message)) return RunFrame(*frame);
  if (const auto* request = std::get_if<StateRequest>(&message)) {
    if (options_.watch) return Fail("out of turn: a watcher's state asked for");
    return SendState(request->frame);
  }
  if (const auto* report = std::get_if<DesyncReport>(&message)) {
    if (report->side == welcome_.seat) desync_ = true;
    if (onLine) {
      std::istringstream in(report->lines);
      for (std::string line; std::getline(in, line);) onLine(line);
    }
    if (onReport) onReport(*report);
    return;
  }
  if (const auto* roster = std::get_if<Roster>(&message)) {
    roster_ = *roster;
    haveRoster_ = true;
    return;
  }
  if (const auto* notice = std::get_if<Notice>(&message)) {
    static constexpr const char* kWhat[] = {"dropped", "back", "paused", "resumed"};
    if (onLine) {
      onLine("seat " + std::to_string(notice->seat + 1) + ": " +
             kWhat[static_cast<int>(notice->what)]);
    }
    return;
  }
  if (const auto* end = std::get_if<net::End>(&message)) {
    if (!haveState_) return Fail("out of turn: the end before the state");
    end_ = *end;
    state_ = State::kEnded;
    if (connection_ != 0) transport_->Disconnect(connection_);
    connection_ = 0;
    return;
  }
  Fail("out of turn: a peer's message from the referee");
}

void Peer::TakeState(StateChunk chunk) {
  std::string why;
  if (!state_chunks_.Add(std::move(chunk), why)) return Fail("bad state: " + why);
  if (!state_chunks_.complete()) return;
  Session loaded;
  if (state_chunks_.frame() > INT32_MAX || !LoadSavedGameText(state_chunks_.text(), loaded, why)) {
    return Fail("bad state: " + why);
  }
  // The player's own view stays as it was; the shared part is the referee's.
  if (haveState_) loaded.player = session_.player;
  session_ = std::move(loaded);
  frames_ = static_cast<int64_t>(state_chunks_.frame());
  state_chunks_.Clear();
  kept_.clear();
  haveState_ = true;
  state_ = State::kPlaying;
  if (recorder != nullptr) recorder->State(session_);
  if (onState) onState();
}

void Peer::RunFrame(const Frame& frame) {
  if (!haveState_) return Fail("out of turn: a frame before the state");
  const auto number = static_cast<int64_t>(frame.frame);
  if (number <= frames_) return;  // closed before the state we took
  if (number != frames_ + 1) return Fail("frame " + std::to_string(number) + " out of order");
  for (const FrameInput& in : frame.inputs) {
    switch (in.kind) {
      case FrameInput::Kind::kOrder: {
        std::string why;
        if (!IsSlot(in.order.slot) || !IsOrderText(in.order.text, why)) {
          return Fail("bad order in frame " + std::to_string(number));
        }
        Apply(session_, Order{in.order.slot, in.order.text}, Lent());
        if (onApplied && in.seat == welcome_.seat) onApplied(in.order.slot);
        break;
      }
      case FrameInput::Kind::kBoxes:
        Apply(session_, ComputerPlayers{{in.values[0] == 1, in.values[1] == 1, in.values[2] == 1}},
              Lent());
        break;
      case FrameInput::Kind::kLevels:
        Apply(session_, Levels{{in.values[0], in.values[1], in.values[2]}}, Lent());
        break;
    }
  }
  std::string error;
  StepFrame(session_, Lent(), error);
  frames_ = number;
  if (testChange) testChange(session_, frames_);
  if (frames_ % kSyncEvery == 0 && !options_.watch) {
    Send(Sync{static_cast<uint64_t>(frames_), SyncHash(session_.world)});
    kept_.emplace_back(frames_, session_);
    if (kept_.size() > kKeptPeerStates) kept_.pop_front();
  }
  if (onFrame) onFrame(frames_, frame.refusals);
}

void Peer::SendState(uint64_t frame) {
  std::vector<StateChunk> chunks;
  std::string why;
  for (const auto& [number, kept] : kept_) {
    if (static_cast<uint64_t>(number) != frame) continue;
    if (SessionChunks(kept, frame, chunks, why)) break;
  }
  if (chunks.empty()) ChunksOf("", frame, chunks);  // not kept: the referee reports without it
  for (StateChunk& chunk : chunks) Send(chunk);
}

}  // namespace kragmoor::net
