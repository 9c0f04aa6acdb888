// kragmoor: the game in its window. Starts the toolkit, reads the command
// line, shows the main window and runs the message loop until the window
// closes: by its own controls, on SIGTERM, SIGINT or SIGHUP, or when another
// program destroys it.
#include <QApplication>

#include "app/form1.h"
#include "app/language.h"
#include "app/lifecycle.h"
#include "app/options.h"

int main(int argc, char** argv) {
  if (kragmoor::AsksForHelpOrVersion(argc, argv)) {
    // Answered without a display: ParseOptions prints and exits.
    QStringList arguments;
    for (int i = 0; i < argc; ++i) arguments << QString::fromLocal8Bit(argv[i]);
    kragmoor::ParseOptions(arguments);
  }
  const sigset_t quitSignals = kragmoor::BlockQuitSignals();
  kragmoor::PreferEglOnX();
  const QtMessageHandler previous = qInstallMessageHandler(kragmoor::StartUpMessage);
  QApplication app(argc, argv);
  kragmoor::EndStartUp(previous);
  // Ties the window to the installed menu entry (kragmoor.desktop), so a
  // desktop shows the entry's name and icon for it.
  QGuiApplication::setDesktopFileName(QStringLiteral("kragmoor"));
  const kragmoor::Options options = kragmoor::ParseOptions(QCoreApplication::arguments());
  kragmoor::ApplyLanguage(options.language.isEmpty() ? kragmoor::SavedLanguage()
                                                     : options.language);
  kragmoor::TForm1 form;
  // A signal closes the window as its close button would; the last window
  // closed ends the loop with 0.
  const kragmoor::QuitSignals quit(quitSignals, [&form] { form.close(); });
  kragmoor::OutsideDestroyWatch watch(form, [] { QCoreApplication::exit(0); });
  app.installNativeEventFilter(&watch);
  form.show();
  // A save that cannot be opened, or a recording that cannot start, shows its
  // box over a new game (a recording opens in a replay window over it); a
  // recording already at --record's file is asked
  // about before it is replaced.
  // A network game: hosted here, or joined; nothing of a game on one
  // machine starts. One that cannot start exits with 2 after its box.
  if (options.host || !options.join.isEmpty()) {
    if (!options.name.isEmpty()) form.SetNetworkName(options.name, false);
    const bool started = options.host
                             ? form.HostNetwork(options.hostPlan)
                             : form.JoinNetwork(options.join, options.code, options.record);
    if (!started) return 2;
    return app.exec();
  }
  if (!options.load.isEmpty()) form.OpenGame(options.load);
  // --side and --levels, the start choice of an earlier run, or at the
  // first start the start dialog.
  form.StartFromOptions(options);
  if (!options.record.isEmpty()) form.RecordFromStart(options.record, options.load);
  // Without --record, the game goes to the data folder, unless turned off.
  if (options.record.isEmpty()) form.RecordByDefault();
  for (const QString& bot : options.bots) {
    const qsizetype eq = bot.indexOf(QLatin1Char('='));
    form.StartBot(bot.left(eq).toInt() - 1, bot.mid(eq + 1), options.turn);
  }
  return app.exec();
}
