// Bot programs as child processes: spawning, the pipes, polling, ending.
#include "game/platform/bot_process.h"

#include <fcntl.h>
#include <poll.h>
#include <pthread.h>
#include <signal.h>
#include <spawn.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <vector>

#include "game/platform/bot_family.h"

extern char** environ;

namespace kragmoor {

namespace {

constexpr size_t kReadChunkBytes = 65536;
// A standard-error line longer than this is passed on in pieces of it.
constexpr size_t kMaxErrorLineBytes = 65536;
// How often Stop looks whether the bot has exited, and Pump too where the
// system gives no descriptor for that, milliseconds.
constexpr int kExitPollMs = 5;
// The most read from a bot's output once it has exited: a full line and
// its line end; a writer it left behind may keep writing.
constexpr size_t kMaxReadAfterExit = kMaxBotLineBytes + kReadChunkBytes;

// write(2) to a pipe whose reader has gone raises SIGPIPE. The signal is
// blocked in this thread for the call, and one the call raised is taken
// back before the mask is restored, so it never reaches the process.
ssize_t WriteWithoutSigpipe(int fd, const char* data, size_t size) {
  sigset_t pipeOnly;
  sigemptyset(&pipeOnly);
  sigaddset(&pipeOnly, SIGPIPE);
  sigset_t old;
  pthread_sigmask(SIG_BLOCK, &pipeOnly, &old);
  sigset_t pending;
  sigpending(&pending);
  const bool wasPending = sigismember(&pending, SIGPIPE) == 1;
  const ssize_t n = write(fd, data, size);
  const int saved = errno;
  if (n < 0 && saved == EPIPE && !wasPending) {
    const timespec zero{0, 0};
    while (sigtimedwait(&pipeOnly, nullptr, &zero) < 0 && errno == EINTR) {
    }
  }
  pthread_sigmask(SIG_SETMASK, &old, nullptr);
  errno = saved;
  return n;
}

void CloseFd(int& fd) {
  if (fd >= 0) close(fd);
  fd = -1;
}

int MillisecondsUntil(BotClock::time_point deadline) {
  const auto left = deadline - BotClock::now();
  if (left <= BotClock::duration::zero()) return 0;
  const auto ms = std::chrono::ceil<std::chrono::milliseconds>(left).count();
  return static_cast<int>(std::min<int64_t>(ms, 1000000));
}

// The shell replaces itself with a simple command ("exec "), so that the
// bot is the child itself: no shell between holds its output open after the
// bot closed it, or outlives it. A command with operators, redirections, a
// reserved word or an assignment first is run as written.
std::string ShellCommand(const std::string& command) {
  if (command.find_first_of(";&|()`$<>\n{}!#*?[~") != std::string::npos) return command;
  const auto start = command.find_first_not_of(" \t");
  if (start == std::string::npos) return command;
  const std::string first = command.substr(start, command.find_first_of(" \t", start) - start);
  for (const char* word : {"if", "for", "while", "until", "case", "exec", "cd"}) {
    if (first == word) return command;
  }
  if (first.find('=') != std::string::npos) return command;
  return "exec " + command;
}

}  // namespace

BotProcess::~BotProcess() { Kill(); }

bool BotProcess::Start(const std::string& command, std::string& error) {
  AdoptOrphans();
  int in[2], out[2], err[2];
  if (pipe2(in, O_CLOEXEC) != 0) {
    error = std::strerror(errno);
    return false;
  }
  if (pipe2(out, O_CLOEXEC) != 0 || pipe2(err, O_CLOEXEC) != 0) {
    error = std::strerror(errno);
    close(in[0]), close(in[1]);
    return false;
  }
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, in[0], STDIN_FILENO);
  posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
  posix_spawn_file_actions_adddup2(&actions, err[1], STDERR_FILENO);
  posix_spawnattr_t attributes;
  posix_spawnattr_init(&attributes);
  // A session and group of its own, so that ending the bot ends whatever it
  // started; default SIGPIPE and no blocked signals, whatever this process has.
  sigset_t defaults, none;
  sigemptyset(&defaults);
  sigaddset(&defaults, SIGPIPE);
  sigemptyset(&none);
  posix_spawnattr_setsigdefault(&attributes, &defaults);
  posix_spawnattr_setsigmask(&attributes, &none);
  posix_spawnattr_setflags(&attributes,
                           POSIX_SPAWN_SETSID | POSIX_SPAWN_SETSIGDEF | POSIX_SPAWN_SETSIGMASK);
  marker_ = NewBotMarker();
  std::vector<char*> environment;
  for (char** entry = environ; *entry != nullptr; ++entry) {
    if (std::strncmp(*entry, "KRAGMOOR_BOT=", 13) != 0) environment.push_back(*entry);
  }
  environment.push_back(marker_.data());
  environment.push_back(nullptr);
  char sh[] = "/bin/sh";
  char dashC[] = "-c";
  std::string text = ShellCommand(command);
  char* argv[] = {sh, dashC, text.data(), nullptr};
  pid_t pid = -1;
  const int spawned = posix_spawn(&pid, sh, &actions, &attributes, argv, environment.data());
  posix_spawn_file_actions_destroy(&actions);
  posix_spawnattr_destroy(&attributes);
  close(in[0]), close(out[1]), close(err[1]);
  if (spawned != 0) {
    error = std::strerror(spawned);
    close(in[1]), close(out[0]), close(err[0]);
    return false;
  }
  pid_ = pid;
  waitStatus_ = -1;
  pidFd_ = static_cast<int>(syscall(SYS_pidfd_open, pid, 0));  // -1 before Linux 5.3
  in_ = in[1];
  out_ = out[0];
  err_ = err[0];
  for (int fd : {in_, out_, err_}) fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) | O_NONBLOCK);
  return true;
}

