// Telling one entity from the next that a build puts in its slot, so that
// the player's selection and groups follow entities, not slot numbers: what
// a slot held before a change, and the picks cleared of entities gone since.
// Kept beside the world (which stays the design's table). No Qt.
#pragma once

#include <array>
#include <cstdint>

#include "game/session.h"
#include "world/tigrok.h"

namespace kragmoor {

// What tells the entity in a slot from another one made there later.
struct EntityKey {
  bool live = false;
  int32_t kind = 0;
  int32_t owner = 0;
  float hp = 0.0f;  // a peasant's only falls: a rise is a new peasant
  float maxHp = 0.0f;
};
using EntityKeys = std::array<EntityKey, kSlotCount>;

EntityKeys KeysOf(const World& world);

// Whether `now` is still the entity that `before` describes: live then and
// now, of the same kind, side and full health, and no peasant whose health
// rose. A slot that dies and is filled again within one frame step by the
// same side with the same kind is caught for peasants only (a base's health
// also rises by repair); an enemy or another kind is always caught.
bool SameEntity(const EntityKey& before, const Tigrok& now);

// After a change of the world (a frame step, an input), `before` being the
// keys from before it: every entity gone from its slot leaves the selection
// set and the groups. The set's first slot stays while it is the view's
// selected one (the design keeps showing a dead selection); its entity being
// gone is marked in `selectedGone` instead.
void ForgetGoneEntities(PlayerView& player, const EntityKeys& before, const World& world);

// Whether the player holds any pick ForgetGoneEntities could clear: a
// selected entity not yet marked gone, a selection set or a group. Without
// one, a frame need not take the keys at all (a match, the arena).
bool HoldsPicks(const PlayerView& player);

}  // namespace kragmoor
