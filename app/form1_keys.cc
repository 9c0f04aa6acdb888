// The main window's keys: pause and speed, and the camera moves, taken
// whatever control has the focus.
#include <QKeyEvent>

#include "app/form1.h"

namespace kragmoor {

bool TForm1::IsGameKey(const QKeyEvent& key) {
  if (key.modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) return false;
  switch (key.key()) {
    case Qt::Key_Space:
    case Qt::Key_Plus:
    case Qt::Key_Equal:
    case Qt::Key_Minus:
    case Qt::Key_Home:
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Up:
    case Qt::Key_Down:
      return true;
    default:
      return false;
  }
}

void TForm1::GameKey(const QKeyEvent& key) {
  const ViewState& view = session_.world.view;
  // Held down, an arrow pans on; the other keys act once per press.
  switch (key.key()) {
    case Qt::Key_Left:
      MoveCamera(PannedCamera(view, -1, 0));
      break;
    case Qt::Key_Right:
      MoveCamera(PannedCamera(view, 1, 0));
      break;
    case Qt::Key_Up:
      MoveCamera(PannedCamera(view, 0, 1));
      break;
    case Qt::Key_Down:
      MoveCamera(PannedCamera(view, 0, -1));
      break;
    case Qt::Key_Home:
      if (!key.isAutoRepeat()) MoveCamera(CameraOffset{});  // the start view
      break;
    case Qt::Key_Space:
      if (!key.isAutoRepeat()) TogglePause();
      break;
    case Qt::Key_Plus:
    case Qt::Key_Equal:
      if (!key.isAutoRepeat()) ChangeSpeed(true);
      break;
    case Qt::Key_Minus:
      if (!key.isAutoRepeat()) ChangeSpeed(false);
      break;
    default:
      break;
  }
}

void TForm1::TogglePause() {
  pace_.TogglePause();
  ViewChanged();
  ShowStatus();
}

void TForm1::ChangeSpeed(bool faster) {
  if (faster) {
    pace_.Faster();
  } else {
    pace_.Slower();
  }
  ShowStatus();
}

}  // namespace kragmoor
