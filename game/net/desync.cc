// Two worlds compared field by field, in the state hash's order.
#include "game/net/desync.h"

#include "game/print.h"
#include "world/tigrok_fields.h"

namespace kragmoor::net {

namespace {

// The value of field `i` of `t` as `print` writes it.
std::string FieldValue(const Tigrok& t, size_t i) {
  std::string out;
  AppendFields(out, t, FieldMask{1} << i);
  const size_t equals = out.find('=');
  return equals == std::string::npos ? out : out.substr(equals + 1);
}

// The value after "NAME=" in a line FormatPlayer writes.
std::string PlayerValue(const std::string& line, const std::string& name) {
  const size_t at = line.find(' ' + name + '=');
  if (at == std::string::npos) return "";
  const size_t start = at + name.size() + 2;
  return line.substr(start, line.find(' ', start) - start);
}

// `text` as one short printable line: other bytes as '?', cut after
// kMaxDifferenceBytes, so that a report always fits its message.
std::string Printable(const std::string& text) {
  std::string out = text.substr(0, kMaxDifferenceBytes);
  for (char& c : out) {
    if (c < 0x20 || c > 0x7e) c = '?';
  }
  return out;
}

}  // namespace

std::vector<std::string> DifferingFields(const World& referee, const World& peer) {
  std::vector<std::string> out;
  for (int s = 0; s < kSlotCount; ++s) {
    for (size_t i = 0; i < kTigrokFields.size(); ++i) {
      const std::string a = FieldValue(referee.entities[s], i);
      const std::string b = FieldValue(peer.entities[s], i);
      if (a != b) {
        out.push_back("slot " + std::to_string(s) + ' ' + std::string(kTigrokFields[i].name) +
                      ": referee " + a + ", peer " + b);
      }
    }
  }
  for (int p = 0; p < kSideCount; ++p) {
    const std::string a = FormatPlayer(referee, p), b = FormatPlayer(peer, p);
    for (const char* name : {"red", "green", "blue", "gold"}) {
      const std::string va = PlayerValue(a, name), vb = PlayerValue(b, name);
      if (va != vb) {
        out.push_back("player " + std::to_string(p) + ' ' + name + ": referee " + va + ", peer " +
                      vb);
      }
    }
  }
  if (referee.seed != peer.seed) {
    out.push_back("seed: referee " + std::to_string(referee.seed) + ", peer " +
                  std::to_string(peer.seed));
  }
  return out;
}

std::string ReportLines(int64_t frame, int side, const std::vector<std::string>& differences) {
  const std::string head =
      "desync: frame " + std::to_string(frame) + " side " + std::to_string(side + 1) + ": ";
  std::string out;
  for (size_t i = 0; i < differences.size() && i < kMaxReportLines; ++i) {
    out += head + Printable(differences[i]) + '\n';
  }
  if (differences.size() > kMaxReportLines) {
    out += head + std::to_string(differences.size() - kMaxReportLines) + " more differences\n";
  }
  return out;
}

std::string RefereeStateName(int64_t frame) {
  return "desync-" + std::to_string(frame) + "-referee.kgs";
}

std::string PeerStateName(int64_t frame, int side) {
  return "desync-" + std::to_string(frame) + "-side" + std::to_string(side + 1) + ".kgs";
}

}  // namespace kragmoor::net
