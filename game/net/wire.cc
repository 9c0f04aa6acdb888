// The messages' byte form: one writer, one bounded reader.
#include "game/net/wire.h"

#include <type_traits>

#include "game/net/transport.h"
#include "world/orders.h"

namespace kragmoor::net {

namespace {

class Writer {
 public:
  void U8(uint8_t v) { out.push_back(v); }
  void U32(uint32_t v) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(v >> (8 * i)));
  }
  void U64(uint64_t v) {
    for (int i = 0; i < 8; ++i) out.push_back(static_cast<uint8_t>(v >> (8 * i)));
  }
  void I32(int32_t v) { U32(static_cast<uint32_t>(v)); }
  void Text(std::string_view s) {
    U32(static_cast<uint32_t>(s.size()));
    out.insert(out.end(), s.begin(), s.end());
  }
  std::vector<uint8_t> out;
};

// Reads from the front of the message; the first fault stops it, and every
// later read then gives zeros, so a decoder checks ok() once at its end.
class Reader {
 public:
  explicit Reader(std::span<const uint8_t> bytes) : bytes_(bytes) {}
  uint8_t U8(const char* what) {
    if (!Have(1, what)) return 0;
    return bytes_[at_++];
  }
  uint32_t U32(const char* what) {
    if (!Have(4, what)) return 0;
    uint32_t v = 0;
    for (int i = 0; i < 4; ++i) v |= uint32_t{bytes_[at_++]} << (8 * i);
    return v;
  }
  uint64_t U64(const char* what) {
    if (!Have(8, what)) return 0;
    uint64_t v = 0;
    for (int i = 0; i < 8; ++i) v |= uint64_t{bytes_[at_++]} << (8 * i);
    return v;
  }
  int32_t I32(const char* what) { return static_cast<int32_t>(U32(what)); }
  bool Bool(const char* what) {
    const uint8_t v = U8(what);
    if (v > 1) Fail(std::string(what) + " is neither 0 nor 1");
    return v == 1;
  }
  // A text of at most `limit` bytes, printable ASCII (line ends too when
  // `lineEnds`) unless `anyBytes`.
  std::string Text(const char* what, size_t limit, bool lineEnds = false, bool anyBytes = false) {
    const uint32_t size = U32(what);
    if (!ok()) return {};
    if (size > limit) {
      Fail(std::string(what) + " of " + std::to_string(size) + " bytes is over its limit of " +
           std::to_string(limit));
      return {};
    }
    if (!Have(size, what)) return {};
    std::string s(reinterpret_cast<const char*>(bytes_.data() + at_), size);
    at_ += size;
    if (!anyBytes && !IsPrintable(s, lineEnds)) Fail(std::string(what) + " is not printable text");
    return s;
  }
  // A count of at most `limit` items.
  uint32_t Count(const char* what, size_t limit) {
    const uint32_t n = U32(what);
    if (ok() && n > limit) {
      Fail(std::string(what) + " " + std::to_string(n) + " is over its limit of " +
           std::to_string(limit));
    }
    return ok() ? n : 0;
  }
  void Fail(std::string why) {
    if (why_.empty()) why_ = std::move(why) + " at byte " + std::to_string(at_);
  }
  bool ok() const { return why_.empty(); }
  bool AtEnd() const { return at_ == bytes_.size(); }
  size_t at() const { return at_; }
  const std::string& why() const { return why_; }

 private:
  bool Have(size_t n, const char* what) {
    if (!ok()) return false;
    if (bytes_.size() - at_ < n) {
      Fail(std::string("message ends inside ") + what);
      return false;
    }
    return true;
  }
  std::span<const uint8_t> bytes_;
  size_t at_ = 0;
  std::string why_;
};

void Put(Writer& w, const WireOrder& o) {
  w.I32(o.slot);
  w.Text(o.text);
}

WireOrder GetOrder(Reader& r) {
  WireOrder o;
  o.slot = r.I32("order slot");
  o.text = r.Text("order text", kMaxOrderTextBytes);
  if (r.ok() && o.text.find('"') != std::string::npos) r.Fail("order text holds a '\"'");
  return o;
}

