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
#include "runner/arena.h"
#include "runner/command_line.h"
#include "runner/fd_stream.h"
#include "runner/match.h"
#include "runner/progress.h"
#include "runner/script.h"
#include "runner/tournament.h"

namespace {

constexpr const char* kUsage =
    "usage:\n"
    "  kragmoor-sim run [--files DIR] [FILE]\n"
    "                                   run a scenario script from FILE, or from standard input\n"
    "                                   (none or '-'); FILE is a regular file, never a FIFO\n"
    "  kragmoor-sim check [--files DIR] [--max-frames N] FILE\n"
    "                                   run a script and compare its output with its '#> ' lines\n"
    "  kragmoor-sim match [OPTIONS]     the three computer players play from the initial scenario\n"
    "  kragmoor-sim arena [OPTIONS] SIDE1 SIDE2 SIDE3\n"
    "                                   a match in which any side may be played by a bot\n"
    "  kragmoor-sim tournament [OPTIONS] NAME=SIDE ...\n"
    "                                   every seating of the entrants on every seed, rated\n"
    "  kragmoor-sim --help              this text\n"
    "\n"
    "run and check options:\n"
    "  --files DIR       let the script's save and load touch files inside DIR (a relative\n"
    "                    path is taken from DIR; '..' may not lead out, no link is followed);\n"
    "                    without it they are script errors, so a script or recording from\n"
    "                    anyone touches no file: check of a recording reads FILE and nothing else\n"
    "  --max-frames N    check: run at most N frame steps; more is a script error\n"
    "Ctrl+C ends a run or check at once (exit status 130); on a terminal, check shows\n"
    "the frames done of the script's total (its step, trace and resize lines, counted ahead).\n"
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
    "arena: each SIDE is 'ai' (the computer player), 'ai:L' (at level L, 1 to 3), 'none'\n"
    "or a command run with /bin/sh -c that plays through the bot protocol (docs/bots.md)\n"
    "  --seed S          random seed (default 1)\n"
    "  --frames N        frame steps to run (default 10000)\n"
    "  --turn K          frames per turn: bots are asked before frame 1, then after\n"
    "                    every K-th frame (default 10)\n"
    "  --budget MS       milliseconds a bot has for one answer (default 100)\n"
    "  --overtime MS     a bot's pool for late answers, for the whole match (default 10000)\n"
    "  --record PATH     write the match as a recording that 'check' verifies\n"
    "\n"
    "tournament: entrants NAME=SIDE, SIDE as for arena; options --seeds A-B (default\n"
    "1-10), --frames N, --jobs J, --turn K, --budget MS as above. Ranks the entrants by\n"
    "a Weng-Lin Plackett-Luce rating (the model of OpenSkill), mean mu and deviation sigma\n"
    "\n"
    "exit status: 0 done (check: the output is as expected); 1 standard output or a saved\n"
    "game could not be written (check: the output differs, or the script has no '#> ' line\n"
    "and so verifies nothing); 2 bad usage, a script that cannot be read or a script error\n"
    "(a script line holds at most 1048576 bytes, a text at most 65536); 3 check: a recording\n"
    "cut short (no closing hash and '# end of recording', or a cut last line), all it\n"
    "holds as expected; 130 interrupted (Ctrl+C)\n";

int Fail(const std::string& what) { return kragmoor::Usage(what); }

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
      if (!kragmoor::ParseWhole<uint32_t>(value, 0, UINT32_MAX, options.seed)) return Fail(bad);
      seedGiven = true;
    } else if (option == "--seeds") {
      if (!kragmoor::ParseSeedRange(value, seeds.emplace())) return Fail(bad);
    } else if (option == "--jobs") {
      if (!kragmoor::ParseWhole<int32_t>(value, 1, kragmoor::kMaxJobs, jobs)) return Fail(bad);
    } else if (option == "--frames") {
      if (!kragmoor::ParseWhole<int32_t>(value, 0, INT32_MAX, options.frames)) return Fail(bad);
    } else if (option == "--hash-every") {
      if (!kragmoor::ParseWhole<int32_t>(value, 1, INT32_MAX, options.hashEvery)) return Fail(bad);
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

// Reads `run`'s or `check`'s options and file; returns 0, or the exit status
// of bad usage (its line printed).
int ReadScriptArguments(int argc, char** argv, bool check, ScriptArguments& args) {
  const std::string command = check ? "check" : "run";
  for (int i = 2; i < argc; ++i) {
    const std::string_view word = argv[i];
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
  return 0;
}

int RunOrCheck(int argc, char** argv, std::ostream& out, bool check) {
  ScriptArguments args;
  if (const int bad = ReadScriptArguments(argc, argv, check, args); bad != 0) return bad;
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
    out << kUsage;
    return 0;
  }
  if (command == "run") return RunOrCheck(argc, argv, out, false);
  if (command == "check") return RunOrCheck(argc, argv, out, true);
  if (command == "match") return Match(argc, argv, out);
  if (command == "arena") return kragmoor::ArenaCommand(argc, argv, out);
  if (command == "tournament") return kragmoor::TournamentCommand(argc, argv, out);
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
