#include "security/list.h"

TIList::TIList() : lock_(MakeObject<TICriticalSection>()) {}

TIList::TIList(std::uint32_t errorNo, const std::string &errorText)
    : TIBasic(errorNo, errorText), lock_(MakeObject<TICriticalSection>()) {}

IBasic *TIList::MainInterface() { return static_cast<IList *>(this); }

void *TIList::FindInterface(REFIID iid) {
  if (SameIid(iid, IID_IList)) return static_cast<IList *>(this);
  return TIBasic::FindInterface(iid);
}

void TIList::Lock() { lock_->Enter(); }
void TIList::Unlock() { lock_->Leave(); }

std::int32_t TIList::Count() {
  ListLock guard(*this);
  return count_;
}

std::int32_t TIList::Capacity() {
  ListLock guard(*this);
  return capacity_;
}

std::int32_t TIList::SelectedCount() {
  ListLock guard(*this);
  return selectedCount_;
}

IPtr<IBasic> TIList::CurrentItem() {
  ListLock guard(*this);
  return currentItem_;
}

IPtr<IBasic> TIList::LinkedItem() {
  ListLock guard(*this);
  return linkedItem_;
}

void TIList::SetLinkedItem(IBasic *item) {
  ListLock guard(*this);
  linkedItem_ = IPtr<IBasic>(item);
}

void TIList::Clear() { SetCapacity(0); }

void TIList::ChangeSelectedCount(std::int32_t delta) {
  ListLock guard(*this);
  selectedCount_ += delta;
}

void TIList::ReplaceCurrentItem(IBasic *item) {
  ListLock guard(*this);
  currentItem_ = IPtr<IBasic>(item);
}

bool TIList::HoldsAsCurrent(TIBasic *object) {
  ListLock guard(*this);
  return currentItem_ && currentItem_->SelfObject() == object;
}
