// Number conversion, decimal formatting and the order writers.
#include "world/orders.h"

#include <gtest/gtest.h>

namespace kragmoor {
namespace {

TEST(StrToInt, AcceptsTheStrictDecimalForm) {
  EXPECT_EQ(StrToInt(" 42"), 42);
  EXPECT_EQ(StrToInt("   42"), 42);
  EXPECT_EQ(StrToInt("+7"), 7);
  EXPECT_EQ(StrToInt("-0"), 0);
  EXPECT_EQ(StrToInt("007"), 7);
  EXPECT_EQ(StrToInt("-2147483648"), INT32_MIN);
  EXPECT_EQ(StrToInt("2147483647"), INT32_MAX);
  EXPECT_EQ(StrToInt("-25"), -25);
  // Either side of nine digits, the longest that cannot overflow.
  EXPECT_EQ(StrToInt("999999999"), 999999999);
  EXPECT_EQ(StrToInt("-999999999"), -999999999);
  EXPECT_EQ(StrToInt("1000000000"), 1000000000);
  EXPECT_EQ(StrToInt("-0001000000"), -1000000);
}

TEST(StrToInt, RejectsEverythingElseWithTheGamesMessage) {
  for (const char* bad :
       {"42 ", "2147483648", "-2147483649",          "12abc", "",  " ",   "-",    "+",   "- 1",
        "1,2", "\t1",        "99999999999999999999", "0x",    "$", "-$1", "+0x1", "--1", "-+1",
        "1-",  "-0x1"}) {
    try {
      StrToInt(bad);
      ADD_FAILURE() << "'" << bad << "' converted";
    } catch (const ConversionError& e) {
      EXPECT_EQ(e.what(), "'" + std::string(bad) + "' is not a valid integer value");
    }
  }
}

TEST(StrToInt, ReadsHexadecimalAfterDollarOrX) {
  EXPECT_EQ(StrToInt("$1F"), 31);
  EXPECT_EQ(StrToInt("x10"), 16);
  EXPECT_EQ(StrToInt(" 0x10"), 16);
  EXPECT_EQ(StrToInt("0XfF"), 255);
  EXPECT_EQ(StrToInt("$FFFFFFFF"), -1);
  EXPECT_EQ(StrToInt("$80000000"), INT32_MIN);
  EXPECT_THROW(StrToInt("$100000000"), ConversionError);
  EXPECT_THROW(StrToInt("$1G"), ConversionError);
}

TEST(IntToStr, ShortestDecimal) {
  EXPECT_EQ(IntToStr(0), "0");
  EXPECT_EQ(IntToStr(-25), "-25");
  EXPECT_EQ(IntToStr(INT32_MIN), "-2147483648");
  EXPECT_EQ(IntToStr(INT32_MAX), "2147483647");
}

TEST(WriteOrder, BuildsEveryFormAndReplacesTheWholeText) {
  std::string order = "something much longer than any order text";
  WriteOrder(order, kVerbWalk, {8});
  EXPECT_EQ(order, "idtiza 8");
  WriteOrder(order, kVerbPoint, {-25, -75});
  EXPECT_EQ(order, "idti -25,-75");
  WriteOrder(order, kVerbBuild, {0, INT32_MIN, INT32_MAX});
  EXPECT_EQ(order, "stroit 0,-2147483648,2147483647");
  WriteOrder(order, kOrderIdle, {});
  EXPECT_EQ(order, "idle");
}

}  // namespace
}  // namespace kragmoor
