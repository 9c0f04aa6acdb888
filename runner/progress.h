// Long runs of kragmoor-sim's scripts and tournaments: Ctrl+C ends them at
// once, and a replay shows how far it is on a terminal.
#pragma once

#include <cstdint>
#include <streambuf>

namespace kragmoor {

// The exit status of a script ended by SIGINT: 128 + the signal's number,
// as a shell reports it.
inline constexpr int kInterruptedStatus = 130;

// Makes SIGINT set a flag that Progress::Frame and Interrupted read, unless
// the program was started with SIGINT ignored (a shell's background job):
// then it stays ignored.
void CatchInterrupt();

// Whether SIGINT has come since CatchInterrupt; safe from any thread.
bool Interrupted();

// The frame steps a script runs, counted ahead from its `step N`, `trace N`
// and `resize` lines (a reading of the whole file, without running it).
int64_t CountFrames(std::streambuf& in);

// Called after every frame step of a script.
class Progress {
 public:
  // `total` frames in all (0: unknown); `show` the count on standard error
  // (when it is a terminal).
  Progress(int64_t total, bool show) : total_(total), show_(show) {}
  ~Progress();
  Progress(const Progress&) = delete;
  Progress& operator=(const Progress&) = delete;

  // `framesRun` frames are done: redraws the count every tenth of a second;
  // throws ScriptStop with kInterruptedStatus once SIGINT has come.
  void Frame(int64_t framesRun);

 private:
  void Clear();

  int64_t total_;
  bool show_;
  bool shown_ = false;
  int64_t nextClock_ = 0;  // frames run when the clock is next read
  int64_t lastDraw_ = 0;   // steady-clock milliseconds of the last drawing
};

}  // namespace kragmoor
