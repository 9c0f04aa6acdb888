// Selection sets, box selection, groups' helpers and the count line.
#include "game/selection.h"

#include <algorithm>
#include <cmath>

#include "game/text/words_ru.h"
#include "world/orders.h"

namespace kragmoor {

std::vector<int32_t> NormalSelection(std::vector<int32_t> slots) {
  std::erase_if(slots, [](int32_t s) { return !IsSlot(s); });
  std::sort(slots.begin(), slots.end());
  slots.erase(std::unique(slots.begin(), slots.end()), slots.end());
  return slots;
}

std::vector<int32_t> CurrentSelection(int32_t selected, const std::vector<int32_t>& set,
                                      bool selectedGone) {
  if (!set.empty() && set.front() == selected) {
    if (!selectedGone) return set;
    return {set.begin() + 1, set.end()};
  }
  if (IsSlot(selected) && !selectedGone) return {selected};
  return {};
}

std::vector<int32_t> SideEntities(const World& world, int side) {
  std::vector<int32_t> slots;
  for (int i = 0; i < kSlotCount; ++i) {
    const Tigrok& t = world.entities[i];
    if (IsLive(t) && t.kind != kKindMine && t.owner == side) slots.push_back(i);
  }
  return slots;
}

std::vector<int32_t> BoxSelection(const World& world, FieldPoint start, FieldPoint end,
                                  int playerSide) {
  int side = playerSide;
  if (const int n = NearestLive(world, start); n != -1 && world.entities[n].kind != kKindMine) {
    side = world.entities[n].owner;
  }
  if (!IsSide(side)) return {};
  const double left = std::min(start.x, end.x);
  const double right = std::max(start.x, end.x);
  const double bottom = std::min(start.y, end.y);
  const double top = std::max(start.y, end.y);
  std::vector<int32_t> slots;
  for (const int32_t s : SideEntities(world, side)) {
    const double x = world.entities[s].x;
    const double y = world.entities[s].y;
    if (x >= left && x <= right && y >= bottom && y <= top) slots.push_back(s);
  }
  return slots;
}

std::vector<int32_t> MergedSelection(const std::vector<int32_t>& a, const std::vector<int32_t>& b) {
  std::vector<int32_t> all = a;
  all.insert(all.end(), b.begin(), b.end());
  return NormalSelection(std::move(all));
}

int NextIdlePeasant(const World& world, int side, int after) {
  const int start = IsSlot(after) ? after + 1 : 0;
  for (int k = 0; k < kSlotCount; ++k) {
    const int i = (start + k) % kSlotCount;
    const Tigrok& t = world.entities[i];
    if (IsLive(t) && t.kind == kKindPeasant && t.owner == side &&
        (t.order.empty() || t.order == kOrderIdle)) {
      return i;
    }
  }
  return -1;
}

std::vector<int32_t> LiveOnly(const World& world, const std::vector<int32_t>& slots) {
  std::vector<int32_t> live;
  for (const int32_t s : slots) {
    if (IsSlot(s) && IsLive(world.entities[s])) live.push_back(s);
  }
  return live;
}

bool CentreOf(const World& world, const std::vector<int32_t>& slots, FieldPoint& centre) {
  double x = 0.0;
  double y = 0.0;
  int count = 0;
  for (const int32_t s : LiveOnly(world, slots)) {
    const Tigrok& t = world.entities[s];
    if (!std::isfinite(t.x) || !std::isfinite(t.y)) continue;
    x += t.x;
    y += t.y;
    ++count;
  }
  if (count == 0) return false;
  centre = {x / count, y / count};
  return true;
}

std::string SelectionCountLine(const World& world, const std::vector<int32_t>& slots,
                               Language language) {
  int peasants = 0;
  int bases = 0;
  int mines = 0;
  int others = 0;
  for (const int32_t s : LiveOnly(world, slots)) {
    const int32_t kind = world.entities[s].kind;
    if (kind == kKindPeasant)
      ++peasants;
    else if (kind == kKindBase)
      ++bases;
    else if (kind == kKindMine)
      ++mines;
    else
      ++others;
  }
  const bool ru = language == Language::kRussian;
  std::string line;
  const auto add = [&line](int count, const std::string& words) {
    if (count == 0) return;
    if (!line.empty()) line += ", ";
    line += std::to_string(count) + ' ' + words;
  };
  add(peasants, ru ? RussianCount(peasants, "крестьянин", "крестьянина", "крестьян")
                   : (peasants == 1 ? "peasant" : "peasants"));
  add(bases, ru ? RussianCount(bases, "главная база", "главные базы", "главных баз")
                : (bases == 1 ? "main base" : "main bases"));
  add(mines, ru ? RussianCount(mines, "золотая шахта", "золотые шахты", "золотых шахт")
                : (mines == 1 ? "gold mine" : "gold mines"));
  add(others,
      ru ? RussianCount(others, "другой", "других", "других") : (others == 1 ? "other" : "others"));
  if (line.empty()) return ru ? "ничего не выбрано" : "nothing selected";
  return line;
}

}  // namespace kragmoor