uint8_t Seat(Reader& r, uint8_t last) {
  const uint8_t seat = r.U8("seat");
  if (r.ok() && seat > last) r.Fail("seat " + std::to_string(seat) + " out of range");
  return seat;
}

// Each message: its type byte, writer and reader, in Message's order.
void Write(Writer& w, const Hello& m) {
  w.U32(m.protocol);
  w.U64(m.fingerprint);
  w.U8(m.watch ? 1 : 0);
  w.Text(m.code);
  w.Text(m.name);
}
void Read(Reader& r, Hello& m) {
  m.protocol = r.U32("protocol");
  m.fingerprint = r.U64("fingerprint");
  m.watch = r.Bool("watch flag");
  m.code = r.Text("code", kMaxCodeBytes);
  m.name = r.Text("name", kMaxNameBytes);
}
void Write(Writer& w, const Welcome& m) {
  w.U8(m.seat);
  w.U32(m.seed);
  w.I32(m.frames);
  w.I32(m.turn);
  w.I32(m.budgetMs);
  w.I32(m.overtimeMs);
}
void Read(Reader& r, Welcome& m) {
  m.seat = Seat(r, kWatcherSeat);
  m.seed = r.U32("seed");
  m.frames = r.I32("frames");
  m.turn = r.I32("turn");
  m.budgetMs = r.I32("budget");
  m.overtimeMs = r.I32("overtime");
  if (r.ok() && (m.frames < 0 || m.turn < 1 || m.budgetMs < 1 || m.overtimeMs < 0)) {
    r.Fail("match settings out of range");
  }
}
void Write(Writer& w, const Refuse& m) {
  w.U8(static_cast<uint8_t>(m.reason));
  w.Text(m.text);
  w.U32(m.protocol);
  w.U64(m.fingerprint);
}
void Read(Reader& r, Refuse& m) {
  const uint8_t reason = r.U8("reason");
  if (r.ok() && (reason == 0 || reason > kLastRefuseReason)) r.Fail("unknown reason");
  m.reason = static_cast<RefuseReason>(reason);
  m.text = r.Text("reason text", kMaxReasonBytes);
  m.protocol = r.U32("protocol");
  m.fingerprint = r.U64("fingerprint");
}
void Write(Writer& w, const Inputs& m) {
  w.U32(static_cast<uint32_t>(m.orders.size()));
  for (const WireOrder& o : m.orders) Put(w, o);
}
void Read(Reader& r, Inputs& m) {
  const uint32_t n = r.Count("order count", kMaxOrdersPerMessage);
  for (uint32_t i = 0; i < n && r.ok(); ++i) m.orders.push_back(GetOrder(r));
}
void Write(Writer& w, const Frame& m) {
  w.U64(m.frame);
  w.U32(static_cast<uint32_t>(m.inputs.size()));
  for (const FrameInput& in : m.inputs) {
    w.U8(static_cast<uint8_t>(in.kind));
    if (in.kind == FrameInput::Kind::kOrder) {
      w.U8(in.seat);
      Put(w, in.order);
    } else {
      for (uint8_t v : in.values) w.U8(v);
    }
  }
  w.U32(static_cast<uint32_t>(m.refusals.size()));
  for (const std::string& s : m.refusals) w.Text(s);
}
void Read(Reader& r, Frame& m) {
  m.frame = r.U64("frame number");
  if (r.ok() && (m.frame == 0 || m.frame > INT32_MAX)) r.Fail("frame number out of range");
  const uint32_t n = r.Count("input count", kMaxInputsPerFrame);
  for (uint32_t i = 0; i < n && r.ok(); ++i) {
    FrameInput in;
    const uint8_t kind = r.U8("input kind");
    if (kind > 2) r.Fail("unknown input kind " + std::to_string(kind));
    in.kind = static_cast<FrameInput::Kind>(kind);
    if (in.kind == FrameInput::Kind::kOrder) {
      in.seat = Seat(r, 2);
      in.order = GetOrder(r);
    } else {
      for (uint8_t& v : in.values) v = r.U8("input value");
      for (uint8_t v : in.values) {
        const bool fits = in.kind == FrameInput::Kind::kBoxes ? v <= 1 : v >= 1 && v <= 3;
        if (r.ok() && !fits) r.Fail("input value out of range");
      }
    }
    m.inputs.push_back(std::move(in));
  }
  const uint32_t refusals = r.Count("refusal count", kMaxRefusalsPerFrame);
  for (uint32_t i = 0; i < refusals && r.ok(); ++i) {
    m.refusals.push_back(r.Text("refusal", kMaxReasonBytes));
  }
}
void Write(Writer& w, const Sync& m) {
  w.U64(m.frame);
  w.U64(m.hash);
}
void Read(Reader& r, Sync& m) {
  m.frame = r.U64("frame number");
  m.hash = r.U64("hash");
}
void Write(Writer& w, const StateRequest& m) { w.U64(m.frame); }
void Read(Reader& r, StateRequest& m) { m.frame = r.U64("frame number"); }
void Write(Writer& w, const StateChunk& m) {
  w.U64(m.frame);
  w.U32(m.index);
  w.U32(m.count);
  w.Text(m.bytes);
}
void Read(Reader& r, StateChunk& m) {
  m.frame = r.U64("frame number");
  m.index = r.U32("chunk index");
  m.count = r.U32("chunk count");
  if (r.ok() && (m.count == 0 || m.count > kMaxChunks || m.index >= m.count)) {
    r.Fail("chunk index or count out of range");
  }
  m.bytes = r.Text("chunk", kMaxChunkBytes, false, true);
}
void Write(Writer& w, const DesyncReport& m) {
  w.U64(m.frame);
  w.U8(m.side);
  w.Text(m.lines);
  w.Text(m.folder);
}
void Read(Reader& r, DesyncReport& m) {
  m.frame = r.U64("frame number");
  m.side = Seat(r, 2);
  m.lines = r.Text("report", kMaxReportBytes, true);
  m.folder = r.Text("folder", kMaxFolderBytes);
}
void Write(Writer& w, const End& m) {
  w.U64(m.frames);
  w.U64(m.syncHash);
  w.Text(m.lines);
}
void Read(Reader& r, End& m) {
  m.frames = r.U64("frame count");
  m.syncHash = r.U64("hash");
  m.lines = r.Text("match lines", kMaxEndLinesBytes, true);
}
void Write(Writer& w, const Ping& m) {
  w.U64(m.stamp);
  w.U8(m.pong ? 1 : 0);
}
void Read(Reader& r, Ping& m) {
  m.stamp = r.U64("stamp");
  m.pong = r.Bool("pong flag");
}
void Write(Writer& w, const Notice& m) {
  w.U8(m.seat);
  w.U8(static_cast<uint8_t>(m.what));
}
void Read(Reader& r, Notice& m) {
  m.seat = Seat(r, 2);
  const uint8_t what = r.U8("notice");
  if (r.ok() && what > 3) r.Fail("unknown notice");
  m.what = static_cast<Notice::What>(what);
}

