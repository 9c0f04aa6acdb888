// The bot protocol's messages, read and written with nlohmann-json.
#include "game/bots/bot_protocol.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <nlohmann/json.hpp>

#include "game/bots/bounded_json.h"
#include "game/may_order.h"
#include "world/orders.h"
#include "world/rules.h"

namespace kragmoor {

namespace {

// Keys in the order the messages are documented in; UTF-8 that is not valid
// (an order text set by a script may hold any bytes) is written replaced.
std::string Dump(const Json& json) {
  return json.dump(-1, ' ', false, Json::error_handler_t::replace);
}

// The turn message is written straight into its text, not built as a JSON
// value first: on a full field that is most of what a turn costs the arena.
// What it writes parses to the same values nlohmann-json's dump gives.
void AppendInteger(std::string& out, int64_t value) {
  char digits[24];
  const auto [end, ec] = std::to_chars(digits, digits + sizeof digits, value);
  out.append(digits, end);
}

// A float as the double it is: `null` when not finite, a whole number with
// ".0" (as nlohmann-json writes one), otherwise the shortest text that reads
// back as the same double.
void AppendNumber(std::string& out, float v) {
  if (!std::isfinite(v)) {
    out += "null";
    return;
  }
  const double d = v;
  if (d == std::trunc(d) && std::fabs(d) < 1e15) {
    if (std::signbit(d)) out += '-';  // -0.0 too
    AppendInteger(out, static_cast<int64_t>(std::fabs(d)));
    out += ".0";
    return;
  }
  char text[40];
  const auto [end, ec] = std::to_chars(text, text + sizeof text, d);
  out.append(text, end);
}

// A text in double quotes: printable ASCII as it is, anything else as
// nlohmann-json escapes and replaces it.
void AppendText(std::string& out, std::string_view text) {
  const bool plain = std::all_of(text.begin(), text.end(), [](char c) {
    return c >= 0x20 && c < 0x7f && c != '"' && c != '\\';
  });
  if (!plain) {
    out += Dump(Json(std::string(text)));
    return;
  }
  out += '"';
  out.append(text);
  out += '"';
}

Json KindName(int32_t kind) {
  if (kind == kKindMine) return "mine";
  if (kind == kKindPeasant) return "peasant";
  if (kind == kKindBase) return "base";
  return kind;
}

// An integer member within `low` to `high`: false with the reason otherwise.
bool IntegerMember(const Json& order, const char* key, int64_t low, int64_t high, int64_t& value,
                   std::string& why) {
  const auto it = order.find(key);
  if (it == order.end()) {
    why = std::string("\"") + key + "\" is missing";
    return false;
  }
  if (!it->is_number_integer()) {
    why = std::string("\"") + key + "\" is not an integer";
    return false;
  }
  const bool isUnsigned = it->is_number_unsigned();
  if (isUnsigned && it->get<uint64_t>() > static_cast<uint64_t>(INT64_MAX)) {
    why = std::string("\"") + key + "\" lies outside " + std::to_string(low) + " to " +
          std::to_string(high);
    return false;
  }
  value = isUnsigned ? static_cast<int64_t>(it->get<uint64_t>()) : it->get<int64_t>();
  if (value < low || value > high) {
    why = std::string("\"") + key + "\" lies outside " + std::to_string(low) + " to " +
          std::to_string(high);
    return false;
  }
  return true;
}

// The order text of one ORDER object, or false with why it is refused.
bool OrderText(const Json& order, const World& world, int side, BotOrder& out, std::string& why) {
  if (!order.is_object()) {
    why = "an order is not an object";
    return false;
  }
  int64_t slot = 0;
  if (!IntegerMember(order, "slot", INT32_MIN, INT32_MAX, slot, why)) return false;
  if (!MayOrder(world, side, slot)) {
    why = "slot " + std::to_string(slot) + " is not a live entity of side " +
          std::to_string(side + 1);
    return false;
  }
  if (world.entities[slot].kind == kKindMine) {
    why = "slot " + std::to_string(slot) + " is a gold mine";
    return false;
  }
  const auto verb = order.find("do");
  const std::string what = verb != order.end() && verb->is_string() ? verb->get<std::string>() : "";
  const auto point = [&](std::string& text) {
    int64_t x = 0, y = 0;
    if (!IntegerMember(order, "x", INT32_MIN, INT32_MAX, x, why) ||
        !IntegerMember(order, "y", INT32_MIN, INT32_MAX, y, why)) {
      return false;
    }
    text = std::to_string(x) + ',' + std::to_string(y);
    return true;
  };
  std::string text;
  if (what == "go") {
    if (!point(text)) return false;
    text = std::string(kVerbPoint) + ' ' + text;
  } else if (what == "walk" || what == "attack") {
    int64_t target = 0;
    if (!IntegerMember(order, "target", 0, kSlotCount - 1, target, why)) return false;
    text = std::string(what == "walk" ? kVerbWalk : kVerbAttack) + ' ' + std::to_string(target);
  } else if (what == "build") {
    const auto kind = order.find("what");
    const std::string made =
        kind != order.end() && kind->is_string() ? kind->get<std::string>() : "";
    if (made != "peasant" && made != "base") {
      why = "\"what\" is not \"peasant\" or \"base\"";
      return false;
    }
    if (!point(text)) return false;
    text = std::string(kVerbBuild) + ' ' + (made == "peasant" ? '1' : '0') + ',' + text;
  } else if (what == "idle") {
    text = std::string(kOrderIdle);
  } else {
    why = "\"do\" is not one of go, walk, attack, build, idle";
    return false;
  }
  out.slot = static_cast<int>(slot);
  out.text = std::move(text);
  return true;
}

}  // namespace

std::string StartMessage(int side, int32_t turn, int32_t budgetMs, int32_t frames, uint32_t seed) {
  return Dump(Json{{"type", "start"},
                   {"side", side},
                   {"turn", turn},
                   {"budget_ms", budgetMs},
                   {"frames", frames},
                   {"seed", seed}});
}

std::string TurnBody(const World& world, int64_t frame) {
  std::string out = "\"frame\":";
  AppendInteger(out, frame);
  out += ",\"gold\":[";
  for (int s = 0; s < kSideCount; ++s) {
    if (s > 0) out += ',';
    AppendInteger(out, world.players[s].gold);
  }
  out += "],\"entities\":[";
  bool first = true;
  for (int i = 0; i < kSlotCount; ++i) {
    const Tigrok& t = world.entities[i];
    if (!IsLive(t)) continue;
    out += first ? "{\"slot\":" : ",{\"slot\":";
    first = false;
    AppendInteger(out, i);
    out += ",\"kind\":";
    if (t.kind == kKindMine || t.kind == kKindPeasant || t.kind == kKindBase) {
      out += '"';
      out += KindName(t.kind).get<std::string>();
      out += '"';
    } else {
      AppendInteger(out, t.kind);
    }
    out += ",\"owner\":";
    AppendInteger(out, t.owner);
    out += ",\"x\":";
    AppendNumber(out, t.x);
    out += ",\"y\":";
    AppendNumber(out, t.y);
    out += ",\"hp\":";
    AppendNumber(out, t.hp);
    out += ",\"maxHp\":";
    AppendNumber(out, t.maxHp);
    out += ",\"gold\":";
    AppendInteger(out, t.gold);
    out += ",\"order\":";
    AppendText(out, t.order);
    out += ",\"nextOrder\":";
    AppendText(out, t.nextOrder);
    out += ",\"progress\":";
    AppendInteger(out, t.progress);
    out += ",\"plan\":";
    AppendInteger(out, t.plan);
    out += '}';
  }
  out += ']';
  return out;
}

std::string TurnMessage(const std::string& body,
                        const std::vector<std::pair<int, std::string>>& changed,
                        const std::vector<std::string>& errors) {
  Json list = Json::array();
  for (const auto& [slot, order] : changed) list.push_back(Json{{"slot", slot}, {"order", order}});
  return "{\"type\":\"turn\"," + body + ",\"changed\":" + Dump(list) +
         ",\"errors\":" + Dump(Json(errors)) + '}';
}

std::string EndMessage(int64_t frame, const std::array<int, kSideCount>& places) {
  return Dump(Json{{"type", "end"}, {"frame", frame}, {"places", places}});
}

bool ParseReady(std::string_view line, std::string& name) {
  std::string why;
  return ParseReady(line, name, why);
}

bool ParseReady(std::string_view line, std::string& name, std::string& why) {
  Json message;
  if (!ParseBoundedJson(line, kMaxBotAnswerBytes, kMaxBotAnswerDepth, message, why)) {
    why = "the answer " + why;
    return false;
  }
  const auto type = message.is_object() ? message.find("type") : message.end();
  if (type == message.end() || *type != "ready") {
    why = "the answer is not a ready message";
    return false;
  }
  const auto given = message.find("name");
  std::string text = given != message.end() && given->is_string() ? given->get<std::string>() : "";
  name.clear();
  for (size_t i = 0; i < text.size() && name.size() < kMaxBotNameBytes; ++i) {
    const unsigned char c = static_cast<unsigned char>(text[i]);
    if (c >= 0x80) {  // valid UTF-8 (the parser checked): keep whole characters only
      size_t length = c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : 2;
      if (name.size() + length > kMaxBotNameBytes) break;
      name.append(text, i, length);
      i += length - 1;
      continue;
    }
    name += c < 0x20 || c == 0x7F || c == '"' || c == '\\' ? '_' : static_cast<char>(c);
  }
  return true;
}

bool ParseOrders(std::string_view line, const World& world, int side, std::vector<BotOrder>& orders,
                 std::vector<std::string>& errors) {
  Json message;
  std::string why;
  if (!ParseBoundedJson(line, kMaxBotAnswerBytes, kMaxBotAnswerDepth, message, why)) {
    errors.push_back("the answer " + why);
    return false;
  }
  const bool isOrders = message.is_object() && message.contains("type") &&
                        message["type"] == "orders" && message.contains("orders") &&
                        message["orders"].is_array();
  if (!isOrders) {
    errors.push_back("the answer is not an orders message");
    return false;
  }
  const Json& list = message["orders"];
  for (size_t k = 0; k < list.size(); ++k) {
    BotOrder order;
    std::string why;
    if (OrderText(list[k], world, side, order, why)) {
      orders.push_back(std::move(order));
    } else {
      errors.push_back("order " + std::to_string(k) + ": " + why);
    }
  }
  return true;
}

std::array<int, kSideCount> Places(const World& world) {
  std::array<int64_t, kSideCount> units{};
  for (const Tigrok& t : world.entities) {
    if (IsLive(t) && IsSide(t.owner) && (t.kind == kKindPeasant || t.kind == kKindBase)) {
      ++units[t.owner];
    }
  }
  std::array<int, kSideCount> places{};
  for (int s = 0; s < kSideCount; ++s) {
    places[s] = 1;
    for (int o = 0; o < kSideCount; ++o) {
      const bool better = units[o] > units[s] ||
                          (units[o] == units[s] && world.players[o].gold > world.players[s].gold);
      if (better) ++places[s];
    }
  }
  return places;
}

}  // namespace kragmoor
