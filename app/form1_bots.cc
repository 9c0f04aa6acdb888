// The main window's bots: `kragmoor --bot SIDE=COMMAND` and the Game menu's
// question hand a side to the driver's bot seat; the status bar says how the
// bots are doing. The driver feeds them; they never hold up a frame, nor
// does what they write on standard error.
#include <unistd.h>

#include <QInputDialog>
#include <QMessageBox>
#include <memory>
#include <string>

#include "app/form1.h"
#include "game/platform/error_relay.h"

namespace kragmoor {

bool TForm1::StartBot(int side, const QString& command, int32_t turn) {
  if (!driver_.onBotErrorLine) {
    // Off the window's thread, bounded, and dropped (counted) when standard
    // error takes no more: a reader that is stuck or gone never stops the game.
    auto relay = std::make_shared<ErrorRelay>(STDERR_FILENO);
    driver_.onBotErrorLine = [relay](int from, std::string_view line) {
      relay->Line("side " + std::to_string(from + 1) + ": " + std::string(line));
    };
  }
  std::string error;
  if (!driver_.SeatBot(side, command.toStdString(), turn, error)) {
    QMessageBox::warning(this, windowTitle(),
                         tr("Бот не запускается: %1").arg(QString::fromStdString(error)));
    return false;
  }
  ShowControls();  // the side's AI box, unticked by the driver
  ShowStatus();
  return true;
}

void TForm1::AskForBot() {
  bool ok = false;
  const QString text = QInputDialog::getText(
      this, windowTitle(), tr("Сторона и команда бота, например: 1=python3 bots/gatherer.py"),
      QLineEdit::Normal, QString(), &ok);
  if (!ok) return;
  const qsizetype eq = text.indexOf(QLatin1Char('='));
  const int side = text.left(eq).trimmed().toInt() - 1;
  if (eq < 0 || side < 0 || side >= kSideCount || text.mid(eq + 1).trimmed().isEmpty()) {
    QMessageBox::warning(this, windowTitle(), tr("Нужно СТОРОНА=КОМАНДА, сторона от 1 до 3"));
    return;
  }
  StartBot(side, text.mid(eq + 1).trimmed());
}

QString TForm1::BotsStatus() const {
  QStringList parts;
  for (int side = 0; side < kSideCount; ++side) {
    const BotSeat& seat = driver_.bot(side);
    const QString status = QString::fromStdString(seat.status());
    if (seat.playing()) {
      parts << tr("Сторона %1: бот %2").arg(side + 1).arg(QString::fromStdString(seat.name()));
    } else if (status != QLatin1String("stopped")) {
      parts << tr("Сторона %1: бот остановлен (%2), сторона без игрока").arg(side + 1).arg(status);
    }
  }
  return parts.join(QStringLiteral("    "));
}

}  // namespace kragmoor
