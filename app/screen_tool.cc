// kragmoor-screen: a helper for scripts/play on a virtual display. Moves the
// pointer, or saves a picture of the whole screen as PNG. Not part of the game.
#include <QCursor>
#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>
#include <QString>
#include <QThread>
#include <array>
#include <cstdio>
#include <cstring>

namespace {

int Usage() {
  std::fputs(
      "usage:\n"
      "  kragmoor-screen pointer X Y    move the pointer to screen pixel (X, Y)\n"
      "  kragmoor-screen shot FILE [X Y W H]\n"
      "                                 save the screen, or the rectangle at (X, Y) W wide\n"
      "                                 and H high, to FILE as PNG\n",
      stderr);
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  const bool pointer = argc == 4 && std::strcmp(argv[1], "pointer") == 0;
  const bool shot = (argc == 3 || argc == 7) && std::strcmp(argv[1], "shot") == 0;
  if (!pointer && !shot) return Usage();
  std::array<int, 4> numbers{0, 0, -1, -1};  // X, Y, W, H; -1 for all
  const int first = pointer ? 2 : 3;
  for (int i = first; i < argc; ++i) {
    bool ok = false;
    numbers[i - first] = QString::fromLocal8Bit(argv[i]).toInt(&ok);
    if (!ok) return Usage();
  }
  QGuiApplication app(argc, argv);
  QScreen* screen = QGuiApplication::primaryScreen();
  if (screen == nullptr) {
    std::fputs("kragmoor-screen: no screen\n", stderr);
    return 1;
  }
  if (pointer) {
    const int x = numbers[0];
    const int y = numbers[1];
    // Two moves, so the window under the pointer sees a movement even when
    // the pointer already was at (X, Y).
    QCursor::setPos(screen, x + 1, y);
    QThread::msleep(20);
    QCursor::setPos(screen, x, y);
    QGuiApplication::sync();
    return 0;
  }
  const QPixmap picture = screen->grabWindow(0, numbers[0], numbers[1], numbers[2], numbers[3]);
  if (picture.isNull() || !picture.save(QString::fromLocal8Bit(argv[2]), "PNG")) {
    std::fprintf(stderr, "kragmoor-screen: cannot save '%s'\n", argv[2]);
    return 1;
  }
  return 0;
}
