// The input table: for each input, its script command, how it is read from
// words, how it is written, and what it changes.
#include "game/input.h"

#include <type_traits>

#include "game/print.h"
#include "game/quote.h"
#include "game/selection.h"
#include "sim/computer_player.h"
#include "sim/control.h"
#include "sim/view.h"
#include "world/float_text.h"
#include "world/orders.h"
#include "world/str_man.h"

namespace kragmoor {

namespace {

// The position of T among Input's alternatives.
template <typename T, typename V>
struct IndexIn;
template <typename T, typename... Ts>
struct IndexIn<T, std::variant<Ts...>> {
  static constexpr size_t value = [] {
    size_t i = 0;
    // Counts the alternatives before T: the fold stops at T itself.
    static_cast<void>(((std::is_same_v<T, Ts> ? false : (++i, true)) && ...));
    return i;
  }();
};

// One entry from functions of the input's own type T: kParse(words) -> T,
// kFormat(const T&, out), kChange(session, const T&).
template <typename T, auto kParse, auto kFormat, auto kChange>
constexpr std::pair<size_t, InputEntry> Entry(std::string_view command, size_t minWords,
                                              size_t maxWords, bool setsState, bool runsFrame) {
  return {IndexIn<T, Input>::value,
          InputEntry{command, minWords, maxWords, setsState, runsFrame,
                     [](const Words& w) { return Input(kParse(w)); },
                     [](const Input& in, std::string& out) { kFormat(std::get<T>(in), out); },
                     [](Session& s, const Input& in) { kChange(s, std::get<T>(in)); }}};
}

void Two(std::string& out, int64_t a, int64_t b) {
  out += std::to_string(a);
  out += ' ';
  out += std::to_string(b);
}

void NoWords(const auto&, std::string&) {}

void Slots(std::string& out, const std::vector<int32_t>& slots) {
  for (size_t i = 0; i < slots.size(); ++i) {
    if (i != 0) out += ' ';
    out += std::to_string(slots[i]);
  }
}

// Words `first` on as slots: a selection or a group.
std::vector<int32_t> ParseSlots(const Words& w, size_t first) {
  std::vector<int32_t> slots;
  for (size_t i = first; i < w.size(); ++i) slots.push_back(ParseSlot(w[i]));
  return slots;
}

// order := text; a build order ("stroit K,X,Y", K 0 or 1) also sets progress
// := 0 and plan := that kind's cost, as a build click sets them.
void GiveOrder(Tigrok& t, const std::string& text) {
  t.order = text;
  // The kind is read without the conversion error: the text may be
  // anything, and only the two kinds a build click names have a cost.
  const auto [verb, argument] = LeadingWords<2>(text, ' ');
  if (verb != kVerbBuild) return;
  const std::string_view kind = LeadingWords<1>(argument, ',')[0];
  const bool base = kind == std::to_string(kBuildBase);
  if (base || kind == std::to_string(kBuildPeasant)) {
    t.progress = 0;
    t.plan = base ? kBaseCost : kPeasantCost;
  }
}

void ClearPicks(PlayerView& player) {
  player.selection.clear();
  player.selectedGone = false;
  for (auto& group : player.groups) group.clear();
}

constexpr size_t kAnyWords = SIZE_MAX;
constexpr bool kSetsState = true;  // a saved game may hold it
constexpr bool kOther = false;     // does more than set state
constexpr bool kRunsFrame = true;
constexpr bool kNoFrame = false;

// The table, one entry per input, in Input's order (checked below).
constexpr std::pair<size_t, InputEntry> kEntries[] = {
    Entry<MouseAt,
          [](const Words& w) {
            return MouseAt{ParseInt(w[1]), ParseInt(w[2])};
          },
          [](const MouseAt& i, std::string& o) { Two(o, i.x, i.y); },
          [](Session& s, const MouseAt& i) {
            s.player.view.mouseX = i.x;
            s.player.view.mouseY = i.y;
          }>("mouse", 3, 3, kSetsState, kNoFrame),
    Entry<MouseMove,
          [](const Words& w) {
            return MouseMove{ParseInt(w[1]), ParseInt(w[2])};
          },
          [](const MouseMove& i, std::string& o) { Two(o, i.x, i.y); },
          [](Session& s, const MouseMove& i) {
            MouseFromPanel(s.player.view, i.x, i.y, s.player.panelHeight);
          }>("move", 3, 3, kSetsState, kNoFrame),
    Entry<CameraAt,
          [](const Words& w) {
            return CameraAt{ParseFloat(w[1]), ParseFloat(w[2])};
          },
          [](const CameraAt& i, std::string& o) { o += FormatFloat(i.x) + ' ' + FormatFloat(i.y); },
          [](Session& s, const CameraAt& i) { PlaceCamera(s.player.view, i.x, i.y); }>(
        "camera", 3, 3, kSetsState, kNoFrame),
    Entry<CursorAt,
          [](const Words& w) {
            return CursorAt{ParseInt(w[1]), ParseInt(w[2])};
          },
          [](const CursorAt& i, std::string& o) { Two(o, i.column, i.row); },
          [](Session& s, const CursorAt& i) {
            s.player.view.cursorColumn = i.column;
            s.player.view.cursorRow = i.row;
          }>("cursor", 3, 3, kSetsState, kNoFrame),
    Entry<ClickMode, [](const Words& w) { return ClickMode{ParseInt(w[1])}; },
          [](const ClickMode& i, std::string& o) { o += std::to_string(i.mode); },
          [](Session& s, const ClickMode& i) { s.player.clickMode = i.mode; }>(
        "mode", 2, 2, kSetsState, kNoFrame),
    Entry<BuildItem, [](const Words& w) { return BuildItem{ParseInt(w[1])}; },
          [](const BuildItem& i, std::string& o) { o += std::to_string(i.item); },
          [](Session& s, const BuildItem& i) { s.player.buildItem = i.item; }>(
        "build", 2, 2, kSetsState, kNoFrame),
    Entry<ComputerPlayers,
          [](const Words& w) {
            ComputerPlayers i;
            for (int side = 0; side < kSideCount; ++side) {
              i.checked[side] = ParseInt(w[side + 1], 0, 1) == 1;
            }
            return i;
          },
          [](const ComputerPlayers& i, std::string& o) {
            for (int side = 0; side < kSideCount; ++side) {
              if (side != 0) o += ' ';
              o += i.checked[side] ? '1' : '0';
            }
          },
          [](Session& s, const ComputerPlayers& i) { s.computerPlayer = i.checked; }>(
        "ai", 4, 4, kSetsState, kNoFrame),
    Entry<PanelSize,
          [](const Words& w) {
            return PanelSize{ParseInt(w[1], 0), ParseInt(w[2], 0)};
          },
          [](const PanelSize& i, std::string& o) { Two(o, i.width, i.height); },
          [](Session& s, const PanelSize& i) {
            s.player.panelWidth = i.width;
            s.player.panelHeight = i.height;
          }>("panel", 3, 3, kSetsState, kNoFrame),
    Entry<Resize,
          [](const Words& w) {
            return Resize{ParseInt(w[1], 0), ParseInt(w[2], 0)};
          },
          [](const Resize& i, std::string& o) { Two(o, i.width, i.height); },
          [](Session& s, const Resize& i) {
            s.player.panelWidth = i.width;
            s.player.panelHeight = i.height;
          }>("resize", 3, 3, kOther, kRunsFrame),
    Entry<Click, [](const Words&) { return Click{}; }, NoWords<Click>,
          [](Session& s, const Click&) {
            ClickOnField(s.world, s.player.view, s.player.clickMode, s.player.buildItem);
            if (s.player.clickMode == kModeSelect) s.player.selectedGone = false;
          }>("click", 1, 1, kOther, kNoFrame),
    Entry<Select, [](const Words& w) { return Select{ParseInt(w[1], -1, kSlotCount - 1)}; },
          [](const Select& i, std::string& o) { o += std::to_string(i.slot); },
          [](Session& s, const Select& i) {
            s.player.view.selected = i.slot;
            s.player.selectedGone = false;  // whatever the slot holds now
          }>("select", 2, 2, kSetsState, kNoFrame),
    Entry<Seed, [](const Words& w) { return Seed{ParseUnsigned(w[1])}; },
          [](const Seed& i, std::string& o) { o += std::to_string(i.seed); },
          [](Session& s, const Seed& i) { s.world.seed = i.seed; }>("seed", 2, 2, kSetsState,
                                                                    kNoFrame),
    Entry<Gold,
          [](const Words& w) {
            return Gold{ParseInt(w[1], 0, kSideCount - 1), ParseInt(w[2])};
          },
          [](const Gold& i, std::string& o) { Two(o, i.side, i.value); },
          [](Session& s, const Gold& i) { s.world.players[i.side].gold = i.value; }>(
        "gold", 3, 3, kSetsState, kNoFrame),
    Entry<SetSlot,
          [](const Words& w) {
            SetSlot i;
            i.slot = ParseSlot(w[1]);
            for (size_t k = 2; k < w.size(); ++k) {
              i.fields |= ReadField(i.values, w[k]);
            }
            return i;
          },
          [](const SetSlot& i, std::string& o) {
            o += std::to_string(i.slot);
            AppendFields(o, i.values, i.fields);
          },
          [](Session& s, const SetSlot& i) {
            Tigrok& t = s.world.entities[i.slot];
            for (size_t f = 0; f < kTigrokFields.size(); ++f) {
              if ((i.fields >> f) & 1) CopyField(kTigrokFields[f], i.values, t);
            }
          }>("set", 3, kAnyWords, kSetsState, kNoFrame),
    Entry<Tick, [](const Words& w) { return Tick{ParseUnsigned(w[1])}; },
          [](const Tick& i, std::string& o) { o += std::to_string(i.value); },
          [](Session& s, const Tick& i) { s.player.ticks = i.value; }>("tick", 2, 2, kSetsState,
                                                                       kNoFrame),
    Entry<Reset, [](const Words&) { return Reset{}; }, NoWords<Reset>,
          [](Session& s, const Reset&) {
            ClearWorld(s.world);
            s.player.view = ViewState{};
            ClearPicks(s.player);  // a set or group of slots just emptied
          }>("reset", 1, 1, kSetsState, kNoFrame),
    Entry<Scenario, [](const Words&) { return Scenario{}; }, NoWords<Scenario>,
          [](Session& s, const Scenario&) { SetUpScenario(s.world); }>("scenario", 1, 1, kSetsState,
                                                                       kNoFrame),
    Entry<Order,
          [](const Words& w) {
            return Order{ParseSlot(w[1]), ParseText(w[2])};
          },
          [](const Order& i, std::string& o) {
            o += std::to_string(i.slot) + " \"" + i.text + '"';
          },
          [](Session& s, const Order& i) { GiveOrder(s.world.entities[i.slot], i.text); }>(
        "order", 3, 3, kSetsState, kNoFrame),
    Entry<Levels,
          [](const Words& w) {
            Levels i;
            for (int side = 0; side < kSideCount; ++side) {
              i.level[side] = ParseInt(w[side + 1], kLevelEasiest, kLevelNormal);
            }
            return i;
          },
          [](const Levels& i, std::string& o) {
            Two(o, i.level[0], i.level[1]);
            o += ' ' + std::to_string(i.level[2]);
          },
          [](Session& s, const Levels& i) { s.level = i.level; }>("level", 4, 4, kSetsState,
                                                                  kNoFrame),
    Entry<SelectionSet, [](const Words& w) { return SelectionSet{ParseSlots(w, 1)}; },
          [](const SelectionSet& i, std::string& o) { Slots(o, i.members); },
          [](Session& s, const SelectionSet& i) {
            s.player.selection = NormalSelection(i.members);
            const auto& set = s.player.selection;
            s.player.view.selected = set.empty() ? -1 : set.front();
            s.player.selectedGone = false;
          }>("selection", 1, kAnyWords, kSetsState, kNoFrame),
    Entry<Group,
          [](const Words& w) {
            return Group{ParseInt(w[1], 1, kGroupCount), ParseSlots(w, 2)};
          },
          [](const Group& i, std::string& o) {
            o += std::to_string(i.group);
            if (!i.members.empty()) o += ' ';
            Slots(o, i.members);
          },
          [](Session& s, const Group& i) {
            s.player.groups[i.group - 1] = NormalSelection(i.members);
          }>("group", 2, kAnyWords, kSetsState, kNoFrame),
    Entry<EdgeScroll, [](const Words& w) { return EdgeScroll{ParseInt(w[1], 0)}; },
          [](const EdgeScroll& i, std::string& o) { o += std::to_string(i.margin); },
          [](Session& s, const EdgeScroll& i) { s.player.scrollMargin = i.margin; }>(
        "edgescroll", 2, 2, kSetsState, kNoFrame),
    Entry<KeepView, [](const Words& w) { return KeepView{ParseInt(w[1], 0, 1) == 1}; },
          [](const KeepView& i, std::string& o) { o += i.keep ? '1' : '0'; },
          [](Session& s, const KeepView& i) { s.player.keepViewOverField = i.keep; }>(
        "keepview", 2, 2, kSetsState, kNoFrame),
    Entry<OwnSide, [](const Words& w) { return OwnSide{ParseInt(w[1], -1, kSideCount - 1)}; },
          [](const OwnSide& i, std::string& o) { o += std::to_string(i.side); },
          [](Session& s, const OwnSide& i) { s.player.side = i.side; }>("side", 2, 2, kSetsState,
                                                                        kNoFrame),
    // Only a saved game writes it, after its `select` and `selection`, which
    // clear the mark: the entity the view names stays out of the player's reach.
    Entry<SelectedGone, [](const Words&) { return SelectedGone{}; }, NoWords<SelectedGone>,
          [](Session& s, const SelectedGone&) { s.player.selectedGone = true; }>(
        "gone", 1, 1, kSetsState, kNoFrame),
};

constexpr bool InInputOrder() {
  for (size_t i = 0; i < std::size(kEntries); ++i) {
    if (kEntries[i].first != i) return false;
  }
  return std::size(kEntries) == std::variant_size_v<Input>;
}
static_assert(InInputOrder(), "one entry per input, in the order of Input's alternatives");

}  // namespace

const InputEntry& EntryOf(const Input& input) { return kEntries[input.index()].second; }

const InputEntry* FindInput(std::string_view command) {
  for (const auto& [index, entry] : kEntries) {
    if (entry.command == command) return &entry;
  }
  return nullptr;
}

Input ParseInput(const InputEntry& entry, const Words& words) {
  if (words.size() < entry.minWords || words.size() > entry.maxWords) {
    throw ScriptError("wrong number of words for " + Quoted(words[0]));
  }
  return entry.parse(words);
}

std::string FormatInput(const Input& input) {
  const InputEntry& entry = EntryOf(input);
  std::string out(entry.command);
  std::string words;
  entry.format(input, words);
  if (!words.empty()) out += ' ' + words;
  return out;
}

}  // namespace kragmoor
