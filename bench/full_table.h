// A full entity table for the benchmarks: 300 live entities of every kind and
// side spread over the field, with the mix of orders a long match produces.
#pragma once

#include <cstdint>

#include "world/tigrok.h"

namespace kragmoor {

// The initial scenario's colours, then every slot filled: 10 gold mines, 29
// main bases and 261 peasants on a jittered 20 x 15 grid over the 1250 x 1250
// field, the three sides in bands from left to right with a tenth of the
// peasants behind enemy lines. Orders: walking to mines, carrying gold home,
// idle, attacks, point walks, builds of bases and peasants. Purses 300, 120
// and 0. The same `seed` gives the same table.
World FullTable(uint32_t seed);

}  // namespace kragmoor
