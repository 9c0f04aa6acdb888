// The one bot driver: a bot program playing one side through the bot
// protocol, for the arena (which waits for every answer) and the window
// (which never waits). It owns the start wait, the budget and the overtime
// pool, the statuses, and turning answers into `order` inputs; the caller
// decides when turns are sent and whether to wait for the answers.
#pragma once

#include <array>
#include <chrono>
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <vector>

#include "game/bots/bot_protocol.h"
#include "game/platform/bot_process.h"
#include "world/tigrok.h"

namespace kragmoor {

struct Front;
struct Session;

// A bot's time and pace, as the arena's options and the window's bots have
// them unless told otherwise, and the match's seed its start message names.
struct BotTiming {
  int32_t turn = 10;           // frames per turn
  int32_t budgetMs = 100;      // for one answer
  int32_t overtimeMs = 10000;  // pool for the whole match, paid from by late answers
  uint32_t seed = 1;           // the random generator's seed
};

// The most refused-order texts one turn message carries; the rest are
// counted in one last text.
inline constexpr size_t kMaxTurnErrors = 100;

// The most bytes of a bad line the arena's output quotes.
inline constexpr size_t kQuotedLineBytes = 200;

class BotSeat {
 public:
  // Starts `command` (with /bin/sh -c) for `side` (0 to 2) and sends it the
  // start message (`frames` 0: no frame limit). False, with the reason, when
  // it cannot be started.
  bool Start(const std::string& command, int side, const BotTiming& timing, int32_t frames,
             std::string& error);

  // Sends a turn message (the body from TurnBody of `world` after `frame`
  // frames) with the bot's entities whose order the rules changed and the
  // last answer's errors. REQUIRES: status() is "ok" and !awaiting().
  void SendTurn(const std::string& body, const World& world, int64_t frame);

  // Reads what the bot wrote without waiting, and judges an answer that came
  // or a bot past its time: the ready answer makes it "ok"; a turn's answer
  // is kept for ApplyAnswer after its delay beyond the budget was paid.
  void Poll();

  // Waits until every seat in `seats` that awaits an answer has one or has
  // been ended, each until its own deadline.
  static void WaitAll(std::span<BotSeat* const> seats);

  // Gives the orders of the answer that came, if one did and was not
  // applied yet, through Apply with what `front` lends; refused ones go
  // into the next turn's errors.
  void ApplyAnswer(Session& session, const Front& front);

  // The network's way: the orders of the answer that came (checked against
  // `world` as ApplyAnswer checks them, refused ones going into the next
  // turn's errors), for the caller to give elsewhere; none when no answer
  // is waiting. Given marks an order as applied once it has been, and
  // Refused adds the texts of orders refused later (the referee's) to the
  // next turn's errors, counting them refused and not accepted.
  std::vector<BotOrder> TakeAnswer(const World& world);
  void Given(const World& world, int slot);
  void Refused(std::span<const std::string> reasons);

  // The window's way, before each frame step; `frame` counts the frames
  // run so far: Poll, ApplyAnswer, and the next turn message when one is
  // due and the last was answered.
  void BeforeFrame(Session& session, const Front& front, int64_t frame);

  // The match is over: a bot that played to the end gets the end message
  // and stays "ok" (answers refused whole are counted in badLines()).
  // Release then ends it.
  void Finish(int64_t frame, const std::array<int, kSideCount>& places);

  // Closes the bot's input and gives it `grace` to exit before it is killed
  // with all it started; its status stays.
  void Release(std::chrono::milliseconds grace);

  // Ends the bot at once (the side is taken back): "stopped".
  void Stop();

  // "starting", then "ok" while it plays; else why it was ended:
  // "timeout", "exited", "bad-output", "flooded", "no-start", or "stopped".
  const std::string& status() const { return status_; }
  bool playing() const { return status_ == "ok" || status_ == "starting"; }
  bool awaiting() const { return awaiting_; }
  const std::string& name() const { return name_; }
  int64_t orders() const { return orders_; }      // accepted
  int64_t refused() const { return refused_; }    // refused orders, and answers refused whole
  int64_t lateMs() const;                         // overtime spent
  int64_t badLines() const { return badLines_; }  // answers refused whole
  // How and when a bot that was ended early ended, for the arena's output:
  // "frame=F", then "exit=CODE" or "signal=NAME" for "exited", `line="..."`
  // (escaped, at most kQuotedLineBytes) for "bad-output"; empty otherwise.
  const std::string& endDetail() const { return endDetail_; }
  // "status=S", then endDetail() when there is one: what a recording's
  // comment says of a bot that has ended.
  std::string StatusWords() const {
    return endDetail_.empty() ? "status=" + status_ : "status=" + status_ + ' ' + endDetail_;
  }

  // Each line the bot writes on standard error.
  std::function<void(std::string_view)> onErrorLine;
  // Each message sent to the bot (`toBot`) and each line taken from it, with
  // the frame of the last message sent: the arena's transcript.
  std::function<void(int64_t frame, bool toBot, std::string_view message)> onMessage;

 private:
  void End(const char* status);
  BotClock::time_point Deadline() const;
  void Judge(BotClock::time_point now);
  // Sends `message`, the one of frame `frame`, and shows it to onMessage.
  void Send(int64_t frame, const std::string& message);

  BotProcess process_;
  int side_ = 0;
  int32_t turn_ = 10;
  BotClock::duration budget_{};
  BotClock::duration pool_{};  // overtime left
  BotClock::duration late_{};  // overtime spent
  BotClock::time_point sentAt_{};
  bool awaiting_ = false;
  bool answered_ = false;  // answer_ holds a turn's answer not applied yet
  std::string answer_;
  std::vector<std::string> errors_;  // for the next turn's message
  std::string status_ = "stopped";
  std::string endDetail_;
  int64_t frame_ = 0;     // of the last turn message sent
  int64_t badLines_ = 0;  // answers refused whole
  // The order each of the bot's entities had in the last turn message, or
  // was given by the bot since; seen_ is false for a slot that was not its.
  std::array<std::string, kSlotCount> lastOrder_;
  std::array<bool, kSlotCount> seen_{};
  std::string name_;
  int64_t orders_ = 0;
  int64_t refused_ = 0;
};

}  // namespace kragmoor
