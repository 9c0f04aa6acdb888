// Writing saved games and checking their header and checksum.
#include "game/saved_game.h"

#include <bit>
#include <charconv>
#include <cstdio>

#include "game/input.h"
#include "game/print.h"
#include "game/quote.h"
#include "world/float_text.h"
#include "world/fnv1a.h"

namespace kragmoor {

namespace {

constexpr std::string_view kChecksumPrefix = "# checksum ";

// Whether v is written as a decimal that reads back to the very same bits.
bool WritesExactly(float v) {
  const std::string text = FormatFloat(v);
  float back = 0.0f;
  std::from_chars(text.data(), text.data() + text.size(), back);
  return std::bit_cast<uint32_t>(back) == std::bit_cast<uint32_t>(v);
}

// Whether `set` reads every field of `t` back as it is: floats to the same
// bits, texts with no double quote and no line end.
bool WritesExactly(const Tigrok& t) {
  for (const TigrokField& f : kTigrokFields) {
    if (f.type == FieldType::kFloat && !WritesExactly(t.*f.real)) return false;
    if (f.type == FieldType::kText && (t.*f.text).find_first_of("\"\n") != std::string::npos) {
      return false;
    }
  }
  return true;
}

// Whether `t` is as `reset` leaves it (compared bit for bit).
bool IsFresh(const Tigrok& t) {
  const Tigrok fresh;
  for (const TigrokField& f : kTigrokFields) {
    switch (f.type) {
      case FieldType::kFloat:
        if (std::bit_cast<uint32_t>(t.*f.real) != std::bit_cast<uint32_t>(fresh.*f.real)) {
          return false;
        }
        break;
      case FieldType::kText:
        if (t.*f.text != fresh.*f.text) return false;
        break;
      case FieldType::kInt:
        if (t.*f.integer != fresh.*f.integer) return false;
        break;
    }
  }
  return true;
}

void Append(std::string& out, const Input& input) {
  out += FormatInput(input);
  out += '\n';
}

bool SameColours(const World& a, const World& b) {
  for (int side = 0; side < kSideCount; ++side) {
    const Player& p = a.players[side];
    const Player& q = b.players[side];
    if (std::bit_cast<uint32_t>(p.red) != std::bit_cast<uint32_t>(q.red) ||
        std::bit_cast<uint32_t>(p.green) != std::bit_cast<uint32_t>(q.green) ||
        std::bit_cast<uint32_t>(p.blue) != std::bit_cast<uint32_t>(q.blue)) {
      return false;
    }
  }
  return true;
}

// What the player added to the design's state, each only when it is not as
// at start-up, so that a game without it saves as before: the selection set
// (after `select`, whose slot it begins with), the groups and the view
// preferences, the mark of a selected entity gone and the side chosen.
void AppendPlayerPicks(std::string& out, const Session& session) {
  const PlayerView& player = session.player;
  const std::vector<int32_t>& set = player.selection;
  if (set.size() > 1 && set.front() == player.view.selected) {
    Append(out, SelectionSet{set});
  }
  for (int g = 1; g <= kGroupCount; ++g) {
    if (!player.groups[g - 1].empty()) Append(out, Group{g, player.groups[g - 1]});
  }
  const PlayerView designed;
  if (player.scrollMargin != designed.scrollMargin) Append(out, EdgeScroll{player.scrollMargin});
  if (player.keepViewOverField) Append(out, KeepView{true});
  if (player.selectedGone) Append(out, SelectedGone{});
  if (player.side != designed.side) Append(out, OwnSide{player.side});
}

}  // namespace

bool SavedGameCommands(const Session& session, std::string& commands, std::string& error) {
  const World& world = session.world;
  const ViewState& view = session.player.view;
  // The colours are the game's own and no command sets them: a world with
  // others could not be rebuilt.
  if (!SameColours(world, Session().world)) {
    error = "the player colours are not the game's own";
    return false;
  }
  if (view.selected < -1 || view.selected >= kSlotCount) {
    error = "the selected entity lies outside the table";
    return false;
  }
  const PlayerView& player = session.player;
  std::string out;
  out += kSaveHeader;
  out += '\n';
  for (const Input& input :
       {Input(Reset{}), Input(Seed{world.seed}), Input(ComputerPlayers{session.computerPlayer})}) {
    Append(out, input);
  }
  // The normal levels, which a game starts with, are not written, so that
  // saves of games at those levels stay as they always were.
  if (session.level != Levels{}.level) Append(out, Levels{session.level});
  for (const Input& input :
       {Input(PanelSize{player.panelWidth, player.panelHeight}), Input(ClickMode{player.clickMode}),
        Input(BuildItem{player.buildItem}), Input(Tick{player.ticks})}) {
    Append(out, input);
  }
  for (int side = 0; side < kSideCount; ++side) {
    Append(out, Gold{side, world.players[side].gold});
  }
  for (int slot = 0; slot < kSlotCount; ++slot) {
    const Tigrok& t = world.entities[slot];
    if (IsFresh(t)) continue;  // `reset` leaves it so
    if (!WritesExactly(t)) {
      error = "slot " + std::to_string(slot) + " holds a value no command can set exactly";
      return false;
    }
    Append(out, SetSlot{slot, kAllFields, t});
  }
  if (!WritesExactly(view.cameraX) || !WritesExactly(view.cameraY)) {
    error = "the camera offset holds a value no command can set exactly";
    return false;
  }
  for (const Input& input :
       {Input(MouseAt{view.mouseX, view.mouseY}), Input(CameraAt{view.cameraX, view.cameraY}),
        Input(CursorAt{view.cursorColumn, view.cursorRow}), Input(Select{view.selected})}) {
    Append(out, input);
  }
  AppendPlayerPicks(out, session);
  commands = std::move(out);
  return true;
}

bool SavedGameText(const Session& session, std::string& text, std::string& error) {
  std::string commands;
  if (!SavedGameCommands(session, commands, error)) return false;
  text = commands + ChecksumLine(commands) + '\n';
  return true;
}

std::string PlainLineEnds(std::string_view text) {
  if (text.starts_with("\xef\xbb\xbf")) text.remove_prefix(3);
  const auto firstEnd = text.find('\n');
  if (firstEnd == std::string_view::npos || firstEnd == 0 || text[firstEnd - 1] != '\r') {
    return std::string(text);
  }
  std::string plain;
  plain.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;
    plain += text[i];
  }
  return plain;
}

