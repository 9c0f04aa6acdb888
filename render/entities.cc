// Drawing of the entities through the Gl seam: the glyph of each kind, the
// health bar under every drawn entity's glyph and the build bar. Reads the
// world only; never includes GL headers.
#include <cmath>
#include <limits>

#include "render/scene.h"

namespace kragmoor {

namespace {

// Glyph sizes, field units, as offsets from the entity's position.
constexpr double kGlyphS = 25.0 / 3.0;      // half a mine's side; half a base's roof
constexpr double kGlyphH = 50.0 / 3.0;      // peasant leg length; height of a build bar
constexpr double kGlyphA = 25.0 / 12.0;     // peasant hip, either side of the position
constexpr double kWallHeight = 12.5;        // base walls below the eaves
constexpr double kArmLength = 12.5;         // the peasant's side stroke, to the left
constexpr double kLegSwing = 5.0;           // a leg's foot swings this far either way
constexpr double kTicksPerRadian = 50.0;    // milliseconds: one swing in 2 pi x 50 ms
constexpr double kPhasePerSlot = 11.765;    // radians, puts neighbouring slots out of step
constexpr double kBarLeft = -12.5;          // bars start 12.5 left of the position
constexpr double kBarLength = 25.0;         // at full health, or when a build is complete
constexpr double kHealthBarHeight = 12.5;   // health bar above the position
constexpr float kPeasantPointSize = 10.0f;  // pixels
constexpr float kGoldPointSize = 3.0f;      // pixels

// The base glyph is drawn for these kinds; kinds outside every range get only
// their health bar.
constexpr int32_t kLowestBaseKind = 0;
constexpr int32_t kHighestBaseKind = 4;

// A vertex at t's position plus (dx, dy), z 0: the sum is taken in double and
// rounded to float once, as it goes to GL.
void VertexAt(Gl& gl, const Tigrok& t, double dx, double dy) {
  gl.Vertex3f(static_cast<float>(static_cast<double>(t.x) + dx),
              static_cast<float>(static_cast<double>(t.y) + dy), 0.0f);
}

// a / b as IEEE 754 division gives it, without dividing by zero, which C++
// leaves undefined: over a zero b, an infinity signed by the signs of a and
// b, or NaN for a zero or NaN a. A bar over a maxHp or plan of 0 ends there.
double Quotient(double a, double b) {
  if (b != 0.0) return a / b;
  if (a == 0.0 || std::isnan(a)) return std::numeric_limits<double>::quiet_NaN();
  const double inf = std::numeric_limits<double>::infinity();
  return std::signbit(a) != std::signbit(b) ? -inf : inf;
}

// The side's colour; an owner outside the player table has none and is white.
void OwnerColour(Gl& gl, const World& world, int32_t owner) {
  if (!IsSide(owner)) {
    gl.Color3f(1.0f, 1.0f, 1.0f);
    return;
  }
  const Player& p = world.players[owner];
  gl.Color3f(p.red, p.green, p.blue);
}

// A leg's swing phase, radians: the tick count (read anew for each leg; no
// tick source reads as 0) over 50 ms plus the slot's own offset. Double: the
// tick alone reaches 8.6e7 radians.
double LegPhase(TickSource* ticks, int slot) {
  const uint32_t t = ticks != nullptr ? ticks->GetTickCount() : 0;
  return t / kTicksPerRadian + slot * kPhasePerSlot;
}

void DrawMine(Gl& gl, const Tigrok& t) {
  gl.Begin(GlEnum::kLineLoop);
  gl.Color3f(1.0f, 1.0f, 0.0f);
  VertexAt(gl, t, -kGlyphS, -kGlyphS);
  VertexAt(gl, t, -kGlyphS, +kGlyphS);
  VertexAt(gl, t, +kGlyphS, +kGlyphS);
  VertexAt(gl, t, +kGlyphS, -kGlyphS);
  gl.End();
}

// A house: walls and roof as one loop with the apex on the position, then
// the eaves in the colour the loop left current.
void DrawBase(Gl& gl, const World& world, const Tigrok& t) {
  gl.Begin(GlEnum::kLineLoop);
  OwnerColour(gl, world, t.owner);
  VertexAt(gl, t, -kGlyphS, -kGlyphS - kWallHeight);
  VertexAt(gl, t, -kGlyphS, -kGlyphS);
  VertexAt(gl, t, 0.0, 0.0);
  VertexAt(gl, t, +kGlyphS, -kGlyphS);
  VertexAt(gl, t, +kGlyphS, -kGlyphS - kWallHeight);
  gl.End();
  gl.Begin(GlEnum::kLines);
  VertexAt(gl, t, -kGlyphS, -kGlyphS);
  VertexAt(gl, t, +kGlyphS, -kGlyphS);
  gl.End();
}

// A body point, two swinging legs and an arm in the owner colour, and a
// yellow dot overhead while the peasant carries gold.
void DrawPeasant(Gl& gl, const World& world, int slot, TickSource* ticks) {
  const Tigrok& t = world.entities[slot];
  gl.PointSize(kPeasantPointSize);
  gl.Begin(GlEnum::kPoints);
  OwnerColour(gl, world, t.owner);
  VertexAt(gl, t, 0.0, 0.0);
  gl.End();

  gl.Begin(GlEnum::kLines);  // still in the owner colour
  VertexAt(gl, t, -kGlyphA, 0.0);
  VertexAt(gl, t, -kGlyphA + kLegSwing * std::sin(LegPhase(ticks, slot)), -kGlyphH);
  VertexAt(gl, t, +kGlyphA, 0.0);
  VertexAt(gl, t, +kGlyphA + kLegSwing * std::cos(LegPhase(ticks, slot)), -kGlyphH);
  VertexAt(gl, t, 0.0, 0.0);
  VertexAt(gl, t, -kArmLength, 0.0);
  gl.End();

  if (t.gold > 0) {
    gl.PointSize(kGoldPointSize);
    gl.Begin(GlEnum::kPoints);
    gl.Color3f(1.0f, 1.0f, 0.0f);
    VertexAt(gl, t, 0.0, +kGlyphH);
    gl.End();
  }
}

// Red at the left end fading to green at the right (smooth shading); 25 long
// at full health and not clamped. maxHp 0 gives an inf or NaN end point.
void DrawHealthBar(Gl& gl, const Tigrok& t) {
  const double length = Quotient(kBarLength * t.hp, t.maxHp);
  gl.Begin(GlEnum::kLines);
  gl.Color3f(1.0f, 0.0f, 0.0f);
  VertexAt(gl, t, kBarLeft, kHealthBarHeight);
  gl.Color3f(0.0f, 1.0f, 0.0f);
  VertexAt(gl, t, kBarLeft + length, kHealthBarHeight);
  gl.End();
}

}  // namespace

void DrawEntities(const World& world, Gl& gl, TickSource* ticks) {
  for (int i = 0; i < kSlotCount; ++i) {
    const Tigrok& t = world.entities[i];
    if (!IsLive(t)) continue;  // hp 0, negative or NaN: not drawn at all
    if (t.kind == kKindMine) {
      DrawMine(gl, t);
    } else if (t.kind == kKindPeasant) {
      DrawPeasant(gl, world, i, ticks);
    } else if (t.kind >= kLowestBaseKind && t.kind <= kHighestBaseKind) {
      DrawBase(gl, world, t);
    }
    DrawHealthBar(gl, t);
  }
}

void DrawBuildBar(const World& world, Gl& gl, int builder) {
  const Tigrok& t = world.entities[builder];
  // progress before this frame's step: 0 long at 0, 25 long at plan. plan 0
  // gives an inf or NaN end point.
  const double length = Quotient(kBarLength * t.progress, t.plan);
  gl.Begin(GlEnum::kLines);
  gl.Color3f(0.0f, 1.0f, 0.0f);
  VertexAt(gl, t, kBarLeft, kGlyphH);
  gl.Color3f(0.0f, 1.0f, 0.0f);
  VertexAt(gl, t, kBarLeft + length, kGlyphH);
  gl.End();
}

}  // namespace kragmoor
