// The main window's game files: a new game, opening and saving games, and
// recording the game as it is played. The driver reads and writes them; the
// window only chooses them and tells the player when one fails.
#include <QAction>
#include <QCloseEvent>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QTimer>
#include <string>

#include "app/form1.h"
#include "app/play_field_view.h"

namespace kragmoor {

namespace {

// File names from the dialogs and the command line, as the system spells them.
std::string Path(const QString& path) { return QFile::encodeName(path).toStdString(); }

}  // namespace

void TForm1::NewGame() {
  driver_.NewGame(SeedNow());
  overShown_ = false;
  ShowOutcome();
  ShowInfo();
}

bool TForm1::OpenGame(const QString& path) {
  std::string error;
  if (!driver_.OpenGame(Path(path), error)) {
    ShowFileError(tr("Не удалось открыть игру «%1».").arg(path), error);
    return false;
  }
  overShown_ = false;
  ShowControls();
  ShowOutcome();
  ShowInfo();
  return true;
}

bool TForm1::SaveGame(const QString& path) {
  std::string error;
  if (!driver_.SaveGame(Path(path), error)) {
    ShowFileError(tr("Не удалось сохранить игру в «%1».").arg(path), error);
    return false;
  }
  return true;
}

bool TForm1::StartRecording(const QString& path) {
  StopRecording();
  std::string error;
  const bool started = driver_.StartRecording(Path(path), panel3_->size(), error);
  ShowRecording();
  if (!started) ShowFileError(tr("Не удалось начать запись в «%1».").arg(path), error);
  return started;
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
  if (!driver_.recording()) recordingFlush_->stop();
  recordAction_->setChecked(driver_.recording());
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
  if (driver_.recording()) {
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
