#include <gtest/gtest.h>

#include "list_test_support.h"
#include "security/layer_error.h"
#include "winsim/machine.h"

namespace {

class List : public ::testing::Test {
 protected:
  void SetUp() override { winsim::Reset(); }
  IPtr<TICustomBasicList> list = MakeObject<TICustomBasicList>();
};

TEST_F(List, GrowsTo16Then24Then36) {
  EXPECT_EQ(0, list->Capacity());
  std::vector<std::int32_t> capacities;
  for (int i = 0; i < 25; ++i) {
    list->Add(Named("x").get());
    if (capacities.empty() || capacities.back() != list->Capacity()) capacities.push_back(list->Capacity());
  }
  EXPECT_EQ((std::vector<std::int32_t>{16, 24, 36}), capacities);
  EXPECT_EQ(25, list->Count());
}

TEST_F(List, AddingTwiceReturnsTheFirstIndex) {
  IPtr<IBasic> a = Named("a");
  list->Add(Named("b").get());
  EXPECT_EQ(1, list->Add(a.get()));
  EXPECT_EQ(1, list->Add(a.get()));
  EXPECT_EQ(2, list->Count());
  EXPECT_EQ(-1, list->Add(nullptr));
  EXPECT_EQ(87u, list->LastErrorNo());
}

TEST_F(List, ListHoldsItsItemsAlive) {
  TIBasic *object;
  {
    IPtr<IBasic> item = Named("a");
    object = item->SelfObject();
    list->Add(item.get());
  }
  EXPECT_EQ(1, object->RefCount());
  EXPECT_EQ("a", list->Items(0)->Tag());
}

TEST_F(List, ItemInTwoListsKeepsTwoRecords) {
  IPtr<TICustomBasicList> other = MakeObject<TICustomBasicList>();
  IPtr<IBasic> item = Named("i");
  list->Add(Named("a").get());
  list->Add(item.get());
  other->Add(item.get());
  other->Add(Named("b").get());
  item->SetSelectedIn(other.get(), true);
  EXPECT_EQ(1, item->IndexIn(list.get()));
  EXPECT_EQ(0, item->IndexIn(other.get()));
  ASSERT_TRUE(list->Delete(0));
  EXPECT_EQ(0, item->IndexIn(list.get()));
  EXPECT_EQ(1, item->OldIndexIn(list.get()));
  ASSERT_TRUE(list->Delete(0));
  EXPECT_EQ(-1, item->IndexIn(list.get()));
  EXPECT_EQ(2u, item->LastErrorNo());
  EXPECT_EQ(0, item->IndexIn(other.get()));
  EXPECT_TRUE(item->SelectedIn(other.get()));
}

TEST_F(List, DeleteAndInsertKeepTheRecordsInStep) {
  IPtr<IBasic> a = Named("a"), b = Named("b"), c = Named("c"), d = Named("d");
  list->Add(a.get());
  list->Add(b.get());
  list->Add(c.get());
  EXPECT_EQ(lctNew, c->ChangeTypeIn(list.get()));
  EXPECT_EQ(1, list->Insert(d.get(), 1));
  EXPECT_EQ("adbc", Names(*list));
  EXPECT_EQ(2, b->IndexIn(list.get()));
  EXPECT_EQ(1, b->OldIndexIn(list.get()));
  EXPECT_EQ(4, list->Insert(Named("e").get(), 99));
  EXPECT_EQ(-1, list->Insert(Named("f").get(), -1));
  EXPECT_EQ(0x10002u, list->LastErrorNo());
  EXPECT_EQ("Invalid index.", list->LastErrorStr());
  EXPECT_FALSE(list->Delete(5));
  EXPECT_TRUE(list->Delete(0));
  EXPECT_EQ("dbce", Names(*list));
  EXPECT_EQ(-1, a->IndexIn(list.get()));
  EXPECT_EQ(0, d->IndexIn(list.get()));
}

TEST_F(List, DeleteClearsSelectionAndCurrentItem) {
  IPtr<IBasic> a = Named("a"), b = Named("b");
  list->Add(a.get());
  list->Add(b.get());
  a->SetSelectedIn(list.get(), true);
  a->SetSelectedIn(list.get(), true);
  b->SetSelectedIn(list.get(), true);
  EXPECT_EQ(2, list->SelectedCount());
  b->SetCurrentIn(list.get(), true);
  EXPECT_EQ(b.get(), list->CurrentItem().get());
  a->SetCurrentIn(list.get(), false);  // not the current one: nothing changes
  EXPECT_EQ(b.get(), list->CurrentItem().get());
  b->SetMarkedIn(list.get(), true);
  EXPECT_TRUE(b->MarkedIn(list.get()));
  list->Delete(1);
  EXPECT_EQ(1, list->SelectedCount());
  EXPECT_FALSE(list->CurrentItem());
}

TEST_F(List, ItemsOutsideTheListRaise) {
  list->Add(Named("a").get());
  EXPECT_THROW(list->Items(1), SecurityLayerError);
  try {
    list->Items(-1);
  } catch (const SecurityLayerError &error) {
    EXPECT_STREQ("Index out of range.", error.what());
  }
}

TEST_F(List, NotificationsComeInOrderProceduresFirst) {
  static std::vector<std::string> calls;
  calls.clear();
  EventLog log;
  auto proc = [](ICustomBasicList *, IBasic *item, bool before, TChangeType, std::int32_t, std::int32_t) {
    calls.push_back(std::string("proc ") + (before ? "before " : "after ") + item->Tag());
  };
  list->AddChangeProc(proc);
  list->AddChangeProc(proc);
  auto method = ChangeMethodOf<EventLog, &EventLog::OnChange>(&log);
  list->AddChangeMethod(method);
  list->AddChangeMethod(method);
  list->AddChangeMethod(TIListChangeMethod{[](void *, ICustomBasicList *, IBasic *item, bool before, TChangeType,
                                             std::int32_t, std::int32_t) {
                                             calls.push_back(std::string("method ") + (before ? "before " : "after ") +
                                                             item->Tag());
                                           },
                                           nullptr});
  list->Add(Named("a").get());
  list->Insert(Named("b").get(), 0);
  list->Delete(1);
  EXPECT_EQ((std::vector<std::string>{"proc before a", "method before a", "proc after a", "method after a",
                                      "proc before b", "method before b", "proc after b", "method after b",
                                      "proc before a", "method before a", "proc after a", "method after a"}),
            calls);
  EXPECT_EQ((std::vector<std::string>{"before a 2 -1 0", "after a 2 -1 0", "before b 2 -1 0", "after b 2 -1 0",
                                      "before a 3 1 -1", "after a 3 1 -1"}),
            log.events);
  EXPECT_TRUE(list->DelChangeProc(proc));
  EXPECT_FALSE(list->DelChangeProc(proc));
  EXPECT_EQ(2u, list->LastErrorNo());
  EXPECT_TRUE(list->DelChangeMethod(method));
  EXPECT_FALSE(list->DelChangeMethod(method));
}

TEST_F(List, DestructionDeletesEveryItemWithNotifications) {
  EventLog log;
  IPtr<IBasic> kept = Named("k");
  {
    IPtr<TICustomBasicList> doomed = MakeObject<TICustomBasicList>();
    doomed->Add(kept.get());
    doomed->Add(Named("x").get());
    doomed->AddChangeMethod(ChangeMethodOf<EventLog, &EventLog::OnChange>(&log));
  }
  EXPECT_EQ((std::vector<std::string>{"before x 3 1 -1", "after x 3 1 -1", "before k 3 0 -1", "after k 3 0 -1"}),
            log.events);
  EXPECT_EQ(1, kept->SelfObject()->RefCount());
}

TEST_F(List, MarkAllDeletedThenPurge) {
  IPtr<IBasic> a = Named("a"), b = Named("b");
  list->Add(a.get());
  list->MarkAllDeleted();
  list->Add(b.get());
  EXPECT_EQ(lctDeleted, a->ChangeTypeIn(list.get()));
  list->PurgeDeleted();
  EXPECT_EQ("b", Names(*list));
}

TEST_F(List, ClearAndSetCapacity) {
  for (auto name : {"a", "b", "c"}) list->Add(Named(name).get());
  list->SetCapacity(2);
  EXPECT_EQ(2, list->Capacity());
  EXPECT_EQ("ab", Names(*list));
  list->Pack();
  EXPECT_EQ(2, list->Capacity());
  list->Clear();
  EXPECT_EQ(0, list->Count());
  EXPECT_EQ(0, list->Capacity());
}

TEST_F(List, LinkedItemIsCounted) {
  IPtr<IBasic> linked = Named("l");
  list->SetLinkedItem(linked.get());
  EXPECT_EQ(2, linked->SelfObject()->RefCount());
  EXPECT_EQ(linked.get(), list->LinkedItem().get());
}

}  // namespace