std::string ChecksumLine(std::string_view body) {
  Fnv1a h;
  h.Bytes(body);
  return std::string(kChecksumPrefix) + FormatHash(h.value());
}

bool VerifySavedGame(std::string_view text, std::string& error) {
  const auto firstEnd = text.find('\n');
  const std::string_view first = text.substr(0, firstEnd);
  if (!first.starts_with(kSaveFormat)) {
    error = "it is not a saved game (its first line is " + Quoted(first) + ")";
    return false;
  }
  if (first != kSaveHeader) {
    error = "it is a saved game of version " + Quoted(first.substr(kSaveFormat.size())) +
            ", which this game cannot read";
    return false;
  }
  // The checksum is the last line, ended by the file's last line end.
  if (text.empty() || text.back() != '\n') {
    error = "it is cut short";
    return false;
  }
  const std::string_view withoutEnd = text.substr(0, text.size() - 1);
  const auto lastStart = withoutEnd.rfind('\n') + 1;  // npos + 1 is 0: a one-line file
  const std::string_view last = withoutEnd.substr(lastStart);
  if (!last.starts_with(kChecksumPrefix)) {
    error = "it is cut short (its checksum line is missing)";
    return false;
  }
  if (last != ChecksumLine(text.substr(0, lastStart))) {
    error = "it was changed or damaged (its checksum does not match)";
    return false;
  }
  return true;
}

}  // namespace kragmoor
