// A headless match of the three computer players.
#include "game/match.h"

#include "game/play.h"
#include "game/print.h"
#include "game/session.h"
#include "world/state_hash.h"

namespace kragmoor {

void RunMatch(const MatchOptions& options, std::ostream& out) {
  Session session;
  RunMatch(options, out, session);
}

void RunMatch(const MatchOptions& options, std::ostream& out, Session& session) {
  session.world.seed = options.seed;
  session.computerPlayer = options.computerPlayer;
  session.level = options.levels;
  for (int64_t frame = 1; frame <= options.frames; ++frame) {
    StepFrame(session, Front{}, out);
    if (options.hashEvery > 0 && frame % options.hashEvery == 0) {
      out << "frame " << frame << " hash " << FormatHash(StateHash(session)) << '\n';
    }
  }
  PrintMatchSummary(session, options.frames, out);
}

void PrintMatchSummary(const Session& session, int32_t frames, std::ostream& out) {
  const World& world = session.world;
  int live = 0;
  for (const Tigrok& t : world.entities) live += IsLive(t) ? 1 : 0;
  for (int side = 0; side < kSideCount; ++side) {
    int peasants = 0;
    int bases = 0;
    for (const Tigrok& t : world.entities) {
      if (!IsLive(t) || t.owner != side) continue;
      peasants += t.kind == kKindPeasant ? 1 : 0;
      bases += t.kind == kKindBase ? 1 : 0;
    }
    out << "side " << side + 1 << " gold=" << world.players[side].gold << " peasants=" << peasants
        << " bases=" << bases << '\n';
  }
  out << "frames=" << frames << " live=" << live << " hash=" << FormatHash(StateHash(session))
      << '\n';
}

}  // namespace kragmoor
