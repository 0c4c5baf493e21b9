// Accounts in a process of their own: the account cache's first use, and
// SIDs parsed from text when a later allocation of the lookup fails. This
// program's allocations can be made to fail one at a time.
#include <gtest/gtest.h>

#include <cstdlib>
#include <new>

#include "security/account.h"
#include "winsim/machine.h"
#include "winsim/security.h"
#include "winsim/sync.h"

namespace {

// Allocations still to succeed before one fails; negative: none fails.
long allocationsBeforeFailure = -1;

}  // namespace

void *operator new(std::size_t size) {
  if (allocationsBeforeFailure == 0) {
    allocationsBeforeFailure = -1;
    throw std::bad_alloc();
  }
  if (allocationsBeforeFailure > 0) --allocationsBeforeFailure;
  if (void *memory = std::malloc(size ? size : 1)) return memory;
  throw std::bad_alloc();
}
void operator delete(void *memory) noexcept { std::free(memory); }
void operator delete(void *memory, std::size_t) noexcept { std::free(memory); }

namespace {

// Runs first in its process (CTest gives every test one): the cache has not
// been used before it.
TEST(AccountFirstUse, TheCacheHasItsLockFromItsFirstLookup) {
  winsim::Reset();
  ASSERT_EQ(0, winsim::LiveCriticalSections());
  // A SID text needs no name lookup: the cache is asked, nothing is inserted.
  EXPECT_TRUE(AccountByName("S-1-5-18", 0)->IsValid());
  EXPECT_EQ(1, winsim::LiveCriticalSections());
}

TEST(AccountFirstUse, AParsedSidIsFreedWhicheverAllocationOfTheLookupFails) {
  winsim::Reset();
  int failures = 0;
  for (long k = 0;; ++k) {
    allocationsBeforeFailure = k;
    bool thrown = false;
    try {
      AccountByName("S-1-5-21-7-7-7-1234", 0);
    } catch (const std::bad_alloc &) {
      thrown = true;
    }
    allocationsBeforeFailure = -1;
    EXPECT_EQ(0, winsim::LiveAllocatedSids()) << "allocation " << k << " failing";
    if (!thrown) break;
    ++failures;
  }
  EXPECT_GT(failures, 2);
}

}  // namespace
