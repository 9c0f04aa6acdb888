// The runner's usage text and its one reader of command-line options.
#include "runner/command_line.h"

#include "game/quote.h"

namespace kragmoor {

namespace {

constexpr const char* kUsageText =
    "usage:\n"
    "  kragmoor-sim run [--files DIR] [FILE]\n"
    "                                   run a scenario script from FILE, or from standard input\n"
    "                                   (none or '-'); FILE is a regular file, never a FIFO\n"
    "  kragmoor-sim check [--files DIR] [--max-frames N] FILE\n"
    "                                   run a script and compare its output with its '#> ' lines\n"
    "  kragmoor-sim match [OPTIONS]     the three computer players play from the initial scenario\n"
    "  kragmoor-sim arena [OPTIONS] SIDE1 SIDE2 SIDE3\n"
    "                                   a match in which any side may be played by a bot\n"
    "  kragmoor-sim tournament [OPTIONS] NAME=SIDE ...\n"
    "                                   every seating of the entrants on every seed, rated\n"
    "  kragmoor-sim summary [--every N] RECORDING\n"
    "                                   the recording's figures per side over time, as CSV\n"
    "  kragmoor-sim serve [OPTIONS] SIDE1 SIDE2 SIDE3\n"
    "                                   referee a network game (docs/network.md)\n"
    "  kragmoor-sim join [OPTIONS] HOST:PORT\n"
    "                                   take a seat in, or watch, a network game\n"
    "  kragmoor-sim --help              this text; so is --help after any command\n"
    "\n"
    "run and check options:\n"
    "  --files DIR       let the script's save and load touch files inside DIR (a relative\n"
    "                    path is taken from DIR; '..' may not lead out, no link is followed);\n"
    "                    without it they are script errors, so a script or recording from\n"
    "                    anyone touches no file: check of a recording reads FILE and nothing else\n"
    "  --max-frames N    check: run at most N frame steps; more is a script error\n"
    "Ctrl+C ends a run or check at once (exit status 130); on a terminal, check shows\n"
    "the frames done of the script's total (its step, trace and resize lines, counted ahead).\n"
    "\n"
    "match options:\n"
    "  --seed S          random seed, 0 to 4294967295 (default 1)\n"
    "  --frames N        frame steps to run, 0 to 2147483647 (default 10000)\n"
    "  --ai B0B1B2       computer-player boxes as three digits 0/1, side 0 first (default 111)\n"
    "  --levels L0L1L2   computer-player levels as three digits 1 to 3, side 0 first;\n"
    "                    3 is the normal player, 1 and 2 are easier (default 333)\n"
    "  --hash-every K    print 'frame F hash H' after every K-th frame\n"
    "  --save PATH       after the last frame, write the game as a saved game to PATH\n"
    "  --seeds A-B       one match for each seed from A to B, in place of --seed; each\n"
    "                    match's output follows a line 'seed S', in seed order\n"
    "  --jobs N          with --seeds, matches run at once, 1 to 1024 (default: the\n"
    "                    number of cores); the output is the same for every N\n"
    "\n"
    "arena: each SIDE is 'ai' (the computer player), 'ai:L' (at level L, 1 to 3), 'none'\n"
    "or a command run with /bin/sh -c that plays through the bot protocol (docs/bots.md)\n"
    "  --seed S          random seed (default 1)\n"
    "  --frames N        frame steps to run (default 10000)\n"
    "  --turn K          frames per turn: bots are asked before frame 1, then after\n"
    "                    every K-th frame (default 10)\n"
    "  --budget MS       milliseconds a bot has for one answer (default 100)\n"
    "  --overtime MS     a bot's pool for late answers, for the whole match (default 10000)\n"
    "  --record PATH     write the match as a recording that 'check' verifies\n"
    "  --transcript FILE write every message to and from each bot, with its frame, to FILE\n"
    "  --start SAVE      play on from the saved game SAVE (its seed the game's) in place of\n"
    "                    the initial scenario\n"
    "  --tag TEXT        print 'tag TEXT' first (one word; the matches of a tournament's plan)\n"
    "\n"
    "tournament: entrants NAME=SIDE, SIDE as for arena, NAME 1 to 40 bytes of printable\n"
    "UTF-8 without spaces, commas or backslashes; options --seeds A-B (default 1-10),\n"
    "--frames N, --jobs J, --turn K, --budget MS, --overtime MS as above, and\n"
    "--record-dir DIR: one recording per match in the folder DIR, named\n"
    "'matchG-seedS-NAME1-NAME2-NAME3.sim' and given at the end of its match line\n"
    "(recording=NAME). Ranks the entrants by a\n"
    "Weng-Lin Bayesian rating with the Plackett-Luce model, mean mu and deviation sigma;\n"
    "an entrant whose bot failed in a match is counted as failed there, not as playing.\n"
    "Over 10000 matches it first says how many and how long; Ctrl+C ends it with the\n"
    "table of the matches finished (exit status 130)\n"
    "  --plan            play nothing: print one 'arena' command line per match, to run elsewhere\n"
    "  --results FILE    play nothing: rank from the plan's collected outputs (repeatable)\n"
    "\n"
    "summary: replays RECORDING and prints 'frame,side,gold,mined,peasants,bases,lost,\n"
    "killed,orders' lines every N frames (default 100) and at its last frame, whose three\n"
    "lines are the final table (see man kragmoor-sim)\n"
    "serve: each SIDE as for arena, or 'player': a seat for a peer that joins with the\n"
    "code printed for it ('seat N code=CODE', then 'listening on ADDR:PORT')\n"
    "  --port P          UDP port, 0 for any free one (default 27467)\n"
    "  --bind ADDR       the address to listen on (default: all interfaces)\n"
    "  --seed, --turn, --budget, --overtime, --record   as for arena\n"
    "  --frames N        frame steps to run; 0 (the default): until one side is left\n"
    "  --wait S          seconds to wait for every player seat before frame 1 (default 300)\n"
    "  --dropped D       what a seat whose peer is gone plays as: ai:L, none, or pause\n"
    "                    (the whole game, at most 60 s, then none) (default ai:2)\n"
    "  --watchers N      watchers that may join (default 8)\n"
    "  --files DIR       where desync reports' states are saved (default: the current folder)\n"
    "join: --code CODE takes that seat, --watch watches, --bot COMMAND plays the seat\n"
    "with an arena bot; exit status 0 on the referee's hash, 2 refused (wrong code,\n"
    "seat taken, another version), 4 a desync, 5 the connection lost for good\n"
    "\n"
    "exit status: 0 done (check: the output is as expected); 1 standard output or a saved\n"
    "game could not be written (check: the output differs, or the script has no '#> ' line\n"
    "and so verifies nothing); 2 bad usage, a script that cannot be read or a script error\n"
    "(a script line holds at most 1048576 bytes, a text at most 65536); 3 check: a recording\n"
    "cut short (no closing hash and '# end of recording', or a cut last line), all it\n"
    "holds as expected; 6 arena or tournament: a bot failed (did not start, timed out,\n"
    "exited, wrote bad output or flooded its input) or a match could not be played;\n"
    "130 interrupted (Ctrl+C)\n";

}  // namespace

void PrintUsage(std::ostream& out) { out << kUsageText; }

std::optional<int> ReadOptions(int argc, char** argv, const std::vector<Option>& options,
                               std::vector<std::string_view>* words, std::ostream& out) {
  for (int i = 2; i < argc; ++i) {
    const std::string_view word = argv[i];
    if (word == "--help") {
      PrintUsage(out);
      return 0;
    }
    const Option* option = nullptr;
    for (const Option& o : options) {
      if (o.name == word) option = &o;
    }
    if (option == nullptr) {
      if (words != nullptr && !word.starts_with("--")) {
        words->push_back(word);
        continue;
      }
      return Usage("unknown option " + Quoted(word) + "; try 'kragmoor-sim --help'");
    }
    if (option->flag) {
      if (!option->read("")) return Usage("option '" + std::string(word) + "' given twice");
      continue;
    }
    if (i + 1 >= argc) return Usage("option '" + std::string(word) + "' needs a value");
    const std::string_view value = argv[++i];
    if (!option->read(value)) {
      return Usage("bad value " + Quoted(value) + " for " + std::string(word));
    }
  }
  return std::nullopt;
}

}  // namespace kragmoor
