// A bot program as a child process: started with /bin/sh -c in a session of
// its own, fed lines on its standard input (a bounded queue), read line by
// line from its standard output, its standard error passed on line by line.
// POSIX pipes, non-blocking, polled; never raises SIGPIPE; the child and
// whatever it left running are ended and reaped with it. No game rules here.
#pragma once

#include <sys/types.h>

#include <chrono>
#include <cstddef>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace kragmoor {

using BotClock = std::chrono::steady_clock;

// The longest line a bot may write, in bytes, not counting its line end.
inline constexpr size_t kMaxBotLineBytes = size_t{1} << 20;
// The most a bot may leave unread on its standard input, in bytes: a few
// turn messages of a full field. A bot that reads no more is ended.
inline constexpr size_t kMaxBotInputBytes = size_t{4} << 20;

// Why a bot's standard output can no longer be read.
enum class BotEnd {
  kNone,      // it can
  kClosed,    // the bot exited or closed its standard output
  kOverlong,  // it wrote a line over kMaxBotLineBytes
  kFlooded,   // it left more than kMaxBotInputBytes unread on its input
};

class BotProcess {
 public:
  BotProcess() = default;
  BotProcess(const BotProcess&) = delete;
  BotProcess& operator=(const BotProcess&) = delete;
  ~BotProcess();  // Kill()

  // Runs `command` with /bin/sh -c in a session and process group of its
  // own, marked in its environment so that what it starts can be found
  // again. False, with the reason, when it cannot be started.
  bool Start(const std::string& command, std::string& error);

  // Queues `line` and a line end for the bot's standard input; Pump writes
  // it. Past kMaxBotInputBytes unread the input is closed: end() kFlooded.
  void Send(std::string_view line);

  // The next whole line the bot wrote, if one has come.
  std::optional<std::string> TakeLine();

  BotEnd end() const { return end_; }
  // How the bot's own process ended, as waitpid gives it, once Kill reaped
  // it; -1 before.
  int waitStatus() const { return waitStatus_; }
  // What the bot wrote that was not taken as a line: the start of an
  // overlong line once end() is kOverlong.
  std::string_view untaken() const { return outBuffer_; }
  bool running() const { return pid_ > 0; }

  // Each line the bot writes on standard error goes to this.
  std::function<void(std::string_view)> onErrorLine;

  // Closes the bot's standard input, gives it `grace` to exit (passing on
  // what it still writes on standard error), then Kill.
  void Stop(std::chrono::milliseconds grace);

  // Kills the bot, its process group and session, and every process it
  // started (however it left them: see bot_family.h), and reaps them.
  void Kill();

  // Writes what is queued and reads what has come, waiting until `deadline`
  // or until one of the bots in `bots` for which `waiting` is true has a
  // line or cannot give one (at once when one already has, or none waits).
  // A bot whose process has exited can give none once its output is read,
  // whoever else still holds the pipe open.
  // REQUIRES: `waiting` has one entry per bot.
  static void Pump(std::span<BotProcess* const> bots, std::span<const bool> waiting,
                   BotClock::time_point deadline);

  // Whether TakeLine would give a line now, or none can come.
  bool Answered() const { return lineReady_ || end_ != BotEnd::kNone; }

 private:
  void WriteSome();
  void ReadOutput();
  void ReadErrors(bool flushAll);
  void CloseInput();
  void FindLine();
  bool ProcessExited();
  void ReadAfterExit();

  pid_t pid_ = -1;
  int pidFd_ = -1;       // readable once the bot exits; -1 where the system has none
  std::string marker_;   // the environment entry its processes inherit
  int in_ = -1;          // the bot's standard input, ours to write
  int out_ = -1;         // its standard output, ours to read
  int err_ = -1;         // its standard error, ours to read
  std::string pending_;  // queued for its standard input
  size_t pendingSent_ = 0;
  std::string outBuffer_;  // read from its standard output, not yet taken
  size_t scanned_ = 0;     // bytes of outBuffer_ known to hold no line end
  bool lineReady_ = false;
  std::string errBuffer_;
  BotEnd end_ = BotEnd::kNone;
  int waitStatus_ = -1;
};

}  // namespace kragmoor
