#include "security/basic.h"

#include "security/error_text.h"
#include "security/layer_error.h"
#include "security/list.h"

TIBasic::TIBasic() = default;

TIBasic::TIBasic(std::uint32_t errorNo, const std::string &errorText) : valid_(false) {
  SetLastError(errorNo, errorText);
}

TIBasic::~TIBasic() = default;

HRESULT TIBasic::QueryInterface(REFIID iid, void **object) {
  *object = FindInterface(iid);
  if (!*object) {
    SetLastError(kErrorNoInterface, std::string());
    return E_NOINTERFACE;
  }
  AddRef();
  return S_OK;
}

std::int32_t TIBasic::AddRef() { return InterlockedIncrement(&refCount_); }

std::int32_t TIBasic::Release() {
  std::int32_t count = InterlockedDecrement(&refCount_);
  // References taken and dropped while the object dies must not kill it twice.
  if (count == 0 && !destroying_) Destroy();
  return count;
}

void TIBasic::AfterConstruction() { InterlockedDecrement(&refCount_); }

void TIBasic::Destroy() {
  if (refCount_ != 0) throw SecurityLayerError("Interface with reference count >0 destroyed.");
  destroying_ = true;
  FreeData();
  BeforeDestroy();
  std::unique_ptr<TIBasic> dying(this);
}

IBasic *TIBasic::MainInterface() { return this; }

void *TIBasic::FindInterface(REFIID iid) {
  if (SameIid(iid, IID_IBasic) || SameIid(iid, IID_IInterfaceOfLayer)) return static_cast<IBasic *>(this);
  return nullptr;
}

bool TIBasic::Supports(REFIID iid) {
  if (!FindInterface(iid)) {
    SetLastError(kErrorNoInterface, std::string());
    return false;
  }
  success_ = true;
  return true;
}

bool TIBasic::GetInterface(REFIID iid, void **object) {
  *object = FindInterface(iid);
  if (!*object) return false;
  AddRef();
  return true;
}

TIBasic *TIBasic::SelfObject() { return this; }
bool TIBasic::IsValid() { return valid_; }
bool TIBasic::Success() { return success_; }
std::uint32_t TIBasic::LastErrorNo() { return lastErrorNo_; }

std::string TIBasic::LastErrorStr() {
  if (lastErrorStr_.empty() && lastErrorNo_ != 0) lastErrorStr_ = ErrorText(lastErrorNo_);
  return lastErrorStr_;
}

bool TIBasic::SetLastErrorNo(std::uint32_t code) {
  lastErrorNo_ = code;
  if (code == 0) lastErrorStr_.clear();
  success_ = code == 0;
  return success_;
}

void TIBasic::SetLastErrorStr(const std::string &text) {
  lastErrorStr_ = text;
  if (text.empty()) lastErrorNo_ = 0;
  success_ = lastErrorNo_ == 0;
}

void TIBasic::SetLastError(std::uint32_t code, const std::string &text) {
  lastErrorNo_ = code;
  lastErrorStr_ = text;
  success_ = code == 0;
}

bool TIBasic::CheckValid() {
  if (!valid_) {
    SetLastError(kErrorInvalidObject, "This object is invalid.");
    return false;
  }
  success_ = true;
  return true;
}

std::string TIBasic::Tag() { return tag_; }
void TIBasic::SetTag(const std::string &tag) { tag_ = tag; }
std::uint32_t TIBasic::Data() { return data_; }

void TIBasic::FreeData() {
  if (!valid_ || data_ == 0) return;
  if (dataFreeProc_)
    dataFreeProc_(&data_);
  else if (dataFreeMethod_.code)
    dataFreeMethod_.code(dataFreeMethod_.object, &data_);
}

void TIBasic::SetData(std::uint32_t value) {
  FreeData();
  data_ = value;
}

void TIBasic::SetData(std::uint32_t value, TDataFreeProc freeProc) {
  FreeData();
  data_ = value;
  dataFreeProc_ = freeProc;
  dataFreeMethod_ = TDataFreeMethod();
}

void TIBasic::SetData(std::uint32_t value, TDataFreeMethod freeMethod) {
  FreeData();
  data_ = value;
  dataFreeMethod_ = freeMethod;
  dataFreeProc_ = nullptr;
}

TListMembership *TIBasic::MembershipIn(const TIList *list) {
  for (auto &membership : memberships_)
    if (membership->list == list) return membership.get();
  return nullptr;
}

TListMembership *TIBasic::AddMembership(TIList *list) {
  memberships_.push_back(std::make_unique<TListMembership>());
  memberships_.back()->list = list;
  return memberships_.back().get();
}

void TIBasic::RemoveMembership(const TListMembership *membership) {
  for (auto it = memberships_.begin(); it != memberships_.end(); ++it)
    if (it->get() == membership) {
      memberships_.erase(it);
      return;
    }
}

void TIBasic::ApplySelected(TListMembership &membership, bool selected) {
  if (membership.selected == selected) return;
  membership.selected = selected;
  membership.list->ChangeSelectedCount(selected ? 1 : -1);
}

void TIBasic::ApplyCurrent(TListMembership &membership, bool current) {
  membership.current = current;
  if (current)
    membership.list->ReplaceCurrentItem(MainInterface());
  else if (membership.list->HoldsAsCurrent(this))
    membership.list->ReplaceCurrentItem(nullptr);
}

// The record for a list, after the validity check; error 2 when not a member.
TListMembership *TIBasic::RecordFor(IList *list) {
  if (!CheckValid()) return nullptr;
  TListMembership *record = nullptr;
  for (auto &membership : memberships_)
    if (static_cast<IList *>(membership->list) == list) record = membership.get();
  if (!record) SetLastError(ERROR_FILE_NOT_FOUND, std::string());
  return record;
}

std::int32_t TIBasic::IndexIn(IList *list) {
  auto *record = RecordFor(list);
  return record ? record->index : -1;
}

std::int32_t TIBasic::OldIndexIn(IList *list) {
  auto *record = RecordFor(list);
  return record ? record->oldIndex : -1;
}

TChangeType TIBasic::ChangeTypeIn(IList *list) {
  auto *record = RecordFor(list);
  return record ? record->changeType : lctUnchanged;
}

bool TIBasic::SelectedIn(IList *list) {
  auto *record = RecordFor(list);
  return record && record->selected;
}

bool TIBasic::CurrentIn(IList *list) {
  auto *record = RecordFor(list);
  return record && record->current;
}

bool TIBasic::MarkedIn(IList *list) {
  auto *record = RecordFor(list);
  return record && record->marked;
}

void TIBasic::SetSelectedIn(IList *list, bool selected) {
  if (auto *record = RecordFor(list)) ApplySelected(*record, selected);
}

void TIBasic::SetCurrentIn(IList *list, bool current) {
  if (auto *record = RecordFor(list)) ApplyCurrent(*record, current);
}

void TIBasic::SetMarkedIn(IList *list, bool marked) {
  if (auto *record = RecordFor(list)) record->marked = marked;
}
