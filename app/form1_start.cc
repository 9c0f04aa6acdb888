// The main window's start of a game as the player chooses it: the start
// dialog at the first start and at a new game from the menu, --side and
// --levels, the choice kept from an earlier run, and the hint of the first
// steps while the chosen game waits paused.
#include <QPointer>

#include "app/form1.h"
#include "app/language.h"
#include "app/options.h"
#include "app/play_panel.h"
#include "app/start_dialog.h"

namespace kragmoor {

namespace {

// Frames of game time the first steps stay in the hint once the game runs:
// one minute.
constexpr int64_t kHintFrames = 6000;

}  // namespace

void TForm1::StartFromOptions(const Options& options) {
  if (options.side >= 0) {
    StartChoice choice;
    choice.side = options.side;
    if (options.levelsGiven) choice.levels = options.levels;
    StartAs(choice);
    return;
  }
  if (options.levelsGiven) {
    if (options.levels != session().level) driver_.ChooseLevels(options.levels);
    ShowInfo();
    return;
  }
  // A game to open, a recording or a bot from the command line start as
  // given, and so does any start with KRAGMOOR_NO_START_DIALOG set (scripts
  // and tests that run the program): the computer plays every other side.
  if (!options.load.isEmpty() || !options.record.isEmpty() || !options.bots.isEmpty() ||
      !qEnvironmentVariableIsEmpty("KRAGMOOR_NO_START_DIALOG")) {
    return;
  }
  if (HasSavedStartChoice()) {
    StartAs(SavedStartChoice());
    return;
  }
  AskStart(false, options.language.isEmpty() ? SavedStartChoice().language : options.language);
}

void TForm1::StartAs(const StartChoice& choice) {
  std::array<bool, kSideCount> checked{true, true, true};
  if (choice.side >= 0 && choice.side < kSideCount) checked[choice.side] = false;
  // Only what differs is given, so the designed start records as before.
  if (checked != session().computerPlayer) driver_.SetComputerPlayers(checked);
  if (choice.levels != session().level) driver_.ChooseLevels(choice.levels);
  const int32_t side = checked == std::array<bool, kSideCount>{true, true, true} ? -1 : choice.side;
  if (side != session().player.side) driver_.ChooseSide(side);
  ShowControls();
  SetPaused(side >= 0);
  ShowInfo();
}

void TForm1::AskStart(bool newGame, const QString& language) {
  if (startDialog_) {
    startDialog_->raise();
    return;
  }
  const QString before = CurrentLanguage();
  const bool wasPaused = driver_.pace().paused();
  SetPaused(true);  // nothing happens behind the question
  StartChoice initial = SavedStartChoice();
  initial.language = language;
  ApplyLanguage(language);
  auto* dialog = new TStartDialog(this, initial);
  dialog->setAttribute(Qt::WA_DeleteOnClose);
  connect(dialog, &QDialog::finished, this, [this, dialog, before, wasPaused, newGame](int r) {
    if (r == QDialog::Accepted) {
      const StartChoice choice = dialog->choice();
      SaveStartChoice(choice);
      if (newGame) NewGame();
      StartAs(choice);
    } else {
      // Cancelled: the game (at the first start, the designed one) goes on as it was.
      ApplyLanguage(before);
      SetPaused(wasPaused);
    }
  });
  startDialog_ = dialog;
  dialog->open();
}

void TForm1::SetPaused(bool paused) {
  if (driver_.pace().paused() != paused) driver_.TogglePause();
  ShowOutcome();
  ShowStatus();
}

QString TForm1::HintText() const {
  const int32_t side = session().player.side;
  if (side < 0 || driver_.watch().over()) return {};
  const QString steps =
      tr("Щёлкните своего крестьянина, затем правой кнопкой по золотой шахте: "
         "он будет носить золото на базу. F1 — правила.");
  if (driver_.pace().paused()) {
    return tr("Пауза. Вы — сторона %1. Пробел — пуск.").arg(side + 1) + ' ' + steps;
  }
  if (driver_.frameSteps() < kHintFrames) {
    return tr("Вы — сторона %1.").arg(side + 1) + ' ' + steps;
  }
  return {};
}

}  // namespace kragmoor
