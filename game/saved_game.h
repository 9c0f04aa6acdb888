// Saved games: the whole game as a scenario script of commands that set
// state, under a versioned header and over a checksum line, so that a save
// is also a test case that `kragmoor-sim run` replays.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "game/session.h"

namespace kragmoor {

// The first line of every saved game: the format and its version.
inline constexpr std::string_view kSaveHeader = "# kragmoor save 1";
// How the first line of a saved game of any version starts: a save only
// ever replaces a file that starts so.
inline constexpr std::string_view kSaveFormat = "# kragmoor save ";

// The commands that, run from the start-up state, rebuild `session`: every
// field of every slot, the purses, the seed, the view state, the check boxes,
// the radio items, the panel size and the tick count. Header first, one
// command a line, no checksum. Returns false (and `error`) when a value
// cannot be written so that it reads back to the same bits (a NaN with a
// payload of its own); the game never makes one.
bool SavedGameCommands(const Session& session, std::string& commands, std::string& error);

// The whole saved game: SavedGameCommands and their checksum line.
bool SavedGameText(const Session& session, std::string& text, std::string& error);

// Larger files are not saved games: a save of 300 slots with the longest
// texts stays far below it.
inline constexpr size_t kMaxSavedGameBytes = size_t{64} << 20;

// The checksum line that ends a saved game whose lines before it are
// `body`: "# checksum " and 16 hex digits of FNV-1a over those bytes.
std::string ChecksumLine(std::string_view body);

// `text` with a leading UTF-8 byte-order mark taken off and, when its first
// line ends with "\r\n", every "\r\n" made "\n": a save that an editor
// wrote back in another convention reads as the one it was.
std::string PlainLineEnds(std::string_view text);

// Whether `text` is a whole saved game: the header of a version this game
// reads, a last line that is the checksum of everything before it, and
// nothing after that line. Otherwise false, with the reason in `error`.
bool VerifySavedGame(std::string_view text, std::string& error);

// Replaces the game of `session` with the saved game `text`. A text that is
// not a whole saved game (cut short, changed, of another version) or holds a
// command that does not set state leaves `session` as it was and returns
// false with the reason in `error`. A recording going on writes the new
// state next (Recorder::State).
bool LoadSavedGameText(std::string_view text, Session& session, std::string& error);

// The same for the file `path`; `error` is "cannot load '<path>' : <reason>".
bool LoadSavedGame(const std::string& path, Session& session, std::string& error);

}  // namespace kragmoor