void Write(Writer& w, const Roster& m) {
  for (const RosterSeat& seat : m.seats) {
    w.U8(static_cast<uint8_t>(seat.kind));
    w.U8(seat.level);
    w.U8(seat.taken ? 1 : 0);
    w.U8(seat.dropped ? 1 : 0);
    w.U32(seat.roundTripMs);
    w.Text(seat.name);
  }
  w.U8(m.started ? 1 : 0);
  w.U8(m.paused ? 1 : 0);
  w.U8(m.waiting ? 1 : 0);
  w.U8(static_cast<uint8_t>(m.speed & 0xff));  // two's complement
  w.U32(m.watchers);
  w.U8(m.droppedPlay);
}
void Read(Reader& r, Roster& m) {
  for (RosterSeat& seat : m.seats) {
    const uint8_t kind = r.U8("seat kind");
    if (r.ok() && kind > 3) r.Fail("unknown seat kind " + std::to_string(kind));
    seat.kind = static_cast<RosterSeat::Kind>(kind);
    seat.level = r.U8("level");
    if (r.ok() && (seat.level < 1 || seat.level > 3)) r.Fail("level out of range");
    seat.taken = r.Bool("taken flag");
    seat.dropped = r.Bool("dropped flag");
    seat.roundTripMs = r.U32("round trip");
    seat.name = r.Text("name", kMaxNameBytes);
  }
  m.started = r.Bool("started flag");
  m.paused = r.Bool("paused flag");
  m.waiting = r.Bool("waiting flag");
  const uint8_t speed = r.U8("speed");
  m.speed = speed < 0x80 ? speed : speed - 0x100;
  if (r.ok() && (m.speed < kSlowestPace || m.speed > kFastestPace)) r.Fail("speed out of range");
  const uint32_t watchers = r.U32("watcher count");
  if (r.ok() && watchers > UINT16_MAX) r.Fail("watcher count out of range");
  m.watchers = static_cast<uint16_t>(watchers);
  m.droppedPlay = r.U8("dropped play");
  if (r.ok() && m.droppedPlay > 2) r.Fail("unknown dropped play");
}

