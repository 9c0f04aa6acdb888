// The bounded JSON reader: a flat scan for size and depth, then nlohmann-json.
#include "game/bots/bounded_json.h"

#include <nlohmann/json.hpp>

namespace kragmoor {

bool CheckJsonBounds(std::string_view text, size_t maxBytes, int maxDepth, std::string& error) {
  if (text.size() > maxBytes) {
    error = "is longer than " + std::to_string(maxBytes) + " bytes";
    return false;
  }
  int depth = 0;
  bool inString = false;
  bool escaped = false;  // the byte before was a backslash inside a string
  for (size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (inString) {
      if (escaped) {
        escaped = false;
      } else if (c == '\\') {
        escaped = true;
      } else if (c == '"') {
        inString = false;
      }
      continue;
    }
    if (c == '"') {
      inString = true;
    } else if (c == '[' || c == '{') {
      if (++depth > maxDepth) {
        error = "nests arrays and objects deeper than " + std::to_string(maxDepth) +
                " levels (byte " + std::to_string(i + 1) + ")";
        return false;
      }
    } else if ((c == ']' || c == '}') && depth > 0) {
      --depth;  // an unbalanced closer is left for the parser to refuse
    }
  }
  return true;
}

bool ParseBoundedJson(std::string_view text, size_t maxBytes, int maxDepth, Json& value,
                      std::string& error) {
  value = nullptr;
  if (!CheckJsonBounds(text, maxBytes, maxDepth, error)) return false;
  Json parsed = Json::parse(text, nullptr, false);
  if (parsed.is_discarded()) {
    error = "is not JSON";
    return false;
  }
  value = std::move(parsed);
  return true;
}

}  // namespace kragmoor
