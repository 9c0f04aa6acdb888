// Plain-words lines for entities, read from their orders, and the line naming
// the player's sides, in both languages.
#include "game/text/describe.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kragmoor {
namespace {

TEST(DescribeEntity, SaysWhatAnEntityIsAndDoesInBothLanguages) {
  World world;
  SetUpScenario(world);
  Tigrok& peasant = world.entities[3];
  peasant.gold = 10;
  peasant.order = "idtiza 0";
  peasant.hp = 80.4f;
  EXPECT_EQ(DescribeEntity(world, 3, Language::kEnglish),
            "Peasant of side 2, carrying 10 gold, walking to gold mine 0; health 80 of 100");
  EXPECT_EQ(DescribeEntity(world, 3, Language::kRussian),
            "Крестьянин стороны 2, несёт 10 золота, идёт к золотой шахте 0; здоровье 80 из 100");
  peasant.gold = 0;
  peasant.order = "atakovat 4";
  EXPECT_EQ(DescribeEntity(world, 3, Language::kEnglish),
            "Peasant of side 2, attacking main base 4; health 80 of 100");
  EXPECT_EQ(DescribeEntity(world, 3, Language::kRussian),
            "Крестьянин стороны 2, атакует главную базу 4; здоровье 80 из 100");
  peasant.order = "idti 175,225";
  EXPECT_EQ(DescribeEntity(world, 3, Language::kEnglish),
            "Peasant of side 2, walking to point 175,225; health 80 of 100");
  peasant.order = "idtiza 900";  // names nobody: shown as written
  EXPECT_EQ(DescribeEntity(world, 3, Language::kEnglish),
            "Peasant of side 2, walking to 900; health 80 of 100");

  Tigrok& base = world.entities[2];
  base.order = "stroit 1,250,250";
  base.progress = 3;
  base.plan = 10;
  EXPECT_EQ(DescribeEntity(world, 2, Language::kEnglish),
            "Main base of side 2, training a peasant (3 of 10 gold); health 200 of 200");
  base.order = "";
  EXPECT_EQ(DescribeEntity(world, 2, Language::kRussian),
            "Главная база стороны 2, ничего не делает; здоровье 200 из 200");
  base.order = "zz top";
  EXPECT_EQ(DescribeEntity(world, 2, Language::kEnglish),
            "Main base of side 2, order \"zz top\"; health 200 of 200");
  EXPECT_EQ(DescribeEntity(world, 0, Language::kEnglish),
            "Gold mine, 100000 gold left; health 100 of 100");
  EXPECT_EQ(DescribeEntity(world, 0, Language::kRussian),
            "Золотая шахта, осталось 100000 золота; здоровье 100 из 100");
  EXPECT_EQ(DescribeEntity(world, 40, Language::kEnglish), "Slot 40 is empty");
  EXPECT_EQ(DescribeEntity(world, -1, Language::kEnglish), "Nothing selected");
}

TEST(InfoItemsIn, TheEnglishListSaysOrdersInPlainWordsAndTheRussianOneAsDesigned) {
  World world;
  SetUpScenario(world);
  ViewState view;
  view.selected = 3;
  Tigrok& peasant = world.entities[3];
  peasant.order = "idtiza 6";  // side 3's base: the walk ends in a fight
  peasant.nextOrder = "idtiza 1";
  const auto value = [&](const char* label, Language language) {
    for (const InfoItem& item : InfoItemsIn(world, view, language)) {
      if (std::string(item.label) == label) return item.value;
    }
    return std::string("(no line)");
  };
  EXPECT_EQ(value("Мысль игрока: ", Language::kEnglish), "attacking main base 6");
  EXPECT_EQ(value("Будущая мысль игрока: ", Language::kEnglish), "walking to gold mine 1");
  EXPECT_EQ(value("Тип игрока: ", Language::kEnglish), "peasant");
  EXPECT_EQ(value("Мысль игрока: ", Language::kRussian), "idtiza 6");
  const std::vector<InfoItem> design = InfoItems(world, view);
  const std::vector<InfoItem> russian = InfoItemsIn(world, view, Language::kRussian);
  ASSERT_EQ(russian.size(), design.size());
  for (size_t i = 0; i < design.size(); ++i) EXPECT_EQ(russian[i].value, design[i].value);

  peasant.order = "stroit 0,300,400";
  peasant.progress = 6;
  peasant.plan = 100;
  EXPECT_EQ(value("Мысль игрока: ", Language::kEnglish),
            "building a main base at 300,400 (6 of 100 gold)");
  for (const char* words : {"idtiza", "idti ", "atakovat", "stroit"}) {
    for (const InfoItem& item : InfoItemsIn(world, view, Language::kEnglish)) {
      EXPECT_EQ(item.value.find(words), std::string::npos) << item.value;
    }
  }
  view.selected = 0;  // a gold mine: no side
  EXPECT_EQ(value("Расса игрока: ", Language::kEnglish), "(no line)");
  EXPECT_EQ(value("Расса игрока: ", Language::kRussian), "1");
}

TEST(PlayerSidesText, NamesTheSidesWithoutTheComputer) {
  EXPECT_EQ(PlayerSidesText({true, false, true}, Language::kEnglish), "You: side 2");
  EXPECT_EQ(PlayerSidesText({false, true, false}, Language::kRussian), "Вы: стороны 1, 3");
  EXPECT_EQ(PlayerSidesText({true, true, true}, Language::kEnglish),
            "The computer plays every side");
}

}  // namespace
}  // namespace kragmoor
