// The list of counted items: membership records kept in the items, sorted
// insertion, change notifications, deletion marks and quicksort.
#pragma once

#include <cstdint>
#include <vector>

#include "security/list.h"

class ICustomBasicList;

using TListSortFunc = std::int32_t (*)(ICustomBasicList *list, IBasic *item1, IBasic *item2, std::int32_t sortParam);

using TIListChangeProc = void (*)(ICustomBasicList *list, IBasic *item, bool beforeChange, TChangeType changeType,
                                  std::int32_t oldIndex, std::int32_t index);
// A change handler as a method: code called with its object.
struct TIListChangeMethod {
  void (*code)(void *object, ICustomBasicList *list, IBasic *item, bool beforeChange, TChangeType changeType,
               std::int32_t oldIndex, std::int32_t index) = nullptr;
  void *object = nullptr;

  bool operator==(const TIListChangeMethod &other) const { return code == other.code && object == other.object; }
};

// A change method that calls Member on object.
template <class C, void (C::*Member)(ICustomBasicList *, IBasic *, bool, TChangeType, std::int32_t, std::int32_t)>
TIListChangeMethod ChangeMethodOf(C *object) {
  TIListChangeMethod method;
  method.code = [](void *self, ICustomBasicList *list, IBasic *item, bool before, TChangeType type,
                   std::int32_t oldIndex, std::int32_t index) {
    (static_cast<C *>(self)->*Member)(list, item, before, type, oldIndex, index);
  };
  method.object = object;
  return method;
}

class ICustomBasicList : public virtual IList {
 public:
  static constexpr GUID kIid = IID_ICustomBasicList;

  // Raises "Index out of range." outside 0..Count-1.
  virtual IPtr<IBasic> Items(std::int32_t index) = 0;
  virtual TListSortFunc SortFunc() = 0;
  virtual void SetSortFunc(TListSortFunc func) = 0;
  virtual bool GetSort(TListSortFunc &func, bool &ascending, std::int32_t &param) = 0;
  virtual void Sort(TListSortFunc func, bool ascending, std::int32_t param) = 0;
  virtual void AddChangeProc(TIListChangeProc proc) = 0;
  virtual void AddChangeMethod(TIListChangeMethod method) = 0;
  virtual bool DelChangeProc(TIListChangeProc proc) = 0;
  virtual bool DelChangeMethod(TIListChangeMethod method) = 0;

 protected:
  ~ICustomBasicList() = default;
};

class TICustomBasicList : public TIList, public virtual ICustomBasicList {
 public:
  TICustomBasicList();
  TICustomBasicList(std::uint32_t errorNo, const std::string &errorText);

  void Pack() override;
  bool SortAscending() override;
  std::int32_t SortParam() override;
  void SetSortAscending(bool ascending) override;
  void SetSortParam(std::int32_t param) override;
  void SetCapacity(std::int32_t capacity) override;
  bool Delete(std::int32_t index) override;

  IPtr<IBasic> Items(std::int32_t index) override;
  TListSortFunc SortFunc() override;
  void SetSortFunc(TListSortFunc func) override;
  bool GetSort(TListSortFunc &func, bool &ascending, std::int32_t &param) override;
  void Sort(TListSortFunc func, bool ascending, std::int32_t param) override;
  // Appends (or inserts in sort order) and answers the item's index, -1 on failure.
  virtual std::int32_t Add(IBasic *item);
  virtual std::int32_t Insert(IBasic *item, std::int32_t index);
  virtual void MarkAllDeleted();
  virtual void PurgeDeleted();
  void AddChangeProc(TIListChangeProc proc) override;
  void AddChangeMethod(TIListChangeMethod method) override;
  bool DelChangeProc(TIListChangeProc proc) override;
  bool DelChangeMethod(TIListChangeMethod method) override;

 protected:
  IBasic *MainInterface() override;
  void *FindInterface(REFIID iid) override;
  void BeforeDestroy() override;

  void Notify(IBasic *item, bool beforeChange, TChangeType changeType, std::int32_t oldIndex, std::int32_t index);

 private:
  void GrowWhenFull();
  // Puts a new item at index (0 to count), shifting the ones behind it, with
  // its record and the notifications before and after.
  std::int32_t PlaceItem(IBasic *item, std::int32_t index);
  void Resize(std::int32_t capacity);
  std::int32_t Compare(IBasic *item1, IBasic *item2);
  void QuickSort(std::int32_t left, std::int32_t right, bool &moved);

  std::vector<TIListChangeProc> changeProcs_;
  std::vector<TIListChangeMethod> changeMethods_;
  std::vector<IPtr<IBasic>> items_;
  std::vector<TListMembership *> itemMemberships_;
  TListSortFunc sortFunc_ = nullptr;
  bool sortAscending_ = true;
  std::int32_t sortParam_ = 0;
};
