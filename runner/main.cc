// kragmoor-sim: the game's simulation, drawing and click logic without a
// window, driven by scenario scripts or played out as a computer-player match.
#include <algorithm>
#include <charconv>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <optional>
#include <string>
#include <string_view>

#include "runner/match.h"
#include "runner/script.h"

namespace {

constexpr const char* kUsage =
    "usage:\n"
    "  kragmoor-sim run [FILE]          run a scenario script from FILE, or from standard input\n"
    "  kragmoor-sim match [OPTIONS]     the three computer players play from the initial scenario\n"
    "  kragmoor-sim --help              this text\n"
    "\n"
    "match options:\n"
    "  --seed S          random seed, 0 to 4294967295 (default 1)\n"
    "  --frames N        frame steps to run, 0 to 2147483647 (default 10000)\n"
    "  --ai B0B1B2       computer-player boxes as three digits 0/1, side 0 first (default 111)\n"
    "  --hash-every K    print 'frame F hash H' after every K-th frame\n"
    "  --seeds A-B       one match for each seed from A to B, in place of --seed; each\n"
    "                    match's output follows a line 'seed S', in seed order\n"
    "  --jobs N          with --seeds, matches run at once, 1 to 1024 (default: the\n"
    "                    number of cores); the output is the same for every N\n";

int Fail(const std::string& what) {
  std::cerr << "kragmoor-sim: " << what << '\n';
  return 2;
}

template <typename T>
bool ParseWhole(std::string_view text, T low, T high, T& value) {
  const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
  return !text.empty() && result.ec == std::errc() && result.ptr == text.data() + text.size() &&
         value >= low && value <= high;
}

int Match(int argc, char** argv) {
  kragmoor::MatchOptions options;
  bool seedGiven = false;
  std::optional<kragmoor::SeedRange> seeds;
  int32_t jobs = kragmoor::DefaultJobs();
  for (int i = 2; i < argc; ++i) {
    const std::string_view option = argv[i];
    if (i + 1 >= argc) return Fail("option '" + std::string(option) + "' needs a value");
    const std::string_view value = argv[++i];
    const std::string bad = "bad value '" + std::string(value) + "' for " + std::string(option);
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
    } else if (option == "--ai") {
      if (value.size() != 3) return Fail(bad);
      for (int side = 0; side < 3; ++side) {
        if (value[side] != '0' && value[side] != '1') return Fail(bad);
        options.computerPlayer[side] = value[side] == '1';
      }
    } else {
      return Fail("unknown option '" + std::string(option) + "'");
    }
  }
  if (seedGiven && seeds) return Fail("--seed and --seeds cannot be given together");
  const auto start = std::chrono::steady_clock::now();
  if (seeds) {
    kragmoor::RunMatches(options, *seeds, jobs, std::cout);
  } else {
    kragmoor::RunMatch(options, std::cout);
  }
  std::cout.flush();
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

int Run(int argc, char** argv) {
  if (argc > 3) return Fail("'run' takes at most one file");
  if (argc == 3) {
    std::ifstream file(argv[2]);
    if (!file) return Fail("cannot open '" + std::string(argv[2]) + "'");
    return kragmoor::RunScript(file, std::cout, std::cerr);
  }
  return kragmoor::RunScript(std::cin, std::cout, std::cerr);
}

}  // namespace

int main(int argc, char** argv) {
  std::ios::sync_with_stdio(false);
  if (argc < 2) return Fail("missing command; try 'kragmoor-sim --help'");
  const std::string_view command = argv[1];
  if (command == "--help") {
    std::cout << kUsage;
    return 0;
  }
  if (command == "run") return Run(argc, argv);
  if (command == "match") return Match(argc, argv);
  return Fail("unknown command '" + std::string(command) + "'");
}
