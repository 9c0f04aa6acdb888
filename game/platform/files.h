// Whole files: read with a bound on their size, and written whole or not at
// all. A write goes to a temporary file in the target's folder, is flushed
// to the disk and then renamed over the target, so a crash or a full disk
// leaves the old file or the new one, never a mix. Also the rule for the
// files a script may touch (--files DIR; game/script_files.cc).
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

// Reads the whole of the file `name` in the folder open as `folder` (or
// AT_FDCWD), as ReadSmallFile does, without following a final symbolic link.
bool ReadSmallFileAt(int folder, const std::string& name, size_t maxBytes, std::string& text,
                     std::string& error);

// WriteFileAtomically for the file `name` in the folder open as `folder`:
// the checks, the temporary file and the rename are all made relative to
// that descriptor, so nothing renamed or linked meanwhile redirects them.
// `shown` is how `error` names the file.
bool WriteFileAtomicallyAt(int folder, const std::string& name, const std::string& shown,
                           std::string_view content, std::string_view replaces, std::string& error);

// A file a script may touch: the folder that holds it, opened beneath the
// --files folder without following any symbolic link, and its name there.
// Reads and writes then go through `folder`, so that a folder swapped for a
// link after the check cannot lead them out.
struct ScriptFile {
  ScriptFile() = default;
  ScriptFile(const ScriptFile&) = delete;
  ScriptFile& operator=(const ScriptFile&) = delete;
  ~ScriptFile();
  int folder = -1;   // an O_PATH descriptor of the file's folder
  std::string name;  // the file's name in `folder`
  std::string path;  // the whole resolved path, for messages
};

// The rule for the files a script's `save` and `load` may touch. `folder` is
// the folder named with --files (empty: none, and every path is refused).
// A relative `path` is taken from `folder`, an absolute one must start with
// it; once `..` is resolved it must lie inside `folder`, and no part of it
// may be a symbolic link (none is followed: openat2 with RESOLVE_BENEATH and
// RESOLVE_NO_SYMLINKS, or one openat with O_NOFOLLOW per part where the
// kernel lacks it). Opens the file's folder into `file`, or returns false
// with the reason in `error`.
bool OpenScriptFile(const std::string& folder, const std::string& path, ScriptFile& file,
                    std::string& error);

// OpenScriptFile's rule alone: returns the resolved path in `resolved`.
bool ScriptFilePath(const std::string& folder, const std::string& path, std::string& resolved,
                    std::string& error);

}  // namespace kragmoor
