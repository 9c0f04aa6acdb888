// Entity keys and the picks cleared of gone entities.
#include "game/entity_keys.h"

#include <cstddef>
#include <vector>

namespace kragmoor {

EntityKeys KeysOf(const World& world) {
  EntityKeys keys;
  for (int i = 0; i < kSlotCount; ++i) {
    const Tigrok& t = world.entities[i];
    keys[i] = {IsLive(t), t.kind, t.owner, t.hp, t.maxHp};
  }
  return keys;
}

bool SameEntity(const EntityKey& before, const Tigrok& now) {
  if (!before.live || !IsLive(now)) return false;
  if (now.kind != before.kind || now.owner != before.owner || now.maxHp != before.maxHp) {
    return false;
  }
  return !(now.kind == kKindPeasant && now.hp > before.hp);
}

namespace {

bool Gone(const EntityKeys& before, const World& world, int32_t slot) {
  return !IsSlot(slot) || !SameEntity(before[slot], world.entities[slot]);
}

}  // namespace

bool HoldsPicks(const PlayerView& player) {
  if (IsSlot(player.view.selected) && !player.selectedGone) return true;
  if (!player.selection.empty()) return true;
  for (const auto& group : player.groups) {
    if (!group.empty()) return true;
  }
  return false;
}

void ForgetGoneEntities(PlayerView& player, const EntityKeys& before, const World& world) {
  const int32_t selected = player.view.selected;
  if (IsSlot(selected) && Gone(before, world, selected)) player.selectedGone = true;
  std::vector<int32_t>& set = player.selection;
  for (size_t i = set.size(); i-- > 0;) {
    const bool lead = i == 0 && set[0] == selected;
    if (!lead && Gone(before, world, set[i]))
      set.erase(set.begin() + static_cast<std::ptrdiff_t>(i));
  }
  for (auto& group : player.groups) {
    std::erase_if(group, [&](int32_t s) { return Gone(before, world, s); });
  }
}

}  // namespace kragmoor
