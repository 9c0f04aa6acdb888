// The main window's replays and summaries: a recording opened (menu,
// command line, drag and drop) plays in a replay window, a live game's
// summary comes from its recording, and games are recorded by default into
// the user's data folder, the last kKeptRecordings kept.
#include <QAction>
#include <QDateTime>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QMenu>
#include <QMimeData>
#include <QSettings>
#include <QStandardPaths>
#include <string>

#include "app/form1.h"
#include "app/replay_window.h"
#include "app/summary_window.h"
#include "game/platform/files.h"
#include "game/recorder.h"
#include "game/replay/recording.h"
#include "game/replay/summary.h"

namespace kragmoor {

namespace {

// Automatic recordings kept in the data folder; the oldest beyond go.
constexpr int kKeptRecordings = 20;
// The preference, on unless turned off.
constexpr const char* kAutoRecordKey = "recordGames";
// How the automatic recordings are named, so that only they are removed.
constexpr const char* kAutoPrefix = "game-";

std::string Path(const QString& path) { return QFile::encodeName(path).toStdString(); }

// The folder of the automatic recordings.
QString RecordingsFolder() {
  return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) +
         QStringLiteral("/recordings");
}

bool AutoRecordingWanted() {
  return qEnvironmentVariableIsEmpty("KRAGMOOR_NO_AUTO_RECORD") &&
         QSettings().value(kAutoRecordKey, true).toBool();
}

// The local file a drop brings, or empty.
QString DroppedFile(const QMimeData* data) {
  if (data == nullptr || !data->hasUrls() || data->urls().size() != 1) return {};
  const QUrl url = data->urls().first();
  return url.isLocalFile() ? url.toLocalFile() : QString();
}

}  // namespace

TReplayWindow* TForm1::replayWindow() const { return replayWindow_; }

TSummaryWindow* TForm1::liveSummary() const { return liveSummary_; }

void TForm1::CreateReplayActions(QMenu* menu) {
  AddAction(menu, QT_TR_NOOP("Итоги игры…"), QKeySequence(), [this] { ShowLiveSummary(); });
  autoRecordAction_ = AddAction(menu, QT_TR_NOOP("Записывать каждую игру"), QKeySequence(), [] {});
  autoRecordAction_->setObjectName("AutoRecordAction");
  autoRecordAction_->setCheckable(true);
  autoRecordAction_->setChecked(QSettings().value(kAutoRecordKey, true).toBool());
  connect(autoRecordAction_, &QAction::toggled, this,
          [](bool on) { QSettings().setValue(kAutoRecordKey, on); });
  setAcceptDrops(true);
}

bool TForm1::OpenReplay(const QString& path) {
  Recording recording;
  std::string error;
  if (!ReadRecordingFile(Path(path), recording, error)) {
    ShowFileError(tr("Не удалось открыть запись «%1».").arg(path), error);
    return false;
  }
  SetPaused(true);
  if (replayWindow_) replayWindow_->close();
  auto* window = new TReplayWindow(std::move(recording), QFileInfo(path).fileName(), this);
  window->onTakeOver = [this](const Session& session) {
    driver_.TakeOver(session);
    GameReplaced();
    ShowControls();
    ShowOutcome();
    ShowInfo();
    activateWindow();
  };
  replayWindow_ = window;
  window->show();
  return true;
}

bool TForm1::ShowLiveSummary() {
  if (!driver_.recording() || recordingPath_.isEmpty()) {
    ShowFileError(tr("Итогов нет: игра не записывается."),
                  tr("Итоги считаются по записи игры (Игра → Записывать игру).").toStdString());
    return false;
  }
  FlushRecording();
  return ShowSummaryOf(recordingPath_);
}

bool TForm1::ShowSummaryOf(const QString& path) {
  Recording recording;
  std::string error;
  if (!ReadRecordingFile(Path(path), recording, error)) {
    ShowFileError(tr("Не удалось открыть запись «%1».").arg(path), error);
    return false;
  }
  Replay replay(std::move(recording));
  if (liveSummary_) liveSummary_->close();
  liveSummary_ = new TSummaryWindow(Summarize(replay), world().players, this);
  liveSummary_->onSeek = [this, path](int64_t frame) {
    FlushRecording();
    if (OpenReplay(path)) replayWindow_->SeekTo(frame);
  };
  liveSummary_->show();
  return true;
}

void TForm1::RecordByDefault() {
  if (AutoRecordingWanted() && !driver_.recording()) StartAutoRecording();
}

void TForm1::StartAutoRecording() {
  const QString path = NewAutoRecordingPath();
  if (!path.isEmpty() && StartRecording(path)) autoRecording_ = true;
}

QString TForm1::AutoRecordingPathIfWanted() {
  return AutoRecordingWanted() ? NewAutoRecordingPath() : QString();
}

QString TForm1::NewAutoRecordingPath() {
  const QDir folder(RecordingsFolder());
  if (!folder.mkpath(QStringLiteral("."))) return {};  // no data folder: the game goes unrecorded
  // The names sort by time: the first ones beyond the kept are the oldest.
  const QStringList names =
      folder.entryList({QString::fromLatin1(kAutoPrefix) + QStringLiteral("*.sim")}, QDir::Files,
                       QDir::Name | QDir::Reversed);
  for (qsizetype i = kKeptRecordings - 1; i < names.size(); ++i) {
    const QString old = folder.filePath(names[i]);
    if (FileStartsWith(Path(old), kRecordingFormat)) QFile::remove(old);
  }
  const QString name =
      QString::fromLatin1(kAutoPrefix) +
      QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss-zzz")) +
      QStringLiteral(".sim");
  return folder.filePath(name);
}

void TForm1::dragEnterEvent(QDragEnterEvent* event) {
  if (!DroppedFile(event->mimeData()).isEmpty()) event->acceptProposedAction();
}

void TForm1::dropEvent(QDropEvent* event) {
  const QString path = DroppedFile(event->mimeData());
  if (path.isEmpty()) return;
  event->acceptProposedAction();
  OpenGame(path);
}

}  // namespace kragmoor
