// kragmoor-screen: a helper for scripts/play on a virtual display. Moves the
// pointer, or saves a picture of the whole screen as PNG. Not part of the game.
#include <QCursor>
#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>
#include <QThread>
#include <cstdio>
#include <cstring>

namespace {

int Usage() {
  std::fputs(
      "usage:\n"
      "  kragmoor-screen pointer X Y    move the pointer to screen pixel (X, Y)\n"
      "  kragmoor-screen shot FILE      save the whole screen to FILE as PNG\n",
      stderr);
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  const bool pointer = argc == 4 && std::strcmp(argv[1], "pointer") == 0;
  const bool shot = argc == 3 && std::strcmp(argv[1], "shot") == 0;
  if (!pointer && !shot) return Usage();
  QGuiApplication app(argc, argv);
  QScreen* screen = QGuiApplication::primaryScreen();
  if (screen == nullptr) {
    std::fputs("kragmoor-screen: no screen\n", stderr);
    return 1;
  }
  if (pointer) {
    bool okX = false;
    bool okY = false;
    const int x = QString::fromLocal8Bit(argv[2]).toInt(&okX);
    const int y = QString::fromLocal8Bit(argv[3]).toInt(&okY);
    if (!okX || !okY) return Usage();
    // Two moves, so the window under the pointer sees a movement even when
    // the pointer already was at (X, Y).
    QCursor::setPos(screen, x + 1, y);
    QThread::msleep(20);
    QCursor::setPos(screen, x, y);
    QGuiApplication::sync();
    return 0;
  }
  const QPixmap picture = screen->grabWindow(0);
  if (picture.isNull() || !picture.save(QString::fromLocal8Bit(argv[2]), "PNG")) {
    std::fprintf(stderr, "kragmoor-screen: cannot save '%s'\n", argv[2]);
    return 1;
  }
  return 0;
}
