// The main window in a network game: starting one from the command line or
// a dialog, the lobby, the players' line, the notices in the event log and
// the lost connection's question. The game itself is net::NetworkGame's.
#include <QApplication>
#include <QClipboard>
#include <QColor>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFile>
#include <QHostAddress>
#include <QLabel>
#include <QMessageBox>
#include <QNetworkInterface>
#include <QPushButton>
#include <QSettings>
#include <QStatusBar>
#include <QVBoxLayout>
#include <cstdio>

#include "app/control_panel.h"
#include "app/form1.h"
#include "app/play_panel.h"

namespace kragmoor {

namespace {

using Phase = net::NetworkGame::Phase;

QString Text(const std::string& s) { return QString::fromStdString(s); }
std::string Path(const QString& path) { return QFile::encodeName(path).toStdString(); }

constexpr const char* kNameKey = "networkName";

// This machine's addresses that friends can reach: IPv4 first, loopback and
// link-local ones left out (loopback alone when there is nothing else).
QStringList OwnAddresses() {
  QStringList v4, v6;
  for (const QHostAddress& a : QNetworkInterface::allAddresses()) {
    if (a.isLoopback() || a.isLinkLocal() || a.isNull()) continue;
    (a.protocol() == QAbstractSocket::IPv4Protocol ? v4 : v6) << a.toString();
  }
  QStringList all = v4 + v6;
  if (all.isEmpty()) all << QStringLiteral("127.0.0.1");
  return all;
}

}  // namespace

QString TForm1::networkName() const {
  if (!networkName_.isEmpty()) return networkName_;
  const QString kept = QSettings().value(kNameKey).toString();
  if (!kept.isEmpty()) return kept;
  return qEnvironmentVariable("USER", qEnvironmentVariable("USERNAME"));
}

void TForm1::SetNetworkName(const QString& name, bool keep) {
  networkName_ = name;
  if (keep) QSettings().setValue(kNameKey, name);
}

bool TForm1::HostNetwork(net::HostPlan plan) {
  std::string error;
  plan.name = networkName().toStdString();
  if (plan.record.empty()) plan.record = Path(AutoRecordingPathIfWanted());
  std::unique_ptr<net::NetworkGame> game = net::NetworkGame::Host(plan, error);
  if (!game) {
    std::fprintf(stderr, "kragmoor: cannot host: %s\n", error.c_str());
    ShowFileError(tr("Сетевая игра не создана"), error);
    return false;
  }
  driver_.PlayNetwork(std::move(game));
  networkEndShown_ = false;
  GameReplaced();
  ShowLobby();
  return true;
}

bool TForm1::JoinNetwork(const QString& address, const QString& code, const QString& record) {
  std::string host, error;
  uint16_t port = 0;
  if (!net::ParseHostPort(address.toStdString(), host, port)) {
    ShowFileError(tr("Не удалось присоединиться"), "bad address " + address.toStdString());
    return false;
  }
  std::unique_ptr<net::NetworkGame> game =
      net::NetworkGame::Join(host, port, code.toStdString(), networkName().toStdString(), error);
  if (!game) {
    std::fprintf(stderr, "kragmoor: cannot join: %s\n", error.c_str());
    ShowFileError(tr("Не удалось присоединиться"), error);
    return false;
  }
  game->RecordTo(Path(record.isEmpty() ? AutoRecordingPathIfWanted() : record));
  driver_.PlayNetwork(std::move(game));
  networkEndShown_ = false;
  GameReplaced();
  ShowLobby();
  return true;
}

QString TForm1::NetworkStatus() const {
  const net::NetworkGame* game = driver_.network();
  if (game == nullptr) return QString();
  const qint64 rtt = game->roundTrip() / 1000;
  const QString you = game->watching() ? tr("Вы смотрите")
                      : game->seat() >= 0 ? tr("Вы играете за сторону %1").arg(game->seat() + 1)
                                          : QString();
  switch (game->phase()) {
    case Phase::kJoining:
      return tr("Соединение с %1:%2…").arg(Text(game->host())).arg(game->port());
    case Phase::kLobby:
      return you + "    " + tr("Ждём начала игры");
    case Phase::kPlaying:
      if (game->waitingForSeat()) return you + "    " + tr("Игра ждёт выбывшего игрока");
      return you + "    " + tr("Задержка: %1 мс").arg(rtt);
    case Phase::kRejoining:
      return you + "    " + tr("Связь потеряна, соединяемся снова…");
    case Phase::kLost:
      return tr("Связь потеряна: %1").arg(Text(game->failure()));
    case Phase::kRefused:
      return tr("Отказано: %1").arg(Text(game->failure()));
    case Phase::kEnded:
      return you + "    " + tr("Сетевая игра окончена");
  }
  return QString();
}

void TForm1::ShowNetwork() {
  net::NetworkGame* game = driver_.network();
  if (game == nullptr) {
    if (networkShown_) {  // back on one machine: the boxes are the player's again
      networkShown_ = false;
      panel2_->ShowComputerPlayers(driver_.session().computerPlayer, true);
      if (playersText_ != nullptr) playersText_->hide();
      sidesText_->show();
    }
    return;
  }
  if (!networkShown_) {
    networkShown_ = true;
    if (playersText_ != nullptr) playersText_->show();
    sidesText_->hide();  // the network status says which side is ours
  }
  // The computer players are the referee's: a dropped seat's is ticked.
  panel2_->ShowComputerPlayers(driver_.session().computerPlayer, false);
  if (networkDialog_ && networkDialog_->objectName() == QStringLiteral("LobbyDialog") &&
      game->phase() != Phase::kLobby && game->phase() != Phase::kJoining) {
    networkDialog_->accept();  // every seat is taken, or the host started
  }
  // The players' panel: each side's line in its colour.
  QStringList players;
  const std::array<std::string, kSideCount> lines = game->PlayerLines();
  for (int s = 0; s < kSideCount; ++s) {
    const Player& p = world().players[s];
    players << QStringLiteral("<span style=\"color: %1\">%2</span>")
                   .arg(QColor::fromRgbF(p.red, p.green, p.blue).name(),
                        Text(lines[s]).toHtmlEscaped());
  }
  const QString text = players.join(QStringLiteral(" &nbsp; "));
  if (playersText_ == nullptr) {
    playersText_ = new QLabel(statusBar());
    playersText_->setObjectName("NetworkPlayers");
    playersText_->setTextFormat(Qt::RichText);
    statusBar()->addPermanentWidget(playersText_);
  }
  if (playersText_->text() != text) playersText_->setText(text);
  if (networkDialog_ && networkDialog_->objectName() == QStringLiteral("LobbyDialog")) {
    if (auto* seats = networkDialog_->findChild<QLabel*>(QStringLiteral("LobbySeats"))) {
      QStringList rows;
      for (const std::string& line : lines) rows << Text(line);
      if (game->watchers() > 0) rows << tr("Зрителей: %1").arg(game->watchers());
      const QString seatsText = rows.join(QLatin1Char('\n'));
      if (seats->text() != seatsText) seats->setText(seatsText);
    }
  }
  if (game->phase() == Phase::kEnded && !networkEndShown_ && !game->finishedRecording().empty()) {
    networkEndShown_ = true;
    ShowNetworkEnd(QFile::decodeName(game->finishedRecording().c_str()));
  }
  for (const std::string& notice : game->TakeNotices()) {
    playPanel_->AddEvent(notice);
    statusBar()->showMessage(Text(notice), 5000);
  }
  if ((game->phase() == Phase::kLost || game->phase() == Phase::kRefused) && !lostBox_ &&
      !game->watching() && !game->hosting()) {
    auto* box = new QMessageBox(QMessageBox::Warning, QStringLiteral("KRAGMOOR"), NetworkStatus(),
                                QMessageBox::NoButton, this);
    box->setObjectName("NetworkLostBox");
    box->setTextFormat(Qt::PlainText);  // the referee's words are shown as they are
    box->setAttribute(Qt::WA_DeleteOnClose);
    QPushButton* again = box->addButton(tr("Присоединиться снова"), QMessageBox::AcceptRole);
    again->setObjectName("JoinAgainButton");
    box->addButton(QMessageBox::Close);
    connect(box, &QMessageBox::finished, this, [this, box, again] {
      if (box->clickedButton() == again && driver_.network() != nullptr) {
        driver_.network()->JoinAgain();
      }
    });
    lostBox_ = box;
    box->open();
  }
}

void TForm1::ShowNetworkEnd(const QString& recorded) {
  ShowSummaryOf(recorded);
  // The end-of-game box when one side won, or a box of its own when the
  // match ran its frames.
  QMessageBox* box = gameOverBox_;
  if (box == nullptr) {
    box = new QMessageBox(QMessageBox::Information, QStringLiteral("KRAGMOOR"),
                          tr("Сетевая игра окончена."), QMessageBox::Close, this);
    box->setObjectName("NetworkEndBox");
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->open();
  }
  QPushButton* replay = box->addButton(tr("Смотреть повтор"), QMessageBox::ActionRole);
  replay->setObjectName("WatchReplayButton");
  connect(replay, &QPushButton::clicked, this, [this, recorded] { OpenReplay(recorded); });
}

void TForm1::ShowLobby() {
  const net::NetworkGame* game = driver_.network();
  if (game == nullptr) return;
  auto* dialog = new QDialog(this);
  dialog->setObjectName("LobbyDialog");
  dialog->setAttribute(Qt::WA_DeleteOnClose);
  dialog->setWindowTitle(tr("Сетевая игра"));
  auto* layout = new QVBoxLayout(dialog);
  // Each side's seat, who took it and their round trips, as the referee's
  // roster says (ShowNetwork keeps it current).
  auto* seats = new QLabel(dialog);
  seats->setObjectName("LobbySeats");
  seats->setTextFormat(Qt::PlainText);  // peers' names are shown as they are
  layout->addWidget(seats);
  if (!game->hosting()) {
    layout->addWidget(
        new QLabel(tr("Игра начнётся, когда хозяин скажет или все места займут."), dialog));
    auto* hide = new QPushButton(tr("Закрыть"), dialog);
    connect(hide, &QPushButton::clicked, dialog, &QDialog::accept);
    layout->addWidget(hide);
    networkDialog_ = dialog;
    dialog->open();
    return;
  }
  const QStringList addresses = OwnAddresses();
  auto* where = new QLabel(tr("Дайте друзьям адрес этой машины (%1), порт %2, и код места.")
                               .arg(addresses.join(QStringLiteral(", ")))
                               .arg(game->port()),
                           dialog);
  where->setObjectName("HostAddresses");
  where->setWordWrap(true);
  where->setTextInteractionFlags(Qt::TextSelectableByMouse);
  layout->addWidget(where);
  for (int s = 0; s < kSideCount; ++s) {
    const std::string& code = game->codes()[s];
    if (code.empty() || code == game->code()) continue;
    const QString line = QStringLiteral("kragmoor --join %1:%2 --code %3")
                             .arg(addresses.first())
                             .arg(game->port())
                             .arg(Text(code));
    auto* label = new QLabel(tr("Сторона %1: %2").arg(s + 1).arg(line), dialog);
    label->setObjectName(QStringLiteral("SeatCode%1").arg(s + 1));
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    layout->addWidget(label);
    auto* copy = new QPushButton(tr("Копировать"), dialog);
    copy->setObjectName(QStringLiteral("CopySeat%1").arg(s + 1));
    connect(copy, &QPushButton::clicked, dialog,
            [line] { QApplication::clipboard()->setText(line); });
    layout->addWidget(copy);
  }
  auto* start = new QPushButton(tr("Начать игру"), dialog);
  start->setObjectName("StartNetworkButton");
  connect(start, &QPushButton::clicked, dialog, [this, dialog] {
    if (driver_.network() != nullptr) driver_.network()->StartNow();
    dialog->accept();
  });
  layout->addWidget(start);
  networkDialog_ = dialog;
  dialog->open();
}

}  // namespace kragmoor
