// Mouse orders, the information list and the census of live sides.
#include "sim/control.h"

#include <string_view>

#include "world/cells.h"
#include "world/convert.h"
#include "world/orders.h"
#include "world/rules.h"

namespace kragmoor {

namespace {

// The selected entity, or -1 when there is none (or the value names no slot).
int Selected(const ViewState& view) {
  const int32_t s = view.selected;
  return IsSlot(s) ? s : -1;
}

// Marks a label of the information list for the window's translation tool,
// which reads it as Qt's QT_TRANSLATE_NOOP(context, text); the game itself
// uses the text as it is.
constexpr const char* InfoLabel(const char* /*context*/, const char* text) { return text; }
static_assert(std::string_view(kInfoLabelContext) == "InfoList", "the context every label names");

}  // namespace

int HitTest(const World& world, const ViewState& v) {
  for (int i = 0; i < kSlotCount; ++i) {
    const Tigrok& t = world.entities[i];
    if (CellOf(static_cast<double>(t.x)) == v.cursorColumn &&
        CellOf(static_cast<double>(t.y)) == v.cursorRow) {
      return i;
    }
  }
  return -1;
}

void ClickOnField(World& world, ViewState& view, int32_t mode, int32_t buildItem) {
  const int n = HitTest(world, view);
  const int s = Selected(view);
  const int32_t column = view.cursorColumn;
  const int32_t row = view.cursorRow;
  // The cell's lower-left corner, in field units.
  const int32_t cornerX = CellCorner(column);
  const int32_t cornerY = CellCorner(row);

  if (mode == kModeSelect) {
    view.selected = n;
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

void MouseFromPanel(ViewState& view, int32_t x, int32_t y, int32_t panelHeight) {
  view.mouseX = x;
  view.mouseY = WrapSub(panelHeight, y);  // -y itself would overflow for INT32_MIN
}

bool RestPointer(ViewState& v, int32_t width, int32_t height) {
  if (v.mouseX == width / 2 && v.mouseY == height / 2) return false;
  v.mouseX = width / 2;
  v.mouseY = height / 2;
  return true;
}

std::vector<InfoItem> InfoItems(const World& world, const ViewState& view) {
  std::vector<InfoItem> items;
  items.push_back({InfoLabel("InfoList", "Выбранный игрок: "), IntToStr(view.selected)});
  if (const int s = Selected(view); s != -1) {
    const Tigrok& t = world.entities[s];
    items.push_back({InfoLabel("InfoList", "Мысль игрока: "), t.order});
    items.push_back({InfoLabel("InfoList", "Будущая мысль игрока: "), t.nextOrder});
    items.push_back({InfoLabel("InfoList", "Тип игрока: "), IntToStr(t.kind)});
    items.push_back({InfoLabel("InfoList", "Здоровье игрока: "), IntToStr(RoundToInt32(t.hp))});
    items.push_back({InfoLabel("InfoList", "Золото игрока: "), IntToStr(t.gold)});
    items.push_back({InfoLabel("InfoList", "Расса игрока: "), IntToStr(WrapAdd(t.owner, 1))});
    items.push_back({InfoLabel("InfoList", "Ход выполнения:"), IntToStr(t.progress)});
    items.push_back({InfoLabel("InfoList", "План выполнения:"), IntToStr(t.plan)});
  }
  items.push_back({"-------", ""});
  for (int side = 0; side < kSideCount; ++side) {
    items.push_back({InfoLabel("InfoList", "Злолто рассы N"),
                     IntToStr(side + 1) + ": $" + IntToStr(world.players[side].gold)});
  }
  return items;
}

std::vector<std::string> InfoLines(const World& world, const ViewState& view) {
  std::vector<std::string> lines;
  for (const InfoItem& item : InfoItems(world, view)) lines.push_back(item.label + item.value);
  return lines;
}

std::array<bool, kSideCount> LiveSides(const World& world) {
  std::array<bool, kSideCount> live{};
  for (const Tigrok& t : world.entities) {
    if (IsLive(t) && IsSide(t.owner) && (t.kind == kKindPeasant || t.kind == kKindBase)) {
      live[t.owner] = true;
    }
  }
  return live;
}

int LastSideStanding(const World& world) {
  const std::array<bool, kSideCount> live = LiveSides(world);
  int last = -1;
  for (int side = 0; side < kSideCount; ++side) {
    if (!live[side]) continue;
    if (last != -1) return -1;
    last = side;
  }
  return last;
}

}  // namespace kragmoor
