// Words and values of script lines.
#include "game/words.h"

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <limits>

#include "game/quote.h"
#include "world/float_text.h"

namespace kragmoor {

// Splits a line at spaces; a double quote starts a text that runs to the next
// double quote, spaces included, and stays part of its word with its quotes.
Words Split(std::string_view line) {
  Words words;
  std::string word;
  bool inWord = false;
  bool quoted = false;
  for (char c : line) {
    if (quoted) {
      word += c;
      if (c == '"') quoted = false;
    } else if (c == ' ' || c == '\t' || c == '\r') {
      if (inWord) words.push_back(word);
      word.clear();
      inWord = false;
    } else {
      word += c;
      inWord = true;
      if (c == '"') quoted = true;
    }
  }
  if (quoted) throw ScriptError("a text has no closing double quote");
  if (inWord) words.push_back(word);
  return words;
}

// An integer in decimal within low to high. Out of range is told apart from
// not a number, so the message can give the range.
int64_t ParseInteger(std::string_view text, int64_t low, int64_t high) {
  int64_t value = 0;
  const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
  const bool whole = !text.empty() && result.ptr == text.data() + text.size();
  if (!whole || (result.ec != std::errc() && result.ec != std::errc::result_out_of_range)) {
    throw ScriptError(Quoted(text) + " is not a valid number");
  }
  if (result.ec == std::errc::result_out_of_range || value < low || value > high) {
    throw ScriptError(Quoted(text) + " is out of range " + std::to_string(low) + " to " +
                      std::to_string(high));
  }
  return value;
}

int32_t ParseInt(std::string_view text, int32_t low, int32_t high) {
  return static_cast<int32_t>(ParseInteger(text, low, high));
}

uint32_t ParseUnsigned(std::string_view text) {
  return static_cast<uint32_t>(ParseInteger(text, 0, UINT32_MAX));
}

float ParseFloat(std::string_view text) {
  float value = 0.0f;
  const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
  const bool whole = !text.empty() && result.ptr == text.data() + text.size();
  if (!whole || (result.ec != std::errc() && result.ec != std::errc::result_out_of_range)) {
    throw ScriptError(Quoted(text) + " is not a valid float");
  }
  if (result.ec == std::errc::result_out_of_range) {
    // Too large, or nearer 0 than the smallest float: strtod (the "C" locale
    // reads the same decimal forms) says which.
    const double wide = std::strtod(std::string(text).c_str(), nullptr);
    constexpr float kMax = std::numeric_limits<float>::max();
    if (std::fabs(wide) > 1.0) {
      throw ScriptError(Quoted(text) + " is out of range " + FormatFloat(-kMax) + " to " +
                        FormatFloat(kMax));
    }
    throw ScriptError(Quoted(text) + " is out of range: the 32-bit float nearest 0 is " +
                      FormatFloat(std::numeric_limits<float>::denorm_min()));
  }
  return value;
}

std::string ParseText(std::string_view text) {
  if (text.size() < 2 || text.front() != '"' || text.back() != '"') {
    throw ScriptError(Quoted(text) + " is not a text in double quotes");
  }
  const std::string_view inside = text.substr(1, text.size() - 2);
  if (inside.find('"') != std::string_view::npos) {
    throw ScriptError(Quoted(text) + " is not one text: a text cannot hold a double quote");
  }
  if (inside.size() > kMaxTextBytes) {
    throw ScriptError("a text of " + std::to_string(inside.size()) +
                      " bytes is longer than the limit of " + std::to_string(kMaxTextBytes) +
                      " bytes");
  }
  return std::string(inside);
}

int ParseSlot(std::string_view text) { return ParseInt(text, 0, kSlotCount - 1); }

FieldMask ReadField(Tigrok& t, std::string_view word) {
  const auto eq = word.find('=');
  if (eq == std::string_view::npos) throw ScriptError(Quoted(word) + " is not FIELD=VALUE");
  const std::string_view name = word.substr(0, eq);
  const std::string_view value = word.substr(eq + 1);
  for (size_t i = 0; i < kTigrokFields.size(); ++i) {
    const TigrokField& f = kTigrokFields[i];
    if (f.name != name) continue;
    switch (f.type) {
      case FieldType::kFloat:
        t.*f.real = ParseFloat(value);
        break;
      case FieldType::kText:
        t.*f.text = ParseText(value);
        break;
      case FieldType::kInt:
        t.*f.integer = ParseInt(value);
        break;
    }
    return FieldMask{1} << i;
  }
  throw ScriptError("unknown field " + Quoted(name));
}

std::string ParsePath(const std::string& word) {
  return word.front() == '"' ? ParseText(word) : word;
}

}  // namespace kragmoor