void BotProcess::Send(std::string_view line) {
  if (in_ < 0) return;
  if (pendingSent_ == pending_.size()) {
    pending_.clear();
    pendingSent_ = 0;
  }
  if (pending_.size() - pendingSent_ + line.size() + 1 > kMaxBotInputBytes) {
    if (end_ == BotEnd::kNone) end_ = BotEnd::kFlooded;
    CloseInput();
    return;
  }
  if (pendingSent_ > kMaxBotInputBytes) {  // what was written is not kept
    pending_.erase(0, pendingSent_);
    pendingSent_ = 0;
  }
  pending_ += line;
  pending_ += '\n';
  WriteSome();
}

std::optional<std::string> BotProcess::TakeLine() {
  if (!lineReady_ || end_ == BotEnd::kFlooded) return std::nullopt;
  const size_t end = outBuffer_.find('\n');
  std::string line = outBuffer_.substr(0, end);
  outBuffer_.erase(0, end + 1);
  if (!line.empty() && line.back() == '\r') line.pop_back();
  lineReady_ = false;
  scanned_ = 0;
  FindLine();
  return line;
}

// Looks for the next line end in what was read: a line is ready when one
// comes within kMaxBotLineBytes (a "\r" before it not counted); the bot has
// written a line over the limit as soon as more has come without one.
void BotProcess::FindLine() {
  const size_t end = outBuffer_.find('\n', scanned_);
  if (end != std::string::npos) {
    const size_t length = end > 0 && outBuffer_[end - 1] == '\r' ? end - 1 : end;
    if (length > kMaxBotLineBytes) {
      if (end_ == BotEnd::kNone) end_ = BotEnd::kOverlong;
    } else {
      lineReady_ = true;
    }
    return;
  }
  scanned_ = outBuffer_.size();
  const size_t size = outBuffer_.size();
  const bool over =
      size > kMaxBotLineBytes + 1 || (size == kMaxBotLineBytes + 1 && outBuffer_.back() != '\r');
  if (over && end_ == BotEnd::kNone) end_ = BotEnd::kOverlong;
}

