// Matches of a seed range, one per seed, on several threads.
#include "runner/match.h"

#include <algorithm>
#include <charconv>
#include <condition_variable>
#include <exception>
#include <map>
#include <mutex>
#include <sstream>
#include <string>
#include <thread>
#include <utility>
#include <vector>

namespace kragmoor {

namespace {

bool ParseSeed(std::string_view text, uint32_t& seed) {
  const auto result = std::from_chars(text.data(), text.data() + text.size(), seed);
  return !text.empty() && result.ec == std::errc() && result.ptr == text.data() + text.size();
}

// The matches of a seed range, handed out to worker threads in ascending
// order and printed in that order. Every member is guarded by `mutex`.
class MatchQueue {
 public:
  MatchQueue(SeedRange seeds, uint64_t ahead, size_t maxHeld)
      : seeds_(seeds), ahead_(ahead), maxHeld_(maxHeld) {}

  // The offset of the next match to play, or false when there is none left
  // or the run stopped. Waits while `ahead` matches are started but not
  // printed, or while `maxHeld` bytes of finished output wait for their
  // turn (unless the next match to print is not even started).
  bool Take(uint64_t& offset) {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [&] {
      return stopped_ || started_ == seeds_.Count() || started_ == printed_ ||
             (started_ < printed_ + ahead_ && held_ < maxHeld_);
    });
    if (stopped_ || started_ == seeds_.Count()) return false;
    offset = started_++;
    return true;
  }

  void Finish(uint64_t offset, std::string text) {
    const std::lock_guard lock(mutex_);
    held_ += text.size();
    peakHeld_ = std::max(peakHeld_, held_);
    done_.emplace(offset, std::move(text));
    changed_.notify_all();
  }

  // A match threw `error`: no more matches start, and Next rethrows it.
  void Fail(std::exception_ptr error) {
    const std::lock_guard lock(mutex_);
    if (!error_) error_ = std::move(error);
    stopped_ = true;
    changed_.notify_all();
  }

  // No more matches start; those under way finish.
  void Stop() {
    const std::lock_guard lock(mutex_);
    stopped_ = true;
    changed_.notify_all();
  }

  // The output of the match at `offset`, once it is done; the matches
  // before it must have been taken from here already.
  std::string Next(uint64_t offset) {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [&] { return error_ || done_.contains(offset); });
    if (error_) std::rethrow_exception(error_);
    std::string text = std::move(done_.at(offset));
    done_.erase(offset);
    held_ -= text.size();
    printed_ = offset + 1;
    changed_.notify_all();
    return text;
  }

  size_t peakHeld() {
    const std::lock_guard lock(mutex_);
    return peakHeld_;
  }

 private:
  const SeedRange seeds_;
  const uint64_t ahead_;
  const size_t maxHeld_;
  size_t held_ = 0;      // bytes of the output in done_
  size_t peakHeld_ = 0;  // the most held_ ever was
  std::mutex mutex_;
  std::condition_variable changed_;
  uint64_t started_ = 0;  // matches handed out
  uint64_t printed_ = 0;  // matches taken by Next
  std::map<uint64_t, std::string> done_;
  bool stopped_ = false;
  std::exception_ptr error_;  // what the first failed match threw
};

void Work(const MatchOptions& options, SeedRange seeds, MatchQueue& queue) {
  try {
    uint64_t offset = 0;
    while (queue.Take(offset)) {
      MatchOptions one = options;
      one.seed = static_cast<uint32_t>(seeds.first + offset);
      std::ostringstream text;
      RunMatch(one, text);
      queue.Finish(offset, std::move(text).str());
    }
  } catch (...) {
    queue.Fail(std::current_exception());
  }
}

}  // namespace

bool ParseSeedRange(std::string_view text, SeedRange& range) {
  const auto dash = text.find('-');
  if (dash == std::string_view::npos) return false;
  SeedRange parsed;
  if (!ParseSeed(text.substr(0, dash), parsed.first) ||
      !ParseSeed(text.substr(dash + 1), parsed.last) || parsed.first > parsed.last) {
    return false;
  }
  range = parsed;
  return true;
}

int DefaultJobs() {
  const unsigned cores = std::thread::hardware_concurrency();
  return static_cast<int>(std::clamp(cores, 1u, static_cast<unsigned>(kMaxJobs)));
}

size_t RunMatches(const MatchOptions& options, SeedRange seeds, int jobs, std::ostream& out,
                  size_t maxHeldBytes) {
  const uint64_t threads = std::min<uint64_t>(std::max(jobs, 1), seeds.Count());
  MatchQueue queue(seeds, 4 * threads, maxHeldBytes);
  std::vector<std::jthread> workers;
  workers.reserve(threads);
  // The workers are joined on the way out, also when printing throws: the
  // queue is stopped first so that none of them waits for ever.
  struct StopOnExit {
    MatchQueue& queue;
    ~StopOnExit() { queue.Stop(); }
  } stop{queue};
  for (uint64_t k = 0; k < threads; ++k) {
    workers.emplace_back(Work, std::cref(options), seeds, std::ref(queue));
  }
  for (uint64_t offset = 0; offset < seeds.Count(); ++offset) {
    const std::string text = queue.Next(offset);
    out << "seed " << seeds.first + offset << '\n' << text;
    out.flush();
  }
  return queue.peakHeld();
}

}  // namespace kragmoor
