// Word extraction from order texts: the N-th word of a text split on a set of
// delimiter characters, runs of delimiters counting as one.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace kragmoor {

// Finds word n (numbered from 1) of s, a word being a maximal run of
// characters that are not in delims. When found, sets position (1-based index
// of the word's first character) and length (at least 1) and returns true;
// otherwise returns false and leaves both untouched. An empty delims makes the
// whole of a non-empty s word 1; n == 0 never finds anything.
bool ExtractWord(std::string_view s, std::string_view delims, uint8_t n, int32_t& position,
                 int32_t& length);

// Word n of s as a view into s, or an empty view when there is none.
std::string_view WordView(std::string_view s, std::string_view delims, uint8_t n);

// Word n of s as a new text, or the empty text when there is none.
std::string WordAt(std::string_view s, std::string_view delims, uint8_t n);

// Words 1 to N of s split on the one delimiter d, found in a single scan:
// element k is WordView(s, {d}, k + 1), an empty view for a missing word.
// The frame splits every order this way (verb and argument on " ", the
// numbers of an argument on ","), so it is kept inline.
template <std::size_t N>
std::array<std::string_view, N> LeadingWords(std::string_view s, char d) {
  std::array<std::string_view, N> words{};
  std::size_t i = 0;
  for (std::string_view& word : words) {
    while (i < s.size() && s[i] == d) ++i;
    const std::size_t start = i;
    while (i < s.size() && s[i] != d) ++i;
    word = s.substr(start, i - start);
  }
  return words;
}

}  // namespace kragmoor
