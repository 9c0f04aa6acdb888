// kragmoor: the game in its window. Starts the toolkit, reads the command
// line, shows the main window and runs the message loop until it closes.
#include <QApplication>

#include "app/form1.h"
#include "app/language.h"
#include "app/options.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  // Ties the window to the installed menu entry (kragmoor.desktop), so a
  // desktop shows the entry's name and icon for it.
  QGuiApplication::setDesktopFileName(QStringLiteral("kragmoor"));
  const kragmoor::Options options = kragmoor::ParseOptions(QCoreApplication::arguments());
  kragmoor::ApplyLanguage(options.language.isEmpty() ? kragmoor::SavedLanguage()
                                                     : options.language);
  kragmoor::TForm1 form;
  form.show();
  return app.exec();
}
