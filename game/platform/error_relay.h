// Passes bot standard-error lines on to a descriptor (the program's own
// standard error) from a thread of its own, so that a reader that is slow,
// stuck or gone never holds up the game: lines beyond a bounded queue, or
// that cannot be written, are dropped and counted. Never raises SIGPIPE.
#pragma once

#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>

namespace kragmoor {

// The most bytes of lines the queue holds; more are dropped.
inline constexpr size_t kMaxRelayQueueBytes = size_t{1} << 20;

class ErrorRelay {
 public:
  explicit ErrorRelay(int fd);
  // Writes what is still queued for at most a second, then drops the rest.
  ~ErrorRelay();
  ErrorRelay(const ErrorRelay&) = delete;
  ErrorRelay& operator=(const ErrorRelay&) = delete;

  // Queues `line` and a line end; never waits for the descriptor. Safe from
  // any thread.
  void Line(std::string_view line);

  // Lines dropped so far.
  int64_t dropped() const;

 private:
  void Run();
  // Writes all of `text`; false when the descriptor takes no more (gone,
  // or still full when the relay is closing and its time is up).
  bool WriteAll(const std::string& text);

  const int fd_;
  mutable std::mutex mutex_;
  std::condition_variable wake_;
  std::deque<std::string> queue_;
  size_t queuedBytes_ = 0;
  int64_t dropped_ = 0;
  int64_t droppedTold_ = 0;  // drops already reported in a line of their own
  bool closing_ = false;
  bool broken_ = false;  // the descriptor failed: everything from now on is dropped
  std::thread thread_;   // last: started once the rest is set up
};

}  // namespace kragmoor
