// Sending peasants to mine: a group sent to one gold mine is spread over the
// nearest mines with room, so a rush on one mine never packs into a crowd
// that pushes itself still around it. The mining rules stay; only the
// orders are chosen. No Qt.
#pragma once

#include <cstdint>
#include <vector>

#include "game/play_state.h"
#include "world/tigrok.h"

namespace kragmoor {

// Peasants one mine takes: bodies (radius 25) touch it below 50 units from
// its centre, and a ring of that radius holds 2 pi 50 / 50, about 6, of
// them. More than that queue around the ones at the mine, and the push-apart
// then holds the whole crowd in place.
inline constexpr int kPeasantsPerMine = 6;

// The walk orders ("idtiza M") that send the live peasants of `side` among
// `peasants` to mine: first to gold mine `mine`, then to the other live
// mines that still give gold, nearest `mine` first, each taking up to
// kPeasantsPerMine less the peasants of the side already working it (walking
// to it or coming back to it) that are not among `peasants`; a mine takes
// the peasants nearest it. Peasants beyond the room of every mine get no
// order. When no mine gives gold any more, every one walks to `mine`, as a
// go click there would send it. Orders in slot order.
std::vector<PlayerOrder> MineOrders(const World& world, int side,
                                    const std::vector<int32_t>& peasants, int mine);

}  // namespace kragmoor
