#include "CommandTable.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "CommandIds.h"
#include "CommandTexts.h"
#include "MenuLayout.h"

namespace {

TEST(CommandTable, EnumerationStopsAtTheTerminatorAfter52Entries) {
  int count = 0;
  while (std::string(CommandTable[count].name).size() > 0) ++count;
  EXPECT_EQ(count, 52);
  EXPECT_EQ(count - 1, kLastCommandIndex);
  EXPECT_STREQ(CommandTable[kLastCommandIndex].name, "ホームページ");
  EXPECT_EQ(CommandTable[kLastCommandIndex + 1].id, 0u);
}

TEST(CommandTable, FiveSeparatorsAnd47DistinctCommands) {
  std::set<int> separators;
  std::set<unsigned> commands;
  for (int i = 0; i <= kLastCommandIndex; ++i) {
    if (IsSeparator(CommandTable[i])) {
      separators.insert(i);
      EXPECT_STREQ(CommandTable[i].name, "----------------");
    } else {
      EXPECT_TRUE(commands.insert(CommandTable[i].id).second) << "index " << i << " repeats its id";
    }
  }
  EXPECT_EQ(separators, (std::set<int>{10, 23, 31, 39, 47}));
  EXPECT_EQ(commands.size(), 47u);
  EXPECT_EQ(commands.count(ids::kCustomButton), 0u) << "the custom button cannot be bound to itself";
}

TEST(CommandTable, EveryCommandHasAPromptAndAPlaceInTheMenus) {
  std::set<int> inMenus;
  for (const res::Menu& menu : res::MenuBar())
    for (const res::MenuItem& item : menu.items) inMenus.insert(item.id);
  for (int i = 0; i <= kLastCommandIndex; ++i) {
    if (IsSeparator(CommandTable[i])) continue;
    int id = static_cast<int>(CommandTable[i].id);
    EXPECT_TRUE(inMenus.count(id)) << CommandTable[i].name;
    EXPECT_FALSE(res::CommandPrompt(id).empty()) << CommandTable[i].name;
  }
}

TEST(CommandTable, IndicesAreStoredAsOneByteFromZeroToSmallC) {
  EXPECT_EQ(EncodeCommandIndex(0), '0');
  EXPECT_EQ(EncodeCommandIndex(10), ':');
  EXPECT_EQ(EncodeCommandIndex(41), 'Y');
  EXPECT_EQ(EncodeCommandIndex(51), 'c');
  EXPECT_EQ(DecodeCommandIndex('c'), 51);
  EXPECT_EQ(DecodeCommandIndex('0'), 0);
  for (char invalid : {'d', ' ', '\0', '/', '\x80', '\xff'}) EXPECT_FALSE(DecodeCommandIndex(invalid)) << int(invalid);
  for (int i = 0; i <= kLastCommandIndex; ++i) EXPECT_EQ(DecodeCommandIndex(EncodeCommandIndex(i)), i);
}

TEST(CommandTexts, PromptAndToolTipSplitAtTheLineBreak) {
  EXPECT_EQ(res::CommandPrompt(ids::kNewWindow), "もう一つエディタを起動します。");
  EXPECT_EQ(res::CommandToolTip(ids::kNewWindow), "新しい窓を開く(Alt+N)");
  EXPECT_EQ(res::CommandPrompt(ids::kPhrase1 + 2), "一言挿入３");
  EXPECT_TRUE(res::CommandToolTip(ids::kPhrase1 + 2).empty());
  EXPECT_EQ(res::CommandToolTip(ids::kFileSaveAs), "名前をつけて保存");
  EXPECT_TRUE(res::CommandPrompt(12345).empty());
}

TEST(MenuLayout, SixMenusHelpLastAndA24SlotToolBar) {
  const auto& menus = res::MenuBar();
  ASSERT_EQ(menus.size(), 6u);
  EXPECT_STREQ(menus.front().title, "ファイル(&F)");
  EXPECT_STREQ(menus.back().title, "ヘルプ(&H)");
  EXPECT_EQ(res::ToolBarSlots().size(), 24u);
  int separators = 0;
  for (int id : res::ToolBarSlots()) separators += id == 0;
  EXPECT_EQ(separators, 6);
}

}  // namespace
