// The desync report: two states of the same frame compared field by field,
// and the report's lines as the referee prints, sends and saves them. No Qt.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "game/session.h"

namespace kragmoor::net {

// Lines of a report beyond which the rest is only counted.
inline constexpr size_t kMaxReportLines = 20;
// Bytes of one difference a report line shows: 21 lines stay far below the
// report message's bound, whatever texts the states hold.
inline constexpr size_t kMaxDifferenceBytes = 300;

// "slot S FIELD: referee V1, peer V2" for every field of every slot that
// differs, then "side N gold: ..." and colours for the sides, "seed: ...".
std::vector<std::string> DifferingFields(const World& referee, const World& peer);

// The report: "desync: frame F side N: <difference>" for the first
// kMaxReportLines differences, then "desync: frame F side N: K more
// differences", each line ended; `side` 0 to 2, shown as 1 to 3. Bytes
// that are not printable ASCII show as '?', and a difference is cut after
// kMaxDifferenceBytes.
std::string ReportLines(int64_t frame, int side, const std::vector<std::string>& differences);

// The names the two states are saved under: "desync-F-referee.kgs" and
// "desync-F-sideN.kgs".
std::string RefereeStateName(int64_t frame);
std::string PeerStateName(int64_t frame, int side);

}  // namespace kragmoor::net
