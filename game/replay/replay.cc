// Replays: the lines of a recording run on a session, checked as they run,
// and the copies of the session that seeks start from.
#include "game/replay/replay.h"

#include <algorithm>

#include "game/play.h"
#include "game/print.h"
#include "game/quote.h"
#include "game/words.h"

namespace kragmoor {

namespace {

// Output lines the replay holds for lines of the recording yet to come;
// beyond it the replay has printed far more than the recording expects.
constexpr size_t kMaxPending = 10000;

// Characters of a line a message quotes.
constexpr size_t kShownChars = 120;

size_t HeapBytes(const std::string& text) {
  return text.capacity() > std::string().capacity() ? text.capacity() + 1 : 0;
}

std::string AtFrame(int64_t frame) { return "At frame " + std::to_string(frame); }

std::string OnLine(uint32_t line) { return " (line " + std::to_string(line) + ")."; }

}  // namespace

// One place in the replay: the session after `frame` frame steps and every
// line before the next one, and the output not yet compared.
struct Replay::Point {
  Session session;
  size_t next = 0;        // index of the next line to run
  int32_t stepsDone = 0;  // frames of the `step` at `next` already run
  int64_t frame = 0;
  std::deque<std::string> pending;  // printed, not yet compared with a `#> ` line
};

int64_t SnapshotEvery(int64_t frames) {
  return std::max(kSnapshotEvery, frames / kMaxSnapshots + 1);
}

Replay::Replay(Recording recording)
    : recording_(std::move(recording)),
      every_(SnapshotEvery(recording_.frames)),
      snapshots_(static_cast<size_t>(recording_.frames / every_ + 1)),
      shown_(std::make_unique<Point>()) {
  Advance(*shown_, 0);
}

Replay::~Replay() = default;

int64_t Replay::frame() const { return shown_->frame; }

const Session& Replay::session() const { return shown_->session; }

void Replay::Step() { Advance(*shown_, shown_->frame + 1); }

void Replay::Seek(int64_t target) {
  target = std::clamp<int64_t>(target, 0, frames());
  size_t index = static_cast<size_t>(target / every_);
  while (snapshots_[index] == nullptr) --index;  // the copy of frame 0 is always there
  const int64_t from = static_cast<int64_t>(index) * every_;
  if (shown_->frame > target || shown_->frame < from) *shown_ = *snapshots_[index];
  Advance(*shown_, target);
}

bool Replay::Prepare(int64_t budget) {
  size_t last = 0;
  while (last + 1 < snapshots_.size() && snapshots_[last + 1] != nullptr) ++last;
  const int64_t lastFrame = static_cast<int64_t>(last) * every_;
  if (ahead_ == nullptr || ahead_->frame < lastFrame) {
    ahead_ = std::make_unique<Point>(*snapshots_[last]);
  }
  if (ahead_->frame >= frames()) return false;
  ReplayWatcher* const watcher = watcher_;
  watcher_ = nullptr;  // the watcher sees only what is shown
  Advance(*ahead_, ahead_->frame + budget);
  watcher_ = watcher;
  return ahead_->frame < frames();
}

int64_t Replay::prepared() const {
  size_t last = 0;
  while (last + 1 < snapshots_.size() && snapshots_[last + 1] != nullptr) ++last;
  const int64_t kept = static_cast<int64_t>(last) * every_;
  return std::max(kept, ahead_ != nullptr ? ahead_->frame : 0);
}

std::string Replay::CutWords() const {
  if (recording_.closed) return {};
  return "The recording ends at frame " + std::to_string(frames()) +
         " without its closing hash: it was cut short (the game stopped while it was "
         "recording). Everything before that replays.";
}

size_t Replay::SnapshotBytes() const {
  size_t bytes = 0;
  for (const auto& point : snapshots_) {
    if (point == nullptr) continue;
    bytes += sizeof(Point);
    for (const Tigrok& t : point->session.world.entities) {
      bytes += HeapBytes(t.order) + HeapBytes(t.nextOrder);
    }
    const PlayerView& player = point->session.player;
    bytes += player.selection.capacity() * sizeof(int32_t);
    for (const auto& group : player.groups) bytes += group.capacity() * sizeof(int32_t);
    for (const std::string& line : point->pending) bytes += sizeof(std::string) + HeapBytes(line);
  }
  return bytes;
}

void Replay::Advance(Point& point, int64_t target) {
  const std::vector<RecordedLine>& lines = recording_.lines;
  for (;;) {
    // A copy is kept of the point standing at a frame: before its next
    // frame step, or at the end.
    if (point.next >= lines.size()) {
      Keep(point);
      // Output left over where a cut recording ends is what its cut lost.
      if (!point.pending.empty() && recording_.closed) {
        Found(point.frame, recording_.lastLine,
              AtFrame(point.frame) + ", where the recording ends, the replay printed " +
                  Quoted(point.pending.front(), kShownChars) +
                  ", which the recording does not hold");
      }
      return;
    }
    const RecordedLine& line = lines[point.next];
    if (line.kind == RecordedLine::Kind::kStep) {
      if (point.stepsDone >= line.count) {
        ++point.next;
        point.stepsDone = 0;
        continue;
      }
      Keep(point);
      if (point.frame >= target) return;
      std::string error;
      if (!StepFrame(point.session, Front{}, error)) point.pending.push_back("error: " + error);
      ++point.stepsDone;
      FrameRan(point);
      if (watcher_ != nullptr && &point == shown_.get()) {
        watcher_->AfterFrame(point.session, point.frame);
      }
      continue;
    }
    if (line.count > 0) {  // an input that runs a frame
      Keep(point);
      if (point.frame >= target) return;
    }
    RunLine(point, line);
    ++point.next;
  }
}

void Replay::RunLine(Point& point, const RecordedLine& line) {
  switch (line.kind) {
    case RecordedLine::Kind::kHash:
      point.pending.push_back("hash " + FormatHash(StateHash(point.session)));
      return;
    case RecordedLine::Kind::kExpect:
      Expect(point, line);
      return;
    case RecordedLine::Kind::kStep:
      return;
    case RecordedLine::Kind::kInput:
      break;
  }
  // Every input line was parsed when the recording was read: this one parses.
  const Words words = Split(recording_.TextOf(line));
  const Input input = ParseInput(*FindInput(words[0]), words);
  ReplayWatcher* const watcher = &point == shown_.get() ? watcher_ : nullptr;
  if (watcher != nullptr) watcher->BeforeInput(point.session, input);
  std::string error;
  if (!ApplyWithFrame(point.session, input, Front{}, error)) {
    point.pending.push_back("error: " + error);
  }
  if (watcher != nullptr) watcher->AfterInput(point.session, input);
  if (line.count > 0) {
    FrameRan(point);
    if (watcher != nullptr) watcher->AfterFrame(point.session, point.frame);
  }
}

void Replay::FrameRan(Point& point) {
  ++point.frame;
  if (point.pending.size() > kMaxPending) {
    Found(point.frame, recording_.lines[point.next].number,
          AtFrame(point.frame) + " the replay has printed " + std::to_string(kMaxPending) +
              " lines that the recording does not hold, the first " +
              Quoted(point.pending.front(), kShownChars));
    point.pending.pop_front();
  }
}

void Replay::Expect(Point& point, const RecordedLine& line) {
  const std::string_view text = recording_.TextOf(line);
  const std::string_view expected = text.size() > 3 ? text.substr(3) : std::string_view();
  if (point.pending.empty()) {
    Found(point.frame, line.number,
          AtFrame(point.frame) + " the recording holds " + Quoted(expected, kShownChars) +
              ", which the replay did not print" + OnLine(line.number));
    return;
  }
  const std::string got = std::move(point.pending.front());
  point.pending.pop_front();
  if (got == expected) return;
  if (expected.starts_with("hash ") && got.starts_with("hash ")) {
    Found(point.frame, line.number,
          AtFrame(point.frame) + " the game no longer matches the recording: it holds the state " +
              std::string(expected) + " here, the replay reached " + got + OnLine(line.number) +
              " What follows may differ from the game that was recorded.");
    return;
  }
  Found(point.frame, line.number,
        AtFrame(point.frame) + " the replay printed " + Quoted(got, kShownChars) +
            " where the recording holds " + Quoted(expected, kShownChars) + OnLine(line.number));
}

void Replay::Found(int64_t frame, uint32_t line, std::string words) {
  if (problem_.has_value() && problem_->frame <= frame) return;
  problem_ = ReplayProblem{frame, line, std::move(words)};
}

void Replay::Keep(const Point& point) {
  if (point.frame % every_ != 0) return;
  std::unique_ptr<Point>& slot = snapshots_[static_cast<size_t>(point.frame / every_)];
  if (slot == nullptr) slot = std::make_unique<Point>(point);
}

}  // namespace kragmoor
