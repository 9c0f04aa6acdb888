// The main window's game files: a new game, opening and saving games, and
// recording the game as it is played. The files themselves are the runner's
// saved games and recordings; the window only chooses them and tells the
// player when one fails.
#include <QAction>
#include <QCloseEvent>
#include <QDateTime>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QTimer>
#include <string>

#include "app/form1.h"
#include "game/files.h"
#include "game/saved_game.h"
#include "world/random.h"

namespace kragmoor {

namespace {

// File names from the dialogs and the command line, as the system spells them.
std::string Path(const QString& path) { return QFile::encodeName(path).toStdString(); }

}  // namespace

void TForm1::NewGame() {
  const QTime now = QDateTime::currentDateTimeUtc().time();
  StartNewGame(session_, SeedFromTimeOfDay(now.hour(), now.minute(), now.second(), now.msec()));
  if (recording_) recording_->recorder().State(session_);
  ViewChanged();
  ShowInfo();
}

bool TForm1::OpenGame(const QString& path) {
  std::string error;
  if (!LoadSavedGame(Path(path), session_, error)) {
    ShowFileError(tr("Не удалось открыть игру «%1».").arg(path), error);
    return false;
  }
  if (recording_) recording_->recorder().State(session_);
  ShowControls();
  ViewChanged();
  ShowInfo();
  return true;
}

bool TForm1::SaveGame(const QString& path) {
  session_.player.ticks = ticks_.GetTickCount();  // the picture's clock, for a replay's trace
  std::string text;
  std::string error;
  if (!SavedGameText(session_, text, error) || !WriteFileAtomically(Path(path), text, error)) {
    ShowFileError(tr("Не удалось сохранить игру в «%1».").arg(path), error);
    return false;
  }
  return true;
}

bool TForm1::StartRecording(const QString& path) {
  StopRecording();
  SyncPanel();  // the recording starts from the size the frames will read
  auto file = std::make_unique<RecordingFile>();
  std::string error;
  if (!file->Open(Path(path), session_, error)) {
    ShowFileError(tr("Не удалось начать запись в «%1».").arg(path), error);
    recordAction_->setChecked(false);
    return false;
  }
  recording_ = std::move(file);
  recordingFlush_->start();
  recordAction_->setChecked(true);
  return true;
}

void TForm1::StopRecording() {
  if (!recording_) return;
  std::string error;
  const bool finished = recording_->Finish(session_, error);
  EndRecording();
  if (!finished) ShowFileError(tr("Запись игры прервана."), error);
}

void TForm1::FlushRecording() {
  if (!recording_) return;
  std::string error;
  if (recording_->Flush(error)) return;
  EndRecording();  // what follows would not replay: the recording ends here
  ShowFileError(tr("Запись игры прервана."), error);
}

void TForm1::EndRecording() {
  recording_.reset();
  recordingFlush_->stop();
  recordAction_->setChecked(false);
}

void TForm1::ChooseAndOpen() {
  const QString path = QFileDialog::getOpenFileName(this, tr("Открыть игру"), QDir::homePath(),
                                                    tr("Сохранённые игры (*.save);;Все файлы (*)"));
  if (!path.isEmpty()) OpenGame(path);
}

void TForm1::ChooseAndSave() {
  QString path = QFileDialog::getSaveFileName(this, tr("Сохранить игру"), QDir::homePath(),
                                              tr("Сохранённые игры (*.save)"));
  if (path.isEmpty()) return;
  if (QFileInfo(path).suffix().isEmpty()) path += QStringLiteral(".save");
  SaveGame(path);
}

void TForm1::ToggleRecording() {
  if (recording_) {
    StopRecording();
    return;
  }
  recordAction_->setChecked(false);  // ticked once the recording runs
  QString path = QFileDialog::getSaveFileName(this, tr("Записывать игру"), QDir::homePath(),
                                              tr("Записи игры (*.sim)"));
  if (path.isEmpty()) return;
  if (QFileInfo(path).suffix().isEmpty()) path += QStringLiteral(".sim");
  StartRecording(path);
}

void TForm1::ShowFileError(const QString& what, const std::string& reason) {
  if (fileErrorBox_) fileErrorBox_->close();
  auto* box = new QMessageBox(QMessageBox::Warning, QStringLiteral("KRAGMOOR"), what,
                              QMessageBox::Ok, this);
  box->setObjectName("FileErrorBox");
  box->setInformativeText(QString::fromStdString(reason));
  box->setAttribute(Qt::WA_DeleteOnClose);
  fileErrorBox_ = box;
  box->open();
}

void TForm1::closeEvent(QCloseEvent* event) {
  StopRecording();  // finished with its last hash while the game is still whole
  QMainWindow::closeEvent(event);
}

}  // namespace kragmoor
