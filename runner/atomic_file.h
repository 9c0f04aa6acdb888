// Files written whole or not at all: saved games and golden outputs go to a
// temporary file in the target's folder, are flushed to the disk and then
// renamed over the target, so a crash or a full disk leaves the old file or
// the new one, never a mix.
#pragma once

#include <string>
#include <string_view>

namespace kragmoor {

// Writes `content` to `path` atomically. On failure returns false with
// `error` set to "cannot write '<path>' : <reason>", leaves whatever was at
// `path` as it was and removes the temporary file. A new file gets the
// permissions the umask allows for 0666; one written over keeps its own.
bool WriteFileAtomically(const std::string& path, std::string_view content, std::string& error);

}  // namespace kragmoor
