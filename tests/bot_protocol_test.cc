// The bot protocol: each order form gives its order text, each reason for a
// refusal is told, a whole answer that is not an orders message is refused,
// and places count peasants plus bases, then gold.
#include "game/bot_protocol.h"

#include <gtest/gtest.h>

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
