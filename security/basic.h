// The base of every object of the security layer: a reference-counted object
// behind an interface that records whether its last operation succeeded and
// its last error, carries a tag and a free data word, and knows the lists it
// is an item of.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "security/interface_ids.h"
#include "security/interface_ptr.h"

class IList;
class TIBasic;
class TIList;

enum TChangeType : std::uint8_t { lctUnchanged = 0, lctChanged = 1, lctNew = 2, lctDeleted = 3 };

// Called with the address of the data word before it is replaced or dies.
using TDataFreeProc = void (*)(std::uint32_t *data);
// The same as a method: code called with its object.
struct TDataFreeMethod {
  void (*code)(void *object, std::uint32_t *data) = nullptr;
  void *object = nullptr;
};

// Codes the layer records with its own texts.
constexpr std::uint32_t kErrorInvalidObject = 0x10001;
constexpr std::uint32_t kErrorInvalidIndex = 0x10002;
constexpr std::uint32_t kErrorSectionBusy = 0x10003;
constexpr std::uint32_t kErrorSectionNotOwned = 0x10004;
constexpr std::uint32_t kErrorIndexOutOfRange = 0x10006;
constexpr std::uint32_t kErrorNoInterface = 0x80004002u;

class IInterface {
 public:
  virtual HRESULT QueryInterface(REFIID iid, void **object) = 0;
  virtual std::int32_t AddRef() = 0;
  virtual std::int32_t Release() = 0;

 protected:
  ~IInterface() = default;
};

class IBasic : public virtual IInterface {
 public:
  static constexpr GUID kIid = IID_IBasic;

  virtual bool Supports(REFIID iid) = 0;
  virtual bool GetInterface(REFIID iid, void **object) = 0;
  virtual TIBasic *SelfObject() = 0;
  virtual bool IsValid() = 0;
  virtual bool Success() = 0;
  virtual std::uint32_t LastErrorNo() = 0;
  virtual std::string LastErrorStr() = 0;
  virtual bool SetLastErrorNo(std::uint32_t code) = 0;
  virtual void SetLastErrorStr(const std::string &text) = 0;
  virtual void SetLastError(std::uint32_t code, const std::string &text) = 0;
  virtual std::string Tag() = 0;
  virtual void SetTag(const std::string &tag) = 0;
  virtual std::uint32_t Data() = 0;
  virtual void SetData(std::uint32_t value) = 0;
  virtual void SetData(std::uint32_t value, TDataFreeProc freeProc) = 0;
  virtual void SetData(std::uint32_t value, TDataFreeMethod freeMethod) = 0;
  virtual std::int32_t IndexIn(IList *list) = 0;
  virtual std::int32_t OldIndexIn(IList *list) = 0;
  virtual TChangeType ChangeTypeIn(IList *list) = 0;
  virtual bool SelectedIn(IList *list) = 0;
  virtual bool CurrentIn(IList *list) = 0;
  virtual bool MarkedIn(IList *list) = 0;
  virtual void SetSelectedIn(IList *list, bool selected) = 0;
  virtual void SetCurrentIn(IList *list, bool current) = 0;
  virtual void SetMarkedIn(IList *list, bool marked) = 0;

 protected:
  ~IBasic() = default;
};

// What an item knows about one list it belongs to.
struct TListMembership {
  TIList *list = nullptr;
  std::int32_t index = -1;
  std::int32_t oldIndex = -1;
  TChangeType changeType = lctUnchanged;
  bool selected = false;
  bool current = false;
  bool marked = false;
};

class TIBasic : public virtual IBasic {
 public:
  // A valid object.
  TIBasic();
  // An invalid placeholder that carries why it could not be had.
  TIBasic(std::uint32_t errorNo, const std::string &errorText);
  TIBasic(const TIBasic &) = delete;
  TIBasic &operator=(const TIBasic &) = delete;
  virtual ~TIBasic();

  HRESULT QueryInterface(REFIID iid, void **object) override;
  std::int32_t AddRef() override;
  std::int32_t Release() override;

  // Ends construction: the count held while constructing is dropped.
  void AfterConstruction();
  // Destroys the object; refused with an exception while references remain.
  void Destroy();
  std::int32_t RefCount() const { return refCount_; }

  bool Supports(REFIID iid) override;
  bool GetInterface(REFIID iid, void **object) override;
  TIBasic *SelfObject() override;
  bool IsValid() override;
  bool Success() override;
  std::uint32_t LastErrorNo() override;
  std::string LastErrorStr() override;
  bool SetLastErrorNo(std::uint32_t code) override;
  void SetLastErrorStr(const std::string &text) override;
  void SetLastError(std::uint32_t code, const std::string &text) override;
  std::string Tag() override;
  void SetTag(const std::string &tag) override;
  std::uint32_t Data() override;
  void SetData(std::uint32_t value) override;
  void SetData(std::uint32_t value, TDataFreeProc freeProc) override;
  void SetData(std::uint32_t value, TDataFreeMethod freeMethod) override;
  std::int32_t IndexIn(IList *list) override;
  std::int32_t OldIndexIn(IList *list) override;
  TChangeType ChangeTypeIn(IList *list) override;
  bool SelectedIn(IList *list) override;
  bool CurrentIn(IList *list) override;
  bool MarkedIn(IList *list) override;
  void SetSelectedIn(IList *list, bool selected) override;
  void SetCurrentIn(IList *list, bool current) override;
  void SetMarkedIn(IList *list, bool marked) override;

  // Membership bookkeeping, for the lists.
  TListMembership *MembershipIn(const TIList *list);
  TListMembership *AddMembership(TIList *list);
  void RemoveMembership(const TListMembership *membership);
  void ApplySelected(TListMembership &membership, bool selected);
  void ApplyCurrent(TListMembership &membership, bool current);

 protected:
  virtual IBasic *MainInterface();
  // The interface of this object for an identifier, or null; no reference taken.
  virtual void *FindInterface(REFIID iid);
  // Runs while the object is still whole, before the destructors.
  virtual void BeforeDestroy() {}
  // First step of an operation: success on a valid object, else error 0x10001.
  bool CheckValid();
  void SetValid(bool valid) { valid_ = valid; }

 private:
  TListMembership *RecordFor(IList *list);
  void FreeData();

  volatile LONG refCount_ = 1;
  bool valid_ = true;
  bool success_ = true;
  std::uint32_t lastErrorNo_ = 0;
  std::string lastErrorStr_;
  std::string tag_;
  std::uint32_t data_ = 0;
  TDataFreeProc dataFreeProc_ = nullptr;
  TDataFreeMethod dataFreeMethod_;
  std::vector<std::unique_ptr<TListMembership>> memberships_;
  bool destroying_ = false;
};

// Creates an object of the layer and hands out its first counted reference.
template <class T, class... Args>
IPtr<T> MakeObject(Args &&...args) {
  auto object = std::make_unique<T>(std::forward<Args>(args)...);
  object->AfterConstruction();
  IPtr<T> reference(object.get());
  object.release();  // owned by its reference count from here on
  return reference;
}

// The interface I of an object, or null when it has none.
template <class I>
IPtr<I> InterfaceOf(IBasic *object) {
  void *found = nullptr;
  if (!object || !object->GetInterface(I::kIid, &found)) return nullptr;
  return IPtr<I>::Adopt(static_cast<I *>(found));
}
