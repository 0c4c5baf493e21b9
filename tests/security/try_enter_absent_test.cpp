#include <gtest/gtest.h>

#include "security/critical_section.h"
#include "winsim/machine.h"

// Before NT 4 there is no TryEnterCriticalSection; Enter and Leave still work.
TEST(CriticalSectionOnOldKernel, TryEnterReports120) {
  winsim::Reset();
  winsim::RemoveExport("kernel32.dll", "TryEnterCriticalSection");
  IPtr<ICriticalSection> section = MakeObject<TICriticalSection>();
  EXPECT_FALSE(section->TryEnter());
  EXPECT_EQ(120u, section->LastErrorNo());
  EXPECT_EQ(0, section->LockCount());
  section->Enter();
  EXPECT_TRUE(section->OwnedByMe());
  EXPECT_TRUE(section->Leave());
}
