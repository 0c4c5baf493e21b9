#include "security/critical_section.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <future>
#include <thread>

#include "list_test_support.h"
#include "security/layer_error.h"
#include "winsim/machine.h"
#include "winsim/sync.h"

namespace {

using namespace std::chrono_literals;

class CriticalSection : public ::testing::Test {
 protected:
  void SetUp() override { winsim::Reset(); }
  IPtr<ICriticalSection> section = MakeObject<TICriticalSection>();

  template <class F>
  static auto OnOtherThread(F work) {
    auto result = std::async(std::launch::async, work);
    return result.get();
  }
};

TEST_F(CriticalSection, EnterIsReentrantAndCounted) {
  section->Enter();
  section->Enter();
  EXPECT_EQ(2, section->LockCount());
  EXPECT_EQ(GetCurrentThreadId(), section->OwningThread());
  EXPECT_TRUE(section->OwnedByMe());
  EXPECT_TRUE(section->Leave());
  EXPECT_TRUE(section->Leave());
  EXPECT_EQ(0, section->LockCount());
  EXPECT_EQ(0u, section->OwningThread());
}

TEST_F(CriticalSection, OnlyTheOwnerLeaves) {
  section->Enter();
  auto other = OnOtherThread([&] {
    bool left = section->Leave();
    return std::make_pair(left, section->LastErrorNo());
  });
  EXPECT_FALSE(other.first);
  EXPECT_EQ(0x10004u, other.second);
  EXPECT_EQ("The critical section is owned by another thread.", section->LastErrorStr());
  EXPECT_EQ(1, section->LockCount());
  EXPECT_TRUE(section->Leave());
}

TEST_F(CriticalSection, TryEnterFailsWhileAnotherThreadOwns) {
  section->Enter();
  auto busy = OnOtherThread([&] {
    bool entered = section->TryEnter();
    return std::make_pair(entered, section->LastErrorNo());
  });
  EXPECT_FALSE(busy.first);
  EXPECT_EQ(0x10003u, busy.second);
  section->Leave();
  EXPECT_TRUE(OnOtherThread([&] {
    bool entered = section->TryEnter();
    bool mine = section->OwnedByMe();
    section->Leave();
    return entered && mine;
  }));
}

TEST_F(CriticalSection, EnterWaitsForTheOwner) {
  section->Enter();
  std::atomic<bool> entered{false};
  std::thread waiter([&] {
    section->Enter();
    entered = true;
    section->Leave();
  });
  std::this_thread::sleep_for(50ms);
  EXPECT_FALSE(entered);
  section->Leave();
  waiter.join();
  EXPECT_TRUE(entered);
}

TEST_F(CriticalSection, SystemSectionLivesAsLongAsTheObject) {
  int before = winsim::LiveCriticalSections();
  {
    IPtr<ICriticalSection> other = MakeObject<TICriticalSection>();
    EXPECT_EQ(before + 1, winsim::LiveCriticalSections());
  }
  EXPECT_EQ(before, winsim::LiveCriticalSections());
}

TEST_F(CriticalSection, ListOperationsWaitForTheLockHolder) {
  IPtr<TICustomBasicList> list = MakeObject<TICustomBasicList>();
  list->Lock();
  auto adding = std::async(std::launch::async, [&] { return list->Add(Named("a").get()); });
  EXPECT_EQ(std::future_status::timeout, adding.wait_for(50ms));
  list->Unlock();
  EXPECT_EQ(0, adding.get());
}

TEST_F(CriticalSection, ListLockIsLeftWhenAnExceptionPasses) {
  IPtr<TICustomBasicList> list = MakeObject<TICustomBasicList>();
  EXPECT_THROW(list->Items(3), SecurityLayerError);
  auto counting = std::async(std::launch::async, [&] { return list->Count(); });
  ASSERT_EQ(std::future_status::ready, counting.wait_for(2s));
  EXPECT_EQ(0, counting.get());
}

}  // namespace
