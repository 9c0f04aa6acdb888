// The start dialog: the side the player takes, each computer player's level
// and the window's language, asked at the first start and at each new game
// from the menu; and those choices kept between runs. Holds no game state.
#pragma once

#include <QDialog>
#include <QString>
#include <array>

#include "app/captions.h"
#include "world/tigrok.h"

class QComboBox;

namespace kragmoor {

inline constexpr int kNormalLevel = 3;  // the designed computer player; 1 and 2 are easier

struct StartChoice {
  int side = 0;  // the player's side, 0 to 2 (shown 1 to 3); -1: the computer plays every side
  std::array<int32_t, kSideCount> levels{kNormalLevel, kNormalLevel, kNormalLevel};  // 1 to 3
  QString language;  // kRussian or kEnglish
};

// Whether the player made a start choice on an earlier run.
bool HasSavedStartChoice();
// The choice made last; before any, side 1 at normal levels in the system's
// language (SystemLanguage) unless a language was chosen in the menu.
StartChoice SavedStartChoice();
void SaveStartChoice(const StartChoice& choice);

// Reads three level digits, side 1's first ("312"), each 1 to 3.
bool ParseLevels(const QString& text, std::array<int32_t, kSideCount>& levels);

class TStartDialog final : public QDialog {
 public:
  // Shows `initial`. Choosing a language switches the whole window to it at
  // once, so the dialog reads in the language chosen.
  TStartDialog(QWidget* parent, const StartChoice& initial);

  StartChoice choice() const;

 protected:
  void changeEvent(QEvent* event) override;

 private:
  // Your own side has no computer player: its level box is off.
  void ShowSide();

  TCaptions captions_;
  QComboBox* side_ = nullptr;
  std::array<QComboBox*, kSideCount> levels_{};
  QComboBox* language_ = nullptr;
};

}  // namespace kragmoor
