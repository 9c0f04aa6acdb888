// The replay and summary windows under a real display (Xvfb in CI): a
// recording opened in the game's window seeks back and forth to the state
// `kragmoor-sim run` reaches there, a changed byte and a cut are said at
// their frame, the charts show and seek, a tournament's recordings open,
// a dropped recording opens, taking over plays on from the frame shown, and
// live games are recorded by default. Exits with 77 (skipped) when there is
// no display at all.
#include "app/replay_window.h"

#include <QChartView>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QLabel>
#include <QLineSeries>
#include <QMimeData>
#include <QProcess>
#include <QPushButton>
#include <QSettings>
#include <QSlider>
#include <QStandardPaths>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QtTest>
#include <cstdio>

#include "app/form1.h"
#include "app/summary_window.h"
#include "game/print.h"
#include "world/state_hash.h"

namespace kragmoor {
namespace {

QString Sim() { return QStringLiteral(KRAGMOOR_SIM); }

// Runs kragmoor-sim with `arguments`; its standard output.
QByteArray RunSim(const QStringList& arguments, const QByteArray& input = {}) {
  QProcess sim;
  sim.start(Sim(), arguments);
  sim.write(input);
  sim.closeWriteChannel();
  sim.waitForFinished(120000);
  return sim.readAllStandardOutput();
}

QByteArray ReadAll(const QString& path) {
  QFile file(path);
  file.open(QIODevice::ReadOnly);
  return file.readAll();
}

void WriteAll(const QString& path, const QByteArray& text) {
  QFile file(path);
  QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
  file.write(text);
}

// The recording's lines up to the state at `frame` (every line before the
// frame step after it), then `hash`: what `kragmoor-sim run` hashes there.
QByteArray ScriptToFrame(const QByteArray& recording, int64_t frame) {
  QByteArray script;
  int64_t done = 0;
  for (const QByteArray& line : recording.split('\n')) {
    const QList<QByteArray> words = line.split(' ');
    int64_t frames = 0;
    if (words[0] == "step") frames = words.size() > 1 ? words[1].toLongLong() : 1;
    if (words[0] == "resize") frames = 1;
    if (frames > 0 && done + frames > frame) {
      if (words[0] == "step" && frame > done)
        script += "step " + QByteArray::number(frame - done) + '\n';
      break;
    }
    done += frames;
    if (words[0] != "hash") script += line + '\n';
  }
  return script + "hash\n";
}

class ReplayWindowTest : public QObject {
  Q_OBJECT

 private:
  QTemporaryDir dir_;
  QString recording_;  // an arena match of 3000 frames

  TReplayWindow* Open(TForm1& form, const QString& path) {
    if (!form.OpenGame(path)) return nullptr;
    TReplayWindow* window = form.replayWindow();
    if (window != nullptr) (void)QTest::qWaitForWindowExposed(window);
    return window;
  }

 private slots:
  void initTestCase() {
    recording_ = dir_.filePath("arena.sim");
    RunSim(
        {"arena", "--seed", "3", "--frames", "3000", "--record", recording_, "ai", "ai:2", "ai:1"});
    QVERIFY(QFile::exists(recording_));
  }

  void seeksForwardAndBackToTheStateRunReaches() {
    TForm1 form;
    form.show();
    TReplayWindow* window = Open(form, recording_);
    QVERIFY(window != nullptr);
    QCOMPARE(window->replay().frames(), 3000);
    const QByteArray text = ReadAll(recording_);
    for (const int frame : {2500, 700, 1801, 0, 3000, 1234}) {
      window->timeline()->setValue(frame);  // the slider, as a drag leaves it
      QCOMPARE(window->replay().frame(), frame);
      const QByteArray run = RunSim({"run", "-"}, ScriptToFrame(text, frame)).trimmed();
      const QByteArray last = run.mid(run.lastIndexOf('\n') + 1);
      QCOMPARE(QString::fromLatin1(last),
               QString::fromStdString("hash " + FormatHash(StateHash(window->replay().session()))));
    }
    QCOMPARE(window->ProblemText(), QString());
    // Playing at x64 moves on, and nothing done here changed the replay.
    window->timeline()->setValue(100);
    window->SetSpeed(6);
    window->SetPlaying(true);
    QTRY_VERIFY(window->replay().frame() > 400);
    window->SetPlaying(false);
    window->StepOne();
    QCOMPARE(QString::fromLatin1(ReadAll(recording_)), QString::fromLatin1(text));
  }

