// Word extraction from order texts.
#include "world/str_man.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

namespace kragmoor {
namespace {

TEST(WordAt, SplitsOrdersOnSpacesAndCommas) {
  EXPECT_EQ(WordAt("stroit 0,150,200", " ", 1), "stroit");
  EXPECT_EQ(WordAt("stroit 0,150,200", " ", 2), "0,150,200");
  EXPECT_EQ(WordAt("stroit 0,150,200", " ", 3), "");
  EXPECT_EQ(WordAt("0,150,200", ",", 1), "0");
  EXPECT_EQ(WordAt("0,150,200", ",", 2), "150");
  EXPECT_EQ(WordAt("0,150,200", ",", 3), "200");
  EXPECT_EQ(WordAt("0,150,200", ",", 4), "");
  // The computer player's test for a main-base build.
  EXPECT_EQ(WordAt("stroit 0,150,200", ",", 1), "stroit 0");
  EXPECT_EQ(WordAt("stroit 1,250,250", ",", 1), "stroit 1");
}

TEST(WordAt, RunsOfDelimitersCountAsOne) {
  EXPECT_EQ(WordAt("  idle  ", " ", 1), "idle");
  EXPECT_EQ(WordAt("  idle  ", " ", 2), "");
  EXPECT_EQ(WordAt("a,,b", ",", 2), "b");
  EXPECT_EQ(WordAt("a,,b", ",", 3), "");
  EXPECT_EQ(WordAt("idle", " ", 2), "");
  EXPECT_EQ(WordAt("x;y z", ";,", 2), "y z");
  EXPECT_EQ(WordAt("x;y,z", ";,", 3), "z");
}

TEST(ExtractWord, ReportsOneBasedPositionAndLength) {
  int32_t p = -7;
  int32_t l = -9;
  ASSERT_TRUE(ExtractWord("  idle  ", " ", 1, p, l));
  EXPECT_EQ(p, 3);
  EXPECT_EQ(l, 4);
  ASSERT_TRUE(ExtractWord("ab cd", " ", 2, p, l));
  EXPECT_EQ(p, 4);
  EXPECT_EQ(l, 2);
  // Not found: P and L keep their old values.
  EXPECT_FALSE(ExtractWord("ab cd", " ", 3, p, l));
  EXPECT_EQ(p, 4);
  EXPECT_EQ(l, 2);
}

TEST(ExtractWord, EmptyTextEmptyDelimitersAndWordZero) {
  int32_t p = 0;
  int32_t l = 0;
  for (uint8_t n : {0, 1, 2, 255}) {
    EXPECT_FALSE(ExtractWord("", " ", n, p, l));
    EXPECT_FALSE(ExtractWord("", "", n, p, l));
    EXPECT_FALSE(ExtractWord("", ",", n, p, l));
  }
  ASSERT_TRUE(ExtractWord("a b,c", "", 1, p, l));
  EXPECT_EQ(p, 1);
  EXPECT_EQ(l, 5);
  EXPECT_FALSE(ExtractWord("a b,c", "", 2, p, l));
  EXPECT_EQ(WordAt("a b,c", "", 1), "a b,c");
  EXPECT_EQ(WordAt("a b", " ", 0), "");
  EXPECT_EQ(WordAt("a b", "", 0), "");
}

TEST(ExtractWord, WordNumberBeyondTwoHundredFiftyFive) {
  std::string many;
  for (int i = 0; i < 300; ++i) many += "w ";
  int32_t p = 0;
  int32_t l = 0;
  ASSERT_TRUE(ExtractWord(many, " ", 255, p, l));
  EXPECT_EQ(p, 509);
  EXPECT_EQ(l, 1);
}

// A set of one delimiter is split by a plain comparison, a larger set by a
// search of the set: the same character given twice must split alike, and
// LeadingWords, which takes several words in one scan, must find the same.
TEST(ExtractWord, OneDelimiterSplitsAsTheSameDelimiterTwiceAndAsLeadingWords) {
  const char alphabet[] = {' ', ',', 'a', '7', '\0'};
  uint32_t state = 12345;
  for (int round = 0; round < 2000; ++round) {
    std::string s;
    state = state * 1664525u + 1013904223u;
    const int length = static_cast<int>(state >> 28);  // 0 to 15
    for (int k = 0; k < length; ++k) {
      state = state * 1664525u + 1013904223u;
      s += alphabet[(state >> 24) % sizeof alphabet];
    }
    for (const char d : {' ', ',', '\0'}) {
      const std::string one(1, d);
      const std::string twice(2, d);
      const auto leading = LeadingWords<4>(s, d);
      for (uint8_t n = 1; n <= 4; ++n) {
        EXPECT_EQ(leading[n - 1], WordView(s, one, n)) << '"' << s << "\" word " << int{n};
      }
      for (uint8_t n = 0; n <= 9; ++n) {
        int32_t p1 = -1, l1 = -1, p2 = -1, l2 = -1;
        const bool found1 = ExtractWord(s, one, n, p1, l1);
        const bool found2 = ExtractWord(s, twice, n, p2, l2);
        ASSERT_EQ(found1, found2) << '"' << s << "\" word " << int{n};
        EXPECT_EQ(p1, p2) << '"' << s << "\" word " << int{n};
        EXPECT_EQ(l1, l2) << '"' << s << "\" word " << int{n};
      }
    }
  }
}

}  // namespace
}  // namespace kragmoor
