// Number conversion and order writers.
#include "world/orders.h"

#include <cassert>
#include <charconv>

namespace kragmoor {

namespace {

std::string ConversionMessage(std::string_view text) {
  return "'" + std::string(text) + "' is not a valid integer value";
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

bool ParseHex(std::string_view digits, int32_t& value) {
  if (digits.empty()) return false;
  uint64_t v = 0;
  for (char c : digits) {
    const int d = HexDigit(c);
    if (d < 0) return false;
    v = v * 16 + static_cast<uint64_t>(d);
    if (v > 0xFFFFFFFFu) return false;
  }
  value = static_cast<int32_t>(static_cast<uint32_t>(v));
  return true;
}

bool ParseDecimal(std::string_view digits, bool negative, int32_t& value) {
  if (digits.empty()) return false;
  int64_t v = 0;
  for (char c : digits) {
    if (c < '0' || c > '9') return false;
    v = v * 10 + (c - '0');
    if (v > 2147483648LL) return false;
  }
  if (negative) v = -v;
  if (v > 2147483647LL) return false;
  value = static_cast<int32_t>(v);
  return true;
}

// The form every writer of orders produces: an optional "-" and 1 to 9
// digits, which always fits in 32 bits. Returns false for anything else,
// which the general rules then read.
bool ParseShortDecimal(std::string_view text, int32_t& value) {
  const bool negative = !text.empty() && text.front() == '-';
  const std::string_view digits = text.substr(negative ? 1 : 0);
  if (digits.empty() || digits.size() > 9) return false;
  int32_t v = 0;
  for (char c : digits) {
    if (c < '0' || c > '9') return false;
    v = v * 10 + (c - '0');
  }
  value = negative ? -v : v;
  return true;
}

}  // namespace

ConversionError::ConversionError(std::string_view text)
    : std::runtime_error(ConversionMessage(text)), message_(ConversionMessage(text)) {}

bool TryStrToInt(std::string_view text, int32_t& value) {
  if (ParseShortDecimal(text, value)) return true;
  std::string_view rest = text;
  while (!rest.empty() && rest.front() == ' ') rest.remove_prefix(1);
  if (!rest.empty() && (rest.front() == '$' || rest.front() == 'x' || rest.front() == 'X')) {
    return ParseHex(rest.substr(1), value);
  }
  if (rest.size() >= 2 && rest[0] == '0' && (rest[1] == 'x' || rest[1] == 'X')) {
    return ParseHex(rest.substr(2), value);
  }
  bool negative = false;
  if (!rest.empty() && (rest.front() == '-' || rest.front() == '+')) {
    negative = rest.front() == '-';
    rest.remove_prefix(1);
  }
  return ParseDecimal(rest, negative, value);
}

int32_t StrToInt(std::string_view text) {
  int32_t value = 0;
  if (!TryStrToInt(text, value)) throw ConversionError(text);
  return value;
}

std::string IntToStr(int32_t v) {
  char buffer[12];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, v);
  return std::string(buffer, result.ptr);
}

void WriteOrder(std::string& order, std::string_view verb, std::initializer_list<int32_t> numbers) {
  assert(numbers.size() <= 3 && verb.size() <= 16);
  char buffer[64];
  char* const end = buffer + sizeof buffer;
  char* p = buffer + verb.copy(buffer, 16);
  char separator = ' ';
  for (int32_t n : numbers) {
    *p++ = separator;
    p = std::to_chars(p, end, n).ptr;
    separator = ',';
  }
  // The same order is often written again (two enemies in range are told to
  // attack each other in every frame); an equal text is left as it is.
  const std::string_view text(buffer, static_cast<std::size_t>(p - buffer));
  if (order != text) order.assign(text);
}

}  // namespace kragmoor
