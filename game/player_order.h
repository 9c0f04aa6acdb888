// A player's order to one entity, as right-clicks, groups, keys and bots give
// it: the order text written as a click writes it. No Qt.
#pragma once

#include <cstdint>
#include <string_view>

#include "world/tigrok.h"

namespace kragmoor {

// `order` := text; when the text is a build order ("stroit K,X,Y") also
// `progress` := 0 and `plan` := the cost of kind K (100 for a main base, 10
// for a peasant, K 1 or -1), as a build click sets them; another K keeps the
// plan, as a click with another build item does. REQUIRES: IsSlot(slot).
void ApplyPlayerOrder(World& world, int32_t slot, std::string_view text);

}  // namespace kragmoor
