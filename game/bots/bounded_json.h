// The one JSON reader of text from outside (a bot's line, a peer's message):
// size and nesting are checked by a scan of the bytes before the parser sees
// them, so no input can exhaust the parser's stack or the program's memory.
#pragma once

#include <cstddef>
#include <nlohmann/json_fwd.hpp>
#include <string>
#include <string_view>

namespace kragmoor {

// Keys kept in the order they came.
using Json = nlohmann::ordered_json;

// Whether `text` holds at most `maxBytes` bytes and nests at most `maxDepth`
// arrays and objects inside one another (brackets and braces counted outside
// strings, the way the parser will meet them). Otherwise false, with `error`
// saying what is wrong and where, worded to follow the text's name:
// "is longer than 1048576 bytes", "nests arrays and objects deeper than 32
// levels (byte 33)". Never recurses: its stack use is the same for any text.
bool CheckJsonBounds(std::string_view text, size_t maxBytes, int maxDepth, std::string& error);

// Parses `text` into `value` once CheckJsonBounds allows it; false with
// `error` as there, or "is not JSON" for text the parser refuses (then
// `value` is null).
bool ParseBoundedJson(std::string_view text, size_t maxBytes, int maxDepth, Json& value,
                      std::string& error);

}  // namespace kragmoor
