// kragmoor: the game in its window. Starts the toolkit, shows the main window
// and runs the message loop until the window closes.
#include <QApplication>

#include "app/form1.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  // Ties the window to the installed menu entry (kragmoor.desktop), so a
  // desktop shows the entry's name and icon for it.
  QGuiApplication::setDesktopFileName(QStringLiteral("kragmoor"));
  kragmoor::TForm1 form;
  form.show();
  return app.exec();
}
