#include <gtest/gtest.h>

#include <algorithm>

#include "list_test_support.h"
#include "winsim/machine.h"

namespace {

class ListOrder : public ::testing::Test {
 protected:
  void SetUp() override { winsim::Reset(); }
  IPtr<TICustomBasicList> list = MakeObject<TICustomBasicList>();
  void AddAll(const std::string &names) {
    for (char c : names) list->Add(Named(std::string(1, c)).get());
  }
};

TEST_F(ListOrder, SortOrdersItemsAndRecordsTogether) {
  AddAll("dbeac");
  list->Sort(ByName, true, 0);
  EXPECT_EQ("abcde", Names(*list));
  for (std::int32_t i = 0; i < list->Count(); ++i) EXPECT_EQ(i, list->Items(i)->IndexIn(list.get()));
  IPtr<IBasic> e = list->Items(4);
  EXPECT_EQ(2, e->OldIndexIn(list.get()));
  list->SetSortAscending(false);
  EXPECT_EQ("edcba", Names(*list));
}

TEST_F(ListOrder, ManyItemsWithEqualKeysEndSorted) {
  std::string names = "qwertyuiopasdfghjklzxcvbnmqwertyuiopmnbvcxz";
  AddAll(names);
  list->Sort(ByName, true, 7);
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, Names(*list));
  TListSortFunc func;
  bool ascending;
  std::int32_t param;
  EXPECT_TRUE(list->GetSort(func, ascending, param));
  EXPECT_EQ(ByName, func);
  EXPECT_TRUE(ascending);
  EXPECT_EQ(7, param);
}

TEST_F(ListOrder, AddWithASortFunctionInsertsInPlace) {
  list->SetSortFunc(ByName);
  AddAll("dbfa");
  EXPECT_EQ("abdf", Names(*list));
  list->Add(Named("c").get());
  EXPECT_EQ("abcdf", Names(*list));
  list->Sort(ByName, false, 0);
  list->Add(Named("e").get());
  EXPECT_EQ("fedcba", Names(*list));
}

TEST_F(ListOrder, SortingAgainWithTheSameSettingsRestoresTheOrder) {
  list->SetSortFunc(ByName);
  AddAll("db");
  list->Insert(Named("e").get(), 0);
  list->Insert(Named("a").get(), 3);
  EXPECT_EQ("ebda", Names(*list));
  IPtr<IBasic> a = list->Items(3);
  list->Sort(ByName, true, 0);
  EXPECT_EQ("abde", Names(*list));
  EXPECT_EQ(3, a->OldIndexIn(list.get()));
  EXPECT_EQ(0, a->IndexIn(list.get()));
}

TEST_F(ListOrder, WithoutASortFunctionNothingMoves) {
  AddAll("ba");
  list->Sort(nullptr, true, 0);
  EXPECT_EQ("ba", Names(*list));
  IPtr<IBasic> a = list->Items(1);
  list->SetSortFunc(ByName);
  EXPECT_EQ("ab", Names(*list));
  EXPECT_EQ(1, a->OldIndexIn(list.get()));
}

}  // namespace
