// What the security layer relies on: the version structures' sizes, the message
// texts' flags and buffers, status translation, and critical sections that
// are re-entrant and refuse other threads. Only the real API.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "other_thread.h"

namespace {

template <class Fn>
Fn Lookup(const char *module, const char *name) {
  return reinterpret_cast<Fn>(reinterpret_cast<void (*)()>(GetProcAddress(GetModuleHandleA(module), name)));
}

TEST(SecurityContract, VersionStructuresOfBothSizes) {
  EXPECT_EQ(284u, sizeof(OSVERSIONINFOEXW));
  EXPECT_EQ(276u, sizeof(OSVERSIONINFOW));
  OSVERSIONINFOEXW extended = {};
  extended.dwOSVersionInfoSize = 284;
  ASSERT_TRUE(GetVersionExW(reinterpret_cast<LPOSVERSIONINFOW>(&extended)));
  OSVERSIONINFOW plain = {};
  plain.dwOSVersionInfoSize = 276;
  ASSERT_TRUE(GetVersionExW(&plain));
  EXPECT_EQ(static_cast<DWORD>(VER_PLATFORM_WIN32_NT), plain.dwPlatformId);
  EXPECT_EQ(plain.dwMajorVersion, extended.dwMajorVersion);
  EXPECT_EQ(plain.dwMinorVersion, extended.dwMinorVersion);
  EXPECT_EQ(std::basic_string<WCHAR>(plain.szCSDVersion), std::basic_string<WCHAR>(extended.szCSDVersion));
  OSVERSIONINFOW wrong = {};
  wrong.dwOSVersionInfoSize = 200;
  // Only the failure counts: Windows sets ERROR_INSUFFICIENT_BUFFER, Wine leaves the last error alone.
  EXPECT_FALSE(GetVersionExW(&wrong));
}

TEST(SecurityContract, SystemTextInAnAllocatedBuffer) {
  LPSTR text = nullptr;
  DWORD flags = FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_IGNORE_INSERTS | FORMAT_MESSAGE_FROM_SYSTEM;
  DWORD length = FormatMessageA(flags, nullptr, ERROR_ACCESS_DENIED, MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT),
                                reinterpret_cast<LPSTR>(&text), 0, nullptr);
  ASSERT_GT(length, 2u);
  ASSERT_NE(nullptr, text);
  std::string message(text, length);
  EXPECT_EQ("\r\n", message.substr(message.size() - 2));
  EXPECT_EQ(nullptr, LocalFree(text));
}

TEST(SecurityContract, UnknownCodeHasNoText) {
  LPSTR text = nullptr;
  DWORD flags = FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_IGNORE_INSERTS | FORMAT_MESSAGE_FROM_SYSTEM;
  SetLastError(0);
  EXPECT_EQ(0u, FormatMessageA(flags, nullptr, 0x10ABC, MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT),
                               reinterpret_cast<LPSTR>(&text), 0, nullptr));
  EXPECT_EQ(317u, GetLastError());  // ERROR_MR_MID_NOT_FOUND
}

TEST(SecurityContract, ModuleWithoutTheTextFallsBackToTheSystem) {
  LPSTR text = nullptr;
  DWORD flags = FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_IGNORE_INSERTS | FORMAT_MESSAGE_FROM_SYSTEM |
                FORMAT_MESSAGE_FROM_HMODULE;
  DWORD length = FormatMessageA(flags, GetModuleHandleA("kernel32.dll"), ERROR_ACCESS_DENIED,
                                MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT), reinterpret_cast<LPSTR>(&text), 0, nullptr);
  EXPECT_GT(length, 0u);
  EXPECT_EQ(nullptr, LocalFree(text));
}

TEST(SecurityContract, StatusCodesTranslate) {
  using Translate = ULONG(WINAPI *)(LONG);
  auto translate = Lookup<Translate>("ntdll.dll", "RtlNtStatusToDosError");
  ASSERT_NE(nullptr, translate);
  EXPECT_EQ(5u, translate(static_cast<LONG>(0xC0000022u)));
  EXPECT_EQ(2u, translate(static_cast<LONG>(0xC0000034u)));
  EXPECT_EQ(87u, translate(static_cast<LONG>(0x80070057u)));
  EXPECT_EQ(317u, translate(static_cast<LONG>(0x80004002u)));
}

TEST(SecurityContract, NativeSystemInfoIsExported) {
  using GetInfo = void(WINAPI *)(LPSYSTEM_INFO);
  auto getInfo = Lookup<GetInfo>("kernel32.dll", "GetNativeSystemInfo");
  ASSERT_NE(nullptr, getInfo);
  SYSTEM_INFO info = {};
  getInfo(&info);
  EXPECT_EQ(4096u, info.dwPageSize);
  EXPECT_TRUE(info.wProcessorArchitecture == PROCESSOR_ARCHITECTURE_AMD64 ||
              info.wProcessorArchitecture == PROCESSOR_ARCHITECTURE_INTEL);
}

TEST(SecurityContract, CriticalSectionIsReentrantAndRefusesOtherThreads) {
  using TryEnter = BOOL(WINAPI *)(LPCRITICAL_SECTION);
  auto tryEnter = Lookup<TryEnter>("kernel32.dll", "TryEnterCriticalSection");
  ASSERT_NE(nullptr, tryEnter);
  CRITICAL_SECTION section;
  InitializeCriticalSection(&section);
  EnterCriticalSection(&section);
  EXPECT_TRUE(tryEnter(&section));
  BOOL otherEntered = TRUE;
  ASSERT_TRUE(contract::RunOnOtherThread([&] { otherEntered = tryEnter(&section); }));
  EXPECT_FALSE(otherEntered);
  LeaveCriticalSection(&section);
  LeaveCriticalSection(&section);
  ASSERT_TRUE(contract::RunOnOtherThread([&] {
    otherEntered = tryEnter(&section);
    if (otherEntered) LeaveCriticalSection(&section);
  }));
  EXPECT_TRUE(otherEntered);
  DeleteCriticalSection(&section);
}

}  // namespace
