// Quoting input for messages.
#include "game/quote.h"

#include <cstdint>

namespace kragmoor {

namespace {

// The length of the well-formed UTF-8 sequence at the start of `s` and its
// code point, or 0 when it is not one (a stray or missing continuation byte,
// an overlong form, a surrogate, a code point past U+10FFFF).
size_t DecodeUtf8(std::string_view s, char32_t& code) {
  const auto byte = [&s](size_t i) { return static_cast<uint8_t>(s[i]); };
  const uint8_t lead = byte(0);
  size_t length = 0;
  char32_t min = 0;
  if (lead < 0x80) {
    code = lead;
    return 1;
  }
  if (lead >= 0xc2 && lead <= 0xdf) {
    length = 2;
    code = lead & 0x1fu;
    min = 0x80;
  } else if (lead >= 0xe0 && lead <= 0xef) {
    length = 3;
    code = lead & 0x0fu;
    min = 0x800;
  } else if (lead >= 0xf0 && lead <= 0xf4) {
    length = 4;
    code = lead & 0x07u;
    min = 0x10000;
  } else {
    return 0;
  }
  if (s.size() < length) return 0;
  for (size_t i = 1; i < length; ++i) {
    if ((byte(i) & 0xc0u) != 0x80u) return 0;
    code = (code << 6) | (byte(i) & 0x3fu);
  }
  if (code < min || code > 0x10ffff || (code >= 0xd800 && code <= 0xdfff)) return 0;
  return length;
}

// Characters a terminal acts on or shows as nothing: C0 and C1 controls,
// DEL, zero-width and direction-changing format characters, line and
// paragraph separators, the byte-order mark.
bool Hidden(char32_t code) {
  return code < 0x20 || (code >= 0x7f && code <= 0x9f) || (code >= 0x200b && code <= 0x200f) ||
         (code >= 0x2028 && code <= 0x202e) || (code >= 0x2060 && code <= 0x206f) || code == 0xfeff;
}

void AppendEscaped(std::string& out, std::string_view bytes) {
  static constexpr char kHex[] = "0123456789abcdef";
  for (const char c : bytes) {
    const auto b = static_cast<uint8_t>(c);
    out += "\\x";
    out += kHex[b >> 4];
    out += kHex[b & 0x0fu];
  }
}

}  // namespace

std::string Quoted(std::string_view input) { return Quoted(input, kQuotedChars); }

std::string Quoted(std::string_view input, size_t maxChars) {
  std::string out = "'";
  size_t shown = 0;
  while (!input.empty()) {
    if (shown == maxChars) {
      out += "…";
      break;
    }
    char32_t code = 0;
    const size_t length = DecodeUtf8(input, code);
    if (length == 0) {
      AppendEscaped(out, input.substr(0, 1));
      input.remove_prefix(1);
    } else {
      if (code == '\\') {
        out += "\\\\";
      } else if (Hidden(code)) {
        AppendEscaped(out, input.substr(0, length));
      } else {
        out += input.substr(0, length);
      }
      input.remove_prefix(length);
    }
    ++shown;
  }
  out += '\'';
  return out;
}

}  // namespace kragmoor
