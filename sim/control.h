// What the window does with the mouse and shows in its information list and
// status bar, as functions of the world and the player's view, so the window
// and the headless runner share them.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "world/rules.h"  // kBuildBase and kBuildPeasant, the build choices
#include "world/tigrok.h"

namespace kragmoor {

// Click modes: the items of the click-mode radio group.
inline constexpr int32_t kModeSelect = 0;  // "Выбрать"
inline constexpr int32_t kModeGo = 1;      // "Идти"
inline constexpr int32_t kModeAttack = 2;  // "Атаковать"
inline constexpr int32_t kModeBuild = 3;   // "Строить"
inline constexpr int32_t kModeRepair = 4;  // "Чинить"

// The first slot (dead or alive) whose position, divided by the cell size and truncated
// toward zero, is the view's cursor cell; -1 when none.
int HitTest(const World& world, const ViewState& view);

// What a click on the play field does (the `click` input, which the window
// records and applies for a left-button click): hit test on the view's cursor cell of the last
// frame, then the action of click mode `mode` on the view's selected entity
// (a select click changes the view, the others an order in the world).
// `buildItem` is the chosen item of the build radio group. Unknown modes do
// nothing.
void ClickOnField(World& world, ViewState& view, int32_t mode, int32_t buildItem);

// The mouse moved to (x, y) over a panel `panelHeight` pixels high, y counted
// downwards as the toolkit reports it: stores it with y counted upwards.
// (The `move` input, which the window records for each pointer move.)
void MouseFromPanel(ViewState& view, int32_t x, int32_t y, int32_t panelHeight);

// The pointer is not over the play field (it has not entered it yet, or it
// has left it): the game takes it to rest at the centre of the width x height
// panel, (width / 2, height / 2) with y counted upwards. No edge scrolls there
// on a panel at least twice the scroll margin wide and high. Returns whether
// the mouse position changed.
bool RestPointer(ViewState& view, int32_t width, int32_t height);

// One line of the information list: its label as the game writes it (in
// Russian) and the value that follows it at once.
struct InfoItem {
  const char* label;
  std::string value;
};

// The translation context under which the window files the labels' other
// languages (its translation tool finds each label in control.cc).
inline constexpr char kInfoLabelContext[] = "InfoList";

// The items of the information list: the view's selection, its fields when
// an entity is selected, the dashes and each side's purse.
std::vector<InfoItem> InfoItems(const World& world, const ViewState& view);

// The same as lines of text, each label followed by its value.
std::vector<std::string> InfoLines(const World& world, const ViewState& view);

// The sides that still have a live peasant or main base, side 0 first.
std::array<bool, kSideCount> LiveSides(const World& world);

// The one side left with live peasants or bases; -1 while two or more sides
// have some, and when none has any.
int LastSideStanding(const World& world);

}  // namespace kragmoor
