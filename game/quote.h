// Input echoed in the runner's messages on standard error: quoted, escaped
// and shortened, so that a message stays one short line that is safe to show
// on a terminal whatever bytes the input held.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace kragmoor {

// Characters of the input a message shows before it cuts the rest to "…".
inline constexpr size_t kQuotedChars = 40;

// `input` in single quotes: printable UTF-8 as it is; control bytes (C0, DEL),
// C1 controls, invisible and direction-changing format characters, bytes of
// invalid UTF-8 and the backslash as escapes ("\x1b", "\\"); past
// kQuotedChars characters, "…" in place of the rest.
std::string Quoted(std::string_view input);

// The same, cut after `maxChars` characters: for messages whose whole point
// is the text, such as check's expected and printed lines.
std::string Quoted(std::string_view input, size_t maxChars);

}  // namespace kragmoor
