// The bot protocol's messages: the start, turn and end messages the game
// writes to a bot, and the ready and orders answers it reads back, turned
// into order texts for the `order` input. JSON, one object per line.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "world/tigrok.h"

namespace kragmoor {

// {"type":"start","side":S,"turn":K,"budget_ms":B,"frames":N,"seed":R}
std::string StartMessage(int side, int32_t turn, int32_t budgetMs, int32_t frames, uint32_t seed);

// The part of a turn message every bot gets alike: "frame", "gold" and
// "entities" (every live entity in slot order), as JSON members without the
// braces. Built once per turn; TurnMessage adds each bot's own errors.
std::string TurnBody(const World& world, int64_t frame);
// `changed` holds, as "changed":[{"slot":S,"order":"TEXT"},...], the bot's
// entities whose order differs from the one it last saw or gave.
std::string TurnMessage(const std::string& body,
                        const std::vector<std::pair<int, std::string>>& changed,
                        const std::vector<std::string>& errors);

// {"type":"end","frame":F,"places":[P0,P1,P2]}
std::string EndMessage(int64_t frame, const std::array<int, kSideCount>& places);

// What an answer may be before it is parsed: a line's bytes, and arrays and
// objects nested at most this deep (an orders answer needs three).
inline constexpr size_t kMaxBotAnswerBytes = size_t{1} << 20;
inline constexpr int kMaxBotAnswerDepth = 32;

// A `ready` answer: true with the bot's name (printable, at most
// kMaxBotNameBytes bytes, double quotes and backslashes replaced by '_');
// otherwise false, with `why` it is refused.
inline constexpr size_t kMaxBotNameBytes = 64;
bool ParseReady(std::string_view line, std::string& name, std::string& why);
bool ParseReady(std::string_view line, std::string& name);

// One accepted order: the slot and the order text to give it.
struct BotOrder {
  int slot = -1;
  std::string text;
};

// An `orders` answer of the bot playing `side`, checked against `world` as
// it is when the orders are applied. Appends each order that is accepted to
// `orders`, and for each refused one a text saying why to `errors`. An
// answer that is not an orders message (or is over kMaxBotAnswerBytes, or
// nested deeper than kMaxBotAnswerDepth) is refused whole: false, with one
// text in `errors`.
bool ParseOrders(std::string_view line, const World& world, int side, std::vector<BotOrder>& orders,
                 std::vector<std::string>& errors);

// Places at the end of a match: more live peasants plus main bases is
// better, then more gold; equal on both, equal places (1, 1, 3).
std::array<int, kSideCount> Places(const World& world);

}  // namespace kragmoor
