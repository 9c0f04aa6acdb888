// The words of a script line and the values in them: numbers in their
// ranges, floats, texts in double quotes, slots and fields. Whatever is
// wrong with one throws ScriptError with a message that quotes the input
// safely (Quoted).
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "world/tigrok.h"
#include "world/tigrok_fields.h"

namespace kragmoor {

// The longest text value (`order`, `nextOrder`), in bytes between its quotes.
inline constexpr size_t kMaxTextBytes = size_t{1} << 16;

// A script error: its message, without the line number.
class ScriptError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

using Words = std::vector<std::string>;

// Splits a line at spaces; a double quote starts a text that runs to the
// next double quote, spaces included, and stays part of its word with its
// quotes.
Words Split(std::string_view line);

// An integer in decimal within low to high; out of range is told apart from
// not a number, so the message can give the range.
int64_t ParseInteger(std::string_view text, int64_t low, int64_t high);
int32_t ParseInt(std::string_view text, int32_t low = INT32_MIN, int32_t high = INT32_MAX);
uint32_t ParseUnsigned(std::string_view text);

// A 32-bit float in decimal (or nan, inf, -inf); beyond the float range, or
// nearer 0 than its smallest value, an error that says which.
float ParseFloat(std::string_view text);

// A text in double quotes, holding no double quote and at most
// kMaxTextBytes bytes; the text without its quotes.
std::string ParseText(std::string_view text);

// A slot index, 0 to 299.
int ParseSlot(std::string_view text);

// Reads one FIELD=VALUE word of the `set` command into `t`; returns the
// field's bit (FieldMask).
FieldMask ReadField(Tigrok& t, std::string_view word);

// A path: one word, or a text in double quotes when it holds spaces.
std::string ParsePath(const std::string& word);

}  // namespace kragmoor
