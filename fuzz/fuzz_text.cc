// Fuzzes the text routines of order strings against plain reference versions
// written here from their rules: ExtractWord, WordView and WordAt for any
// text, delimiter set and word number, and StrToInt / TryStrToInt for any
// text (the same value, or the same error with the same message).
//
// Input: byte 0 is the word number, byte 1 the length of the delimiter set
// (modulo 8), then the delimiter set, then the text.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "world/orders.h"
#include "world/str_man.h"

namespace {

using kragmoor::ConversionError;

void Fail(const char* what) {
  std::fprintf(stderr, "fuzz_text: %s\n", what);
  std::abort();
}

void Check(bool ok, const char* what) {
  if (!ok) Fail(what);
}

bool IsDelimiter(char c, std::string_view delims) {
  for (char d : delims) {
    if (c == d) return true;
  }
  return false;
}

// The word-extraction rules as written: an empty delimiter set makes the
// whole non-empty text word 1; otherwise words are maximal runs of
// non-delimiters numbered from 1. Positions are 1-based.
bool ReferenceExtractWord(std::string_view s, std::string_view d, unsigned n, size_t& position,
                          size_t& length) {
  if (d.empty()) {
    if (n != 1 || s.empty()) return false;
    position = 1;
    length = s.size();
    return true;
  }
  if (n == 0) return false;
  unsigned counter = 0;
  bool gap = true;
  for (size_t i = 1; i <= s.size(); ++i) {
    const bool delimiter = IsDelimiter(s[i - 1], d);
    if (gap) {
      if (delimiter) continue;
      ++counter;
      if (counter == n) {
        size_t e = i + 1;
        while (e <= s.size() && !IsDelimiter(s[e - 1], d)) ++e;
        position = i;
        length = e - i;
        return true;
      }
      gap = false;
    } else if (delimiter) {
      gap = true;
    }
  }
  return false;
}

// The number rules as written. Returns false for the conversion error.
// Decimal: leading spaces, an optional sign, one or more digits to the end,
// within 32 bits. Hexadecimal: after the spaces and without a sign, "$", "x",
// "X", "0x" or "0X", then one or more hex digits to the end, at most
// FFFFFFFF, taken as a two's-complement pattern.
bool ReferenceStrToInt(std::string_view t, int32_t& value) {
  size_t i = 0;
  while (i < t.size() && t[i] == ' ') ++i;
  const std::string_view rest = t.substr(i);
  size_t hexStart = 0;
  if (!rest.empty() && (rest[0] == '$' || rest[0] == 'x' || rest[0] == 'X')) hexStart = 1;
  if (rest.size() >= 2 && rest[0] == '0' && (rest[1] == 'x' || rest[1] == 'X')) hexStart = 2;
  if (hexStart != 0) {
    const std::string_view digits = rest.substr(hexStart);
    if (digits.empty()) return false;
    unsigned long long v = 0;
    for (char c : digits) {
      int digit;
      if (c >= '0' && c <= '9') {
        digit = c - '0';
      } else if (c >= 'a' && c <= 'f') {
        digit = c - 'a' + 10;
      } else if (c >= 'A' && c <= 'F') {
        digit = c - 'A' + 10;
      } else {
        return false;
      }
      v = v * 16 + static_cast<unsigned>(digit);
      if (v > 0xFFFFFFFFull) return false;
    }
    value = static_cast<int32_t>(static_cast<uint32_t>(v));
    return true;
  }
  size_t j = 0;
  bool negative = false;
  if (j < rest.size() && (rest[j] == '-' || rest[j] == '+')) {
    negative = rest[j] == '-';
    ++j;
  }
  if (j == rest.size()) return false;
  long long v = 0;
  for (; j < rest.size(); ++j) {
    if (rest[j] < '0' || rest[j] > '9') return false;
    v = v * 10 + (rest[j] - '0');
    if (v > 2147483648LL) return false;
  }
  if (negative) v = -v;
  if (v > 2147483647LL) return false;
  value = static_cast<int32_t>(v);
  return true;
}

void CheckWords(std::string_view s, std::string_view d, uint8_t n) {
  size_t refPosition = 0;
  size_t refLength = 0;
  const bool refFound = ReferenceExtractWord(s, d, n, refPosition, refLength);

  int32_t position = -12345;
  int32_t length = -54321;
  const bool found = kragmoor::ExtractWord(s, d, n, position, length);
  Check(found == refFound, "ExtractWord: found differs from the reference");
  if (found) {
    Check(static_cast<size_t>(position) == refPosition, "ExtractWord: position differs");
    Check(static_cast<size_t>(length) == refLength, "ExtractWord: length differs");
    Check(length >= 1 && position >= 1 &&
              static_cast<size_t>(position) - 1 + static_cast<size_t>(length) <= s.size(),
          "ExtractWord: the word does not lie within the text");
  } else {
    Check(position == -12345 && length == -54321, "ExtractWord: P or L changed when not found");
  }

  const std::string expected = refFound ? std::string(s.substr(refPosition - 1, refLength)) : "";
  Check(kragmoor::WordAt(s, d, n) == expected, "WordAt differs from the reference");
  const std::string_view view = kragmoor::WordView(s, d, n);
  Check(view == expected, "WordView differs from the reference");
  if (!view.empty()) {
    Check(view.data() >= s.data() && view.data() + view.size() <= s.data() + s.size(),
          "WordView does not point into the text");
  }
}

void CheckNumber(std::string_view t) {
  int32_t refValue = 0;
  const bool refOk = ReferenceStrToInt(t, refValue);

  int32_t tryValue = 77;
  const bool tryOk = kragmoor::TryStrToInt(t, tryValue);
  Check(tryOk == refOk, "TryStrToInt: success differs from the reference");
  if (tryOk) Check(tryValue == refValue, "TryStrToInt: value differs from the reference");

  try {
    const int32_t value = kragmoor::StrToInt(t);
    Check(refOk, "StrToInt accepted a text the reference rejects");
    Check(value == refValue, "StrToInt: value differs from the reference");
  } catch (const ConversionError& error) {
    Check(!refOk, "StrToInt rejected a text the reference accepts");
    // what() is a C string: a text holding a NUL byte shows up to that byte.
    std::string expected = "'" + std::string(t) + "' is not a valid integer value";
    expected.resize(std::min(expected.size(), expected.find('\0')));
    Check(expected == error.what(), "StrToInt: wrong error message");
  }

  // Decimal formatting reads back to the same value.
  if (refOk) Check(kragmoor::StrToInt(kragmoor::IntToStr(refValue)) == refValue, "IntToStr");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 2) return 0;
  const uint8_t n = data[0];
  const size_t delimCount = data[1] % 8;
  const std::string_view rest(reinterpret_cast<const char*>(data + 2), size - 2);
  const std::string_view delims = rest.substr(0, delimCount);
  const std::string_view text = rest.substr(delims.size());

  CheckWords(text, delims, n);
  // The delimiter sets the game uses, on the same text.
  CheckWords(text, " ", n);
  CheckWords(text, ",", n);
  CheckNumber(text);
  // Every word of the text as the order pass would convert it.
  for (unsigned w = 1; w <= 4; ++w) CheckNumber(kragmoor::WordView(text, ",", w));
  return 0;
}
