// A bot playing one side of a game that never waits for it, as the window
// runs one: the bot protocol's messages on a turn every K frames, each
// answer applied as `order` inputs before the first frame after it came.
// A bot that fails or outruns its time is ended, and its side plays on as
// nobody's. No Qt here: the window calls BeforeFrame from its timer.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "game/bot_process.h"

namespace kragmoor {

struct Front;
struct Session;

class BotSeat {
 public:
  // Starts `command` (with /bin/sh -c) for `side` (0 to 2) and sends it the
  // start message. False, with the reason, when it cannot be started.
  bool Start(const std::string& command, int side, int32_t turn, int32_t budgetMs,
             int32_t overtimeMs, std::string& error);

  // Call before each frame step; `frame` counts the frames run so far. Reads
  // what the bot wrote without waiting, applies an answer that came (each
  // order an `order` input through Apply, with what `front` lends), ends a
  // bot past its time, and sends the next turn message when one is due and
  // the last was answered.
  void BeforeFrame(Session& session, const Front& front, int64_t frame);

  // Ends the bot (the game is over or the side is taken back).
  void Stop();

  // "starting", then "ok" while it plays; else why it was ended: "timeout",
  // "exited", "bad-output", "no-start" (as the arena's status), or "stopped".
  const std::string& status() const { return status_; }
  bool playing() const { return status_ == "ok" || status_ == "starting"; }
  const std::string& name() const { return name_; }

  // Each line the bot writes on standard error.
  std::function<void(std::string_view)> onErrorLine;

 private:
  void End(const char* status);

  BotProcess process_;
  int side_ = 0;
  int32_t turn_ = 10;
  BotClock::duration budget_{};
  BotClock::duration pool_{};
  BotClock::time_point sentAt_{};
  bool awaiting_ = false;
  std::vector<std::string> errors_;
  std::string status_ = "stopped";
  std::string name_;
};

}  // namespace kragmoor
