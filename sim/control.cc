// Mouse orders and the information list.
#include "sim/control.h"

#include "world/convert.h"
#include "world/orders.h"
#include "world/rules.h"

namespace kragmoor {

namespace {

// The selected entity, or -1 when there is none (or the value names no slot).
int Selected(const World& world) {
  const int32_t s = world.view.selected;
  return IsSlot(s) ? s : -1;
}

}  // namespace

int HitTest(const World& world) {
  const ViewState& v = world.view;
  for (int i = 0; i < kSlotCount; ++i) {
    const Tigrok& t = world.entities[i];
    if (TruncToInt32(static_cast<double>(t.x) / kCellSize) == v.cursorColumn &&
        TruncToInt32(static_cast<double>(t.y) / kCellSize) == v.cursorRow) {
      return i;
    }
  }
  return -1;
}

void Panel3Click(World& world, int32_t mode, int32_t buildItem) {
  const int n = HitTest(world);
  const int s = Selected(world);
  const int32_t column = world.view.cursorColumn;
  const int32_t row = world.view.cursorRow;
  // The cell's lower-left corner, in field units.
  const int32_t cornerX = WrapMul(column, kCellSize);
  const int32_t cornerY = WrapMul(row, kCellSize);

  if (mode == kModeSelect) {
    world.view.selected = n;
    return;
  }
  if (s == -1) return;
  std::string& order = world.entities[s].order;
  switch (mode) {
    case kModeGo:
      if (n != -1) {
        WriteOrder(order, kVerbWalk, {n});
      } else {
        WriteOrder(order, kVerbPoint,
                   {WrapAdd(cornerX, kPlacementOffset), WrapAdd(cornerY, kPlacementOffset)});
      }
      break;
    case kModeAttack:
      if (n != -1) WriteOrder(order, kVerbAttack, {n});
      break;
    case kModeBuild: {
      if (n == -1) WriteOrder(order, kVerbBuild, {buildItem, cornerX, cornerY});
      Tigrok& t = world.entities[s];
      t.progress = 0;
      if (buildItem == kBuildBase) t.plan = kBaseCost;
      if (buildItem == kBuildPeasant) t.plan = kPeasantCost;
      break;
    }
    case kModeRepair:
      if (n != -1) WriteOrder(order, kVerbRepair, {n});
      break;
    default:
      break;
  }
}

void Panel3Cursor(World& world, int32_t x, int32_t y, int32_t panelHeight) {
  world.view.mouseX = x;
  world.view.mouseY = WrapSub(panelHeight, y);  // -y itself would overflow for INT32_MIN
}

std::vector<std::string> InfoLines(const World& world) {
  std::vector<std::string> lines;
  lines.push_back("Выбранный игрок: " + IntToStr(world.view.selected));
  if (const int s = Selected(world); s != -1) {
    const Tigrok& t = world.entities[s];
    lines.push_back("Мысль игрока: " + t.order);
    lines.push_back("Будущая мысль игрока: " + t.nextOrder);
    lines.push_back("Тип игрока: " + IntToStr(t.kind));
    lines.push_back("Здоровье игрока: " + IntToStr(RoundToInt32(t.hp)));
    lines.push_back("Золото игрока: " + IntToStr(t.gold));
    lines.push_back("Расса игрока: " + IntToStr(WrapAdd(t.owner, 1)));
    lines.push_back("Ход выполнения:" + IntToStr(t.progress));
    lines.push_back("План выполнения:" + IntToStr(t.plan));
  }
  lines.push_back("-------");
  for (int side = 0; side < kSideCount; ++side) {
    lines.push_back("Злолто рассы N" + IntToStr(side + 1) + ": $" +
                    IntToStr(world.players[side].gold));
  }
  return lines;
}

}  // namespace kragmoor
