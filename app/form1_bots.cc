// The main window's bots: `kragmoor --bot SIDE=COMMAND` and the Game menu's
// question hand a side to the driver's bot seat; the status bar says how the
// bots are doing. The driver feeds them; they never hold up a frame.
#include <QInputDialog>
#include <QMessageBox>
#include <cstdio>

#include "app/form1.h"

namespace kragmoor {

bool TForm1::StartBot(int side, const QString& command, int32_t turn) {
  driver_.onBotErrorLine = [](int from, std::string_view line) {
    std::fprintf(stderr, "side %d: %.*s\n", from + 1, static_cast<int>(line.size()), line.data());
  };
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
