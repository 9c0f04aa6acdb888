// The grid cells of the field: the cell a field coordinate lies in, and a
// cell's corner and centre in field units. The one home of this arithmetic,
// which the click, the cursor cell and the play controls share.
#pragma once

#include <cstdint>

#include "world/convert.h"
#include "world/rules.h"
#include "world/tigrok.h"

namespace kragmoor {

// The column or row of field coordinate `units`, truncated toward zero. The
// quotient is taken in double: a camera offset, and so a pointer's field
// coordinate, is unbounded.
inline int32_t CellOf(double units) { return TruncToInt32(units / kCellSize); }

// The lower-left corner of column or row `cell`, field units, wrapping as
// the order texts' numbers do.
inline int32_t CellCorner(int32_t cell) { return WrapMul(cell, kCellSize); }

// The centre of column or row `cell`, field units.
inline int32_t CellCentre(int32_t cell) { return WrapAdd(CellCorner(cell), kPlacementOffset); }

}  // namespace kragmoor
