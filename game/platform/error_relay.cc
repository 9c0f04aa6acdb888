// Bot standard-error lines to a descriptor, off the caller's thread.
#include "game/platform/error_relay.h"

#include <poll.h>
#include <pthread.h>
#include <signal.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>

namespace kragmoor {

namespace {

// Pieces written at once: at most what a pipe takes whole, so that a write
// after poll said "writable" does not block.
constexpr size_t kPieceBytes = PIPE_BUF;
constexpr int kPollMs = 100;  // how often a waiting write looks whether the relay closes
constexpr std::chrono::seconds kCloseWait{1};

}  // namespace

ErrorRelay::ErrorRelay(int fd) : fd_(fd), thread_([this] { Run(); }) {}

ErrorRelay::~ErrorRelay() {
  {
    const std::lock_guard lock(mutex_);
    closing_ = true;
  }
  wake_.notify_all();
  thread_.join();
}

void ErrorRelay::Line(std::string_view line) {
  {
    const std::lock_guard lock(mutex_);
    if (broken_ || queuedBytes_ + line.size() + 1 > kMaxRelayQueueBytes) {
      ++dropped_;
      return;
    }
    std::string text(line);
    text += '\n';
    queuedBytes_ += text.size();
    queue_.push_back(std::move(text));
  }
  wake_.notify_one();
}

int64_t ErrorRelay::dropped() const {
  const std::lock_guard lock(mutex_);
  return dropped_;
}

bool ErrorRelay::WriteAll(const std::string& text) {
  const auto giveUp = std::chrono::steady_clock::now() + kCloseWait;
  size_t done = 0;
  while (done < text.size()) {
    pollfd fd{fd_, POLLOUT, 0};
    const int ready = poll(&fd, 1, kPollMs);
    if (ready < 0 && errno != EINTR) return false;
    if (ready <= 0 || (fd.revents & POLLOUT) == 0) {
      if (fd.revents & (POLLERR | POLLHUP | POLLNVAL)) return false;
      const std::lock_guard lock(mutex_);
      if (closing_ && std::chrono::steady_clock::now() >= giveUp) return false;
      continue;
    }
    const ssize_t n = write(fd_, text.data() + done, std::min(kPieceBytes, text.size() - done));
    if (n < 0 && (errno == EINTR || errno == EAGAIN || errno == EWOULDBLOCK)) continue;
    if (n <= 0) return false;
    done += static_cast<size_t>(n);
  }
  return true;
}

void ErrorRelay::Run() {
  // A write to a pipe whose reader has gone raises SIGPIPE in the writing
  // thread: blocked here, it stays pending on this thread and harms no one.
  sigset_t pipeOnly;
  sigemptyset(&pipeOnly);
  sigaddset(&pipeOnly, SIGPIPE);
  pthread_sigmask(SIG_BLOCK, &pipeOnly, nullptr);
  std::unique_lock lock(mutex_);
  auto deadline = std::chrono::steady_clock::time_point::max();
  for (;;) {
    wake_.wait(lock, [&] { return closing_ || !queue_.empty(); });
    if (closing_ && deadline == std::chrono::steady_clock::time_point::max()) {
      deadline = std::chrono::steady_clock::now() + kCloseWait;
    }
    if (queue_.empty() || broken_ || std::chrono::steady_clock::now() >= deadline) break;
    std::string text = std::move(queue_.front());
    queue_.pop_front();
    queuedBytes_ -= text.size();
    if (dropped_ > droppedTold_) {
      text = "(" + std::to_string(dropped_ - droppedTold_) +
             " lines of bot standard error dropped)\n" + text;
      droppedTold_ = dropped_;
    }
    lock.unlock();
    const bool written = WriteAll(text);
    lock.lock();
    if (!written) {
      broken_ = true;
      ++dropped_;
    }
  }
  dropped_ += static_cast<int64_t>(queue_.size());
  queue_.clear();
  queuedBytes_ = 0;
}

}  // namespace kragmoor
