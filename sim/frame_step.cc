// The frame step and the order pass.
#include "sim/frame_step.h"

#include <cmath>
#include <string_view>

#include "render/scene.h"
#include "sim/computer_player.h"
#include "sim/contacts.h"
#include "sim/slot_set.h"
#include "world/orders.h"
#include "world/str_man.h"

namespace kragmoor {

float Distance2D(const Tigrok& a, const Tigrok& b) {
  const float dx = a.x - b.x;
  const float dy = a.y - b.y;
  const double sum = static_cast<double>(dx) * dx + static_cast<double>(dy) * dy;
  return static_cast<float>(std::sqrt(sum));
}

namespace {

// One step of the movement rule on one axis: up if below the target, then
// down if (now) above it. Targets are compared exactly, as doubles.
void StepAxis(float& v, double target) {
  if (v < target) v += kMoveStep;
  if (v > target) v -= kMoveStep;
}

void MoveToward(Tigrok& t, double tx, double ty) {
  StepAxis(t.x, tx);
  StepAxis(t.y, ty);
}

void Attack(World& world, Gl* gl, int s, int32_t n) {
  Tigrok& attacker = world.entities[s];
  if (attacker.kind == kKindMine) return;
  if (!IsSlot(n)) return;  // an index outside the table names nobody
  Tigrok& target = world.entities[n];
  if (Distance2D(attacker, target) < kAttackRange) {
    target.hp -= kDamage;
    if (!IsLive(target)) attacker.order.clear();
    DrawAttackLine(world, gl, s, n);
  } else {
    WriteOrder(attacker.order, kVerbWalk, {n});
  }
}

void Build(World& world, Gl* gl, int s, std::string_view argument, SlotSet& mayBeLive) {
  const auto numbers = LeadingWords<3>(argument, ',');
  const int32_t k = StrToInt(numbers[0]);
  const int32_t x = StrToInt(numbers[1]);
  const int32_t y = StrToInt(numbers[2]);
  DrawBuildBar(world, gl, s);

  Tigrok& builder = world.entities[s];
  // A side outside the player table has no purse: its builds wait.
  if (!IsSide(builder.owner)) return;
  int32_t& purse = world.players[builder.owner].gold;
  if (purse <= 0) return;
  purse -= 1;
  builder.progress = WrapAdd(builder.progress, 1);
  if (builder.progress < builder.plan) return;

  builder.progress = 0;
  int n = 0;
  while (n < kSlotCount && IsLive(world.entities[n])) ++n;
  if (n == kSlotCount) return;  // no free slot: nothing is created, orders stay

  const bool peasant = k == 1 || k == -1;
  if (!peasant && k != 0) return;
  if (peasant) {
    MakePeasant(world, n);
  } else {
    MakeBase(world, n);
  }
  mayBeLive.Insert(n);  // acts in this very pass when n lies above s
  Tigrok& made = world.entities[n];
  made.owner = builder.owner;
  made.x = static_cast<float>(x + kPlacementOffset);
  made.y = static_cast<float>(y + kPlacementOffset);
  if (peasant) {
    made.order.assign(kOrderIdle);
    builder.order.clear();
  } else {
    builder.order.assign(kOrderIdle);
  }
}

// Carries out the order of live slot s. Verb and argument are read once; a
// rewrite of s's order takes effect from the next frame on.
void ExecuteOrder(World& world, Gl* gl, int s, SlotSet& mayBeLive) {
  Tigrok& t = world.entities[s];
  const auto [verb, argument] = LeadingWords<2>(t.order, ' ');
  if (verb == kVerbWalk) {
    if (t.kind != kKindPeasant) return;
    const int32_t n = StrToInt(argument);
    if (!IsSlot(n)) return;  // an index outside the table names nobody
    const Tigrok& target = world.entities[n];
    MoveToward(t, target.x, target.y);
  } else if (verb == kVerbPoint) {
    if (t.kind != kKindPeasant) return;
    const auto numbers = LeadingWords<2>(argument, ',');
    const int32_t x = StrToInt(numbers[0]);
    const int32_t y = StrToInt(numbers[1]);
    MoveToward(t, x, y);
  } else if (verb == kVerbAttack) {
    Attack(world, gl, s, StrToInt(argument));
  } else if (verb == kVerbBuild) {
    Build(world, gl, s, argument, mayBeLive);
  }
  // "chinit" (repair), "idle", the empty order and anything else: nothing.
}

}  // namespace

void OrderPass(World& world, Gl* gl, SlotSet& mayBeLive) {
  // Liveness is tested when a slot's turn comes; the set only leaves out
  // slots that cannot be live by then.
  for (int s = mayBeLive.Next(0); s < kSlotCount; s = mayBeLive.Next(s + 1)) {
    if (IsLive(world.entities[s])) ExecuteOrder(world, gl, s, mayBeLive);
  }
}

void OrderPass(World& world, Gl* gl) {
  SlotSet all = AllSlots();
  OrderPass(world, gl, all);
}

void FrameStep(World& world, const FrameInputs& inputs, Gl* gl) {
  BeginFrame(gl);
  SlotSet mayBeLive = LiveSet(world);
  ComputerPlayersStep(world, inputs.computerPlayer, mayBeLive);
  ScrollCamera(world.view, inputs.panelWidth, inputs.panelHeight);
  DrawField(world, gl);
  DrawEntities(world, gl, inputs.ticks);
  OrderPass(world, gl, mayBeLive);
  PairPasses(world, mayBeLive);
  EndFrame(gl);
}

}  // namespace kragmoor
