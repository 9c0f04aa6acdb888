// The arena: bots and computer players in one match, turn by turn.
#include "runner/arena.h"

#include <algorithm>
#include <charconv>
#include <chrono>
#include <cstdio>
#include <iostream>
#include <mutex>
#include <sstream>
#include <vector>

#include "game/bot_process.h"
#include "game/bot_protocol.h"
#include "game/input.h"
#include "game/match.h"
#include "game/play.h"
#include "game/quote.h"
#include "game/recorder.h"
#include "game/session.h"
#include "runner/command_line.h"
#include "runner/match.h"
#include "sim/computer_player.h"

namespace kragmoor {

namespace {

using std::chrono::milliseconds;

constexpr milliseconds kStartWait{5000};      // for the answer to `start`
constexpr milliseconds kEndGrace{1000};       // to exit after `end`
constexpr int32_t kFlushEveryFrames = 10000;  // recording flushes, in frames

struct Seat {
  ArenaSide side;
  SeatResult result;
  BotProcess process;
  bool playing = false;  // a bot that has answered start and not been ended
  bool wroteGarbage = false;
  BotClock::duration pool{};  // overtime left
  BotClock::duration late{};  // overtime spent
  BotClock::time_point sentAt{};
  std::string answer;               // the answer to this turn, once it came
  std::vector<std::string> errors;  // for the next turn's message
};

// Ends a bot's part in the match: it is killed and its side plays as none.
void EndBot(Seat& seat, const char* status) {
  seat.result.status = status;
  seat.playing = false;
  seat.process.Kill();
}

// Waits for the answer of every bot in `asked` to the message just sent,
// each until its own deadline, judging each as it comes.
void CollectAnswers(std::array<Seat, kSideCount>& seats, std::array<bool, kSideCount> asked,
                    BotClock::duration budget, bool start) {
  std::array<BotProcess*, kSideCount> bots{};
  for (int s = 0; s < kSideCount; ++s) bots[s] = &seats[s].process;
  const auto deadline = [&](const Seat& seat) {
    return seat.sentAt + (start ? BotClock::duration(kStartWait) : budget + seat.pool);
  };
  while (std::any_of(asked.begin(), asked.end(), [](bool a) { return a; })) {
    auto soonest = BotClock::time_point::max();
    for (int s = 0; s < kSideCount; ++s) {
      if (asked[s]) soonest = std::min(soonest, deadline(seats[s]));
    }
    BotProcess::Pump(bots, asked, soonest);
    const auto now = BotClock::now();
    for (int s = 0; s < kSideCount; ++s) {
      Seat& seat = seats[s];
      if (!asked[s]) continue;
      if (!seat.process.Answered()) {
        if (now >= deadline(seat)) {
          EndBot(seat, start ? "no-start" : "timeout");
          asked[s] = false;
        }
        continue;
      }
      asked[s] = false;
      if (auto line = seat.process.TakeLine()) {
        if (!start) {
          const auto late = now - seat.sentAt - budget;
          if (late > BotClock::duration::zero()) {
            seat.pool -= late;
            seat.late += late;
            seat.result.lateMs = std::chrono::duration_cast<milliseconds>(seat.late).count();
          }
          if (seat.pool < BotClock::duration::zero()) {
            EndBot(seat, "timeout");
            continue;
          }
        }
        seat.answer = std::move(*line);
        continue;
      }
      if (start) {
        EndBot(seat, "no-start");
      } else {
        EndBot(seat, seat.process.end() == BotEnd::kOverlong ? "bad-output" : "exited");
      }
    }
  }
}

// Starts every bot seat and waits for its ready message.
void StartBots(std::array<Seat, kSideCount>& seats, const ArenaOptions& options,
               const std::function<void(const std::string&)>& errorLine) {
  std::array<bool, kSideCount> asked{};
  for (int s = 0; s < kSideCount; ++s) {
    Seat& seat = seats[s];
    if (seat.side.kind != ArenaSide::Kind::kBot) continue;
    seat.process.onErrorLine = [&errorLine, s](std::string_view line) {
      errorLine("side " + std::to_string(s + 1) + ": " + std::string(line));
    };
    std::string why;
    if (!seat.process.Start(seat.side.command, why)) {
      errorLine("side " + std::to_string(s + 1) + ": cannot start the bot: " + why);
      seat.result.status = "no-start";
      continue;
    }
    seat.pool = milliseconds(options.overtimeMs);
    seat.sentAt = BotClock::now();
    seat.process.Send(StartMessage(s, options.turn, options.budgetMs, options.frames));
    asked[s] = true;
  }
  CollectAnswers(seats, asked, milliseconds(options.budgetMs), true);
  for (int s = 0; s < kSideCount; ++s) {
    Seat& seat = seats[s];
    if (!asked[s] || seat.result.status == "no-start") continue;
    if (ParseReady(seat.answer, seat.result.name)) {
      seat.playing = true;
      seat.result.status = "ok";
    } else {
      EndBot(seat, "no-start");
    }
    seat.answer.clear();
  }
}

// One turn: every playing bot gets the turn message, then the answers are
// applied as `order` inputs, lower sides first.
void PlayTurn(std::array<Seat, kSideCount>& seats, Session& session, const Front& front,
              int64_t frame, const ArenaOptions& options) {
  std::array<bool, kSideCount> asked{};
  std::string body;
  for (int s = 0; s < kSideCount; ++s) {
    Seat& seat = seats[s];
    if (!seat.playing) continue;
    if (body.empty()) body = TurnBody(session.world, frame);
    seat.sentAt = BotClock::now();
    seat.process.Send(TurnMessage(body, seat.errors));
    seat.errors.clear();
    seat.answer.clear();
    asked[s] = true;
  }
  if (body.empty()) return;
  CollectAnswers(seats, asked, milliseconds(options.budgetMs), false);
  for (int s = 0; s < kSideCount; ++s) {
    Seat& seat = seats[s];
    if (!seat.playing) continue;
    std::vector<BotOrder> orders;
    const size_t before = seat.errors.size();
    if (!ParseOrders(seat.answer, session.world, s, orders, seat.errors)) seat.wroteGarbage = true;
    seat.result.refused += static_cast<int64_t>(seat.errors.size() - before);
    seat.result.orders += static_cast<int64_t>(orders.size());
    std::string ignored;  // an order runs no frame, so no frame error
    for (const BotOrder& order : orders) {
      Apply(session, Order{order.slot, order.text}, front, ignored);
    }
  }
}

}  // namespace

bool ParseArenaSide(std::string_view text, ArenaSide& side) {
  if (text.empty()) return false;
  if (text == "ai" || text == "none") {
    side = ArenaSide{text == "ai" ? ArenaSide::Kind::kAi : ArenaSide::Kind::kNone, 3, ""};
    return true;
  }
  if (text.starts_with("ai:")) {
    if (text.size() != 4 || text[3] < '1' || text[3] > '3') return false;
    side = ArenaSide{ArenaSide::Kind::kAi, text[3] - '0', ""};
    return true;
  }
  side = ArenaSide{ArenaSide::Kind::kBot, 3, std::string(text)};
  return true;
}

bool RunArena(const ArenaOptions& options, const std::array<ArenaSide, kSideCount>& sides,
              const std::function<void(const std::string&)>& errorLine, ArenaResult& result,
              std::string& error) {
  Session session;
  session.world.seed = options.seed;
  std::array<bool, kSideCount> ai{};
  std::array<int32_t, kSideCount> levels{3, 3, 3};
  std::array<Seat, kSideCount> seats;
  for (int s = 0; s < kSideCount; ++s) {
    seats[s].side = sides[s];
    ai[s] = sides[s].kind == ArenaSide::Kind::kAi;
    if (ai[s]) levels[s] = sides[s].level;
    seats[s].result.status = ai[s] ? "ai" : "none";
  }
  session.computerPlayer = ai;
  session.level = levels;

  RecordingFile recording;
  bool recorded = !options.recordPath.empty();
  if (recorded) recorded = recording.Open(options.recordPath, session, error);
  Front front;  // the recorder is lent to every order and frame while the recording runs
  if (recorded) front.recorder = &recording.recorder();

  StartBots(seats, options, errorLine);
  std::ostringstream lines;
  for (int64_t frame = 0; frame < options.frames;) {
    if (frame % options.turn == 0) PlayTurn(seats, session, front, frame, options);
    const int64_t next =
        std::min<int64_t>(options.frames, (frame / options.turn + 1) * options.turn);
    for (; frame < next; ++frame) {
      StepFrame(session, front, lines);
      if (recorded && (frame + 1) % kFlushEveryFrames == 0 && !recording.Flush(error)) {
        recorded = false;
        front.recorder = nullptr;
      }
    }
  }
  result.places = Places(session.world);
  for (Seat& seat : seats) {
    if (seat.playing) {
      seat.process.Send(EndMessage(options.frames, result.places));
      seat.result.status = seat.wroteGarbage ? "bad-output" : "ok";
    }
  }
  for (Seat& seat : seats) seat.process.Stop(kEndGrace);
  for (int s = 0; s < kSideCount; ++s) result.seats[s] = seats[s].result;
  PrintMatchSummary(session, options.frames, lines);
  result.matchLines = std::move(lines).str();
  if (recorded && !recording.Finish(session, error)) recorded = false;
  return options.recordPath.empty() || recorded;
}

void PrintSeatLines(const ArenaResult& result, std::ostream& out) {
  for (int s = 0; s < kSideCount; ++s) {
    const SeatResult& seat = result.seats[s];
    out << "bot " << s + 1 << " name=\"" << seat.name << "\" status=" << seat.status;
    if (seat.status != "ai" && seat.status != "none") {
      out << " orders=" << seat.orders << " refused=" << seat.refused << " late_ms=" << seat.lateMs;
    }
    out << '\n';
  }
}

std::vector<Option> ArenaOptionList(ArenaOptions& options) {
  return {
      {"--seed",
       [&](std::string_view v) { return ParseWhole<uint32_t>(v, 0, UINT32_MAX, options.seed); }},
      {"--frames",
       [&](std::string_view v) { return ParseWhole<int32_t>(v, 0, INT32_MAX, options.frames); }},
      {"--turn",
       [&](std::string_view v) { return ParseWhole<int32_t>(v, 1, INT32_MAX, options.turn); }},
      {"--budget",
       [&](std::string_view v) { return ParseWhole<int32_t>(v, 1, INT32_MAX, options.budgetMs); }},
      {"--overtime",
       [&](std::string_view v) {
         return ParseWhole<int32_t>(v, 0, INT32_MAX, options.overtimeMs);
       }},
      {"--record",
       [&](std::string_view v) {
         options.recordPath = v;
         return !v.empty();
       }},
  };
}

int ArenaCommand(int argc, char** argv, std::ostream& out) {
  ArenaOptions options;
  std::vector<std::string_view> words;
  if (const auto done = ReadOptions(argc, argv, ArenaOptionList(options), &words, out)) {
    return *done;
  }
  if (words.size() != kSideCount) return Usage("'arena' takes three sides");
  std::array<ArenaSide, kSideCount> sides;
  for (int s = 0; s < kSideCount; ++s) {
    if (!ParseArenaSide(words[s], sides[s])) return Usage("bad side " + Quoted(words[s]));
  }
  std::mutex errorMutex;
  const auto errorLine = [&errorMutex](const std::string& line) {
    const std::lock_guard lock(errorMutex);
    std::cerr << line << '\n';
  };
  const auto start = std::chrono::steady_clock::now();
  ArenaResult result;
  std::string error;
  const bool recorded = RunArena(options, sides, errorLine, result, error);
  PrintSeatLines(result, out);
  out << result.matchLines;
  out.flush();
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  char line[160];
  std::snprintf(line, sizeof line, "%d frames in %.3f s (%.0f frames/s)", options.frames, seconds,
                seconds > 0 ? options.frames / seconds : 0.0);
  std::cerr << line << '\n';
  if (!recorded) {
    std::cerr << "kragmoor-sim: " << error << '\n';
    return 1;
  }
  return 0;
}

}  // namespace kragmoor
