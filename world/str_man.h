// Word extraction from order texts: the N-th word of a text split on a set of
// delimiter characters, runs of delimiters counting as one.
#pragma once

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

}  // namespace kragmoor
