// The game window's command line.
#include "app/options.h"

#include <QCommandLineParser>
#include <cstdio>
#include <cstdlib>

#include "app/language.h"

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
  const QCommandLineOption lang(
      QStringLiteral("lang"),
      QStringLiteral("The language of the window for this run: en or ru (default: the one "
                     "chosen in the Language menu, at first Russian)."),
      QStringLiteral("en|ru"));
  parser.addOption(lang);
  if (!parser.parse(arguments)) BadUsage(parser.errorText());
  if (parser.isSet(help)) {
    std::fputs(qPrintable(parser.helpText()), stdout);
    std::exit(0);
  }
  if (!parser.positionalArguments().isEmpty()) {
    BadUsage(QStringLiteral("unexpected argument '%1'").arg(parser.positionalArguments().first()));
  }
  Options options;
  if (parser.isSet(lang)) {
    options.language = parser.value(lang);
    if (!IsLanguage(options.language)) {
      BadUsage(QStringLiteral("--lang takes en or ru, not '%1'").arg(options.language));
    }
  }
  return options;
}

}  // namespace kragmoor