void Write(Writer& w, const Name& m) { w.Text(m.name); }
void Read(Reader& r, Name& m) { m.name = r.Text("name", kMaxNameBytes); }

template <size_t I = 0>
bool ReadAlternative(size_t index, Reader& r, Message& message) {
  if constexpr (I == std::variant_size_v<Message>) {
    return false;
  } else {
    if (index != I) return ReadAlternative<I + 1>(index, r, message);
    std::variant_alternative_t<I, Message> m;
    Read(r, m);
    message = std::move(m);
    return true;
  }
}

}  // namespace

bool IsPrintable(std::string_view text, bool lineEnds) {
  for (const char c : text) {
    if (c == '\n' && lineEnds) continue;
    if (c < 0x20 || c > 0x7e) return false;
  }
  return true;
}

std::string ShownName(std::string_view name) {
  std::string out(name.substr(0, kMaxNameBytes));
  for (char& c : out) {
    if (c < 0x20 || c > 0x7e || c == '"' || c == '\\') c = '_';
  }
  return out;
}

bool IsOrderText(std::string_view text, std::string& why) {
  if (text == "idle") return true;
  const size_t space = text.find(' ');
  const std::string_view verb = text.substr(0, space);
  size_t want = 0;
  if (verb == kVerbPoint) want = 2;
  if (verb == kVerbWalk || verb == kVerbAttack) want = 1;
  if (verb == kVerbBuild) want = 3;
  if (want == 0 || space == std::string_view::npos) {
    why = "'" + std::string(verb) + "' is not an order";
    return false;
  }
  std::string_view rest = text.substr(space + 1);
  for (size_t k = 0; k < want; ++k) {
    const size_t comma = k + 1 < want ? rest.find(',') : rest.size();
    if (comma == std::string_view::npos) break;
    const std::string_view number = rest.substr(0, comma);
    int32_t value = 0;
    const bool digits = !number.empty() && number.find(' ') == std::string_view::npos &&
                        number.find_first_of("xX$") == std::string_view::npos;
    if (!digits || !TryStrToInt(number, value) ||
        (k == 0 && want == 3 && value != 0 && value != 1)) {
      why = "'" + std::string(number) + "' in '" + std::string(text) + "' is not a number it takes";
      return false;
    }
    rest = comma < rest.size() ? rest.substr(comma + 1) : std::string_view();
    if (k + 1 == want) {
      return true;
    }
  }
  why = "'" + std::string(text) + "' has too few numbers";
  return false;
}

std::vector<uint8_t> Encode(const Message& message) {
  Writer w;
  w.U8(static_cast<uint8_t>(message.index() + 1));
  std::visit([&w](const auto& m) { Write(w, m); }, message);
  return std::move(w.out);
}

bool Decode(std::span<const uint8_t> bytes, Message& message, std::string& why) {
  if (bytes.size() > kMaxMessageBytes) {
    why = "message of " + std::to_string(bytes.size()) + " bytes is over 64 KiB";
    return false;
  }
  Reader r(bytes);
  const uint8_t type = r.U8("message type");
  if (r.ok() && (type == 0 || type > std::variant_size_v<Message>)) {
    r.Fail("unknown message type " + std::to_string(type));
  }
  if (r.ok()) ReadAlternative(type - 1, r, message);
  if (r.ok() && !r.AtEnd()) r.Fail("bytes left over after the message");
  why = r.why();
  return r.ok();
}

}  // namespace kragmoor::net
