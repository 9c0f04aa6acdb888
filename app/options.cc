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

// A whole number from `low` to `high`, or bad usage naming `option`.
int64_t Whole(const QCommandLineParser& parser, const QString& option, int64_t low, int64_t high) {
  bool ok = false;
  const qlonglong value = parser.value(option).toLongLong(&ok);
  if (!ok || value < low || value > high) {
    BadUsage(QStringLiteral("--%1 takes a number %2 to %3, not '%4'")
                 .arg(option)
                 .arg(low)
                 .arg(high)
                 .arg(parser.value(option)));
  }
  return value;
}

// --host's sides (the positional words) and serve's options.
void ReadHost(const QCommandLineParser& parser, const QStringList& sides, net::HostPlan& plan) {
  if (sides.size() != 3)
    BadUsage(QStringLiteral("--host takes three sides, such as me player ai:2"));
  for (int s = 0; s < 3; ++s) {
    plan.sides[s] = sides[s].toStdString();
    net::RefereeSeat seat;
    bool me = false;
    if (!net::ParseHostSide(plan.sides[s], seat, me)) {
      BadUsage(QStringLiteral("bad side '%1'").arg(sides[s]));
    }
  }
  if (parser.isSet(QStringLiteral("port"))) {
    plan.port = static_cast<uint16_t>(Whole(parser, QStringLiteral("port"), 0, 65535));
  }
  if (parser.isSet(QStringLiteral("bind"))) plan.bind = parser.value("bind").toStdString();
  if (parser.isSet(QStringLiteral("seed"))) {
    plan.referee.seed = static_cast<uint32_t>(Whole(parser, QStringLiteral("seed"), 0, UINT32_MAX));
    plan.referee.timing.seed = plan.referee.seed;
  }
  if (parser.isSet(QStringLiteral("frames"))) {
    plan.referee.frames =
        static_cast<int32_t>(Whole(parser, QStringLiteral("frames"), 0, INT32_MAX));
  }
  if (parser.isSet(QStringLiteral("wait"))) {
    plan.referee.wait = Whole(parser, QStringLiteral("wait"), 0, 24 * 3600) * 1'000'000;
  }
  if (parser.isSet(QStringLiteral("watchers"))) {
    plan.referee.watchers =
        static_cast<int32_t>(Whole(parser, QStringLiteral("watchers"), 0, 1000));
  }
  if (parser.isSet(QStringLiteral("turn"))) {
    plan.referee.timing.turn = static_cast<int32_t>(Whole(parser, QStringLiteral("turn"), 1, 1000));
  }
  if (parser.isSet(QStringLiteral("dropped")) &&
      !net::ParseDroppedPlay(parser.value("dropped").toStdString(), plan.referee.dropped)) {
    BadUsage(QStringLiteral("--dropped takes ai:L, none or pause, not '%1'")
                 .arg(parser.value("dropped")));
  }
  if (parser.isSet(QStringLiteral("files"))) plan.files = parser.value("files").toStdString();
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
  // Network play.
  const QCommandLineOption host(
      QStringLiteral("host"),
      QStringLiteral("Host a network game of the sides SIDE1 SIDE2 SIDE3, given in place of "
                     "FILE: me (this window's seat), player (a seat for a friend who joins), "
                     "ai, ai:L, none or a bot command, as `kragmoor-sim serve` takes them."));
  parser.addOption(host);
  const QCommandLineOption join(QStringLiteral("join"),
                                QStringLiteral("Join the network game at HOST:PORT."),
                                QStringLiteral("HOST:PORT"));
  parser.addOption(join);
  const QCommandLineOption code(QStringLiteral("code"),
                                QStringLiteral("With --join: take the seat of the join code CODE."),
                                QStringLiteral("CODE"));
  parser.addOption(code);
  const QCommandLineOption name(
      QStringLiteral("name"),
      QStringLiteral("With --host or --join: the name the other players see (printable ASCII)."),
      QStringLiteral("NAME"));
  parser.addOption(name);
  const QCommandLineOption watch(QStringLiteral("watch"),
                                 QStringLiteral("With --join: watch, all sides seen."));
  parser.addOption(watch);
  const QCommandLineOption port(
      QStringLiteral("port"), QStringLiteral("With --host: the UDP port (default 27467; 0: any)."),
      QStringLiteral("P"));
  parser.addOption(port);
  const QCommandLineOption bind(QStringLiteral("bind"),
                                QStringLiteral("With --host: the address to listen on."),
                                QStringLiteral("ADDR"));
  parser.addOption(bind);
  const QCommandLineOption seed(QStringLiteral("seed"),
                                QStringLiteral("With --host: the match's seed (default 1)."),
                                QStringLiteral("S"));
  parser.addOption(seed);
  const QCommandLineOption frames(
      QStringLiteral("frames"),
      QStringLiteral("With --host: frame steps to run (default 0: until one side is left)."),
      QStringLiteral("N"));
  parser.addOption(frames);
  const QCommandLineOption wait(
      QStringLiteral("wait"),
      QStringLiteral("With --host: seconds to wait for every seat (default 300)."),
      QStringLiteral("S"));
  parser.addOption(wait);
  const QCommandLineOption dropped(
      QStringLiteral("dropped"),
      QStringLiteral("With --host: what a dropped seat does: ai:L, none or pause (default ai:2)."),
      QStringLiteral("WHAT"));
  parser.addOption(dropped);
  const QCommandLineOption watchers(
      QStringLiteral("watchers"),
      QStringLiteral("With --host: how many watchers may join (default 8)."), QStringLiteral("N"));
  parser.addOption(watchers);
  const QCommandLineOption files(
      QStringLiteral("files"),
      QStringLiteral("With --host: where desync reports go (default the current folder)."),
      QStringLiteral("DIR"));
  parser.addOption(files);
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
  Options options;
  QStringList positional = parser.positionalArguments();
  if (parser.isSet(host)) {
    ReadHost(parser, positional, options.hostPlan);
    options.host = true;
    options.hostPlan.record = parser.value(record).toStdString();
    positional.clear();
  } else {
    for (const QCommandLineOption* o :
         {&port, &bind, &seed, &frames, &wait, &dropped, &watchers, &files}) {
      if (parser.isSet(*o)) BadUsage(QStringLiteral("--%1 is for --host").arg(o->names()[0]));
    }
  }
  if (parser.isSet(join)) {
    if (options.host) BadUsage(QStringLiteral("give --host or --join, not both"));
    options.join = parser.value(join);
    options.code = parser.value(code);
    std::string h;
    uint16_t p = 0;
    if (!net::ParseHostPort(options.join.toStdString(), h, p)) {
      BadUsage(QStringLiteral("--join takes HOST:PORT, not '%1'").arg(options.join));
    }
    if (parser.isSet(watch) == !options.code.isEmpty()) {
      BadUsage(QStringLiteral("--join takes --code CODE or --watch"));
    }
  } else if (parser.isSet(code) || parser.isSet(watch)) {
    BadUsage(QStringLiteral("--code and --watch are for --join"));
  }
  if (parser.isSet(name)) {
    if (!options.host && options.join.isEmpty())
      BadUsage(QStringLiteral("--name is for --host or --join"));
    options.name = parser.value(name);
  }
  if (positional.size() > 1) {
    BadUsage(QStringLiteral("unexpected argument '%1'").arg(positional[1]));
  }
  if (!positional.isEmpty() && parser.isSet(load)) {
    BadUsage(QStringLiteral("give the saved game either as FILE or with --load, not both"));
  }
  options.load = positional.isEmpty() ? parser.value(load) : positional.first();
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
