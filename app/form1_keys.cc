// The main window's keys: pause and speed, the camera moves and the
// idle-peasant key, taken whatever control has the focus.
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
    case Qt::Key_Period:
      return true;
    default:
      return false;
  }
}

void TForm1::GameKey(const QKeyEvent& key) {
  // Held down, an arrow pans on; the other keys act once per press.
  switch (key.key()) {
    case Qt::Key_Left:
      driver_.PanCamera(-1, 0);
      break;
    case Qt::Key_Right:
      driver_.PanCamera(1, 0);
      break;
    case Qt::Key_Up:
      driver_.PanCamera(0, 1);
      break;
    case Qt::Key_Down:
      driver_.PanCamera(0, -1);
      break;
    case Qt::Key_Home:
      if (!key.isAutoRepeat()) driver_.HomeCamera();  // the player's base
      break;
    case Qt::Key_Period:  // held down, it runs through the idle peasants
      driver_.NextIdlePeasant();
      break;
    case Qt::Key_Space:
      if (!key.isAutoRepeat()) driver_.TogglePause();
      break;
    case Qt::Key_Plus:
    case Qt::Key_Equal:
      if (!key.isAutoRepeat()) driver_.ChangeSpeed(true);
      break;
    case Qt::Key_Minus:
      if (!key.isAutoRepeat()) driver_.ChangeSpeed(false);
      break;
    default:
      return;
  }
  ShowOutcome();
  ShowStatus();
}

}  // namespace kragmoor
