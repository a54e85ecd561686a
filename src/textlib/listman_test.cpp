#include "textlib/listman.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "textlib/lines_testing.h"

namespace listman {
namespace {

using lines::LineAdd;
using lines::LineAt;
using shortstr::ShortStr;

TEST(ListPositions, ReadsWrapAroundAndBelowOneMeansFirst) {
  List* list = lines::MakeLines({"a", "b", "c"});
  EXPECT_EQ(LineAt(list, 0).Std(), "a");
  EXPECT_EQ(LineAt(list, -7).Std(), "a");
  EXPECT_EQ(LineAt(list, 4).Std(), "a");
  EXPECT_EQ(LineAt(list, 5).Std(), "b");
  EXPECT_EQ(LineAt(list, 0).Std(), "a");
  EXPECT_EQ(LineAt(list, 1).Std(), "a");
  EXPECT_EQ(LineAt(list, 2).Std(), "b");
  EXPECT_EQ(LineAt(list, 3).Std(), "c");
  ListDisposeAll(list);
  EXPECT_EQ(list, nullptr);
}

TEST(ListPositions, EmptyListAndMissingList) {
  List* list = lines::MakeLines({});
  EXPECT_EQ(LineAt(list, 1).Std(), "");
  EXPECT_EQ(list->LastError, kErrEmpty);
  ShortStr out("keep");
  lines::LineGet(nullptr, 1, out);
  EXPECT_EQ(out.Std(), "keep");
  EXPECT_EQ(ListError, kErrNoList);
  EXPECT_EQ(ListCheck(list), 0);
  EXPECT_EQ(ListError, 0);
  EXPECT_EQ(lines::LineReplaceChar(nullptr, 'a', 'b'), -1);
  ListDisposeAll(list);
}

TEST(ListDeletion, CodesAndCursorAfterDeletes) {
  List* list = lines::MakeLines({"1", "2", "3"});
  ListDelete(list, 0);
  EXPECT_EQ(list->LastError, kErrBelowOne);
  ListDelete(list, 4);
  EXPECT_EQ(list->LastError, kErrAboveCount);
  EXPECT_EQ(lines::LineTexts(list), (std::vector<std::string>{"1", "2", "3"}));
  ListDelete(list, 1);
  EXPECT_EQ(list->CursorIndex, 2);  // the last node after a delete at 1
  EXPECT_EQ(LineAt(list, 2).Std(), "3");
  EXPECT_EQ(LineAt(list, 1).Std(), "2");
  ListDelete(list, 2);
  EXPECT_EQ(list->CursorIndex, 1);
  EXPECT_EQ(lines::LineTexts(list), (std::vector<std::string>{"2"}));
  ListDelete(list, 1);
  EXPECT_EQ(list->Count, 0);
  EXPECT_EQ(list->First, nullptr);
  ListDelete(list, 1);
  EXPECT_EQ(list->LastError, kErrEmpty);
  LineAdd(list, "again");
  EXPECT_EQ(lines::LineTexts(list), (std::vector<std::string>{"again"}));
  ListDisposeAll(list);
}

TEST(ListInsertion, PositionsAndLimits) {
  List* list = lines::MakeLines({"b"});
  lines::LineInsert(list, "a", 1);
  lines::LineInsert(list, "c", 3);
  lines::LineInsert(list, "z", 99);  // above Count + 1 appends
  lines::LineInsert(list, "x", 0);
  EXPECT_EQ(list->LastError, kErrBelowOne);
  EXPECT_EQ(lines::LineTexts(list), (std::vector<std::string>{"a", "b", "c", "z"}));
  lines::LineReplace(list, "C", 3);
  EXPECT_EQ(lines::LineTexts(list), (std::vector<std::string>{"a", "b", "C", "z"}));
  lines::LineReplace(list, "end", 5);  // deletes nothing, appends
  EXPECT_EQ(lines::LineTexts(list), (std::vector<std::string>{"a", "b", "C", "z", "end"}));
  ListDisposeAll(list);
}

TEST(ListInsertion, FullLineListRefusesLineAdd) {
  List* list = nullptr;
  ListCreate(list);
  for (int i = 0; i < 65535; ++i) LineAdd(list, "x");
  EXPECT_EQ(list->Count, 65535);
  LineAdd(list, "one too many");
  EXPECT_EQ(list->LastError, kErrBelowOne);
  EXPECT_EQ(list->Count, 65535);
  lines::LineInsert(list, "first", 1);  // explicit positions still work
  EXPECT_EQ(list->Count, 65536);
  ListDisposeAll(list);
}

TEST(ListCopying, CopiesAreIndependent) {
  List* source = lines::MakeLines({"one", "two"});
  List* copy = nullptr;
  ListCopy(source, copy);
  lines::LineReplaceChar(copy, 'o', '0');
  EXPECT_EQ(lines::LineTexts(source), (std::vector<std::string>{"one", "two"}));
  EXPECT_EQ(lines::LineTexts(copy), (std::vector<std::string>{"0ne", "tw0"}));
  List* target = lines::MakeLines({"x", "y"});
  ListInsertList(source, target, 2);
  EXPECT_EQ(lines::LineTexts(target), (std::vector<std::string>{"x", "one", "two", "y"}));
  List* fresh = nullptr;
  ListInsertList(source, fresh, 1);
  EXPECT_EQ(lines::LineTexts(fresh), (std::vector<std::string>{"one", "two"}));
  ListDisposeAll(source);
  ListDisposeAll(copy);
  ListDisposeAll(target);
  ListDisposeAll(fresh);
}

// Blocks a store made go back to the store when their lines go; every
// other block goes back to the pool.
char storeBytes[16];
int claimed = 0;
bool ClaimStore(void* block) {
  auto* at = static_cast<char*>(block);
  if (at < storeBytes || at >= storeBytes + sizeof storeBytes) return false;
  ++claimed;
  return true;
}

TEST(BlockStore, ItsBlocksGoBackToItAndTheRestToThePool) {
  claimed = 0;
  const BlockClaim before = SetBlockStore(ClaimStore);
  List* list = nullptr;
  ListCreate(list);
  storeBytes[0] = 2;
  storeBytes[1] = 'a';
  storeBytes[2] = 'b';
  ListAppend(list, storeBytes, 3);
  lines::LineAdd(list, ShortStr("pooled"));
  EXPECT_EQ(LineAt(list, 1).Std(), "ab");
  lines::LineSet(list, 1, ShortStr("new"));
  EXPECT_EQ(claimed, 1);
  ListDisposeAll(list);
  EXPECT_EQ(claimed, 1);
  SetBlockStore(before);
}

TEST(LineReplaceCharTest, CountsEvenWhenFromEqualsTo) {
  List* list = lines::MakeLines({"aba", "", "a"});
  EXPECT_EQ(lines::LineReplaceChar(list, 'a', 'a'), 3);
  EXPECT_EQ(lines::LineTexts(list), (std::vector<std::string>{"aba", "", "a"}));
  EXPECT_EQ(lines::LineReplaceChar(list, 'a', 'x'), 3);
  EXPECT_EQ(lines::LineTexts(list), (std::vector<std::string>{"xbx", "", "x"}));
  ListDisposeAll(list);
}

TEST(ListPasses, DeletingWhileWalkingStaysCorrect) {
  List* list = nullptr;
  ListCreate(list);
  for (int i = 1; i <= 1000; ++i) LineAdd(list, std::to_string(i));
  // Remove every even number in one front-to-back pass.
  for (int i = 1; i <= list->Count;) {
    if (std::stoi(LineAt(list, i).Std()) % 2 == 0)
      ListDelete(list, i);
    else
      ++i;
  }
  ASSERT_EQ(list->Count, 500);
  for (int i = 1; i <= 500; ++i) EXPECT_EQ(LineAt(list, i).Std(), std::to_string(2 * i - 1));
  ListClearAll(list);
  EXPECT_EQ(list->Count, 0);
  EXPECT_EQ(list->LastError, 0);
  ListDisposeAll(list);
}

TEST(ListPasses, ConsecutiveDeletesAtTheCursor) {
  List* list = nullptr;
  ListCreate(list);
  for (int i = 1; i <= 10; ++i) LineAdd(list, std::to_string(i));
  for (int i = 1; i <= list->Count;) {
    int value = std::stoi(LineAt(list, i).Std());
    if (value >= 3 && value <= 7)
      ListDelete(list, i);
    else
      ++i;
  }
  EXPECT_EQ(lines::LineTexts(list), (std::vector<std::string>{"1", "2", "8", "9", "10"}));
  ListDelete(list, 5);  // the last line, then appends still land at the end
  LineAdd(list, "end");
  lines::LineInsert(list, "mid", 3);
  ListDelete(list, 3);
  EXPECT_EQ(lines::LineTexts(list), (std::vector<std::string>{"1", "2", "8", "9", "end"}));
  ListDisposeAll(list);
}

}  // namespace
}  // namespace listman
