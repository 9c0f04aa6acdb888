// Plain-words lines for entities.
#include "game/text/describe.h"

#include <string_view>

#include "world/convert.h"
#include "world/orders.h"
#include "world/rules.h"
#include "world/str_man.h"

namespace kragmoor {

namespace {

struct Texts {
  bool ru;
  // A kind as the subject of the line, and after "to" / "attacking".
  std::string Kind(int32_t kind) const {
    if (kind == kKindPeasant) return ru ? "Крестьянин" : "Peasant";
    if (kind == kKindBase) return ru ? "Главная база" : "Main base";
    if (kind == kKindMine) return ru ? "Золотая шахта" : "Gold mine";
    return (ru ? "Существо вида " : "Entity of kind ") + IntToStr(kind);
  }
  std::string To(int32_t kind) const {  // dative, after "к"
    if (!ru) return Lower(Kind(kind));
    if (kind == kKindPeasant) return "крестьянину";
    if (kind == kKindBase) return "главной базе";
    if (kind == kKindMine) return "золотой шахте";
    return "существу";
  }
  std::string Object(int32_t kind) const {  // accusative
    if (!ru) return Lower(Kind(kind));
    if (kind == kKindPeasant) return "крестьянина";
    if (kind == kKindBase) return "главную базу";
    if (kind == kKindMine) return "золотую шахту";
    return "существо";
  }
  static std::string Lower(std::string s) {
    if (!s.empty() && s[0] >= 'A' && s[0] <= 'Z') s[0] = static_cast<char>(s[0] - 'A' + 'a');
    return s;
  }
};

// The entity named by an order's argument, "gold mine 0"; a number outside
// the table or not a number as written.
std::string Target(const World& world, const Texts& words, std::string_view argument, bool object) {
  int32_t n = 0;
  if (!TryStrToInt(argument, n) || !IsSlot(n)) return std::string(argument);
  const int32_t kind = world.entities[n].kind;
  return (object ? words.Object(kind) : words.To(kind)) + ' ' + IntToStr(n);
}

// Whether a walk to the entity named by `argument` ends in a fight: it is a
// live enemy of `t` that hits back, and the aggression of nearby enemies
// turns the walk into an attack once they meet.
bool WalksToFight(const World& world, const Tigrok& t, std::string_view argument) {
  int32_t n = 0;
  if (!TryStrToInt(argument, n) || !IsSlot(n)) return false;
  const Tigrok& target = world.entities[n];
  return IsLive(target) && target.kind != kKindMine && target.owner != t.owner;
}

// What order text `order` of entity `t` has it do.
std::string Doing(const World& world, const Tigrok& t, const std::string& order, const Texts& w) {
  const auto [verb, argument] = LeadingWords<2>(order, ' ');
  const bool ru = w.ru;
  if (order.empty() || verb == kOrderIdle) return ru ? "ничего не делает" : "idle";
  if (verb == kVerbWalk && WalksToFight(world, t, argument))
    return (ru ? "атакует " : "attacking ") + Target(world, w, argument, true);
  if (verb == kVerbWalk)
    return (ru ? "идёт к " : "walking to ") + Target(world, w, argument, false);
  if (verb == kVerbAttack)
    return (ru ? "атакует " : "attacking ") + Target(world, w, argument, true);
  if (verb == kVerbRepair) return (ru ? "чинит " : "repairing ") + Target(world, w, argument, true);
  if (verb == kVerbPoint) {
    const auto xy = LeadingWords<2>(argument, ',');
    return (ru ? "идёт в точку " : "walking to point ") + std::string(xy[0]) + ',' +
           std::string(xy[1]);
  }
  if (verb == kVerbBuild) {
    const auto kxy = LeadingWords<3>(argument, ',');
    const bool base = kxy[0] == std::to_string(kBuildBase);
    const std::string what = base ? (ru ? "строит главную базу в " : "building a main base at ") +
                                        std::string(kxy[1]) + ',' + std::string(kxy[2])
                                  : (ru ? "обучает крестьянина" : "training a peasant");
    return what + " (" + IntToStr(t.progress) + (ru ? " из " : " of ") + IntToStr(t.plan) +
           (ru ? " золота)" : " gold)");
  }
  return (ru ? "приказ «" : "order \"") + order + (ru ? "»" : "\"");
}

}  // namespace

std::string DescribeEntity(const World& world, int slot, Language language) {
  const bool ru = language == Language::kRussian;
  if (!IsSlot(slot)) return ru ? "Ничего не выбрано" : "Nothing selected";
  const Tigrok& t = world.entities[slot];
  if (!IsLive(t)) return (ru ? "Слот " : "Slot ") + IntToStr(slot) + (ru ? " пуст" : " is empty");
  const Texts w{ru};
  std::string line = w.Kind(t.kind);
  if (t.kind == kKindMine) {  // mines belong to no side in play
    line += (ru ? ", осталось " : ", ") + IntToStr(t.gold) + (ru ? " золота" : " gold left");
  } else {
    line += (ru ? " стороны " : " of side ") + IntToStr(WrapAdd(t.owner, 1));
    if (t.gold > 0)
      line += (ru ? ", несёт " : ", carrying ") + IntToStr(t.gold) + (ru ? " золота" : " gold");
    line += ", " + Doing(world, t, t.order, w);
  }
  line += (ru ? "; здоровье " : "; health ") + IntToStr(RoundToInt32(t.hp)) +
          (ru ? " из " : " of ") + IntToStr(RoundToInt32(t.maxHp));
  return line;
}

std::vector<InfoItem> InfoItemsIn(const World& world, const ViewState& view, Language language) {
  std::vector<InfoItem> items = InfoItems(world, view);
  if (language == Language::kRussian || !IsSlot(view.selected)) return items;
  // The design's lines for the selected entity follow the selection line:
  // order, next order, kind, health, gold, side, progress, plan.
  constexpr size_t kOrder = 1, kNext = 2, kKind = 3, kSide = 6;
  if (items.size() <= kSide) return items;
  const Tigrok& t = world.entities[view.selected];
  const Texts w{false};
  items[kOrder].value = Doing(world, t, t.order, w);
  items[kNext].value = t.nextOrder.empty() ? "" : Doing(world, t, t.nextOrder, w);
  items[kKind].value = Texts::Lower(w.Kind(t.kind));
  if (t.kind == kKindMine) items.erase(items.begin() + kSide);  // mines belong to no side
  return items;
}

std::string PlayerSidesText(const std::array<bool, kSideCount>& computerPlayer, Language language) {
  const bool ru = language == Language::kRussian;
  std::string sides;
  int count = 0;
  for (int side = 0; side < kSideCount; ++side) {
    if (computerPlayer[side]) continue;
    sides += (count++ == 0 ? "" : ", ") + IntToStr(side + 1);
  }
  if (count == 0) return ru ? "Компьютер играет за все стороны" : "The computer plays every side";
  if (count == 1) return (ru ? "Вы: сторона " : "You: side ") + sides;
  return (ru ? "Вы: стороны " : "You: sides ") + sides;
}

}  // namespace kragmoor
