// The main window's bots: sides given to bot programs (`kragmoor --bot
// SIDE=COMMAND`, or the Game menu), their turns before frame steps, and what
// the status bar says about them. The bots never hold up a frame.
#include <QCheckBox>
#include <QInputDialog>
#include <QMessageBox>
#include <cstdio>

#include "app/form1.h"

namespace kragmoor {

namespace {
constexpr int32_t kBotBudgetMs = 100;      // for one answer, as the arena's default
constexpr int32_t kBotOvertimeMs = 10000;  // pool for late answers, as the arena's default
}  // namespace

bool TForm1::StartBot(int side, const QString& command, int32_t turn) {
  BotSeat& seat = bots_[side];
  seat.Stop();
  seat.onErrorLine = [side](std::string_view line) {
    std::fprintf(stderr, "side %d: %.*s\n", side + 1, static_cast<int>(line.size()), line.data());
  };
  std::string error;
  if (!seat.Start(command.toStdString(), side, turn, kBotBudgetMs, kBotOvertimeMs, error)) {
    QMessageBox::warning(this, windowTitle(),
                         tr("Бот не запускается: %1").arg(QString::fromStdString(error)));
    return false;
  }
  checkBoxes_[side]->setChecked(false);  // the bot plays the side, not the computer player
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

void TForm1::BotsBeforeFrame() {
  for (BotSeat& seat : bots_) {
    if (!seat.playing()) continue;
    seat.BeforeFrame(session_, frameSteps_ - 1);  // frames run before this one
    if (!seat.playing()) ShowStatus();
  }
}

QString TForm1::BotsStatus() const {
  QStringList parts;
  for (int side = 0; side < kSideCount; ++side) {
    const BotSeat& seat = bots_[side];
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
