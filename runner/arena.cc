// The arena: bots and computer players in one match, turn by turn.
#include "runner/arena.h"

#include <unistd.h>

#include <algorithm>
#include <charconv>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <vector>

#include "game/bots/bot_protocol.h"
#include "game/bots/bot_seat.h"
#include "game/input.h"
#include "game/match.h"
#include "game/platform/error_relay.h"
#include "game/play.h"
#include "game/quote.h"
#include "game/recorder.h"
#include "game/saved_game.h"
#include "game/session.h"
#include "runner/command_line.h"
#include "runner/match.h"
#include "sim/computer_player.h"

namespace kragmoor {

namespace {

using std::chrono::milliseconds;

constexpr milliseconds kEndGrace{1000};       // to exit after `end`
constexpr int32_t kFlushEveryFrames = 10000;  // recording flushes, in frames

struct Seat {
  ArenaSide side;
  SeatResult result;
  BotSeat bot;  // a bot side's driver
};

// The bot seats that still play, lowest side first.
std::vector<BotSeat*> PlayingBots(std::array<Seat, kSideCount>& seats) {
  std::vector<BotSeat*> bots;
  for (Seat& seat : seats) {
    if (seat.side.kind == ArenaSide::Kind::kBot && seat.bot.playing()) bots.push_back(&seat.bot);
  }
  return bots;
}

// Starts every bot seat and waits for its ready message.
void StartBots(std::array<Seat, kSideCount>& seats, const ArenaOptions& options,
               const std::function<void(const std::string&)>& errorLine) {
  const uint32_t seed = options.start ? options.start->world.seed : options.seed;
  const BotTiming timing{options.turn, options.budgetMs, options.overtimeMs, seed};
  for (int s = 0; s < kSideCount; ++s) {
    Seat& seat = seats[s];
    if (seat.side.kind != ArenaSide::Kind::kBot) continue;
    seat.bot.onErrorLine = [&errorLine, s](std::string_view line) {
      errorLine("side " + std::to_string(s + 1) + ": " + std::string(line));
    };
    std::string why;
    if (!seat.bot.Start(seat.side.command, s, timing, options.frames, why)) {
      errorLine("side " + std::to_string(s + 1) + ": cannot start the bot: " + why);
    }
  }
  BotSeat::WaitAll(PlayingBots(seats));
}

// One turn: every playing bot gets the turn message, then the answers are
// applied as `order` inputs, lower sides first.
void PlayTurn(std::array<Seat, kSideCount>& seats, Session& session, const Front& front,
              int64_t frame) {
  const std::vector<BotSeat*> bots = PlayingBots(seats);
  if (bots.empty()) return;
  const std::string body = TurnBody(session.world, frame);
  for (BotSeat* bot : bots) bot->SendTurn(body, session.world, frame);
  BotSeat::WaitAll(bots);
  for (BotSeat* bot : bots) bot->ApplyAnswer(session, front);
}

// The recording's comment for each bot seat that has ended (every one, once
// the match is over) and has none yet.
void RecordEnds(std::array<Seat, kSideCount>& seats, Recorder* recorder,
                std::array<bool, kSideCount>& told, bool over = false) {
  for (int s = 0; s < kSideCount; ++s) {
    const BotSeat& bot = seats[s].bot;
    if (seats[s].side.kind != ArenaSide::Kind::kBot || told[s] || (bot.playing() && !over)) {
      continue;
    }
    told[s] = true;
    if (recorder != nullptr)
      recorder->Comment("bot " + std::to_string(s + 1) + ' ' + bot.StatusWords());
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
  if (options.start) session = *options.start;
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

  // The transcript: "frame F to side N: MESSAGE" for each message sent to a
  // bot, "frame F from side N: LINE" for each line taken from it.
  std::ofstream transcript;
  bool transcribed = true;
  if (!options.transcriptPath.empty()) {
    transcript.open(options.transcriptPath, std::ios::binary | std::ios::trunc);
    transcribed = transcript.is_open();
    for (int s = 0; s < kSideCount && transcribed; ++s) {
      seats[s].bot.onMessage = [&transcript, s](int64_t frame, bool toBot, std::string_view text) {
        transcript << "frame " << frame << (toBot ? " to side " : " from side ") << s + 1 << ": "
                   << text << '\n';
      };
    }
  }
  StartBots(seats, options, errorLine);
  std::array<bool, kSideCount> told{};  // the recording says how the bot ended
  RecordEnds(seats, front.recorder, told);
  std::ostringstream lines;
  for (int64_t frame = 0; frame < options.frames;) {
    if (frame % options.turn == 0) {
      PlayTurn(seats, session, front, frame);
      RecordEnds(seats, front.recorder, told);
    }
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
  for (Seat& seat : seats) seat.bot.Finish(options.frames, result.places);
  for (Seat& seat : seats) seat.bot.Release(kEndGrace);
  RecordEnds(seats, front.recorder, told, true);
  for (int s = 0; s < kSideCount; ++s) {
    SeatResult& seat = result.seats[s];
    seat = seats[s].result;
    if (seats[s].side.kind == ArenaSide::Kind::kBot) seat = ResultOf(seats[s].bot);
  }
  PrintMatchSummary(session, options.frames, lines);
  result.matchLines = std::move(lines).str();
  if (recorded && !recording.Finish(session, error)) recorded = false;
  if (transcript.is_open()) {
    transcript.close();
    transcribed = !transcript.fail();
  }
  if (!transcribed) {
    error = "cannot write the transcript " + Quoted(options.transcriptPath);
    return false;
  }
  return options.recordPath.empty() || recorded;
}

SeatResult ResultOf(const BotSeat& bot) {
  SeatResult seat;
  seat.name = bot.name();
  seat.status = bot.status();
  seat.orders = bot.orders();
  seat.refused = bot.refused();
  seat.lateMs = bot.lateMs();
  seat.badLines = bot.badLines();
  seat.detail = bot.endDetail();
  return seat;
}

void PrintSeatLines(const ArenaResult& result, std::ostream& out) {
  for (int s = 0; s < kSideCount; ++s) {
    const SeatResult& seat = result.seats[s];
    out << "bot " << s + 1 << " name=\"" << seat.name << "\" status=" << seat.status;
    if (!seat.detail.empty()) out << ' ' << seat.detail;
    if (seat.status != "ai" && seat.status != "none") {
      out << " orders=" << seat.orders << " refused=" << seat.refused
          << " bad_lines=" << seat.badLines << " late_ms=" << seat.lateMs;
    }
    out << '\n';
  }
  out << "places " << result.places[0] << ' ' << result.places[1] << ' ' << result.places[2]
      << '\n';
}

bool SomeBotFailed(const ArenaResult& result) {
  return std::any_of(result.seats.begin(), result.seats.end(), [](const SeatResult& seat) {
    return seat.status != "ok" && seat.status != "ai" && seat.status != "none";
  });
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
      {"--transcript",
       [&](std::string_view v) {
         options.transcriptPath = v;
         return !v.empty();
       }},
      {"--start",
       [&](std::string_view v) {
         options.startPath = v;
         return !v.empty();
       }},
      {"--tag",
       [&](std::string_view v) {
         // One word of visible bytes, so that it stays one line's second word.
         const bool visible = std::all_of(v.begin(), v.end(), [](char c) {
           const auto b = static_cast<unsigned char>(c);
           return b > 0x20 && b != 0x7f;
         });
         options.tag = v;
         return !v.empty() && v.size() <= kMaxTagBytes && visible;
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
  if (!options.startPath.empty()) {
    auto start = std::make_shared<Session>();
    std::string why;
    if (!LoadSavedGame(options.startPath, *start, why)) return Usage(why);
    options.start = std::move(start);
  }
  const auto start = std::chrono::steady_clock::now();
  ArenaResult result;
  std::string error;
  // Standard error, the bots' lines and ours, goes through the relay: a
  // reader that is stuck or gone never holds up the match nor ends it.
  ErrorRelay relay(STDERR_FILENO);
  const auto errorLine = [&relay](const std::string& line) { relay.Line(line); };
  const bool recorded = RunArena(options, sides, errorLine, result, error);
  if (!options.tag.empty()) out << "tag " << options.tag << '\n';
  PrintSeatLines(result, out);
  out << result.matchLines;
  out.flush();
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  char line[160];
  std::snprintf(line, sizeof line, "%d frames in %.3f s (%.0f frames/s)", options.frames, seconds,
                seconds > 0 ? options.frames / seconds : 0.0);
  relay.Line(line);
  if (!recorded) {
    relay.Line("kragmoor-sim: " + error);
    return 1;
  }
  return SomeBotFailed(result) ? kBotFailedStatus : 0;
}

}  // namespace kragmoor
