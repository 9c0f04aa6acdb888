// Word extraction for order texts.
#include "world/str_man.h"

namespace kragmoor {

namespace {

constexpr auto npos = std::string_view::npos;

// Word n (n >= 1) of s: skips a run of delimiters, then takes the run of
// other characters that follows, until the n-th such run. Returns its
// 0-based start and sets length, or returns npos when s has fewer words.
template <typename IsDelimiter>
std::string_view::size_type FindWordIn(std::string_view s, uint8_t n,
                                       std::string_view::size_type& length,
                                       IsDelimiter isDelimiter) {
  const auto size = s.size();
  std::string_view::size_type i = 0;
  for (unsigned count = 1;; ++count) {
    while (i < size && isDelimiter(s[i])) ++i;
    if (i == size) return npos;
    const auto start = i;
    while (i < size && !isDelimiter(s[i])) ++i;
    if (count == n) {
      length = i - start;
      return start;
    }
  }
}

// Returns the 0-based start of word n and its length, or npos when absent.
// Every order is split on a single delimiter (" " or ","), which gets a
// plain comparison instead of a search of the set per character.
std::string_view::size_type FindWord(std::string_view s, std::string_view delims, uint8_t n,
                                     std::string_view::size_type& length) {
  if (delims.empty()) {
    if (n != 1 || s.empty()) return npos;
    length = s.size();
    return 0;
  }
  if (n == 0) return npos;
  if (delims.size() == 1) {
    const char d = delims.front();
    return FindWordIn(s, n, length, [d](char c) { return c == d; });
  }
  return FindWordIn(s, n, length, [delims](char c) { return delims.find(c) != npos; });
}

}  // namespace

bool ExtractWord(std::string_view s, std::string_view delims, uint8_t n, int32_t& position,
                 int32_t& length) {
  std::string_view::size_type len = 0;
  const auto start = FindWord(s, delims, n, len);
  if (start == std::string_view::npos) return false;
  position = static_cast<int32_t>(start + 1);
  length = static_cast<int32_t>(len);
  return true;
}

std::string_view WordView(std::string_view s, std::string_view delims, uint8_t n) {
  std::string_view::size_type len = 0;
  const auto start = FindWord(s, delims, n, len);
  if (start == std::string_view::npos) return {};
  return s.substr(start, len);
}

std::string WordAt(std::string_view s, std::string_view delims, uint8_t n) {
  return std::string(WordView(s, delims, n));
}

}  // namespace kragmoor
