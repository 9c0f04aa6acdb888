// Start-up failures, quit signals and outside destruction of the window.
#include "app/lifecycle.h"

#include <sys/signalfd.h>
#include <unistd.h>
#include <xcb/xcb.h>

#include <QByteArray>
#include <QSocketNotifier>
#include <QString>
#include <QWidget>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

namespace kragmoor {

namespace {

// A message of the start-up, held back until it is known to have worked.
struct HeldMessage {
  QtMsgType type;
  std::string category;
  QString text;
};

// Qt's message handler is a plain function with no context pointer, so what
// it holds back lives here; only the start-up (the main thread, before the
// event loop) touches it.
std::vector<HeldMessage>& Held() {
  static std::vector<HeldMessage> held;
  return held;
}

constexpr size_t kMaxHeld = 64;  // start-up says a few lines; more are dropped

QString FirstLine(const QString& text) { return text.section(QLatin1Char('\n'), 0, 0); }

}  // namespace

void StartUpMessage(QtMsgType type, const QMessageLogContext& context, const QString& message) {
  std::vector<HeldMessage>& held = Held();
  if (type != QtFatalMsg) {
    if (held.size() < kMaxHeld) {
      held.push_back({type, context.category != nullptr ? context.category : "", message});
    }
    return;
  }
  QString reason = FirstLine(message);
  for (const HeldMessage& m : held) {
    if (m.type == QtWarningMsg || m.type == QtCriticalMsg) {
      reason = FirstLine(m.text);
      break;
    }
  }
  const QByteArray line = "kragmoor: cannot start: " + reason.toLocal8Bit() + "\n";
  std::fwrite(line.constData(), 1, static_cast<size_t>(line.size()), stderr);
  std::fflush(stderr);
  // Not exit(): the toolkit is half made, and its clean-up would run on that.
  std::_Exit(1);
}

void EndStartUp(QtMessageHandler previous) {
  qInstallMessageHandler(previous);
  std::vector<HeldMessage> held = std::move(Held());
  Held().clear();
  for (const HeldMessage& m : held) {
    const QMessageLogContext context(nullptr, 0, nullptr, m.category.c_str());
    qt_message_output(m.type, context, m.text);
  }
}

void PreferEglOnX() {
  if (qEnvironmentVariableIsEmpty("QT_XCB_GL_INTEGRATION")) {
    qputenv("QT_XCB_GL_INTEGRATION", "xcb_egl");
  }
}

sigset_t BlockQuitSignals() {
  sigset_t quitSet;
  sigemptyset(&quitSet);
  for (const int signal : {SIGTERM, SIGINT, SIGHUP}) {
    struct sigaction action {};
    if (sigaction(signal, nullptr, &action) == 0 && action.sa_handler != SIG_IGN) {
      sigaddset(&quitSet, signal);
    }
  }
  pthread_sigmask(SIG_BLOCK, &quitSet, nullptr);
  return quitSet;
}

QuitSignals::QuitSignals(const sigset_t& quitSet, std::function<void()> quit)
    : quit_(std::move(quit)) {
  fd_ = signalfd(-1, &quitSet, SFD_NONBLOCK | SFD_CLOEXEC);
  if (fd_ < 0) {
    pthread_sigmask(SIG_UNBLOCK, &quitSet, nullptr);
    return;
  }
  notifier_ = new QSocketNotifier(fd_, QSocketNotifier::Read, this);
  connect(notifier_, &QSocketNotifier::activated, this, &QuitSignals::Read);
}

QuitSignals::~QuitSignals() {
  if (fd_ >= 0) ::close(fd_);
}

void QuitSignals::Read() {
  signalfd_siginfo info{};
  bool any = false;
  while (::read(fd_, &info, sizeof info) == static_cast<ssize_t>(sizeof info)) any = true;
  if (any) quit_();
}

OutsideDestroyWatch::OutsideDestroyWatch(const QWidget& window, std::function<void()> destroyed)
    : window_(window), destroyed_(std::move(destroyed)) {}

bool OutsideDestroyWatch::nativeEventFilter(const QByteArray& eventType, void* message,
                                            qintptr* /*result*/) {
  if (eventType != "xcb_generic_event_t") return false;
  const auto* event = static_cast<const xcb_generic_event_t*>(message);
  if ((event->response_type & 0x7f) != XCB_DESTROY_NOTIFY) return false;
  const auto* destroy = static_cast<const xcb_destroy_notify_event_t*>(message);
  // Qt forgets a window it destroys itself before the server reports it.
  const WId current = window_.internalWinId();
  if (current != 0 && destroy->window == current) destroyed_();
  return false;
}

}  // namespace kragmoor
