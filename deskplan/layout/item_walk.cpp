#include "deskplan/layout/item_walk.h"

#include <utility>

#include "common/os_error.h"
#include "deskplan/layout/used_names.h"
#include "deskplan/view/desktop_view_search.h"
#include "deskplan/view/shared_item_area.h"

namespace {

const POINT kNoPosition = {-1, -1};

void VisitNamed(UsedNames &used, const ItemVisit &visit, int index, const std::string &caption, POINT position) {
  const std::string name = UniqueValueName(caption, used);
  if (visit(WalkedItem{index, caption, name, position}) == NameUse::Taken) used.Add(name);
}

// A view gives every item it holds, also one without a caption: a whole batch
// it gives nothing of lies past its items (its count said more than it holds)
// or finds the view emptied or gone. The walk ends there rather than ask for
// every item counted, and the check below tells which it was.
bool NoItemReadable(const std::vector<RemoteItem> &items) {
  for (const RemoteItem &item : items)
    if (item.readable) return false;
  return true;
}

// A walk reads the item count once; an item the view then cannot give
// although its index is below that count means, when the view has gone with
// its process (ERROR_INVALID_WINDOW_HANDLE) or now counts otherwise
// (ERROR_RETRY), that the walk broke off or that items went away (or the
// shell refilled its view) during it: what the walk read is not the desktop.
// A skipped item of an unchanged view is one without a caption.
void CheckWalkSawOneDesktop(HWND view, int countAtStart, bool itemSkipped) {
  if (!itemSkipped) return;
  if (!IsWindow(view)) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    RaiseLastOsError();
  }
  if (ReadItemCount(view) == countAtStart) return;
  SetLastError(ERROR_RETRY);
  RaiseLastOsError();
}

}  // namespace

void WalkItems(HWND view, RemoteItemChannel &channel, ItemQuery query, KeptCaptions *kept, ItemVisit visit) {
  UsedNames used;
  const int count = ReadItemCount(view);
  if (kept && kept->whole && kept->captions.size() == static_cast<std::size_t>(count)) {
    for (int index = 0; index < count; ++index) VisitNamed(used, visit, index, kept->captions[index], kNoPosition);
    return;
  }
  if (kept) *kept = KeptCaptions();
  bool skipped = false;
  for (int first = 0; first < count; first += kItemBatchSize) {
    std::vector<RemoteItem> items = channel.ReadItems(first, count - first, query);
    if (NoItemReadable(items)) {
      skipped = true;
      break;
    }
    for (std::size_t slot = 0; slot < items.size(); ++slot) {
      if (!items[slot].readable) {
        skipped = true;
        continue;
      }
      VisitNamed(used, visit, first + static_cast<int>(slot), items[slot].caption, items[slot].position);
      if (kept) kept->captions.push_back(std::move(items[slot].caption));
    }
  }
  if (kept) kept->whole = !skipped && kept->captions.size() == static_cast<std::size_t>(count);
  CheckWalkSawOneDesktop(view, count, skipped);
}

void WalkItems(HWND view, SharedItemArea &area, ItemVisit visit) {
  const int count = ReadItemCount(view);
  bool skipped = false;
  for (int index = 0; index < count; ++index) {
    std::string caption;
    POINT position;
    if (!area.ReadItem(view, index, caption, position)) {
      skipped = true;
      continue;
    }
    visit(WalkedItem{index, caption, caption, position});
  }
  CheckWalkSawOneDesktop(view, count, skipped);
}

void WalkItems(const std::vector<DesktopShellItem> &items, ItemVisit visit) {
  UsedNames used;
  for (std::size_t index = 0; index < items.size(); ++index)
    VisitNamed(used, visit, static_cast<int>(index), items[index].name, kNoPosition);
}
