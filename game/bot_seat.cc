// A bot playing one side of a game that never waits for it.
#include "game/bot_seat.h"

#include <array>

#include "game/bot_protocol.h"
#include "game/input.h"
#include "game/play.h"
#include "game/session.h"

namespace kragmoor {

namespace {
constexpr std::chrono::milliseconds kStartWait{5000};  // for the answer to `start`
}  // namespace

bool BotSeat::Start(const std::string& command, int side, int32_t turn, int32_t budgetMs,
                    int32_t overtimeMs, std::string& error) {
  process_.onErrorLine = [this](std::string_view line) {
    if (onErrorLine) onErrorLine(line);
  };
  if (!process_.Start(command, error)) return false;
  side_ = side;
  turn_ = turn > 0 ? turn : 1;
  budget_ = std::chrono::milliseconds(budgetMs);
  pool_ = std::chrono::milliseconds(overtimeMs);
  // The window has no frame limit: the start message says 0 frames.
  process_.Send(StartMessage(side, turn_, budgetMs, 0));
  sentAt_ = BotClock::now();
  awaiting_ = true;
  status_ = "starting";
  return true;
}

void BotSeat::End(const char* status) {
  status_ = status;
  awaiting_ = false;
  process_.Kill();
}

void BotSeat::Stop() {
  if (playing()) status_ = "stopped";
  awaiting_ = false;
  process_.Stop(std::chrono::milliseconds(0));
}

void BotSeat::BeforeFrame(Session& session, const Front& front, int64_t frame) {
  if (!playing()) return;
  BotProcess* bots[] = {&process_};
  const bool waiting[] = {awaiting_};
  BotProcess::Pump(bots, waiting, BotClock::now());  // whatever is there, no waiting
  const auto now = BotClock::now();
  const bool starting = status_ == "starting";
  if (awaiting_ && process_.Answered()) {
    awaiting_ = false;
    auto line = process_.TakeLine();
    if (!line) {
      End(starting ? "no-start" : process_.end() == BotEnd::kOverlong ? "bad-output" : "exited");
      return;
    }
    if (starting) {
      if (!ParseReady(*line, name_)) return End("no-start");
      status_ = "ok";
    } else {
      const auto late = now - sentAt_ - budget_;
      if (late > BotClock::duration::zero()) pool_ -= late;
      if (pool_ < BotClock::duration::zero()) return End("timeout");
      std::vector<BotOrder> orders;
      ParseOrders(*line, session.world, side_, orders, errors_);
      std::string ignored;  // an order runs no frame, so no frame error
      for (const BotOrder& order : orders) {
        Apply(session, Order{order.slot, order.text}, front, ignored);
      }
    }
  } else if (awaiting_) {
    const auto limit = starting ? BotClock::duration(kStartWait) : budget_ + pool_;
    if (now - sentAt_ > limit) return End(starting ? "no-start" : "timeout");
    return;
  }
  if (status_ == "ok" && !awaiting_ && frame % turn_ == 0) {
    process_.Send(TurnMessage(TurnBody(session.world, frame), errors_));
    errors_.clear();
    sentAt_ = BotClock::now();
    awaiting_ = true;
  }
}

}  // namespace kragmoor
