// The frame step and the order pass.
#include "sim/frame_step.h"

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

void Build(World& world, Gl* gl, int s, std::string_view argument) {
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
void ExecuteOrder(World& world, Gl* gl, int s) {
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
    Build(world, gl, s, argument);
  }
  // "chinit" (repair), "idle", the empty order and anything else: nothing.
}

}  // namespace

// The walk: the slots of the scratch in ascending order, each tested when
// its turn comes. A turn may kill, move and, by a build, make a slot live.
// A build fills the lowest free slot, which is either in the set or the
// lowest slot outside it, so watching that one slot keeps the set whole,
// and a slot filled above the current turn gets its own turn.
void OrderPass(World& world, Gl* gl, FrameScratch& scratch) {
  CheckScratch(scratch, world, "the order pass");
  ForgetGathered(scratch);  // entities move, die and are made below
  SlotSet& set = scratch.mayBeLive;
  auto& e = world.entities;
  static constexpr float kNoGap = 0.0f;  // a dead stand-in when the set holds every slot
  int gap = set.NextAbsent(0);
  const float* gapHp = gap < kSlotCount ? &e[gap].hp : &kNoGap;
  for (int s = set.Next(0); s < kSlotCount; s = set.Next(s + 1)) {
    if (!IsLive(e[s])) continue;
    ExecuteOrder(world, gl, s);
    if (*gapHp > 0.0f) {  // a build filled the gap
      set.Insert(gap);
      gap = set.NextAbsent(gap + 1);
      gapHp = gap < kSlotCount ? &e[gap].hp : &kNoGap;
    }
  }
}

void OrderPass(World& world, Gl* gl) {
  FrameScratch scratch(world);
  OrderPass(world, gl, scratch);
}

void StepView(ViewState& view, const FrameInputs& inputs) {
  ScrollCamera(view, inputs.panelWidth, inputs.panelHeight, inputs.scrollMargin);
  if (inputs.keepViewOverField) KeepViewOverField(view, inputs.panelWidth, inputs.panelHeight);
  StoreCursorCell(view);
}

void FrameStep(World& world, ViewState& view, const FrameInputs& inputs, Gl* gl) {
  if (gl != nullptr) BeginFrame(*gl);
  FrameScratch scratch(world);
  for (int side = 0; side < kSideCount; ++side) {
    if (inputs.computerPlayer[side]) {
      ComputerPlayerTurn(world, side, inputs.level[side], scratch);
    }
  }
  StepView(view, inputs);
  if (gl != nullptr) {
    DrawField(view, *gl);
    DrawEntities(world, *gl, inputs.ticks);
  }
  OrderPass(world, gl, scratch);
  AggressionPass(world, scratch);
  ContactPass(world, scratch);
  if (gl != nullptr) EndFrame(*gl);
}

}  // namespace kragmoor
