// Writing saved games and checking their header and checksum.
#include "game/saved_game.h"

#include <array>
#include <bit>
#include <charconv>
#include <cstdio>

#include "game/print.h"
#include "world/float_text.h"
#include "world/fnv1a.h"

namespace kragmoor {

namespace {

constexpr std::string_view kChecksumPrefix = "# checksum ";

// v as the shortest decimal that reads back to the very same bits.
bool AppendFloat(std::string& out, float v) {
  const std::string text = FormatFloat(v);
  float back = 0.0f;
  std::from_chars(text.data(), text.data() + text.size(), back);
  if (std::bit_cast<uint32_t>(back) != std::bit_cast<uint32_t>(v)) return false;
  out += text;
  return true;
}

// A text in double quotes, as `set` reads it: no double quote, no line end.
bool AppendText(std::string& out, std::string_view text) {
  if (text.find_first_of("\"\n") != std::string_view::npos) return false;
  out += '"';
  out += text;
  out += '"';
  return true;
}

bool IsFresh(const Tigrok& t) {
  const Tigrok fresh;
  return std::bit_cast<uint32_t>(t.x) == 0 && std::bit_cast<uint32_t>(t.y) == 0 &&
         std::bit_cast<uint32_t>(t.hp) == 0 && std::bit_cast<uint32_t>(t.maxHp) == 0 &&
         t.order.empty() && t.nextOrder.empty() && t.progress == fresh.progress &&
         t.plan == fresh.plan && t.owner == fresh.owner && t.kind == fresh.kind &&
         t.gold == fresh.gold;
}

// "set N x=.. y=.. hp=.. maxHp=.. order=".." nextOrder=".." progress=.. ...".
bool AppendSlot(std::string& out, const Tigrok& t, int slot) {
  out += "set " + std::to_string(slot);
  const std::pair<const char*, float> floats[] = {
      {" x=", t.x}, {" y=", t.y}, {" hp=", t.hp}, {" maxHp=", t.maxHp}};
  for (const auto& [name, value] : floats) {
    out += name;
    if (!AppendFloat(out, value)) return false;
  }
  out += " order=";
  if (!AppendText(out, t.order)) return false;
  out += " nextOrder=";
  if (!AppendText(out, t.nextOrder)) return false;
  out += " progress=" + std::to_string(t.progress) + " plan=" + std::to_string(t.plan) +
         " owner=" + std::to_string(t.owner) + " kind=" + std::to_string(t.kind) +
         " gold=" + std::to_string(t.gold) + '\n';
  return true;
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
// preferences.
void AppendPlayCommands(std::string& out, const Session& session) {
  const auto slots = [&out](const std::vector<int32_t>& list) {
    for (const int32_t s : list) out += ' ' + std::to_string(s);
    out += '\n';
  };
  const std::vector<int32_t>& set = session.play.selection;
  if (set.size() > 1 && set.front() == session.world.view.selected) {
    out += "selection";
    slots(set);
  }
  for (int g = 1; g <= kGroupCount; ++g) {
    if (session.play.groups[g - 1].empty()) continue;
    out += "group " + std::to_string(g);
    slots(session.play.groups[g - 1]);
  }
  const FrameInputs designed;
  if (session.inputs.scrollMargin != designed.scrollMargin) {
    out += "edgescroll " + std::to_string(session.inputs.scrollMargin) + '\n';
  }
  if (session.inputs.keepViewOverField) out += "keepview 1\n";
}

// "\nlevel L0 L1 L2", or nothing for the normal levels, which a game starts
// with (so saves of games at those levels stay as they always were).
std::string LevelLine(const std::array<int32_t, kSideCount>& level) {
  if (level == std::array<int32_t, kSideCount>{3, 3, 3}) return "";
  return "\nlevel " + std::to_string(level[0]) + ' ' + std::to_string(level[1]) + ' ' +
         std::to_string(level[2]);
}

}  // namespace

bool SavedGameCommands(const Session& session, std::string& commands, std::string& error) {
  const World& world = session.world;
  const ViewState& view = world.view;
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
  const auto& ai = session.inputs.computerPlayer;
  std::string out;
  out += kSaveHeader;
  out += "\nreset\nseed " + std::to_string(world.seed) + "\nai " + (ai[0] ? "1 " : "0 ") +
         (ai[1] ? "1 " : "0 ") + (ai[2] ? "1" : "0") + LevelLine(session.inputs.level) +
         "\npanel " + std::to_string(session.inputs.panelWidth) + ' ' +
         std::to_string(session.inputs.panelHeight) + "\nmode " +
         std::to_string(session.clickMode) + "\nbuild " + std::to_string(session.buildItem) +
         "\ntick " + std::to_string(session.ticks.value) + '\n';
  for (int side = 0; side < kSideCount; ++side) {
    out += "gold " + std::to_string(side) + ' ' + std::to_string(world.players[side].gold) + '\n';
  }
  for (int slot = 0; slot < kSlotCount; ++slot) {
    const Tigrok& t = world.entities[slot];
    if (IsFresh(t)) continue;  // `reset` leaves it so
    if (!AppendSlot(out, t, slot)) {
      error = "slot " + std::to_string(slot) + " holds a value no command can set exactly";
      return false;
    }
  }
  out += "mouse " + std::to_string(view.mouseX) + ' ' + std::to_string(view.mouseY) + "\ncamera ";
  bool exact = AppendFloat(out, view.cameraX);
  out += ' ';
  exact = exact && AppendFloat(out, view.cameraY);
  if (!exact) {
    error = "the camera offset holds a value no command can set exactly";
    return false;
  }
  out += "\ncursor " + std::to_string(view.cursorColumn) + ' ' + std::to_string(view.cursorRow) +
         "\nselect " + std::to_string(view.selected) + '\n';
  AppendPlayCommands(out, session);
  commands = std::move(out);
  return true;
}

bool SavedGameText(const Session& session, std::string& text, std::string& error) {
  std::string commands;
  if (!SavedGameCommands(session, commands, error)) return false;
  text = commands + ChecksumLine(commands) + '\n';
  return true;
}

std::string ChecksumLine(std::string_view body) {
  Fnv1a h;
  h.Bytes(body);
  return std::string(kChecksumPrefix) + FormatHash(h.value());
}

bool VerifySavedGame(std::string_view text, std::string& error) {
  const auto firstEnd = text.find('\n');
  const std::string_view first = text.substr(0, firstEnd);
  constexpr std::string_view kFormat = "# kragmoor save ";
  if (!first.starts_with(kFormat)) {
    error = "it is not a saved game";
    return false;
  }
  if (first != kSaveHeader) {
    error = "it is a saved game of version '" + std::string(first.substr(kFormat.size())) +
            "', which this game cannot read";
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
