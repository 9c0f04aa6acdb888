// Tournament standings: a seat whose bot failed counts only as a failure,
// the others are placed among themselves, a match of one counts for no one,
// and the table shows unranked entrants apart.
#include "runner/standings.h"

#include <gtest/gtest.h>

#include <sstream>

namespace kragmoor {
namespace {

ArenaResult Result(std::array<int, kSideCount> places, std::array<const char*, 3> status) {
  ArenaResult result;
  result.places = places;
  for (int s = 0; s < kSideCount; ++s) result.seats[s].status = status[s];
  return result;
}

TEST(Standings, FailedSeatsCountAsFailuresAndTheOthersArePlacedAmongThemselves) {
  std::vector<Entrant> entrants(4);
  for (int e = 0; e < 4; ++e) entrants[e].name = std::string(1, static_cast<char>('a' + e));
  // b's bot timed out while first: a and c are first and second of two.
  EXPECT_TRUE(CountMatch(entrants, {0, 1, 2}, Result({3, 1, 2}, {"ai", "timeout", "ok"})));
  EXPECT_EQ(entrants[1].matches, 0);
  EXPECT_EQ(entrants[1].failed, 1);
  EXPECT_EQ(entrants[2].firsts, 1);
  EXPECT_EQ(entrants[0].placeSum, 2);
  EXPECT_GT(entrants[2].rating.mu, entrants[0].rating.mu);
  // Two failures leave one seat: nothing is counted for d.
  EXPECT_TRUE(CountMatch(entrants, {1, 3, 1}, Result({1, 2, 3}, {"no-start", "none", "exited"})));
  EXPECT_EQ(entrants[3].matches, 0);
  EXPECT_EQ(entrants[3].rating.mu, 25.0);
  EXPECT_FALSE(CountMatch(entrants, {0, 2, 3}, Result({1, 1, 1}, {"ai", "ok", "none"})));
  CountLostMatch(entrants, {0, 2, 3});
  entrants[1].name = std::string(kMaxEntrantNameBytes, 'n');

  std::ostringstream table;
  PrintTable(entrants, table);
  EXPECT_EQ(table.str(),
            "rank name matches firsts mean_place mu sigma failed\n"
            "1 c 2 2 1.000 27.403 7.938 1\n"
            "2 d 1 1 1.000 25.013 8.199 1\n"
            "3 a 2 1 1.500 22.585 7.958 1\n"
            "- nnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnn 0 0 - - - 3\n");
}

TEST(Standings, EntrantNamesAreOneWordOfPrintableText) {
  for (const char* good : {"a", "gatherer-2", "é名", "x=y"})
    EXPECT_TRUE(IsEntrantName(good)) << good;
  for (const std::string& bad :
       {std::string(), std::string(41, 'n'), std::string("a b"), std::string("a,b"),
        std::string("a\\b"), std::string("a\nb"), std::string("a\x7f"), std::string("\xff"),
        std::string("a\u200eb")}) {
    EXPECT_FALSE(IsEntrantName(bad)) << bad;
  }
}

}  // namespace
}  // namespace kragmoor
