// The generic list of the layer: count and capacity, selection and current
// item, a linked item, sort settings, and its own re-entrant lock, held for the
// duration of every operation.
#pragma once

#include <cstdint>

#include "security/basic.h"
#include "security/critical_section.h"

class IList : public virtual IBasic {
 public:
  static constexpr GUID kIid = IID_IList;

  virtual std::int32_t Count() = 0;
  virtual std::int32_t Capacity() = 0;
  virtual void Pack() = 0;
  virtual bool SortAscending() = 0;
  virtual std::int32_t SortParam() = 0;
  virtual void SetSortAscending(bool ascending) = 0;
  virtual void SetSortParam(std::int32_t param) = 0;
  virtual void Lock() = 0;
  virtual void Unlock() = 0;
  virtual std::int32_t SelectedCount() = 0;
  virtual IPtr<IBasic> CurrentItem() = 0;
  virtual IPtr<IBasic> LinkedItem() = 0;
  virtual void SetLinkedItem(IBasic *item) = 0;

 protected:
  ~IList() = default;
};

// Holds a list's lock for a scope, released also when an exception passes.
class ListLock {
 public:
  explicit ListLock(IList &list) : list_(list) { list_.Lock(); }
  ~ListLock() { list_.Unlock(); }
  ListLock(const ListLock &) = delete;
  ListLock &operator=(const ListLock &) = delete;

 private:
  IList &list_;
};

class TIList : public TIBasic, public virtual IList {
 public:
  TIList();
  TIList(std::uint32_t errorNo, const std::string &errorText);

  std::int32_t Count() override;
  std::int32_t Capacity() override;
  void Lock() override;
  void Unlock() override;
  std::int32_t SelectedCount() override;
  IPtr<IBasic> CurrentItem() override;
  IPtr<IBasic> LinkedItem() override;
  void SetLinkedItem(IBasic *item) override;

  // Removes every item.
  virtual void Clear();
  // Shrinks or grows the storage; items past the new end are deleted first.
  virtual void SetCapacity(std::int32_t capacity) = 0;
  virtual bool Delete(std::int32_t index) = 0;

  // Bookkeeping the items' membership flags drive.
  void ChangeSelectedCount(std::int32_t delta);
  void ReplaceCurrentItem(IBasic *item);
  bool HoldsAsCurrent(TIBasic *object);

 protected:
  IBasic *MainInterface() override;
  void *FindInterface(REFIID iid) override;

  // Declared first so that it is released last.
  IPtr<ICriticalSection> lock_;
  std::int32_t count_ = 0;
  std::int32_t capacity_ = 0;
  std::int32_t selectedCount_ = 0;
  IPtr<IBasic> currentItem_;
  IPtr<IBasic> linkedItem_;
};
