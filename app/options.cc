// The game window's command line.
#include "app/options.h"

#include <QCommandLineParser>
#include <cstdio>
#include <cstdlib>

#include "app/language.h"
#include "app/start_dialog.h"

namespace kragmoor {

namespace {

[[noreturn]] void BadUsage(const QString& what) {
  std::fprintf(stderr, "kragmoor: %s\n", qPrintable(what));
  std::exit(1);
}

}  // namespace

Options ParseOptions(const QStringList& arguments) {
  QCommandLineParser parser;
  parser.setApplicationDescription(QStringLiteral("KRAGMOOR, a small real-time strategy game."));
  const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                QStringLiteral("Print these options and exit."));
  parser.addOption(help);
  const QCommandLineOption version(QStringLiteral("version"),
                                   QStringLiteral("Print the game's version and exit."));
  parser.addOption(version);
  const QCommandLineOption lang(
      QStringLiteral("lang"),
      QStringLiteral("The language of the window for this run: en or ru (default: the one "
                     "chosen in the Language menu, at first Russian)."),
      QStringLiteral("en|ru"));
  parser.addOption(lang);
  const QCommandLineOption load(
      QStringLiteral("load"),
      QStringLiteral("Open the saved game FILE at start, or the replay "
                     "of the recording FILE (the same as giving FILE alone)."),
      QStringLiteral("FILE"));
  parser.addOption(load);
  const QCommandLineOption record(
      QStringLiteral("record"),
      QStringLiteral("Record the game from its start to FILE, a script that `kragmoor-sim "
                     "check FILE` replays, verifying every hash."),
      QStringLiteral("FILE"));
  parser.addOption(record);
  const QCommandLineOption bot(
      QStringLiteral("bot"),
      QStringLiteral("Side SIDE (1 to 3) is played by the bot program COMMAND, run with "
                     "/bin/sh -c, through the bot protocol of `kragmoor-sim arena`; may be "
                     "given for each side."),
      QStringLiteral("SIDE=COMMAND"));
  parser.addOption(bot);
  const QCommandLineOption turn(QStringLiteral("turn"),
                                QStringLiteral("Frames per bot turn (default 10)."),
                                QStringLiteral("K"));
  parser.addOption(turn);
  const QCommandLineOption side(
      QStringLiteral("side"),
      QStringLiteral("Play side N (1 to 3): its AI box off, the others on, the game paused "
                     "at start with no start dialog."),
      QStringLiteral("N"));
  parser.addOption(side);
  const QCommandLineOption levels(
      QStringLiteral("levels"),
      QStringLiteral("The computer players' levels, side 1's first, each 1 (easy) to 3 "
                     "(normal), as in `kragmoor-sim match --levels`; default 333."),
      QStringLiteral("L0L1L2"));
  parser.addOption(levels);
  parser.addPositionalArgument(QStringLiteral("FILE"),
                               QStringLiteral("A saved game or a recording to open at start."),
                               "[FILE]");
  if (!parser.parse(arguments)) BadUsage(parser.errorText());
  if (parser.isSet(version)) {
    std::printf("kragmoor %s\n", KRAGMOOR_VERSION);
    std::exit(0);
  }
  if (parser.isSet(help)) {
    // Before the toolkit starts (no display needed) the parser does not
    // know the program's name.
    QString text = parser.helpText();
    text.replace(QStringLiteral("<executable_name>"), QStringLiteral("kragmoor"));
    std::fputs(qPrintable(text), stdout);
    std::exit(0);
  }
  const QStringList files = parser.positionalArguments();
  if (files.size() > 1) BadUsage(QStringLiteral("unexpected argument '%1'").arg(files[1]));
  if (!files.isEmpty() && parser.isSet(load)) {
    BadUsage(QStringLiteral("give the saved game either as FILE or with --load, not both"));
  }
  Options options;
  options.load = files.isEmpty() ? parser.value(load) : files.first();
  options.record = parser.value(record);
  if (parser.isSet(load) && options.load.isEmpty()) BadUsage(QStringLiteral("--load needs a FILE"));
  if (parser.isSet(record) && options.record.isEmpty()) {
    BadUsage(QStringLiteral("--record needs a FILE"));
  }
  for (const QString& given : parser.values(bot)) {
    const qsizetype eq = given.indexOf(QLatin1Char('='));
    const int side = given.left(eq).toInt();
    if (eq < 0 || side < 1 || side > 3 || given.mid(eq + 1).isEmpty()) {
      BadUsage(QStringLiteral("--bot takes SIDE=COMMAND, SIDE 1 to 3, not '%1'").arg(given));
    }
    options.bots << given;
  }
  if (parser.isSet(turn)) {
    bool ok = false;
    options.turn = parser.value(turn).toInt(&ok);
    if (!ok || options.turn < 1)
      BadUsage(QStringLiteral("--turn takes a number of frames, 1 or more"));
  }
  if (parser.isSet(side)) {
    bool ok = false;
    options.side = parser.value(side).toInt(&ok) - 1;
    if (!ok || options.side < 0 || options.side > 2) {
      BadUsage(QStringLiteral("--side takes 1, 2 or 3, not '%1'").arg(parser.value(side)));
    }
  }
  if (parser.isSet(levels)) {
    options.levelsGiven = ParseLevels(parser.value(levels), options.levels);
    if (!options.levelsGiven) {
      BadUsage(QStringLiteral("--levels takes three digits 1 to 3, such as 312, not '%1'")
                   .arg(parser.value(levels)));
    }
  }
  if (parser.isSet(lang)) {
    options.language = parser.value(lang);
    if (!IsLanguage(options.language)) {
      BadUsage(QStringLiteral("--lang takes en or ru, not '%1'").arg(options.language));
    }
  }
  return options;
}

bool AsksForHelpOrVersion(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    const QString a = QString::fromLocal8Bit(argv[i]);
    if (a == QStringLiteral("--")) return false;
    if (a == QStringLiteral("-h") || a == QStringLiteral("--help") ||
        a == QStringLiteral("--version")) {
      return true;
    }
  }
  return false;
}

}  // namespace kragmoor
