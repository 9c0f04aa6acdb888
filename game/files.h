// Whole files: read with a bound on their size, and written whole or not at
// all. A write goes to a temporary file in the target's folder, is flushed
// to the disk and then renamed over the target, so a crash or a full disk
// leaves the old file or the new one, never a mix.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace kragmoor {

// Reads the whole of `path` into `text`. On failure (it cannot be opened or
// read, or holds more than `maxBytes` bytes) returns false with the reason
// alone in `error` ("No such file or directory", "it is larger than ...").
bool ReadSmallFile(const std::string& path, size_t maxBytes, std::string& text, std::string& error);

// Writes `content` to `path` atomically. On failure returns false with
// `error` set to "cannot write '<path>' : <reason>", leaves whatever was at
// `path` as it was and removes the temporary file. A new file gets the
// permissions the umask allows for 0666; one written over keeps its own.
bool WriteFileAtomically(const std::string& path, std::string_view content, std::string& error);

}  // namespace kragmoor