  void aChangedByteAndACutAreSaidAtTheirFrame() {
    QByteArray text = ReadAll(recording_);
    int at = -1;
    for (int i = 0; i < 10; ++i) at = text.indexOf("#> hash ", at + 1);  // frame 900's
    at += 8;
    text[at] = text[at] == '0' ? '1' : '0';
    const QString changed = dir_.filePath("changed.sim");
    WriteAll(changed, text);
    TForm1 form;
    form.show();
    TReplayWindow* window = Open(form, changed);
    QVERIFY(window != nullptr);
    window->SeekTo(899);
    QCOMPARE(window->ProblemText(), QString());
    window->SetSpeed(kAsFastAsItGoes);
    window->SetPlaying(true);
    QTRY_VERIFY(window->replay().frame() >= 900);
    QVERIFY2(window->ProblemText().startsWith("At frame 900 the game no longer matches"),
             qPrintable(window->ProblemText()));
    QTRY_COMPARE(window->findChild<QLabel*>("ReplayProblem")->text(), window->ProblemText());

    const QString cut = dir_.filePath("cut.sim");
    WriteAll(cut, ReadAll(recording_).left(ReadAll(recording_).size() / 2));
    window = Open(form, cut);
    QVERIFY(window != nullptr);
    window->SeekTo(1 << 30);
    QVERIFY2(window->ProblemText().contains("cut short"), qPrintable(window->ProblemText()));
    QVERIFY(!window->replay().problem().has_value());
  }

  void theChartsShowAndSeek() {
    TForm1 form;
    form.show();
    TReplayWindow* window = Open(form, recording_);
    QVERIFY(window != nullptr);
    TSummaryWindow* summary = window->ShowSummary();
    QVERIFY(QTest::qWaitForWindowExposed(summary));
    QCOMPARE(summary->charts().size(), size_t{7});
    for (QChartView* chart : summary->charts()) {
      QVERIFY(chart->isVisible());
      QCOMPARE(chart->chart()->series().size(), 3);
      const auto* line = qobject_cast<QLineSeries*>(chart->chart()->series()[1]);
      QCOMPARE(line->count(), 31);  // frame 0 and every 100th to 3000
    }
    // The final table is the CSV's last lines.
    const QList<QByteArray> csv = RunSim({"summary", recording_}).trimmed().split('\n');
    for (int side = 0; side < 3; ++side) {
      const QList<QByteArray> cells = csv[csv.size() - 3 + side].split(',');
      for (int column = 0; column < 7; ++column) {
        QCOMPARE(summary->table()->item(side, column)->text(), QString(cells[column + 2]));
      }
    }
    // A point clicked: the replay goes to its frame.
    auto* gold = qobject_cast<QLineSeries*>(summary->charts()[0]->chart()->series()[0]);
    emit gold->clicked(QPointF(1500.2, 40));
    QCOMPARE(window->replay().frame(), 1500);
  }