void BotProcess::WriteSome() {
  while (in_ >= 0 && pendingSent_ < pending_.size()) {
    const ssize_t n =
        WriteWithoutSigpipe(in_, pending_.data() + pendingSent_, pending_.size() - pendingSent_);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) return;
    if (n <= 0) {  // the bot no longer reads: what it was sent is lost
      CloseInput();
      return;
    }
    pendingSent_ += static_cast<size_t>(n);
  }
}

void BotProcess::ReadOutput() {
  char chunk[kReadChunkBytes];
  const ssize_t n = read(out_, chunk, sizeof chunk);
  if (n < 0) {
    if (errno == EINTR || errno == EAGAIN || errno == EWOULDBLOCK) return;
    end_ = BotEnd::kClosed;
    return;
  }
  if (n == 0) {
    end_ = BotEnd::kClosed;
    return;
  }
  outBuffer_.append(chunk, static_cast<size_t>(n));
  FindLine();
}

bool BotProcess::ProcessExited() {
  if (pid_ <= 0) return true;
  siginfo_t info{};
  // WNOWAIT: the bot stays a zombie until Kill, so that its family is found.
  if (waitid(P_PID, static_cast<id_t>(pid_), &info, WEXITED | WNOHANG | WNOWAIT) != 0) return false;
  return info.si_pid == pid_;
}

// The bot has exited: what it wrote before is read, and then no more is
// waited for, even while something it left behind holds the pipe open.
void BotProcess::ReadAfterExit() {
  const size_t limit = outBuffer_.size() + kMaxReadAfterExit;
  while (out_ >= 0 && end_ == BotEnd::kNone && !lineReady_ && outBuffer_.size() < limit) {
    const size_t before = outBuffer_.size();
    ReadOutput();
    if (outBuffer_.size() == before) break;  // nothing more there now
  }
  if (end_ == BotEnd::kNone && !lineReady_) end_ = BotEnd::kClosed;
}

void BotProcess::ReadErrors(bool flushAll) {
  if (err_ >= 0) {
    char chunk[kReadChunkBytes];
    const ssize_t n = read(err_, chunk, sizeof chunk);
    if (n > 0) {
      errBuffer_.append(chunk, static_cast<size_t>(n));
    } else if (n == 0 || (errno != EINTR && errno != EAGAIN && errno != EWOULDBLOCK)) {
      CloseFd(err_);
      flushAll = true;
    }
  }
  for (size_t end = errBuffer_.find('\n'); end != std::string::npos || !errBuffer_.empty();
       end = errBuffer_.find('\n')) {
    if (end == std::string::npos) {
      if (!flushAll && errBuffer_.size() < kMaxErrorLineBytes) break;
      end = std::min(errBuffer_.size(), kMaxErrorLineBytes);
      if (onErrorLine) onErrorLine(std::string_view(errBuffer_).substr(0, end));
      errBuffer_.erase(0, end);
      continue;
    }
    if (onErrorLine) onErrorLine(std::string_view(errBuffer_).substr(0, end));
    errBuffer_.erase(0, end + 1);
  }
}

void BotProcess::CloseInput() {
  CloseFd(in_);
  pending_.clear();
  pendingSent_ = 0;
}

