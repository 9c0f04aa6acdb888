// The simulation fingerprint: a short match's hash and the protocol version.
#include "game/net/fingerprint.h"

#include <sstream>

#include "game/net/wire.h"
#include "game/play.h"
#include "game/session.h"
#include "world/fnv1a.h"

namespace kragmoor::net {

namespace {
constexpr uint32_t kFingerprintSeed = 20261210;  // any seed; fixed so that builds agree
constexpr int kFingerprintFrames = 400;          // long enough for fights, builds and mining

uint64_t Compute() {
  Session session;
  StartNewGame(session, kFingerprintSeed);
  std::ostringstream errors;
  for (int f = 0; f < kFingerprintFrames; ++f) StepFrame(session, Front{}, errors);
  Fnv1a h;
  h.U32(kProtocolVersion);
  const uint64_t world = StateHash(session);
  h.U32(static_cast<uint32_t>(world));
  h.U32(static_cast<uint32_t>(world >> 32));
  h.Bytes(errors.str());
  return h.value();
}
}  // namespace

uint64_t SimulationFingerprint() {
  static const uint64_t fingerprint = Compute();
  return fingerprint;
}

}  // namespace kragmoor::net
