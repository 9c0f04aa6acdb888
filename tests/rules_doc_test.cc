// The rules table of docs/bots.md against the game's constants: every row
// names a constant with its value, and every constant a bot needs has a row.
#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <sstream>
#include <string>

#include "world/rules.h"
#include "world/tigrok.h"

namespace kragmoor {
namespace {

// The rows "| `NAME` | VALUE | ..." of the document at `path`.
std::map<std::string, std::string> DocumentedValues(const std::string& path) {
  std::ifstream file(path);
  std::map<std::string, std::string> rows;
  std::string line;
  while (std::getline(file, line)) {
    if (!line.starts_with("| `k")) continue;
    const size_t nameEnd = line.find('`', 3);
    const size_t valueStart = line.find('|', nameEnd);
    const size_t valueEnd = line.find('|', valueStart + 1);
    if (nameEnd == std::string::npos || valueEnd == std::string::npos) continue;
    std::string value = line.substr(valueStart + 1, valueEnd - valueStart - 1);
    value.erase(0, value.find_first_not_of(' '));
    value.erase(value.find_last_not_of(' ') + 1);
    rows[line.substr(3, nameEnd - 3)] = value;
  }
  return rows;
}

template <class T>
std::string Text(T value) {
  std::ostringstream out;
  out << value;
  return out.str();
}

TEST(RulesDocument, EveryConstantIsDocumentedWithItsValue) {
  const std::map<std::string, std::string> game = {
      {"kFieldSize", Text(kFieldSize)},
      {"kCellSize", Text(kCellSize)},
      {"kPlacementOffset", Text(kPlacementOffset)},
      {"kMoveStep", Text(kMoveStep)},
      {"kAttackRange", Text(kAttackRange)},
      {"kDamage", Text(kDamage)},
      {"kPeasantHp", Text(kPeasantHp)},
      {"kBaseHp", Text(kBaseHp)},
      {"kMineHp", Text(kMineHp)},
      {"kMineStock", Text(kMineStock)},
      {"kContactRadius", Text(kContactRadius)},
      {"kLoadStep", Text(kLoadStep)},
      {"kLoadLimitLower", Text(kLoadLimitLower)},
      {"kLoadLimitHigher", Text(kLoadLimitHigher)},
      {"kMinimumStock", Text(kMinimumStock)},
      {"kRepairPerGold", Text(kRepairPerGold)},
      {"kPeasantCost", Text(kPeasantCost)},
      {"kBaseCost", Text(kBaseCost)},
      {"kSlotCount", Text(kSlotCount)},
  };
  const auto documented = DocumentedValues(KRAGMOOR_BOTS_MD);
  for (const auto& [name, value] : game) {
    const auto row = documented.find(name);
    ASSERT_NE(row, documented.end()) << name << " has no row in " << KRAGMOOR_BOTS_MD;
    EXPECT_EQ(row->second, value) << name;
  }
  for (const auto& [name, value] : documented) {
    EXPECT_TRUE(game.contains(name)) << name << " is documented but not checked";
  }
}

}  // namespace
}  // namespace kragmoor
