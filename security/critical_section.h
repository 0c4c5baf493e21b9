// A re-entrant lock object that knows its owning thread, so that only the
// owner can leave it.
#pragma once

#include <windows.h>

#include <atomic>
#include <cstdint>

#include "security/basic.h"

class ICriticalSection : public virtual IBasic {
 public:
  static constexpr GUID kIid = IID_ICriticalSection;

  virtual void Enter() = 0;
  // Enters only when no other thread owns the section.
  virtual bool TryEnter() = 0;
  virtual bool Leave() = 0;
  virtual std::uint32_t OwningThread() = 0;
  virtual std::int32_t LockCount() = 0;
  virtual bool OwnedByMe() = 0;

 protected:
  ~ICriticalSection() = default;
};

class TICriticalSection : public TIBasic, public virtual ICriticalSection {
 public:
  TICriticalSection();
  TICriticalSection(std::uint32_t errorNo, const std::string &errorText);
  ~TICriticalSection() override;

  void Enter() override;
  bool TryEnter() override;
  bool Leave() override;
  std::uint32_t OwningThread() override;
  std::int32_t LockCount() override;
  bool OwnedByMe() override;

 protected:
  IBasic *MainInterface() override;
  void *FindInterface(REFIID iid) override;

 private:
  void TakeOwnership();

  CRITICAL_SECTION section_;
  // Read by other threads while the owner changes them.
  std::atomic<std::uint32_t> owningThread_{0};
  std::atomic<std::int32_t> lockCount_{0};
};
