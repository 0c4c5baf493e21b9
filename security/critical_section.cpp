#include "security/critical_section.h"

#include "common/proc_lookup.h"

namespace {

using TryEnterCriticalSectionFn = decltype(&::TryEnterCriticalSection);

// Missing on the 9x family: looked up once per process.
TryEnterCriticalSectionFn TryEnterCriticalSectionProc() {
  static const TryEnterCriticalSectionFn proc =
      LookupProc<TryEnterCriticalSectionFn>(GetModuleHandleA("kernel32.dll"), "TryEnterCriticalSection");
  return proc;
}

}  // namespace

TICriticalSection::TICriticalSection() : section_() { InitializeCriticalSection(&section_); }

TICriticalSection::TICriticalSection(std::uint32_t errorNo, const std::string &errorText)
    : TIBasic(errorNo, errorText), section_() {}

TICriticalSection::~TICriticalSection() {
  if (IsValid()) DeleteCriticalSection(&section_);
}

IBasic *TICriticalSection::MainInterface() { return static_cast<ICriticalSection *>(this); }

void *TICriticalSection::FindInterface(REFIID iid) {
  if (SameIid(iid, IID_ICriticalSection)) return static_cast<ICriticalSection *>(this);
  return TIBasic::FindInterface(iid);
}

void TICriticalSection::TakeOwnership() {
  owningThread_ = GetCurrentThreadId();
  ++lockCount_;
}

void TICriticalSection::Enter() {
  if (!CheckValid()) return;
  EnterCriticalSection(&section_);
  TakeOwnership();
}

bool TICriticalSection::TryEnter() {
  if (!CheckValid()) return false;
  TryEnterCriticalSectionFn tryEnter = TryEnterCriticalSectionProc();
  if (!tryEnter) {
    SetLastError(ERROR_CALL_NOT_IMPLEMENTED, std::string());
    return false;
  }
  if (!tryEnter(&section_)) {
    SetLastError(kErrorSectionBusy, "The critical section is already owned by another thread.");
    return false;
  }
  TakeOwnership();
  return true;
}

bool TICriticalSection::Leave() {
  if (!CheckValid()) return false;
  if (!OwnedByMe()) {
    SetLastError(kErrorSectionNotOwned, "The critical section is owned by another thread.");
    return false;
  }
  if (--lockCount_ == 0) owningThread_ = 0;
  LeaveCriticalSection(&section_);
  return true;
}

std::uint32_t TICriticalSection::OwningThread() { return owningThread_; }
std::int32_t TICriticalSection::LockCount() { return lockCount_; }
bool TICriticalSection::OwnedByMe() { return GetCurrentThreadId() == owningThread_; }
