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

#include "game/platform/files.h"
#include "game/quote.h"
#include "game/saved_game.h"
#include "game/session.h"
#include "runner/arena.h"
#include "runner/command_line.h"
#include "runner/fd_stream.h"
#include "runner/match.h"
#include "runner/progress.h"
#include "runner/script.h"
#include "runner/summary.h"
#include "runner/serve.h"
#include "runner/tournament.h"

namespace {

int Fail(const std::string& what) { return kragmoor::Usage(what); }

int Match(int argc, char** argv, std::ostream& out) {
  kragmoor::MatchOptions options;
  std::string savePath;
  bool seedGiven = false;
  std::optional<kragmoor::SeedRange> seeds;
  int32_t jobs = kragmoor::DefaultJobs();
  using kragmoor::ParseWhole;
  const auto digits = [](std::string_view value, char low, char high, auto store) {
    if (value.size() != 3) return false;
    for (int side = 0; side < 3; ++side) {
      if (value[side] < low || value[side] > high) return false;
    }
    for (int side = 0; side < 3; ++side) store(side, value[side] - '0');
    return true;
  };
  const std::vector<kragmoor::Option> known = {
      {"--seed",
       [&](std::string_view v) {
         seedGiven = true;
         return ParseWhole<uint32_t>(v, 0, UINT32_MAX, options.seed);
       }},
      {"--frames",
       [&](std::string_view v) { return ParseWhole<int32_t>(v, 0, INT32_MAX, options.frames); }},
      {"--hash-every",
       [&](std::string_view v) { return ParseWhole<int32_t>(v, 1, INT32_MAX, options.hashEvery); }},
      {"--ai",
       [&](std::string_view v) {
         return digits(v, '0', '1',
                       [&](int side, int d) { options.computerPlayer[side] = d == 1; });
       }},
      {"--levels",
       [&](std::string_view v) {
         return digits(v, '1', '3', [&](int side, int d) { options.levels[side] = d; });
       }},
      {"--save",
       [&](std::string_view v) {
         savePath = v;
         return !v.empty();
       }},
      {"--seeds", [&](std::string_view v) { return kragmoor::ParseSeedRange(v, seeds.emplace()); }},
      {"--jobs",
       [&](std::string_view v) { return ParseWhole<int32_t>(v, 1, kragmoor::kMaxJobs, jobs); }},
  };
  if (const auto done = kragmoor::ReadOptions(argc, argv, known, nullptr, out)) return *done;
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
    if (!savePath.empty() &&
        !(kragmoor::SavedGameText(session, text, error) &&
          kragmoor::WriteFileAtomically(savePath, text, kragmoor::kSaveFormat, error))) {
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

// What `run` and `check` were given on the command line.
struct ScriptArguments {
  std::string files;              // --files DIR
  int64_t maxFrames = INT64_MAX;  // --max-frames N
  std::optional<std::string> file;
};

// Reads `run`'s or `check`'s options and file; returns the exit status when
// the command ends here (after --help, or bad usage with its line printed).
std::optional<int> ReadScriptArguments(int argc, char** argv, bool check, ScriptArguments& args,
                                       std::ostream& out) {
  const std::string command = check ? "check" : "run";
  for (int i = 2; i < argc; ++i) {
    const std::string_view word = argv[i];
    if (word == "--help") {
      kragmoor::PrintUsage(out);
      return 0;
    }
    if (word == "--files" || (check && word == "--max-frames")) {
      if (i + 1 >= argc) return Fail("option '" + std::string(word) + "' needs a value");
      const std::string_view value = argv[++i];
      if (word == "--files") {
        if (value.empty()) return Fail("option '--files' needs a folder");
        args.files = value;
      } else if (!kragmoor::ParseWhole<int64_t>(value, 0, INT64_MAX, args.maxFrames)) {
        return Fail("bad value " + kragmoor::Quoted(value) + " for --max-frames");
      }
    } else if (word.starts_with("--")) {
      return Fail("unknown option " + kragmoor::Quoted(word) + " for '" + command +
                  "'; try 'kragmoor-sim --help'");
    } else if (args.file) {
      return Fail(check ? "'check' takes one file" : "'run' takes at most one file");
    } else {
      args.file = std::string(word);
    }
  }
  if (check && !args.file) return Fail("'check' takes one file");
  return std::nullopt;
}

int RunOrCheck(int argc, char** argv, std::ostream& out, bool check) {
  ScriptArguments args;
  if (const auto done = ReadScriptArguments(argc, argv, check, args, out)) return *done;
  int fd = STDIN_FILENO;
  std::optional<OwnedFd> file;
  kragmoor::ScriptOptions options;
  options.inputName = "standard input";
  options.files = args.files;
  options.maxFrames = args.maxFrames;
  if (args.file && *args.file != "-") {  // "-": standard input
    std::string error;
    fd = kragmoor::OpenScriptInput(*args.file, error);
    if (fd < 0) return Fail(error);
    file.emplace(fd);
    options.inputName = kragmoor::QuotedPath(*args.file);
  }
  // A file that reads from any offset is read a second time ahead of the
  // run, for check's expected lines and the progress count.
  const off_t start = ::lseek(fd, 0, SEEK_CUR);
  const bool seekable = start >= 0;
  const bool show = check && seekable && ::isatty(STDERR_FILENO) == 1;
  int64_t total = 0;
  if (show) {
    kragmoor::FdInBuffer counting(fd, start);
    try {
      total = kragmoor::CountFrames(counting);
    } catch (const std::system_error&) {  // the run itself reports it
    }
  }
  // Ctrl+C is caught only where nothing waits for input: a script read
  // from a terminal or a pipe is ended by the signal itself.
  if (seekable) kragmoor::CatchInterrupt();
  kragmoor::Progress progress(total, show);
  options.onFrame = [&progress](int64_t frames) { progress.Frame(frames); };
  kragmoor::FdInBuffer buffer =
      seekable ? kragmoor::FdInBuffer(fd, start) : kragmoor::FdInBuffer(fd);
  std::istream in(&buffer);
  if (!check) return kragmoor::RunScript(in, out, std::cerr, options);
  kragmoor::FdInBuffer ahead(fd, seekable ? start : 0);
  return kragmoor::CheckScript(in, std::cerr, options, seekable ? &ahead : nullptr);
}

int Dispatch(int argc, char** argv, std::ostream& out) {
  if (argc < 2) return Fail("missing command; try 'kragmoor-sim --help'");
  const std::string_view command = argv[1];
  if (command == "--help") {
    kragmoor::PrintUsage(out);
    return 0;
  }
  if (command == "run") return RunOrCheck(argc, argv, out, false);
  if (command == "check") return RunOrCheck(argc, argv, out, true);
  if (command == "match") return Match(argc, argv, out);
  if (command == "arena") return kragmoor::ArenaCommand(argc, argv, out);
  if (command == "tournament") return kragmoor::TournamentCommand(argc, argv, out);
  if (command == "summary") return kragmoor::SummaryCommand(argc, argv, out);
  if (command == "serve") return kragmoor::ServeCommand(argc, argv, out);
  if (command == "join") return kragmoor::JoinCommand(argc, argv, out);
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
