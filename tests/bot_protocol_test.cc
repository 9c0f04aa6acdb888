// The bot protocol: each order form gives its order text, each reason for a
// refusal is told, a whole answer that is not an orders message is refused,
// and places count peasants plus bases, then gold; the turn message, written
// by hand for speed, reads back as the values it stands for.
#include "game/bots/bot_protocol.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <nlohmann/json.hpp>

namespace kragmoor {
namespace {

TEST(BotProtocol, OrderFormsGiveTheirTextsAndRefusalsSayWhy) {
  World world;
  SetUpScenario(world);  // side 0 has the peasant in slot 5 and the mines 0, 1, 8
  std::vector<BotOrder> orders;
  std::vector<std::string> errors;
  ASSERT_TRUE(ParseOrders(
      R"({"type":"orders","orders":[)"
      R"({"slot":5,"do":"go","x":-3,"y":2147483647},{"slot":5,"do":"walk","target":0},)"
      R"({"slot":5,"do":"attack","target":299},{"slot":4,"do":"build","what":"peasant","x":1,"y":2},)"
      R"({"slot":5,"do":"build","what":"base","x":1,"y":2},{"slot":5,"do":"idle"},)"
      R"({"slot":3,"do":"idle"},{"slot":0,"do":"idle"},{"slot":5,"do":"walk","target":300},)"
      R"({"slot":5,"do":"go","x":1.5,"y":0},{"slot":5,"do":"go","x":2147483648,"y":0},)"
      R"({"slot":5,"do":"fly"},{"slot":5,"do":"build","what":"tower","x":0,"y":0},7]})",
      world, 0, orders, errors));
  const std::vector<std::string> texts = {"idti -3,2147483647", "idtiza 0",     "atakovat 299",
                                          "stroit 1,1,2",       "stroit 0,1,2", "idle"};
  ASSERT_EQ(orders.size(), texts.size());
  for (size_t k = 0; k < texts.size(); ++k) EXPECT_EQ(orders[k].text, texts[k]) << k;
  EXPECT_EQ(orders[3].slot, 4);
  const std::vector<std::string> why = {
      "order 6: slot 3 is not a live entity of side 1",
      "order 7: slot 0 is a gold mine",
      "order 8: \"target\" lies outside 0 to 299",
      "order 9: \"x\" is not an integer",
      "order 10: \"x\" lies outside -2147483648 to 2147483647",
      "order 11: \"do\" is not one of go, walk, attack, build, idle",
      "order 12: \"what\" is not \"peasant\" or \"base\"",
      "order 13: an order is not an object"};
  EXPECT_EQ(errors, why);

  errors.clear();
  EXPECT_FALSE(ParseOrders("hello", world, 0, orders, errors));
  EXPECT_FALSE(ParseOrders(R"({"type":"ready"})", world, 0, orders, errors));
  EXPECT_EQ(errors, (std::vector<std::string>{"the answer is not JSON",
                                              "the answer is not an orders message"}));
}

// 100,000 levels would overflow a recursive parser's stack: each place a bot
// can nest is refused by the scan ahead of parsing, and brackets inside a
// string, or a normal answer, are read as before.
TEST(BotProtocol, DeepOrLongAnswersAreRefusedBeforeParsing) {
  World world;
  SetUpScenario(world);
  const size_t deep = 100000;
  const std::string open(deep, '['), close(deep, ']');
  std::string keys;  // {"a":{"a":... before the message's own keys
  for (size_t k = 0; k < deep; ++k) keys += R"({"a":)";
  const std::string tooDeep = "nests arrays and objects deeper than 32 levels (byte ";
  std::vector<BotOrder> orders;
  std::vector<std::string> errors;
  EXPECT_FALSE(ParseOrders(R"({"type":"orders","orders":[{"slot":)" + open + "5" + close + "}]}",
                           world, 0, orders, errors));
  EXPECT_FALSE(ParseOrders(keys + R"("type":"orders")", world, 0, orders, errors));
  EXPECT_FALSE(
      ParseOrders(R"({"type":"orders","orders":[]})" + std::string(kMaxBotAnswerBytes, ' '), world,
                  0, orders, errors));
  ASSERT_EQ(errors.size(), 3u);
  EXPECT_EQ(errors[0], "the answer " + tooDeep + "65)");
  EXPECT_EQ(errors[1], "the answer " + tooDeep + "161)");
  EXPECT_EQ(errors[2], "the answer is longer than 1048576 bytes");
  std::string name, why;
  EXPECT_FALSE(ParseReady(R"({"type":"ready","name":)" + open + close + "}", name, why));
  EXPECT_EQ(why, "the answer " + tooDeep + "55)");
  EXPECT_FALSE(ParseReady(keys, name, why));
  EXPECT_EQ(why, "the answer " + tooDeep + "161)");

  errors.clear();
  EXPECT_TRUE(
      ParseReady(R"({"type":"ready","name":")" + std::string(40, '[') + R"(\"{"})", name, why));
  EXPECT_EQ(name, std::string(40, '[') + "_{");
  EXPECT_TRUE(ParseOrders(R"({"type":"orders","orders":[{"slot":5,"do":"idle","x":[[[{}]]]}]})",
                          world, 0, orders, errors));
  EXPECT_TRUE(errors.empty());
  ASSERT_EQ(orders.size(), 1u);
  EXPECT_EQ(orders[0].text, "idle");
}

// Odd values a script can set: numbers not finite, huge, tiny and -0, texts
// with quotes, control bytes and bytes that are not UTF-8, an odd kind.
TEST(BotProtocol, TurnMessageReadsBackAsTheState) {
  World world;
  SetUpScenario(world);
  Tigrok& t = world.entities[5];
  t.x = std::numeric_limits<float>::quiet_NaN();
  t.y = -0.0f;
  t.hp = 3.0e38f;
  t.maxHp = 1.0e-7f;
  t.order = "say \"hi\"\\ \x01\xff";
  world.entities[4].x = 734.394592285156f;
  world.entities[4].maxHp = -std::numeric_limits<float>::infinity();
  world.entities[3].kind = 7;
  world.players[2].gold = -5;
  const auto m = nlohmann::json::parse(TurnMessage(TurnBody(world, 42), {{5, "idle"}}, {"why"}));
  EXPECT_EQ(m["frame"], 42);
  EXPECT_EQ(m["gold"], nlohmann::json({0, 0, -5}));
  const auto& e = m["entities"];
  ASSERT_EQ(e.size(), 9u);
  EXPECT_TRUE(e[5]["x"].is_null());
  EXPECT_TRUE(std::signbit(e[5]["y"].get<double>()));
  EXPECT_EQ(e[5]["hp"].get<double>(), static_cast<double>(3.0e38f));
  EXPECT_EQ(e[5]["maxHp"].get<double>(), static_cast<double>(1.0e-7f));
  EXPECT_EQ(e[5]["order"], "say \"hi\"\\ \x01\xEF\xBF\xBD");  // the bad byte replaced
  EXPECT_EQ(e[4]["x"].get<double>(), static_cast<double>(734.394592285156f));
  EXPECT_TRUE(e[4]["maxHp"].is_null());
  EXPECT_EQ(e[3]["kind"], 7);
  EXPECT_EQ(e[0]["kind"], "mine");
  EXPECT_EQ(e[0]["x"].dump(), "25.0");
  EXPECT_EQ(m["changed"], nlohmann::json::parse(R"([{"slot":5,"order":"idle"}])"));
}

TEST(BotProtocol, PlacesCountUnitsThenGold) {
  World world;
  SetUpScenario(world);  // one peasant and one base each
  EXPECT_EQ(Places(world), (std::array<int, 3>{1, 1, 1}));
  world.players[2].gold = 5;
  world.entities[3].hp = 0;  // side 1's peasant
  EXPECT_EQ(Places(world), (std::array<int, 3>{2, 3, 1}));
  std::string name;
  EXPECT_TRUE(ParseReady(R"({"type":"ready","name":"a\"b\\c\u0001"})", name));
  EXPECT_EQ(name, "a_b_c_");
}

}  // namespace
}  // namespace kragmoor
