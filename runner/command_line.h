// The pieces every kragmoor-sim command's option parsing shares: the usage
// text, one reader of `--NAME VALUE` options and `--help`, a whole number
// within its range, the one-line message of bad usage and the exit statuses.
#pragma once

#include <charconv>
#include <functional>
#include <iostream>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

namespace kragmoor {

inline constexpr int kBadUsageStatus = 2;
inline constexpr int kBotFailedStatus = 6;  // arena, tournament: a bot (or a match) failed

// Whether all of `text` is one decimal number from `low` to `high`; it is
// then in `value`.
template <typename T>
bool ParseWhole(std::string_view text, T low, T high, T& value) {
  const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
  return !text.empty() && result.ec == std::errc() && result.ptr == text.data() + text.size() &&
         value >= low && value <= high;
}

// Bad usage: "kragmoor-sim: <what>" on standard error, exit status 2.
inline int Usage(const std::string& what) {
  std::cerr << "kragmoor-sim: " << what << '\n';
  return kBadUsageStatus;
}

// The usage text of every command, as `--help` prints it.
void PrintUsage(std::ostream& out);

// One option `--NAME VALUE` of a command: `read` takes the value, false when
// it is bad.
struct Option {
  std::string_view name;  // with its leading "--"
  std::function<bool(std::string_view value)> read;
  bool flag = false;  // takes no value: `read` is given an empty one
};

// Reads argv[2] on (argv[1] is the command). A word naming one of `options`
// takes the next word as its value (a flag takes none); `--help` prints the usage to `out`; any
// other word starting with "--" is an unknown option; every other word goes
// to `words`, or is an unknown option when `words` is null. Returns the exit
// status when the command ends here (0 after --help; kBadUsageStatus, its
// line printed, for bad usage), nothing when it goes on.
std::optional<int> ReadOptions(int argc, char** argv, const std::vector<Option>& options,
                               std::vector<std::string_view>* words, std::ostream& out);

}  // namespace kragmoor
