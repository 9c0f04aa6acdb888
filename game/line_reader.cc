// Reading script lines.
#include "game/line_reader.h"

namespace kragmoor {

LineRead ReadLine(std::streambuf& in, std::string& line) {
  using Traits = std::streambuf::traits_type;
  line.clear();
  bool readAny = false;
  for (;;) {
    const Traits::int_type c = in.sbumpc();
    if (Traits::eq_int_type(c, Traits::eof())) return readAny ? LineRead::kUnended : LineRead::kEnd;
    readAny = true;
    if (Traits::to_char_type(c) == '\n') return LineRead::kLine;
    if (line.size() == kMaxLineBytes) return LineRead::kTooLong;
    line += Traits::to_char_type(c);
  }
}

bool SkipLine(std::streambuf& in) {
  using Traits = std::streambuf::traits_type;
  for (;;) {
    const Traits::int_type c = in.sbumpc();
    if (Traits::eq_int_type(c, Traits::eof())) return false;
    if (Traits::to_char_type(c) == '\n') return true;
  }
}

}  // namespace kragmoor
