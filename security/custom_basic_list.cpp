#include "security/custom_basic_list.h"

#include <utility>

#include "security/layer_error.h"

TICustomBasicList::TICustomBasicList() = default;

TICustomBasicList::TICustomBasicList(std::uint32_t errorNo, const std::string &errorText)
    : TIList(errorNo, errorText) {}

IBasic *TICustomBasicList::MainInterface() { return static_cast<ICustomBasicList *>(this); }

void *TICustomBasicList::FindInterface(REFIID iid) {
  if (SameIid(iid, IID_ICustomBasicList)) return static_cast<ICustomBasicList *>(this);
  return TIList::FindInterface(iid);
}

void TICustomBasicList::BeforeDestroy() {
  ListLock guard(*this);
  SetCapacity(0);
}

void TICustomBasicList::Notify(IBasic *item, bool beforeChange, TChangeType changeType, std::int32_t oldIndex,
                               std::int32_t index) {
  // Copies, so that a handler may unregister itself.
  auto procs = changeProcs_;
  auto methods = changeMethods_;
  for (auto proc : procs) proc(this, item, beforeChange, changeType, oldIndex, index);
  for (auto &method : methods) method.code(method.object, this, item, beforeChange, changeType, oldIndex, index);
}

void TICustomBasicList::Resize(std::int32_t capacity) {
  items_.resize(static_cast<size_t>(capacity));
  itemMemberships_.resize(static_cast<size_t>(capacity), nullptr);
  capacity_ = capacity;
}

void TICustomBasicList::GrowWhenFull() {
  if (count_ < capacity_) return;
  Resize(capacity_ > 7 ? capacity_ + capacity_ / 2 : 16);
}

void TICustomBasicList::SetCapacity(std::int32_t capacity) {
  ListLock guard(*this);
  if (capacity < 0) {
    SetLastError(kErrorInvalidIndex, "Invalid index.");
    return;
  }
  for (std::int32_t i = count_ - 1; i >= capacity; --i) Delete(i);
  // A Delete that refused leaves items behind: they leave the list all the same.
  for (std::int32_t i = capacity; i < count_; ++i) {
    if (items_[i] && itemMemberships_[i]) items_[i]->SelfObject()->RemoveMembership(itemMemberships_[i]);
    itemMemberships_[i] = nullptr;
  }
  Resize(capacity);
  if (count_ > capacity) count_ = capacity;
}

void TICustomBasicList::Pack() {
  ListLock guard(*this);
  for (std::int32_t i = count_ - 1; i >= 0; --i)
    if (!items_[i]) Delete(i);
  SetCapacity(count_);
}

std::int32_t TICustomBasicList::Add(IBasic *item) {
  ListLock guard(*this);
  if (!CheckValid()) return -1;
  if (!item) {
    SetLastError(ERROR_INVALID_PARAMETER, std::string());
    return -1;
  }
  TIBasic *object = item->SelfObject();
  if (TListMembership *present = object->MembershipIn(this)) return present->index;
  if (sortFunc_ && count_ > 0) {
    std::int32_t position = count_;
    for (std::int32_t i = 0; i < count_; ++i) {
      IBasic *existing = items_[i].get();
      std::int32_t order = sortAscending_ ? sortFunc_(this, existing, item, sortParam_)
                                          : sortFunc_(this, item, existing, sortParam_);
      if (order >= 0) {
        position = i;
        break;
      }
    }
    return Insert(item, position);
  }
  return PlaceItem(item, count_);
}

std::int32_t TICustomBasicList::Insert(IBasic *item, std::int32_t index) {
  ListLock guard(*this);
  if (!CheckValid()) return -1;
  if (!item) {
    SetLastError(ERROR_INVALID_PARAMETER, std::string());
    return -1;
  }
  if (index < 0) {
    SetLastError(kErrorInvalidIndex, "Invalid index.");
    return -1;
  }
  TIBasic *object = item->SelfObject();
  // One record per list: an item already here stays where it is.
  if (TListMembership *present = object->MembershipIn(this)) return present->index;
  if (index > count_) index = count_;
  return PlaceItem(item, index);
}

std::int32_t TICustomBasicList::PlaceItem(IBasic *item, std::int32_t index) {
  TIBasic *object = item->SelfObject();
  IPtr<IBasic> hold(item);
  Notify(item, true, lctNew, -1, index);
  GrowWhenFull();
  for (std::int32_t i = count_ - 1; i >= index; --i) {
    items_[i + 1] = std::move(items_[i]);
    TListMembership *shifted = itemMemberships_[i];
    if (shifted) {
      shifted->oldIndex = shifted->index;
      shifted->index = i + 1;
    }
    itemMemberships_[i + 1] = shifted;
  }
  items_[index] = hold;
  TListMembership *record = object->AddMembership(this);
  record->index = index;
  record->changeType = lctNew;
  itemMemberships_[index] = record;
  ++count_;
  Notify(item, false, lctNew, -1, index);
  return index;
}

bool TICustomBasicList::Delete(std::int32_t index) {
  ListLock guard(*this);
  if (!CheckValid()) return false;
  if (index < 0 || index >= count_) {
    SetLastError(kErrorInvalidIndex, "Invalid index.");
    return false;
  }
  // Kept alive until its record is gone, even when the list held the last reference.
  IPtr<IBasic> item = items_[index];
  TListMembership *record = itemMemberships_[index];
  Notify(item.get(), true, lctDeleted, index, -1);
  TIBasic *object = item ? item->SelfObject() : nullptr;
  if (object && record) {
    object->ApplySelected(*record, false);
    object->ApplyCurrent(*record, false);
    record->marked = false;
    record->changeType = lctDeleted;
    record->oldIndex = index;
    record->index = -1;
  }
  for (std::int32_t i = index + 1; i < count_; ++i) {
    items_[i - 1] = std::move(items_[i]);
    TListMembership *shifted = itemMemberships_[i];
    if (shifted) {
      shifted->oldIndex = shifted->index;
      shifted->index = i - 1;
    }
    itemMemberships_[i - 1] = shifted;
  }
  items_[count_ - 1].reset();
  itemMemberships_[count_ - 1] = nullptr;
  --count_;
  Notify(item.get(), false, lctDeleted, index, -1);
  if (object && record) object->RemoveMembership(record);
  return true;
}

