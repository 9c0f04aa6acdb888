// Word extraction for order texts.
#include "world/str_man.h"

namespace kragmoor {

namespace {

// Returns the 0-based start of word n and its length, or npos when absent.
std::string_view::size_type FindWord(std::string_view s, std::string_view delims, uint8_t n,
                                     std::string_view::size_type& length) {
  constexpr auto npos = std::string_view::npos;
  if (delims.empty()) {
    if (n != 1 || s.empty()) return npos;
    length = s.size();
    return 0;
  }
  if (n == 0) return npos;
  unsigned count = 0;
  bool gap = true;
  for (std::string_view::size_type i = 0; i < s.size(); ++i) {
    const bool delimiter = delims.find(s[i]) != npos;
    if (gap) {
      if (delimiter) continue;
      if (++count == n) {
        const auto end = s.find_first_of(delims, i + 1);
        length = (end == npos ? s.size() : end) - i;
        return i;
      }
      gap = false;
    } else if (delimiter) {
      gap = true;
    }
  }
  return npos;
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
