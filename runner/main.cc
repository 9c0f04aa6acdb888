// kragmoor-sim: the game's simulation, drawing and click logic without a
// window, driven by scenario scripts or played out as a computer-player match.
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <chrono>
#include <cstdio>
#include <iostream>
#include <new>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <system_error>
#include <utility>

#include "game/files.h"
#include "game/quote.h"
#include "game/saved_game.h"
#include "game/session.h"
#include "runner/fd_stream.h"
#include "runner/match.h"
#include "runner/script.h"

namespace {

constexpr const char* kUsage =
    "usage:\n"
    "  kragmoor-sim run [FILE]          run a scenario script from FILE, or from standard input\n"
    "  kragmoor-sim check FILE          run a script and compare its output with its '#> ' lines\n"
    "  kragmoor-sim match [OPTIONS]     the three computer players play from the initial scenario\n"
    "  kragmoor-sim --help              this text\n"
    "\n"
    "match options:\n"
    "  --seed S          random seed, 0 to 4294967295 (default 1)\n"
    "  --frames N        frame steps to run, 0 to 2147483647 (default 10000)\n"
    "  --ai B0B1B2       computer-player boxes as three digits 0/1, side 0 first (default 111)\n"
    "  --levels L0L1L2   computer-player levels as three digits 1 to 3, side 0 first;\n"
    "                    3 is the normal player, 1 and 2 are easier (default 333)\n"
    "  --hash-every K    print 'frame F hash H' after every K-th frame\n"
    "  --save PATH       after the last frame, write the game as a saved game to PATH\n"
    "  --seeds A-B       one match for each seed from A to B, in place of --seed; each\n"
    "                    match's output follows a line 'seed S', in seed order\n"
    "  --jobs N          with --seeds, matches run at once, 1 to 1024 (default: the\n"
    "                    number of cores); the output is the same for every N\n"
    "\n"
    "exit status: 0 done (check: the output is as expected); 1 standard output or a saved\n"
    "game could not be written (check: the output differs); 2 bad usage, a script that\n"
    "cannot be read or a script error (a script line holds at most 1048576 bytes, a text\n"
    "at most 65536)\n";

int Fail(const std::string& what) {
  std::cerr << "kragmoor-sim: " << what << '\n';
  return 2;
}

std::string Reason(int error) { return std::generic_category().message(error); }

template <typename T>
bool ParseWhole(std::string_view text, T low, T high, T& value) {
  const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
  return !text.empty() && result.ec == std::errc() && result.ptr == text.data() + text.size() &&
         value >= low && value <= high;
}

bool IsMatchOption(std::string_view option) {
  return option == "--seed" || option == "--frames" || option == "--hash-every" ||
         option == "--ai" || option == "--levels" || option == "--save" || option == "--seeds" ||
         option == "--jobs";
}

int Match(int argc, char** argv, std::ostream& out) {
  kragmoor::MatchOptions options;
  std::string savePath;
  bool seedGiven = false;
  std::optional<kragmoor::SeedRange> seeds;
  int32_t jobs = kragmoor::DefaultJobs();
  for (int i = 2; i < argc; ++i) {
    const std::string_view option = argv[i];
    if (!IsMatchOption(option)) {
      return Fail("unknown option " + kragmoor::Quoted(option) + "; try 'kragmoor-sim --help'");
    }
    if (i + 1 >= argc) return Fail("option '" + std::string(option) + "' needs a value");
    const std::string_view value = argv[++i];
    const std::string bad = "bad value " + kragmoor::Quoted(value) + " for " + std::string(option);
    if (option == "--seed") {
      if (!ParseWhole<uint32_t>(value, 0, UINT32_MAX, options.seed)) return Fail(bad);
      seedGiven = true;
    } else if (option == "--seeds") {
      if (!kragmoor::ParseSeedRange(value, seeds.emplace())) return Fail(bad);
    } else if (option == "--jobs") {
      if (!ParseWhole<int32_t>(value, 1, kragmoor::kMaxJobs, jobs)) return Fail(bad);
    } else if (option == "--frames") {
      if (!ParseWhole<int32_t>(value, 0, INT32_MAX, options.frames)) return Fail(bad);
    } else if (option == "--hash-every") {
      if (!ParseWhole<int32_t>(value, 1, INT32_MAX, options.hashEvery)) return Fail(bad);
    } else if (option == "--save") {
      if (value.empty()) return Fail(bad);
      savePath = value;
    } else if (option == "--levels") {
      if (value.size() != 3) return Fail(bad);
      for (int side = 0; side < 3; ++side) {
        if (value[side] < '1' || value[side] > '3') return Fail(bad);
        options.levels[side] = value[side] - '0';
      }
    } else {  // --ai
      if (value.size() != 3) return Fail(bad);
      for (int side = 0; side < 3; ++side) {
        if (value[side] != '0' && value[side] != '1') return Fail(bad);
        options.computerPlayer[side] = value[side] == '1';
      }
    }
  }
  if (seedGiven && seeds) return Fail("--seed and --seeds cannot be given together");
  if (seeds && !savePath.empty()) return Fail("--save and --seeds cannot be given together");
  const auto start = std::chrono::steady_clock::now();
  if (seeds) {
    kragmoor::RunMatches(options, *seeds, jobs, out);
    out.flush();
  } else {
    kragmoor::Session session;
    kragmoor::RunMatch(options, out, session);
    out.flush();
    std::string text;
    std::string error;
    if (!savePath.empty() && !(kragmoor::SavedGameText(session, text, error) &&
                               kragmoor::WriteFileAtomically(savePath, text, error))) {
      std::cerr << "kragmoor-sim: " << error << '\n';
      return 1;
    }
  }
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  const uint64_t matches = seeds ? seeds->Count() : 1;
  const uint64_t frames = matches * static_cast<uint64_t>(options.frames);  // below 2^63
  char line[160];
  std::snprintf(line, sizeof line, "%llu frames in %.3f s (%.0f frames/s)",
                static_cast<unsigned long long>(frames), seconds,
                seconds > 0 ? static_cast<double>(frames) / seconds : 0.0);
  std::cerr << line;
  if (seeds) {
    std::cerr << ", " << matches << " matches, " << std::min<uint64_t>(matches, jobs) << " at once";
  }
  std::cerr << '\n';
  return 0;
}

// A descriptor this program opened, closed when it goes.
struct OwnedFd {
  explicit OwnedFd(int descriptor) : fd(descriptor) {}
  OwnedFd(const OwnedFd&) = delete;
  OwnedFd& operator=(const OwnedFd&) = delete;
  ~OwnedFd() { ::close(fd); }
  int fd;
};

// Runs (or, with `check`, checks) the script read from `fd`.
int RunFrom(int fd, std::string name, std::ostream& out, bool check) {
  kragmoor::FdInBuffer buffer(fd);
  std::istream in(&buffer);
  kragmoor::ScriptOptions options;
  options.inputName = std::move(name);
  if (check) return kragmoor::CheckScript(in, std::cerr, options);
  return kragmoor::RunScript(in, out, std::cerr, options);
}

int Run(int argc, char** argv, std::ostream& out) {
  if (argc > 3) return Fail("'run' takes at most one file");
  if (argc < 3) return RunFrom(STDIN_FILENO, "standard input", out, false);
  const int fd = ::open(argv[2], O_RDONLY | O_CLOEXEC);
  if (fd < 0) return Fail("cannot open " + kragmoor::Quoted(argv[2]) + " : " + Reason(errno));
  const OwnedFd file(fd);
  return RunFrom(file.fd, kragmoor::Quoted(argv[2]), out, false);
}

int Check(int argc, char** argv, std::ostream& out) {
  if (argc != 3) return Fail("'check' takes one file");
  const int fd = ::open(argv[2], O_RDONLY | O_CLOEXEC);
  if (fd < 0) return Fail("cannot open " + kragmoor::Quoted(argv[2]) + " : " + Reason(errno));
  const OwnedFd file(fd);
  return RunFrom(file.fd, kragmoor::Quoted(argv[2]), out, true);
}

int Dispatch(int argc, char** argv, std::ostream& out) {
  if (argc < 2) return Fail("missing command; try 'kragmoor-sim --help'");
  const std::string_view command = argv[1];
  if (command == "--help") {
    out << kUsage;
    return 0;
  }
  if (command == "run") return Run(argc, argv, out);
  if (command == "check") return Check(argc, argv, out);
  if (command == "match") return Match(argc, argv, out);
  return Fail("unknown command " + kragmoor::Quoted(command) + "; try 'kragmoor-sim --help'");
}

}  // namespace

// Standard output goes through a buffer that throws on a failed write, so
// that output lost to a full disk or a closed descriptor is an error (exit 1),
// never a success.
int main(int argc, char** argv) {
  kragmoor::FdOutBuffer outBuffer(STDOUT_FILENO, "standard output");
  std::ostream out(&outBuffer);
  out.exceptions(std::ios::badbit);
  try {
    const int code = Dispatch(argc, argv, out);
    out.flush();
    return code;
  } catch (const kragmoor::WriteError& error) {
    std::cerr << "kragmoor-sim: " << error.what() << '\n';
    return 1;
  } catch (const std::bad_alloc&) {
    std::cerr << "kragmoor-sim: out of memory\n";
    return 2;
  }
}