IPtr<IBasic> TICustomBasicList::Items(std::int32_t index) {
  ListLock guard(*this);
  if (index < 0 || index >= count_) throw SecurityLayerError("Index out of range.");
  return items_[index];
}

void TICustomBasicList::MarkAllDeleted() {
  ListLock guard(*this);
  for (std::int32_t i = 0; i < count_; ++i)
    if (itemMemberships_[i]) itemMemberships_[i]->changeType = lctDeleted;
}

void TICustomBasicList::PurgeDeleted() {
  ListLock guard(*this);
  for (std::int32_t i = count_ - 1; i >= 0; --i)
    if (!itemMemberships_[i] || itemMemberships_[i]->changeType == lctDeleted) Delete(i);
}

bool TICustomBasicList::SortAscending() {
  ListLock guard(*this);
  return sortAscending_;
}

std::int32_t TICustomBasicList::SortParam() {
  ListLock guard(*this);
  return sortParam_;
}

TListSortFunc TICustomBasicList::SortFunc() {
  ListLock guard(*this);
  return sortFunc_;
}

bool TICustomBasicList::GetSort(TListSortFunc &func, bool &ascending, std::int32_t &param) {
  ListLock guard(*this);
  func = sortFunc_;
  ascending = sortAscending_;
  param = sortParam_;
  return func != nullptr;
}

void TICustomBasicList::SetSortFunc(TListSortFunc func) {
  ListLock guard(*this);
  Sort(func, true, sortParam_);
}

void TICustomBasicList::SetSortAscending(bool ascending) {
  ListLock guard(*this);
  Sort(sortFunc_, ascending, sortParam_);
}

void TICustomBasicList::SetSortParam(std::int32_t param) {
  ListLock guard(*this);
  Sort(sortFunc_, sortAscending_, param);
}

std::int32_t TICustomBasicList::Compare(IBasic *item1, IBasic *item2) {
  return sortAscending_ ? sortFunc_(this, item1, item2, sortParam_) : sortFunc_(this, item2, item1, sortParam_);
}

void TICustomBasicList::QuickSort(std::int32_t left, std::int32_t right, bool &moved) {
  std::int32_t i;
  do {
    i = left;
    std::int32_t j = right;
    // Held: swaps move the pivot's slot, not the pivot.
    IPtr<IBasic> pivot = items_[(left + right) / 2];
    do {
      while (Compare(items_[i].get(), pivot.get()) < 0) ++i;
      while (Compare(items_[j].get(), pivot.get()) > 0) --j;
      if (i <= j) {
        if (i != j) {
          std::swap(items_[i], items_[j]);
          std::swap(itemMemberships_[i], itemMemberships_[j]);
          moved = true;
        }
        ++i;
        --j;
      }
    } while (i <= j);
    if (left < j) QuickSort(left, j, moved);
    left = i;
  } while (i < right);
}

void TICustomBasicList::Sort(TListSortFunc func, bool ascending, std::int32_t param) {
  ListLock guard(*this);
  if (!CheckValid()) return;
  sortFunc_ = func;
  sortAscending_ = ascending;
  sortParam_ = param;
  // Sorted again even with unchanged settings: an Insert at a given index can
  // have put an item out of order.
  if (!sortFunc_ || count_ < 1) return;
  bool moved = false;
  QuickSort(0, count_ - 1, moved);
  if (!moved) return;
  for (std::int32_t i = 0; i < count_; ++i)
    if (TListMembership *record = itemMemberships_[i]) {
      record->oldIndex = record->index;
      record->index = i;
    }
}

void TICustomBasicList::AddChangeProc(TIListChangeProc proc) {
  ListLock guard(*this);
  if (!proc) return;
  for (auto known : changeProcs_)
    if (known == proc) return;
  changeProcs_.push_back(proc);
}

void TICustomBasicList::AddChangeMethod(TIListChangeMethod method) {
  ListLock guard(*this);
  if (!method.code) return;
  for (auto &known : changeMethods_)
    if (known == method) return;
  changeMethods_.push_back(method);
}

namespace {
// Removes every match; the last entry moves into each freed place.
template <class T>
bool RemoveAll(std::vector<T> &entries, const T &unwanted) {
  bool found = false;
  for (size_t i = 0; i < entries.size();) {
    if (entries[i] == unwanted) {
      entries[i] = entries.back();
      entries.pop_back();
      found = true;
    } else {
      ++i;
    }
  }
  return found;
}
}  // namespace

bool TICustomBasicList::DelChangeProc(TIListChangeProc proc) {
  ListLock guard(*this);
  if (!CheckValid()) return false;
  if (RemoveAll(changeProcs_, proc)) return true;
  SetLastError(ERROR_FILE_NOT_FOUND, std::string());
  return false;
}

bool TICustomBasicList::DelChangeMethod(TIListChangeMethod method) {
  ListLock guard(*this);
  if (!CheckValid()) return false;
  if (RemoveAll(changeMethods_, method)) return true;
  SetLastError(ERROR_FILE_NOT_FOUND, std::string());
  return false;
}
