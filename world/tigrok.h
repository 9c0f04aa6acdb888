// The game's shared state: the entity table, the player table and the random
// seed, as one World value, and the view state each player keeps beside it.
// Plain data only; never includes Qt or GL headers.
#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace kragmoor {

inline constexpr int kSlotCount = 300;  // entity table size; the slot index is the identity
inline constexpr int kSideCount = 3;    // players, indexed by owner

// Entity kinds, and their full health (hp).
inline constexpr int32_t kKindMine = -5;
inline constexpr int32_t kKindPeasant = -1;
inline constexpr int32_t kKindBase = 0;
inline constexpr float kMineHp = 100.0f;
inline constexpr float kPeasantHp = 100.0f;
inline constexpr float kBaseHp = 200.0f;
inline constexpr int32_t kMineStock = 100000;  // gold in each mine at start

// One slot of the entity table.
struct Tigrok {
  float x = 0.0f;         // position, field units
  float y = 0.0f;         // position, field units; grows upwards on screen
  float hp = 0.0f;        // health; the slot is in use exactly when hp > 0
  float maxHp = 0.0f;     // full health
  std::string order;      // the current order text; empty means no command
  std::string nextOrder;  // the order resumed after a gold delivery
  int32_t progress = 0;   // gold spent on the current build; -777 marks a raider
  int32_t plan = 0;       // gold needed to finish the current build
  int32_t owner = 0;      // side 0..2, index into the player table
  int32_t kind = 0;       // kKindMine, kKindPeasant or kKindBase
  int32_t gold = 0;       // carried gold (peasant) or stock left (mine)
};

// One side.
struct Player {
  float red = 0.0f;  // drawing colour, 0..1
  float green = 0.0f;
  float blue = 0.0f;
  int32_t gold = 0;  // the side's purse
};

// What one user sees and points at. Each player of a game holds one of
// their own (the session's player part); the world does not.
struct ViewState {
  int32_t mouseX = 0;    // pointer over the play field, panel pixels
  int32_t mouseY = 0;    // counted upwards from the panel's bottom edge
  float cameraX = 0.0f;  // translation added to every field position when drawing
  float cameraY = 0.0f;
  int32_t cursorColumn = 0;  // grid cell under the pointer, recomputed every frame
  int32_t cursorRow = 0;
  int32_t selected = -1;  // entity the user commands; -1 for none
};

struct World {
  std::array<Tigrok, kSlotCount> entities{};
  std::array<Player, kSideCount> players{};
  uint32_t seed = 0;  // the shared random generator's state
};

// An entity is live while its hp is above 0 (NaN is not).
inline bool IsLive(const Tigrok& t) { return t.hp > 0.0f; }

inline bool IsSlot(int64_t index) { return index >= 0 && index < kSlotCount; }
inline bool IsSide(int64_t owner) { return owner >= 0 && owner < kSideCount; }

// Two's-complement addition and subtraction: integer fields, purses and the
// mouse position wrap, never overflow.
inline int32_t WrapAdd(int32_t a, int32_t b) {
  return static_cast<int32_t>(static_cast<uint32_t>(a) + static_cast<uint32_t>(b));
}
inline int32_t WrapSub(int32_t a, int32_t b) {
  return static_cast<int32_t>(static_cast<uint32_t>(a) - static_cast<uint32_t>(b));
}

// Templates that turn a free slot into a new entity (called by the build step).
// MakeBase: hp and maxHp 200, gold 0, owner 1, kind main base, order emptied.
void MakeBase(World& world, int slot);
// MakePeasant: hp and maxHp 100, gold 0, owner 1, kind peasant; order kept.
void MakePeasant(World& world, int slot);

// Every slot zeroed (free, empty texts, position 0,0), every purse 0; colours
// and seed stay (the `reset` script command, which also makes the view
// initial).
void ClearWorld(World& world);

// Writes the player colours and the nine starting entities (slots 0 to 8).
void SetUpScenario(World& world);

}  // namespace kragmoor
