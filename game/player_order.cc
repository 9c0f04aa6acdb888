// The player's order to one entity.
#include "game/player_order.h"

#include "world/orders.h"
#include "world/rules.h"
#include "world/str_man.h"

namespace kragmoor {

void ApplyPlayerOrder(World& world, int32_t slot, std::string_view text) {
  Tigrok& t = world.entities[slot];
  t.order.assign(text);
  // Split as the order pass splits it, so that what counts as a build here
  // is what the frame will build.
  const auto [verb, argument] = LeadingWords<2>(text, ' ');
  if (verb != kVerbBuild) return;
  t.progress = 0;
  int32_t kind = 0;
  if (!TryStrToInt(LeadingWords<1>(argument, ',')[0], kind)) return;
  if (kind == kBuildBase) t.plan = kBaseCost;
  if (kind == kBuildPeasant || kind == -kBuildPeasant) t.plan = kPeasantCost;
}

}  // namespace kragmoor
