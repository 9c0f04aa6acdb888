// Whole files: read with a bound on their size, and written whole or not at
// all. A write goes to a temporary file in the target's folder, is flushed
// to the disk and then renamed over the target, so a crash or a full disk
// leaves the old file or the new one, never a mix. Also the rule for the
// files a script may touch (--files DIR).
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace kragmoor {

// Characters of a path that a message shows before it cuts the rest.
inline constexpr size_t kShownPathChars = 200;

// `path` quoted for a message (Quoted, cut after kShownPathChars).
std::string QuotedPath(std::string_view path);

// Reads the whole of `path` into `text`. Only a regular file is read: it is
// opened without blocking, so a FIFO or a device never stalls the caller.
// On failure (it cannot be opened or read, is not a regular file, or holds
// more than `maxBytes` bytes) returns false with the reason alone in `error`
// ("No such file or directory", "it is not a regular file", "it is larger
// than ...").
bool ReadSmallFile(const std::string& path, size_t maxBytes, std::string& text, std::string& error);

// Whether the file at `path` starts with `start` (after a UTF-8 byte-order
// mark, if any). False for anything that is not a regular file; the file is
// opened without blocking and without following a final symbolic link.
bool FileStartsWith(const std::string& path, std::string_view start);

// Writes `content` to `path` atomically. A file already at `path` is
// replaced only when it is a regular file, not write-protected, whose first
// line starts with `replaces` (for saves, the saved-game header without its
// version); a symbolic link, a device, a FIFO or a folder is never replaced.
// The new file keeps the old one's owner and permissions (without set-id
// bits), or gets what the umask allows for 0666. On failure returns false
// with `error` set to "cannot write '<path>' : <reason>", leaves whatever was
// at `path` as it was and removes the temporary file.
bool WriteFileAtomically(const std::string& path, std::string_view content,
                         std::string_view replaces, std::string& error);

// Opens `path` for writing from its start, as a recording is written: a new
// file (permissions as the umask allows for 0666), an empty file, or a
// regular, writable file whose first line starts with `replaces`, emptied
// only once that is known. Anything else is refused as WriteFileAtomically
// refuses it. Returns the descriptor, or -1 with "cannot write '<path>' :
// <reason>" in `error`.
int OpenToReplace(const std::string& path, std::string_view replaces, std::string& error);

// The rule for the files a script's `save` and `load` may touch. `folder` is
// the folder named with --files (empty: none, and every path is refused).
// A relative `path` is taken from `folder`; once `..` and symbolic links are
// resolved it must lie inside `folder`, and its last part must not itself be
// a symbolic link. Returns the resolved path in `resolved`, or false with
// the reason in `error`.
bool ScriptFilePath(const std::string& folder, const std::string& path, std::string& resolved,
                    std::string& error);

}  // namespace kragmoor