void BotProcess::Pump(std::span<BotProcess* const> bots, std::span<const bool> waiting,
                      BotClock::time_point deadline) {
  std::vector<pollfd> fds;
  // bot and which descriptor: 0 in, 1 out, 2 err, 3 its exit
  std::vector<std::pair<BotProcess*, int>> owners;
  for (;;) {
    bool lookForExits = false;  // some bot waited for has no exit descriptor
    for (size_t i = 0; i < bots.size(); ++i) {
      BotProcess* bot = bots[i];
      if (!waiting[i] || bot->Answered() || bot->pid_ <= 0) continue;
      if (bot->pidFd_ < 0) lookForExits = true;
      if (bot->pidFd_ < 0 && bot->ProcessExited()) bot->ReadAfterExit();
    }
    bool done = true;
    for (size_t i = 0; i < bots.size(); ++i) {
      if (waiting[i]) done = bots[i]->Answered();
      if (waiting[i] && done) break;
    }
    fds.clear();
    owners.clear();
    for (BotProcess* bot : bots) {
      if (bot->in_ >= 0 && bot->pendingSent_ < bot->pending_.size()) {
        fds.push_back({bot->in_, POLLOUT, 0});
        owners.emplace_back(bot, 0);
      }
      if (bot->out_ >= 0 && bot->end_ == BotEnd::kNone && !bot->lineReady_) {
        fds.push_back({bot->out_, POLLIN, 0});
        owners.emplace_back(bot, 1);
      }
      if (bot->err_ >= 0) {
        fds.push_back({bot->err_, POLLIN, 0});
        owners.emplace_back(bot, 2);
      }
      if (bot->pidFd_ >= 0 && bot->end_ == BotEnd::kNone && !bot->lineReady_) {
        fds.push_back({bot->pidFd_, POLLIN, 0});
        owners.emplace_back(bot, 3);
      }
    }
    int timeout = done ? 0 : MillisecondsUntil(deadline);
    if (lookForExits) timeout = std::min(timeout, kExitPollMs);
    if (fds.empty()) return;
    const int ready = poll(fds.data(), fds.size(), timeout);
    if (ready < 0 && errno == EINTR) continue;
    if (ready <= 0) {
      if (done || BotClock::now() >= deadline) return;
      continue;
    }
    for (size_t k = 0; k < fds.size(); ++k) {
      if (fds[k].revents == 0) continue;
      BotProcess* bot = owners[k].first;
      switch (owners[k].second) {
        case 0:
          if (fds[k].revents & (POLLERR | POLLHUP | POLLNVAL)) {
            bot->CloseInput();
          } else {
            bot->WriteSome();
          }
          break;
        case 1:
          bot->ReadOutput();
          break;
        case 3:
          bot->ReadAfterExit();
          break;
        default:
          bot->ReadErrors(false);
          break;
      }
    }
    // One look at what was ready, then back to the caller; and never past
    // the deadline, however much a bot keeps writing.
    if (done || BotClock::now() >= deadline) return;
  }
}

void BotProcess::Stop(std::chrono::milliseconds grace) {
  if (pid_ <= 0) return;
  WriteSome();
  CloseInput();
  const auto deadline = BotClock::now() + grace;
  while (BotClock::now() < deadline && !ProcessExited()) {
    pollfd fds[2] = {{err_, POLLIN, 0}, {out_, POLLIN, 0}};
    if (poll(fds, 2, kExitPollMs) > 0) {
      if (fds[0].revents != 0) ReadErrors(false);
      if (fds[1].revents != 0) {
        char chunk[kReadChunkBytes];
        if (read(out_, chunk, sizeof chunk) <= 0) CloseFd(out_);  // no more answers are read
      }
    }
  }
  Kill();
}

void BotProcess::Kill() {
  if (pid_ > 0) {
    // Found while the bot is still a process or a zombie, so that what lies
    // below it is still its own; killed together, so that none starts more.
    const std::vector<pid_t> family = BotFamily(pid_, marker_);
    kill(-pid_, SIGKILL);
    kill(pid_, SIGKILL);
    for (const pid_t pid : family) kill(pid, SIGKILL);
    int status = 0;
    pid_t reaped = -1;
    while ((reaped = waitpid(pid_, &status, 0)) < 0 && errno == EINTR) {
    }
    waitStatus_ = reaped == pid_ ? status : -1;
    pid_ = -1;
    ReapFamily(family);
  }
  CloseFd(pidFd_);
  // What is still in the pipe; a writer outside the group may keep it open,
  // so a few reads at most.
  constexpr int kFinalReads = 16;
  for (int i = 0; i < kFinalReads && err_ >= 0; ++i) ReadErrors(false);
  ReadErrors(true);
  CloseInput();
  CloseFd(out_);
  CloseFd(err_);
  if (end_ == BotEnd::kNone) end_ = BotEnd::kClosed;
}

}  // namespace kragmoor
