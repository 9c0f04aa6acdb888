// The frame step and the order pass.
#include "sim/frame_step.h"

#include <cassert>
#include <string_view>

#include "render/scene.h"
#include "sim/computer_player.h"
#include "sim/contacts.h"
#include "sim/vec2d.h"
#include "sim/view.h"
#include "world/orders.h"
#include "world/random.h"
#include "world/rules.h"
#include "world/str_man.h"

namespace kragmoor {

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
    const bool lineShown = Random(world, kAttackLineDraw) < kAttackLineShownBelow;
    if (gl != nullptr) DrawAttackLine(world, *gl, s, n, lineShown);
  } else {
    WriteOrder(attacker.order, kVerbWalk, {n});
  }
}

void Build(World& world, Gl* gl, int s, std::string_view argument, SlotSet& mayBeLive) {
  const auto numbers = LeadingWords<3>(argument, ',');
  const int32_t k = StrToInt(numbers[0]);
  const int32_t x = StrToInt(numbers[1]);
  const int32_t y = StrToInt(numbers[2]);
  if (gl != nullptr) DrawBuildBar(world, *gl, s);

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

  const bool peasant = k == kBuildPeasant || k == -kBuildPeasant;
  if (!peasant && k != kBuildBase) return;
  if (peasant) {
    MakePeasant(world, n);
  } else {
    MakeBase(world, n);
  }
  mayBeLive.Insert(n);  // acts in this very pass when n lies above s
  Tigrok& made = world.entities[n];
  made.owner = builder.owner;
  made.x = static_cast<float>(static_cast<double>(x) + kPlacementOffset);
  made.y = static_cast<float>(static_cast<double>(y) + kPlacementOffset);
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

void OrderPass(World& world, Gl* gl, FrameScratch& scratch) {
  assert(ScratchFits(scratch, world));
  ForgetGathered(scratch);  // entities move, die and are made below
  // Liveness is tested when a slot's turn comes; the set only leaves out
  // slots that cannot be live by then.
  SlotSet& mayBeLive = scratch.mayBeLive;
  for (int s = mayBeLive.Next(0); s < kSlotCount; s = mayBeLive.Next(s + 1)) {
    if (IsLive(world.entities[s])) ExecuteOrder(world, gl, s, mayBeLive);
  }
}

void FrameStep(World& world, const FrameInputs& inputs, Gl* gl) {
  if (gl != nullptr) BeginFrame(*gl);
  FrameScratch scratch(world);
  for (int side = 0; side < kSideCount; ++side) {
    if (inputs.computerPlayer[side]) {
      ComputerPlayerTurn(world, side, inputs.level[side], scratch);
    }
  }
  ScrollCamera(world.view, inputs.panelWidth, inputs.panelHeight, inputs.scrollMargin);
  if (inputs.keepViewOverField)
    KeepViewOverField(world.view, inputs.panelWidth, inputs.panelHeight);
  StoreCursorCell(world.view);
  if (gl != nullptr) {
    DrawField(world, *gl);
    DrawEntities(world, *gl, inputs.ticks);
  }
  OrderPass(world, gl, scratch);
  AggressionPass(world, scratch);
  ContactPass(world, scratch);
  if (gl != nullptr) EndFrame(*gl);
}

}  // namespace kragmoor
