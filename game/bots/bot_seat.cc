// The one bot driver: start wait, budget and pool, statuses, orders.
#include "game/bots/bot_seat.h"

#include <sys/wait.h>

#include <algorithm>
#include <cstring>
#include <memory>

#include "game/bots/bot_protocol.h"
#include "game/input.h"
#include "game/play.h"
#include "game/session.h"

namespace kragmoor {

namespace {
constexpr std::chrono::milliseconds kStartWait{5000};  // for the answer to `start`

// `line` in double quotes: printable ASCII as it is, `"` and `\` and every
// other byte escaped (\xHH), cut so that the whole is at most `limit` bytes.
std::string QuotedLine(std::string_view line, size_t limit) {
  std::string out = "\"";
  for (const char c : line) {
    const auto byte = static_cast<unsigned char>(c);
    char piece[5] = {c, 0};
    if (c == '"' || c == '\\') {
      piece[0] = '\\';
      piece[1] = c;
    } else if (byte < 0x20 || byte >= 0x7F) {
      static constexpr char kHex[] = "0123456789abcdef";
      piece[0] = '\\', piece[1] = 'x', piece[2] = kHex[byte >> 4], piece[3] = kHex[byte & 15];
    }
    if (out.size() + std::strlen(piece) + 1 > limit) break;
    out += piece;
  }
  return out + '"';
}

// "exit=CODE" or "signal=NAME" for a wait status; empty when unknown.
std::string HowItExited(int status) {
  if (status < 0) return "";
  if (WIFEXITED(status)) return "exit=" + std::to_string(WEXITSTATUS(status));
  if (!WIFSIGNALED(status)) return "";
  const int signal = WTERMSIG(status);
  const char* name = sigabbrev_np(signal);
  return "signal=" + (name != nullptr ? std::string(name) : std::to_string(signal));
}
}  // namespace

bool BotSeat::Start(const std::string& command, int side, const BotTiming& timing, int32_t frames,
                    std::string& error) {
  process_.onErrorLine = [this](std::string_view line) {
    if (onErrorLine) onErrorLine(line);
  };
  if (!process_.Start(command, error)) {
    status_ = "no-start";
    endDetail_ = "frame=0";
    return false;
  }
  side_ = side;
  turn_ = timing.turn > 0 ? timing.turn : 1;
  budget_ = std::chrono::milliseconds(timing.budgetMs);
  pool_ = std::chrono::milliseconds(timing.overtimeMs);
  late_ = {};
  orders_ = refused_ = 0;
  answered_ = false;
  errors_.clear();
  name_.clear();
  status_ = "starting";
  badLines_ = frame_ = 0;
  endDetail_.clear();
  seen_.fill(false);
  Send(0, StartMessage(side, turn_, timing.budgetMs, frames, timing.seed));
  sentAt_ = BotClock::now();
  awaiting_ = true;
  return true;
}

int64_t BotSeat::lateMs() const {
  return std::chrono::duration_cast<std::chrono::milliseconds>(late_).count();
}

void BotSeat::End(const char* status) {
  status_ = status;
  awaiting_ = false;
  answered_ = false;
  process_.Kill();
  endDetail_ = "frame=" + std::to_string(frame_);
  std::string detail;
  if (status_ == "exited") detail = HowItExited(process_.waitStatus());
  if (status_ == "bad-output") {
    detail = "line=" + QuotedLine(process_.untaken().substr(0, kQuotedLineBytes), kQuotedLineBytes);
  }
  if (!detail.empty()) endDetail_ += ' ' + detail;
}

void BotSeat::Stop() {
  if (playing()) status_ = "stopped";
  awaiting_ = false;
  answered_ = false;
  Release(std::chrono::milliseconds(0));
}

BotClock::time_point BotSeat::Deadline() const {
  return sentAt_ + (status_ == "starting" ? BotClock::duration(kStartWait) : budget_ + pool_);
}

void BotSeat::SendTurn(const std::string& body, const World& world, int64_t frame) {
  frame_ = frame;
  std::vector<std::pair<int, std::string>> changed;
  for (int i = 0; i < kSlotCount; ++i) {
    const Tigrok& t = world.entities[i];
    const bool own = IsLive(t) && t.owner == side_ && t.kind != kKindMine;
    if (own && seen_[i] && t.order != lastOrder_[i]) changed.emplace_back(i, t.order);
    seen_[i] = own;
    if (own) lastOrder_[i] = t.order;
  }
  if (errors_.size() > kMaxTurnErrors) {
    const size_t more = errors_.size() - (kMaxTurnErrors - 1);
    errors_.resize(kMaxTurnErrors - 1);
    errors_.push_back(std::to_string(more) + " more orders refused");
  }
  Send(frame, TurnMessage(body, changed, errors_));
  errors_.clear();
  if (process_.end() == BotEnd::kFlooded) return End("flooded");
  sentAt_ = BotClock::now();
  awaiting_ = true;
}

void BotSeat::Judge(BotClock::time_point now) {
  if (!awaiting_) return;
  const bool starting = status_ == "starting";
  if (!process_.Answered()) {
    if (now < Deadline()) return;
    if (!starting) late_ += now - sentAt_ - budget_;  // the whole pool, and what the wait overran
    return End(starting ? "no-start" : "timeout");
  }
  awaiting_ = false;
  auto line = process_.TakeLine();
  if (line && onMessage) onMessage(frame_, false, *line);
  if (!line) {
    const BotEnd why = process_.end();
    if (starting) return End("no-start");
    return End(why == BotEnd::kOverlong  ? "bad-output"
               : why == BotEnd::kFlooded ? "flooded"
                                         : "exited");
  }
  if (starting) {
    if (!ParseReady(*line, name_)) return End("no-start");
    status_ = "ok";
    return;
  }
  const auto late = now - sentAt_ - budget_;
  if (late > BotClock::duration::zero()) {
    pool_ -= late;
    late_ += late;
  }
  if (pool_ < BotClock::duration::zero()) return End("timeout");
  answer_ = std::move(*line);
  answered_ = true;
}

void BotSeat::Poll() {
  if (!playing()) return;
  BotProcess* bots[] = {&process_};
  const bool waiting[] = {awaiting_};
  BotProcess::Pump(bots, waiting, BotClock::now());  // whatever is there, no waiting
  Judge(BotClock::now());
}

void BotSeat::WaitAll(std::span<BotSeat* const> seats) {
  std::vector<BotProcess*> bots;
  for (BotSeat* seat : seats) bots.push_back(&seat->process_);
  const std::unique_ptr<bool[]> waiting(new bool[seats.size()]);
  for (;;) {
    auto soonest = BotClock::time_point::max();
    bool any = false;
    for (size_t i = 0; i < seats.size(); ++i) {
      waiting[i] = seats[i]->awaiting_;
      if (!waiting[i]) continue;
      any = true;
      soonest = std::min(soonest, seats[i]->Deadline());
    }
    if (!any) return;
    BotProcess::Pump(bots, std::span<const bool>(waiting.get(), seats.size()), soonest);
    const auto now = BotClock::now();
    for (BotSeat* seat : seats) seat->Judge(now);
  }
}

std::vector<BotOrder> BotSeat::TakeAnswer(const World& world) {
  std::vector<BotOrder> orders;
  if (!answered_) return orders;
  answered_ = false;
  const size_t before = errors_.size();
  if (!ParseOrders(answer_, world, side_, orders, errors_)) ++badLines_;
  answer_.clear();
  refused_ += static_cast<int64_t>(errors_.size() - before);
  orders_ += static_cast<int64_t>(orders.size());
  return orders;
}

void BotSeat::Refused(std::span<const std::string> reasons) {
  errors_.insert(errors_.end(), reasons.begin(), reasons.end());
  refused_ += static_cast<int64_t>(reasons.size());
  orders_ -= std::min<int64_t>(orders_, static_cast<int64_t>(reasons.size()));
}

void BotSeat::Given(const World& world, int slot) {
  const Tigrok& t = world.entities[slot];
  if (seen_[slot] && IsLive(t) && t.owner == side_) lastOrder_[slot] = t.order;
}

void BotSeat::ApplyAnswer(Session& session, const Front& front) {
  for (const BotOrder& order : TakeAnswer(session.world)) {
    Apply(session, Order{order.slot, order.text}, front);
    // What the bot gave is what it knows, whatever the rules do with it later.
    Given(session.world, order.slot);
  }
}

void BotSeat::BeforeFrame(Session& session, const Front& front, int64_t frame) {
  Poll();
  ApplyAnswer(session, front);
  if (status_ == "ok" && !awaiting_ && frame % turn_ == 0) {
    SendTurn(TurnBody(session.world, frame), session.world, frame);
  }
}

void BotSeat::Finish(int64_t frame, const std::array<int, kSideCount>& places) {
  if (status_ != "ok") return;
  Send(frame, EndMessage(frame, places));
  awaiting_ = false;
  answered_ = false;
}

void BotSeat::Send(int64_t frame, const std::string& message) {
  if (onMessage) onMessage(frame, true, message);
  process_.Send(message);
}

void BotSeat::Release(std::chrono::milliseconds grace) { process_.Stop(grace); }

}  // namespace kragmoor
