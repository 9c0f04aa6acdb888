// Output lines of the headless runner.
#include "game/print.h"

#include <cstdio>

#include "world/float_text.h"

namespace kragmoor {

void AppendFields(std::string& out, const Tigrok& t, FieldMask fields) {
  for (size_t i = 0; i < kTigrokFields.size(); ++i) {
    if (((fields >> i) & 1) == 0) continue;
    const TigrokField& f = kTigrokFields[i];
    out += ' ';
    out += f.name;
    out += '=';
    switch (f.type) {
      case FieldType::kFloat:
        out += FormatFloat(t.*f.real);
        break;
      case FieldType::kText:
        out += '"' + t.*f.text + '"';
        break;
      case FieldType::kInt:
        out += std::to_string(t.*f.integer);
        break;
    }
  }
}

std::string FormatSlot(const World& world, int slot) {
  std::string line = "slot " + std::to_string(slot);
  AppendFields(line, world.entities[slot], kAllFields);
  return line;
}

std::string FormatPlayer(const World& world, int side) {
  const Player& p = world.players[side];
  return "player " + std::to_string(side) + " red=" + FormatFloat(p.red) +
         " green=" + FormatFloat(p.green) + " blue=" + FormatFloat(p.blue) +
         " gold=" + std::to_string(p.gold);
}

std::string FormatView(const ViewState& v) {
  return "view mouse=" + std::to_string(v.mouseX) + "," + std::to_string(v.mouseY) +
         " camera=" + FormatFloat(v.cameraX) + "," + FormatFloat(v.cameraY) +
         " cursor=" + std::to_string(v.cursorColumn) + "," + std::to_string(v.cursorRow) +
         " selected=" + std::to_string(v.selected);
}

std::string FormatLive(const World& world) {
  std::string line = "live";
  for (int i = 0; i < kSlotCount; ++i) {
    if (IsLive(world.entities[i])) line += " " + std::to_string(i);
  }
  return line;
}

std::string FormatHash(uint64_t hash) {
  char buffer[17];
  std::snprintf(buffer, sizeof buffer, "%016llx", static_cast<unsigned long long>(hash));
  return buffer;
}

}  // namespace kragmoor
