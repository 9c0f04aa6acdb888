// A replay of a recording: plays it forward frame by frame, verifying every
// line the recording expects (its hashes, its frame errors), keeps a copy of
// the whole session every so many frames, and seeks to any frame from the
// nearest copy. Nothing done to a replay changes the recording it plays.
#pragma once

#include <cstdint>
#include <deque>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "game/input.h"
#include "game/replay/recording.h"
#include "game/session.h"

namespace kragmoor {

// What a replay may tell about each thing it runs (the summary counts from
// it). Called in order as the lines run, on the first pass and on every
// later one alike.
class ReplayWatcher {
 public:
  virtual ~ReplayWatcher() = default;
  // `input` is about to change `session`.
  virtual void BeforeInput(const Session& session, const Input& input) = 0;
  // `input` has changed `session` (and, for resize, run its frame).
  virtual void AfterInput(const Session& session, const Input& input) = 0;
  // A frame step has run on `session`; it is now frame `frame`.
  virtual void AfterFrame(const Session& session, int64_t frame) = 0;
};

// Where the replay disagrees with the recording.
struct ReplayProblem {
  int64_t frame = 0;  // the frame at which it shows
  uint32_t line = 0;  // the recording's line
  std::string words;  // in plain words, one sentence or two
};

// The frames between two copies of the session, for a recording of `frames`
// frames: kSnapshotEvery, or more for a very long one, so that at most
// kMaxSnapshots copies are kept.
inline constexpr int64_t kSnapshotEvery = 250;
inline constexpr int64_t kMaxSnapshots = 2000;
int64_t SnapshotEvery(int64_t frames);

class Replay {
 public:
  // Takes the recording; the replay stands at frame 0: every line before the
  // first frame step has run (the state recording began with).
  explicit Replay(Recording recording);
  ~Replay();
  Replay(const Replay&) = delete;
  Replay& operator=(const Replay&) = delete;

  const Recording& recording() const { return recording_; }
  // Frame steps the recording holds, the last frame a seek reaches.
  int64_t frames() const { return recording_.frames; }
  // The frame shown now: every frame step up to it has run, and every line
  // before the next one.
  int64_t frame() const;
  // The session at frame(). A copy of it is the game a player may take over
  // from here: a live game continues from it as from a loaded save.
  const Session& session() const;
  bool atEnd() const { return frame() >= frames(); }

  // The next frame, or nothing at the end.
  void Step();
  // Frame `target` (clamped to 0 .. frames()), from the nearest copy at or
  // before it, or from here when that is nearer.
  void Seek(int64_t target);
  // Runs up to `budget` frames ahead of the last copy kept, without moving
  // what is shown, so that later seeks there are quick; false once copies
  // reach the end. A window calls it while it has time.
  bool Prepare(int64_t budget);
  // Frames up to which copies are kept.
  int64_t prepared() const;

  // The first disagreement found so far (the lowest frame), if any.
  const std::optional<ReplayProblem>& problem() const { return problem_; }
  // The recording was cut short: it ends at frames() without its closing
  // hash. In plain words, with the frame, or empty when it was not.
  std::string CutWords() const;

  // Tells `watcher` (or no one: null) of everything that runs from now on.
  // REQUIRES: it outlives the replay or is unset first.
  void Watch(ReplayWatcher* watcher) { watcher_ = watcher; }

  // Bytes the copies of the session take, strings included.
  size_t SnapshotBytes() const;

 private:
  struct Point;
  // Runs lines on `point` until it stands at `target` (or the end).
  void Advance(Point& point, int64_t target);
  void RunLine(Point& point, const RecordedLine& line);
  void FrameRan(Point& point);
  void Expect(Point& point, const RecordedLine& line);
  void Found(int64_t frame, uint32_t line, std::string words);
  void Keep(const Point& point);

  Recording recording_;
  int64_t every_;                                  // frames between copies
  std::vector<std::unique_ptr<Point>> snapshots_;  // index i: frame i * every_, or null
  std::unique_ptr<Point> shown_;
  std::unique_ptr<Point> ahead_;  // Prepare's, at the last copy kept
  std::optional<ReplayProblem> problem_;
  ReplayWatcher* watcher_ = nullptr;
};

}  // namespace kragmoor
