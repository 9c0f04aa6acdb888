// Panel2, the control panel on the left of the main window: the information
// list, the click-mode and build radio groups, and the computer players'
// check boxes with their sides' colours. Shows what it is given and reports
// what the player chose; holds no game state.
#pragma once

#include <QFrame>
#include <array>
#include <functional>
#include <vector>

#include "sim/control.h"
#include "world/tigrok.h"

class QCheckBox;
class QListWidget;

namespace kragmoor {

class TCaptions;
class TRadioGroup;

class TControlPanel final : public QFrame {
 public:
  // The controls at their places, captions in `captions`' language.
  TControlPanel(QWidget* parent, TCaptions& captions);

  // Called when the player chooses an item or ticks a box (never while
  // ShowChoices sets them).
  std::function<void(int)> onClickMode;
  std::function<void(int)> onBuildItem;
  std::function<void(const std::array<bool, kSideCount>&)> onComputerPlayers;

  // The check boxes and radio groups show these, without reporting them
  // back as the player's choice (after a load).
  void ShowChoices(const std::array<bool, kSideCount>& computerPlayers, int clickMode,
                   int buildItem);
  // The check boxes show `computerPlayers` and take clicks or not (in a
  // network game they are the referee's), without reporting anything.
  void ShowComputerPlayers(const std::array<bool, kSideCount>& computerPlayers, bool enabled);
  // The information list: each label in the current language, then its
  // value. A list that would not change is not repainted.
  void ShowInfo(const std::vector<InfoItem>& items);
  // Each side's colour in the swatch beside its box.
  void ShowSideColours(const std::array<Player, kSideCount>& players);

 private:
  void CreateRadioGroups(TCaptions& captions);
  void CreateCheckBoxes(TCaptions& captions);

  QListWidget* listBox1_ = nullptr;
  TRadioGroup* radioGroup1_ = nullptr;
  TRadioGroup* radioGroup2_ = nullptr;
  std::array<QCheckBox*, kSideCount> checkBoxes_{};
  std::array<QFrame*, kSideCount> swatches_{};  // each side's colour beside its box
  bool showingChoices_ = false;                 // ShowChoices is setting them: no report
};

}  // namespace kragmoor