  void aTournamentsRecordingsOpen() {
    const QString folder = dir_.filePath("tournament");
    QDir().mkpath(folder);
    const QByteArray lines = RunSim({"tournament", "--frames", "300", "--seeds", "1-1", "--jobs",
                                     "2", "--record-dir", folder, "a=ai", "b=ai:1"});
    const QStringList files = QDir(folder).entryList(QDir::Files);
    QCOMPARE(files.size(), 6);
    TForm1 form;
    form.show();
    for (const QString& file : files) {
      QVERIFY(lines.contains(" recording=" + file.toUtf8() + '\n'));
      TReplayWindow* window = Open(form, QDir(folder).filePath(file));
      QVERIFY(window != nullptr);
      window->SeekTo(300);
      QVERIFY(window->replay().atEnd());
      QCOMPARE(window->ProblemText(), QString());
    }
  }

  void aDroppedRecordingOpensAsAReplay() {
    TForm1 form;
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(recording_)});
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&form, &enter);
    QVERIFY(enter.isAccepted());
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&form, &drop);
    QVERIFY(form.replayWindow() != nullptr);
    QCOMPARE(form.replayWindow()->replay().frames(), 3000);
  }

  void takingOverPlaysOnFromTheFrameShown() {
    TForm1 form;
    form.show();
    TReplayWindow* window = Open(form, recording_);
    QVERIFY(window != nullptr);
    window->SeekTo(2000);
    const uint64_t hash = StateHash(window->replay().session());
    window->findChild<QPushButton*>("ReplayTakeOver")->click();
    QCOMPARE(StateHash(form.session()), hash);
    QCOMPARE(form.frameSteps(), 0);
  }

  void aLiveGamesSummaryComesFromItsRecording() {
    TForm1 form;
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QVERIFY(form.StartRecording(dir_.filePath("live.sim")));
    for (int i = 0; i < 300; ++i) form.TimerDraw();
    QVERIFY(form.ShowLiveSummary());
    QVERIFY(form.liveSummary() != nullptr);
    QCOMPARE(form.liveSummary()->charts().size(), size_t{7});
    form.StopRecording();
    // Recording by default goes to the data folder, keeping the last 20
    // recordings; the preference stops it.
    const QDir folder(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) +
                      "/recordings");
    QVERIFY(folder.mkpath("."));
    for (const QString& old : folder.entryList(QDir::Files))
      QVERIFY(QFile::remove(folder.filePath(old)));
    for (int i = 10; i < 35; ++i) {
      WriteAll(folder.filePath(QStringLiteral("game-20000101-0000%1-000.sim").arg(i)),
               "# kragmoor recording 1\n");
    }
    qunsetenv("KRAGMOOR_NO_AUTO_RECORD");
    form.RecordByDefault();
    QVERIFY(form.recording());
    QVERIFY(form.recordingPath().startsWith(folder.path()));
    const QStringList kept = folder.entryList(QDir::Files, QDir::Name);
    QCOMPARE(kept.size(), 20);
    QCOMPARE(kept.first(), QString("game-20000101-000016-000.sim"));  // the 6 oldest went
    form.StopRecording();
    QSettings().setValue("recordGames", false);
    form.RecordByDefault();
    QVERIFY(!form.recording());
  }
};

}  // namespace
}  // namespace kragmoor

int main(int argc, char** argv) {
  const bool display = qEnvironmentVariableIsSet("DISPLAY") ||
                       qEnvironmentVariableIsSet("WAYLAND_DISPLAY") ||
                       qEnvironmentVariableIsSet("QT_QPA_PLATFORM");
  if (!display) {
    std::puts("SKIP: no display; run under xvfb-run");
    return 77;
  }
  // Preferences and recordings by default in folders of this process's own.
  const QTemporaryDir home;
  qputenv("XDG_DATA_HOME", QFile::encodeName(home.filePath("data")));
  QStandardPaths::setTestModeEnabled(true);
  qputenv("KRAGMOOR_NO_START_DIALOG", "1");
  qputenv("KRAGMOOR_NO_AUTO_RECORD", "1");
  QApplication app(argc, argv);
  QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, home.filePath("settings"));
  kragmoor::ReplayWindowTest test;
  return QTest::qExec(&test, argc, argv);
}

#include "replay_window_test.moc"
