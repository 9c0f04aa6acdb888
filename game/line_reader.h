// Reading a script one line at a time, with a bound on a line's length, so
// that no input (a file of zeros, an endless pipe) is ever held whole.
#pragma once

#include <cstddef>
#include <streambuf>
#include <string>

namespace kragmoor {

// The longest script line, in bytes without its '\n': far above any line a
// script or a saved game holds.
inline constexpr size_t kMaxLineBytes = size_t{1} << 20;

enum class LineRead {
  kLine,     // `line` holds the next line
  kUnended,  // `line` holds the input's last line, which has no '\n' after it
  kEnd,      // the input ended before anything more
  kTooLong,  // the next line holds more than kMaxLineBytes bytes
};

// Reads the next line of `in` into `line`, without its '\n' (the last line
// needs none: kUnended). Reads at most kMaxLineBytes + 1 bytes of a line: after
// kTooLong the rest of that line is left unread. A read error
// of `in` (std::system_error from FdInBuffer or a file buffer) is thrown as
// it comes, never taken for the end.
LineRead ReadLine(std::streambuf& in, std::string& line);

// Reads past the rest of the current line (after kTooLong), its '\n'
// included; false when the input ends first.
bool SkipLine(std::streambuf& in);

}  // namespace kragmoor
