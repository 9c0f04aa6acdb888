// Finding, ending and reaping what a bot program left running.
#include "game/platform/bot_family.h"

#include <dirent.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <map>
#include <mutex>
#include <set>
#include <thread>

namespace kragmoor {

namespace {

constexpr int kReapTries = 20;  // each 1 ms apart, for one killed process
// The largest environment read when looking for the marker, bytes.
constexpr std::streamsize kMaxEnvironmentBytes = 1 << 20;

struct ProcessIds {
  pid_t parent = 0;
  pid_t group = 0;
  pid_t session = 0;
};

// Fields 4 to 6 of /proc/PID/stat, after the command's closing parenthesis.
bool ReadIds(pid_t pid, ProcessIds& ids) {
  std::ifstream file("/proc/" + std::to_string(pid) + "/stat");
  std::string text;
  if (!std::getline(file, text)) return false;
  const size_t close = text.rfind(')');
  if (close == std::string::npos) return false;
  char state = 0;
  int parent = 0, group = 0, session = 0;
  if (std::sscanf(text.c_str() + close + 1, " %c %d %d %d", &state, &parent, &group, &session) !=
      4) {
    return false;
  }
  ids = {parent, group, session};
  return true;
}

bool CarriesMarker(pid_t pid, const std::string& marker) {
  std::ifstream file("/proc/" + std::to_string(pid) + "/environ", std::ios::binary);
  std::string entry;
  std::streamsize read = 0;
  while (read < kMaxEnvironmentBytes && std::getline(file, entry, '\0')) {
    if (entry == marker) return true;
    read += static_cast<std::streamsize>(entry.size()) + 1;
  }
  return false;
}

}  // namespace

void AdoptOrphans() {
  static std::once_flag once;
  std::call_once(once, [] {
    prctl(PR_SET_CHILD_SUBREAPER, 1, 0, 0, 0);  // fails harmlessly on an older kernel
  });
}

std::string NewBotMarker() {
  static std::atomic<uint64_t> serial{0};
  return "KRAGMOOR_BOT=" + std::to_string(getpid()) + "." + std::to_string(++serial);
}

std::vector<pid_t> BotFamily(pid_t bot, const std::string& marker) {
  std::map<pid_t, ProcessIds> all;
  if (DIR* proc = opendir("/proc")) {
    while (const dirent* entry = readdir(proc)) {
      char* end = nullptr;
      const long pid = std::strtol(entry->d_name, &end, 10);
      ProcessIds ids;
      if (pid > 0 && *end == '\0' && ReadIds(static_cast<pid_t>(pid), ids)) {
        all[static_cast<pid_t>(pid)] = ids;
      }
    }
    closedir(proc);
  }
  const pid_t self = getpid();
  std::set<pid_t> family;
  for (const auto& [pid, ids] : all) {
    if (pid == self || pid == bot) continue;
    if (ids.group == bot || ids.session == bot || CarriesMarker(pid, marker)) family.insert(pid);
  }
  // Below the bot or below one already found, however deep.
  for (bool grew = true; grew;) {
    grew = false;
    for (const auto& [pid, ids] : all) {
      if (pid == self || family.contains(pid)) continue;
      if (ids.parent == bot || family.contains(ids.parent)) grew = family.insert(pid).second;
    }
  }
  return {family.begin(), family.end()};
}

void ReapFamily(std::span<const pid_t> pids) {
  for (const pid_t pid : pids) {
    for (int i = 0; i < kReapTries; ++i) {
      const pid_t got = waitpid(pid, nullptr, WNOHANG);
      if (got == pid || (got < 0 && errno != EINTR && errno != ECHILD)) break;
      if (got < 0 && errno == ECHILD && i > 0) break;  // not ours, and not becoming ours
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
  }
}

}  // namespace kragmoor
