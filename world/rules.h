// The game's rule constants, each defined once, with its unit and reason.
// Drawing-only sizes (glyphs, the drawn grid) live with the drawing code.
#pragma once

#include <cstdint>

namespace kragmoor {

// The field and the view.
inline constexpr int32_t kCellSize = 50;  // field units per grid cell; clicks name cells
// Field units from a cell's lower-left corner to its centre: a build order
// names the corner and its entity stands this far up and right of it; a go
// click sends its walker to the same centre.
inline constexpr int32_t kPlacementOffset = kCellSize / 2;
inline constexpr int32_t kScrollMargin = 100;  // pixels from a panel edge that scroll the view
// The play-field panel's size at start, pixels: what a frame reads until the
// window reports its own.
inline constexpr int32_t kStartPanelWidth = 485;
inline constexpr int32_t kStartPanelHeight = 447;
inline constexpr float kScrollStep = 1.0f;  // field units per frame and axis
// The narrow edge scroll a player may choose instead: the pointer must touch
// the edge, so the view no longer runs away from clicks near it.
inline constexpr int32_t kNarrowScrollMargin = 16;  // pixels
inline constexpr int32_t kFieldSize = 1250;         // field units: the drawn grid, 25 cells a side

// Walking and fighting.
inline constexpr float kMoveStep = 1.0f;  // field units per frame, per axis
// Field units. A hit needs a distance strictly below it, and so does the
// aggression rule that sets two enemies on each other.
inline constexpr float kAttackRange = 100.0f;
inline constexpr float kDamage = 1.0f;  // hp per frame per attacker
// Every hit takes random(kAttackLineDraw) whether or not anything is drawn,
// and its line shows when the number is below kAttackLineShownBelow: the
// line flickers, and a run without a window keeps the same random sequence.
inline constexpr uint32_t kAttackLineDraw = 10;
inline constexpr uint32_t kAttackLineShownBelow = 5;

// Contacts.
inline constexpr float kContactRadius = 25.0f;   // every entity; two touch below the sum, 50
inline constexpr int32_t kLoadStep = 10;         // gold a taker gets from a mine per frame
inline constexpr int32_t kLoadLimitLower = 30;   // a taker in a lower slot than the mine
inline constexpr int32_t kLoadLimitHigher = 10;  // a taker in a higher slot than the mine
inline constexpr int32_t kMinimumStock = 10;     // a mine gives only while it holds this much
inline constexpr double kRepairPerGold = 2.0;    // hp a damaged base gets per delivered gold

// Building. K in "stroit K,X,Y" and the items of the build radio group.
inline constexpr int32_t kBuildBase = 0;
inline constexpr int32_t kBuildPeasant = 1;  // -1 builds a peasant too
inline constexpr int32_t kBaseCost = 100;    // gold; the plan of a main-base build
inline constexpr int32_t kPeasantCost = 10;  // gold; the plan of a peasant build

// The computer player.
// In progress: a raider the computer player sent out; at a mine the contacts
// leave its order alone, so it carries on to its target.
inline constexpr int32_t kRaidMarker = -777;
inline constexpr int32_t kBaseGold = 150;             // a side this rich builds another base
inline constexpr float kMineSearchRange = 100000.0f;  // a mine must be strictly nearer

}  // namespace kragmoor
