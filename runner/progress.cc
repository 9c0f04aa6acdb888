// Ctrl+C and the progress count of kragmoor-sim's scripts.
#include "runner/progress.h"

#include <unistd.h>

#include <atomic>
#include <charconv>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <string>
#include <string_view>

#include "game/line_reader.h"
#include "runner/script.h"

namespace kragmoor {

namespace {

// Set by the handler on whichever thread takes the signal, read by any.
std::atomic<bool> interrupted{false};
static_assert(std::atomic<bool>::is_always_lock_free, "the signal handler needs a lock-free flag");

extern "C" void OnInterrupt(int) { interrupted.store(true); }

constexpr int64_t kClockEvery = 16;    // frames between two readings of the clock
constexpr int64_t kDrawEveryMs = 100;  // the count is redrawn at most this often
constexpr std::string_view kClearLine = "\r\033[K";

int64_t NowMs() {
  return std::chrono::duration_cast<std::chrono::milliseconds>(
             std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

void WriteErr(std::string_view text) {
  while (!text.empty()) {
    const ssize_t n = ::write(STDERR_FILENO, text.data(), text.size());
    if (n <= 0) return;  // a progress count that cannot be shown is not an error
    text.remove_prefix(static_cast<size_t>(n));
  }
}

// The next word of `line` from `at`, separated by spaces or tabs.
std::string_view NextWord(std::string_view line, size_t& at) {
  const size_t start = line.find_first_not_of(" \t\r", at);
  if (start == std::string_view::npos) return {};
  const size_t end = std::min(line.find_first_of(" \t\r", start), line.size());
  at = end;
  return line.substr(start, end - start);
}

}  // namespace

void CatchInterrupt() {
  struct sigaction old {};
  if (sigaction(SIGINT, nullptr, &old) == 0 && old.sa_handler == SIG_IGN) return;
  struct sigaction action {};
  action.sa_handler = OnInterrupt;
  sigemptyset(&action.sa_mask);
  sigaction(SIGINT, &action, nullptr);
}

bool Interrupted() { return interrupted.load(); }

int64_t CountFrames(std::streambuf& in) {
  int64_t total = 0;
  std::string line;
  for (;;) {
    const LineRead read = ReadLine(in, line);
    if (read == LineRead::kEnd) break;
    if (read == LineRead::kTooLong) {
      if (!SkipLine(in)) break;
      continue;
    }
    size_t at = 0;
    const std::string_view command = NextWord(line, at);
    if (command == "resize") ++total;
    if (command != "step" && command != "trace") continue;
    const std::string_view count = NextWord(line, at);
    int32_t n = 1;
    if (!count.empty()) std::from_chars(count.data(), count.data() + count.size(), n);
    if (n > 0) total += n;  // at most 2^31 a line: no overflow below 2^32 lines
  }
  return total;
}

Progress::~Progress() { Clear(); }

void Progress::Frame(int64_t framesRun) {
  if (Interrupted()) {
    Clear();
    std::string where = std::to_string(framesRun);
    if (total_ > 0) where += " of " + std::to_string(total_);
    throw ScriptStop(kInterruptedStatus, "interrupted (SIGINT) after " + where + " frames");
  }
  if (!show_ || framesRun < nextClock_) return;
  nextClock_ = framesRun + kClockEvery;
  const int64_t now = NowMs();
  if (now - lastDraw_ < kDrawEveryMs) return;
  lastDraw_ = now;
  char text[96];
  if (total_ > 0) {
    std::snprintf(text, sizeof text, "\rframe %lld of %lld (%lld %%)",
                  static_cast<long long>(framesRun), static_cast<long long>(total_),
                  static_cast<long long>(framesRun * 100 / total_));
  } else {
    std::snprintf(text, sizeof text, "\rframe %lld", static_cast<long long>(framesRun));
  }
  WriteErr(text);
  shown_ = true;
}

void Progress::Clear() {
  if (shown_) WriteErr(kClearLine);
  shown_ = false;
}

}  // namespace kragmoor
