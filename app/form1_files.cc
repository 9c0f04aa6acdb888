// The main window's game files: a new game, opening and saving games, and
// recording the game as it is played. The driver reads and writes them; the
// window only chooses them and tells the player when one fails.
#include <QAction>
#include <QCloseEvent>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QMessageBox>
#include <QTimer>
#include <string>

#include "app/field_map_view.h"
#include "app/form1.h"
#include "app/play_field_view.h"
#include "app/play_panel.h"
#include "game/platform/files.h"
#include "game/recorder.h"

namespace kragmoor {

namespace {

// File names from the dialogs and the command line, as the system spells them.
std::string Path(const QString& path) { return QFile::encodeName(path).toStdString(); }

// A path as a message box shows it: escaped and cut short (QuotedPath),
// without the quotes, which the message's own text puts around it.
QString Shown(const QString& path) {
  const std::string quoted = QuotedPath(Path(path));
  return QString::fromStdString(quoted.substr(1, quoted.size() - 2));
}

// A file to write, chosen in a save dialog that adds `suffix` to a name
// without one before it asks whether to replace a file already there (a
// suffix added afterwards would replace a file unasked). Empty: cancelled.
QString ChooseFileToWrite(QWidget* parent, const QString& title, const QString& filter,
                          const QString& suffix) {
  QFileDialog dialog(parent, title, QDir::homePath(), filter);
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setDefaultSuffix(suffix);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
  return dialog.selectedFiles().first();
}

}  // namespace

void TForm1::NewGame() {
  const bool automatic = autoRecording_ && driver_.recording();
  if (automatic) StopRecording();  // each game its own automatic recording
  driver_.NewGame(SeedNow());
  if (automatic) StartAutoRecording();
  GameReplaced();
  ShowOutcome();
  ShowInfo();
}

void TForm1::GameReplaced() {
  overShown_ = false;
  if (gameOverBox_) gameOverBox_->close();
  playPanel_->ClearEvents();
  playPanel_->map()->ClearFlashes();
}

bool TForm1::OpenGame(const QString& path) {
  if (FileStartsWith(Path(path), kRecordingFormat)) return OpenReplay(path);
  std::string error;
  if (!driver_.OpenGame(Path(path), error)) {
    ShowFileError(tr("Не удалось открыть игру «%1».").arg(Shown(path)), error);
    return false;
  }
  GameReplaced();
  ShowControls();
  ShowOutcome();
  ShowInfo();
  return true;
}

bool TForm1::SaveGame(const QString& path) {
  std::string error;
  if (!driver_.SaveGame(Path(path), error)) {
    ShowFileError(tr("Не удалось сохранить игру в «%1».").arg(Shown(path)), error);
    return false;
  }
  return true;
}

bool TForm1::StartRecording(const QString& path) {
  StopRecording();
  std::string error;
  const bool started = driver_.StartRecording(Path(path), panel3_->size(), error);
  recordingPath_ = started ? path : QString();
  autoRecording_ = false;
  ShowRecording();
  if (!started) ShowFileError(tr("Не удалось начать запись в «%1».").arg(Shown(path)), error);
  return started;
}

void TForm1::RecordFromStart(const QString& path, const QString& loaded) {
  const QFileInfo target(path);
  if (!loaded.isEmpty() && target.exists() &&
      target.canonicalFilePath() == QFileInfo(loaded).canonicalFilePath()) {
    ShowFileError(tr("Не удалось начать запись в «%1».").arg(Shown(path)),
                  tr("Игра открыта из этого файла: запись заменила бы его.").toStdString());
    return;
  }
  // Only an empty file or a recording may be replaced (the file layer
  // refuses anything else with its reason); either is asked about first.
  if (!target.exists() || target.size() == 0 || !FileStartsWith(Path(path), kRecordingFormat)) {
    StartRecording(path);
    return;
  }
  if (replaceBox_) replaceBox_->close();
  auto* box =
      new QMessageBox(QMessageBox::Question, QStringLiteral("KRAGMOOR"),
                      tr("Запись «%1» уже есть. Заменить её записью этой игры?").arg(Shown(path)),
                      QMessageBox::Yes | QMessageBox::No, this);
  box->setObjectName("ReplaceRecordingBox");
  box->setTextFormat(Qt::PlainText);
  box->setDefaultButton(QMessageBox::No);
  box->setAttribute(Qt::WA_DeleteOnClose);
  connect(box, &QMessageBox::finished, this, [this, path](int answer) {
    if (answer == QMessageBox::Yes) StartRecording(path);
  });
  replaceBox_ = box;
  box->open();
}

void TForm1::StopRecording() {
  std::string error;
  const bool finished = driver_.StopRecording(error);
  ShowRecording();
  if (!finished) ShowFileError(tr("Запись игры прервана."), error);
}

void TForm1::FlushRecording() {
  std::string error;
  const bool flushed = driver_.FlushRecording(error);
  ShowRecording();
  if (!flushed) ShowFileError(tr("Запись игры прервана."), error);
}

void TForm1::ShowRecording() {
  if (driver_.recording() && !recordingFlush_->isActive()) recordingFlush_->start();
  if (!driver_.recording()) {
    recordingFlush_->stop();
    recordingPath_.clear();
    autoRecording_ = false;
  }
  recordAction_->setChecked(driver_.recording());
}

void TForm1::ChooseAndOpen() {
  const QString path =
      QFileDialog::getOpenFileName(this, tr("Открыть игру"), QDir::homePath(),
                                   tr("Сохранённые игры и записи (*.save *.sim);;Все файлы (*)"));
  if (!path.isEmpty()) OpenGame(path);
}

void TForm1::ChooseAndSave() {
  const QString path = ChooseFileToWrite(this, tr("Сохранить игру"),
                                         tr("Сохранённые игры (*.save)"), QStringLiteral("save"));
  if (!path.isEmpty()) SaveGame(path);
}

void TForm1::ToggleRecording() {
  if (driver_.recording()) {
    StopRecording();
    return;
  }
  recordAction_->setChecked(false);  // ticked once the recording runs
  const QString path = ChooseFileToWrite(this, tr("Записывать игру"), tr("Записи игры (*.sim)"),
                                         QStringLiteral("sim"));
  if (!path.isEmpty()) StartRecording(path);
}

void TForm1::ShowFileError(const QString& what, const std::string& reason) {
  if (fileErrorBox_) fileErrorBox_->close();
  auto* box = new QMessageBox(QMessageBox::Warning, QStringLiteral("KRAGMOOR"), what,
                              QMessageBox::Ok, this);
  box->setObjectName("FileErrorBox");
  // Plain text: a name or a reason holding markup (a file's, a network
  // peer's) is shown as it is, never read as rich text that could load an
  // image or follow a link.
  box->setTextFormat(Qt::PlainText);
  box->setInformativeText(QString::fromStdString(reason));
  if (auto* informative = box->findChild<QLabel*>(QStringLiteral("qt_msgbox_informativelabel"))) {
    informative->setTextFormat(Qt::PlainText);
  }
  box->setAttribute(Qt::WA_DeleteOnClose);
  fileErrorBox_ = box;
  box->open();
}

void TForm1::closeEvent(QCloseEvent* event) {
  // The host's window asks first when the player closes it: the match ends
  // for everyone. A signal or a test closes it without asking.
  if (net::NetworkGame* game = driver_.network();
      game != nullptr && game->hosting() && game->phase() != net::NetworkGame::Phase::kEnded &&
      event->spontaneous() &&
      QMessageBox::question(this, QStringLiteral("KRAGMOOR"),
                            tr("Закрыть окно? Сетевая игра закончится для всех.")) !=
          QMessageBox::Yes) {
    event->ignore();
    return;
  }
  if (net::NetworkGame* game = driver_.network()) game->Leave();
  StopRecording();  // finished with its last hash while the game is still whole
  QMainWindow::closeEvent(event);
}

}  // namespace kragmoor
