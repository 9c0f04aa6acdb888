// How the game starts and ends apart from its window's own controls: a
// start-up that cannot reach a display, SIGTERM, SIGINT and SIGHUP (its
// terminal closed), and a window destroyed by another program, with the GL
// path that survives that. Holds no game state.
#pragma once

#include <QAbstractNativeEventFilter>
#include <QObject>
#include <QtGlobal>
#include <csignal>
#include <functional>

class QSocketNotifier;
class QWidget;

namespace kragmoor {

// Qt ends a start-up it cannot complete (no display it can reach, no usable
// platform plugin) with a fatal message and abort(). Installed before the
// QApplication is made, this handler holds the messages of the start-up
// back; on the fatal one it prints one line "kragmoor: cannot start: <the
// first warning, or the fatal message>" on standard error and exits with 1.
void StartUpMessage(QtMsgType type, const QMessageLogContext& context, const QString& message);

// After the QApplication is made: puts `previous` (what installing
// StartUpMessage returned) back and passes it the messages held back.
void EndStartUp(QtMessageHandler previous);

// Before the QApplication is made: asks Qt's X11 platform for EGL rather than
// GLX, unless QT_XCB_GL_INTEGRATION already names a choice (Qt falls back to
// GLX when EGL cannot start). Mesa's GLX software renderer (llvmpipe: Xvfb,
// no GPU driver) reads the window's size again at the first GL call after
// each swap; once another program has destroyed the window, that query fails
// and Mesa takes the width and height it never set as the new size, and its
// rasterizer threads write past the buffer (SIGSEGV). No check of ours can
// close that race: the window may go at any moment. Mesa's EGL path reads
// 0 x 0 instead, the frame draws nothing, and the destroy notice ends the game.
void PreferEglOnX();

// Blocks SIGTERM, SIGINT and SIGHUP in the calling thread, except one that the
// process was started with ignored (a shell ignores SIGINT for a job it runs
// in the background): that one stays ignored. Called first thing in main,
// before Qt starts a thread: every thread inherits the mask, so the signals
// arrive only through QuitSignals and never interrupt anything. Returns the
// blocked set.
sigset_t BlockQuitSignals();

// Calls `quit` from the event loop each time SIGTERM, SIGINT or SIGHUP arrives
// (read from a signalfd, so nothing runs in a signal handler). Should the
// signalfd fail, the signals are unblocked again and keep their default.
class QuitSignals final : public QObject {
 public:
  QuitSignals(const sigset_t& quitSet, std::function<void()> quit);
  ~QuitSignals() override;
  QuitSignals(const QuitSignals&) = delete;
  QuitSignals& operator=(const QuitSignals&) = delete;

 private:
  void Read();

  int fd_ = -1;
  QSocketNotifier* notifier_ = nullptr;  // owned as a child
  std::function<void()> quit_;
};

// Calls `destroyed` when another program destroys `window`'s native X
// window: Qt itself would run on with no window at all. A native window
// that Qt destroys or replaces itself does not count. Install with
// QCoreApplication::installNativeEventFilter.
class OutsideDestroyWatch final : public QAbstractNativeEventFilter {
 public:
  OutsideDestroyWatch(const QWidget& window, std::function<void()> destroyed);
  bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;

 private:
  const QWidget& window_;
  std::function<void()> destroyed_;
};

}  // namespace kragmoor
