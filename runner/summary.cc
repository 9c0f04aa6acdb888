// The summary command: a replay played to its end, its counts printed.
#include "runner/summary.h"

#include <iostream>
#include <string>
#include <vector>

#include "game/replay/replay.h"
#include "game/replay/summary.h"
#include "runner/command_line.h"

namespace kragmoor {

int SummaryCommand(int argc, char** argv, std::ostream& out) {
  int64_t every = kSummaryEvery;
  std::vector<std::string_view> words;
  const std::vector<Option> known = {
      {"--every", [&](std::string_view v) { return ParseWhole<int64_t>(v, 1, INT32_MAX, every); }},
  };
  if (const auto done = ReadOptions(argc, argv, known, &words, out)) return *done;
  if (words.size() != 1) return Usage("'summary' takes one recording");
  Recording recording;
  std::string error;
  if (!ReadRecordingFile(std::string(words[0]), recording, error)) return Usage(error);
  Replay replay(std::move(recording));
  const Summary summary = Summarize(replay, every);
  out << SummaryCsv(summary);
  out.flush();
  if (replay.problem()) {
    std::cerr << "kragmoor-sim: " << replay.problem()->words << '\n';
    return 1;
  }
  if (!replay.recording().closed) {
    std::cerr << "kragmoor-sim: " << replay.CutWords() << '\n';
    return 3;
  }
  return 0;
}

}  // namespace kragmoor
