// The game window's command line: what each option means and how it is read.
// New options go in ParseOptions and Options.
#pragma once

#include <QString>
#include <QStringList>
#include <array>
#include <cstdint>

#include "game/net/network_game.h"

namespace kragmoor {

struct Options {
  QString language;          // "ru" or "en" for this run only; empty: the one chosen in the menu
  QString load;              // a saved game to open at start ([FILE] or --load FILE); empty: none
  QString record;            // where to record the game from its start (--record FILE); empty: none
  QStringList bots;          // --bot SIDE=COMMAND, as given: sides played by bot programs
  int turn = 10;             // --turn K: frames per bot turn
  int side = -1;             // --side N: the player's side, 0 to 2 (N is 1 to 3); -1: not given
  bool levelsGiven = false;  // --levels L0L1L2 was given
  std::array<int32_t, 3> levels{3, 3, 3};  // its computer players' levels, side 1's first
  // Network play: --host SIDE1 SIDE2 SIDE3 with serve's options (hostPlan),
  // or --join HOST:PORT with --code CODE or --watch.
  bool host = false;
  net::HostPlan hostPlan;
  QString join;  // HOST:PORT; empty: not joining
  QString code;  // empty with --join: watching
  QString name;  // --name: ours in a network game; empty: the kept one
};

// Reads the command line, the program's name first, with the toolkit's own
// options already taken out (QCoreApplication::arguments()). --help prints
// the options and --version the version, each exiting with 0; bad usage prints one line on standard
// error and exits with 1.
Options ParseOptions(const QStringList& arguments);

// Whether the raw command line asks for --help or --version: those are
// answered before the toolkit starts, so they need no display.
bool AsksForHelpOrVersion(int argc, char** argv);

}  // namespace kragmoor
