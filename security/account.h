// Windows accounts known by name, by SID or both; the missing half is looked
// up on first use. Resolved accounts are shared through a process-wide cache.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "security/basic.h"

class IAccount : public virtual IBasic {
 public:
  static constexpr GUID kIid = IID_IAccount;

  // IsValidSid on the NT family; a bad SID makes the account invalid.
  virtual bool ValidateSid() = 0;
  virtual std::string Name() = 0;
  // SID_NAME_USE; 0 when unknown.
  virtual std::uint8_t AccountType() = 0;
  virtual std::string Domain() = 0;
  // Owned by the account; null when it cannot be had.
  virtual PSID Sid() = 0;
  virtual std::uint32_t SidSize() = 0;
  virtual std::string SidString() = 0;
  virtual bool IsEqual(IAccount *other) = 0;

 protected:
  ~IAccount() = default;
};

class TIAccount : public TIBasic, public virtual IAccount {
 public:
  // A valid account needs a name or a SID (copied); typeHint 0, 1 or 2.
  TIAccount(std::uint8_t typeHint, PSID sid, const std::string &name);
  // An invalid placeholder carrying an error.
  TIAccount(std::uint32_t errorNo, const std::string &errorText);

  bool ValidateSid() override;
  std::string Name() override;
  std::uint8_t AccountType() override;
  std::string Domain() override;
  PSID Sid() override;
  std::uint32_t SidSize() override;
  std::string SidString() override;
  bool IsEqual(IAccount *other) override;

 protected:
  IBasic *MainInterface() override;
  void *FindInterface(REFIID iid) override;

 private:
  bool LookupName();
  bool LookupSid();
  void Forget(std::uint32_t error);

  std::string name_;
  std::string domain_;
  std::vector<DWORD> sid_;  // DWORD-aligned SID bytes; empty while unknown
  std::uint8_t accountType_ = 0;
};

IPtr<IAccount> AccountByName(const std::string &name, std::uint8_t typeHint);
IPtr<IAccount> AccountBySid(PSID sid);
// The user of the process token (NT family) or the logged-on user (9x family).
IPtr<IAccount> CurrentUserAccount();
// "S-1-5-32-544" as a SID from AllocateAndInitializeSid (freed with FreeSid), or null.
PSID ParseSidString(const std::string &text);
