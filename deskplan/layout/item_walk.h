// One walk over the desktop's items, for a save, each restore pass and the
// placement through the folder view: every readable item in the view's order
// with its caption, its value name and, when asked for, its position.
#pragma once

#include <string>
#include <type_traits>
#include <vector>

#include <windows.h>

#include "deskplan/view/desktop_folder_view.h"
#include "deskplan/view/remote_item_channel.h"

class SharedItemArea;

struct WalkedItem {
  int index;
  const std::string &caption;
  const std::string &name;  // the caption, made distinct from the names taken before it
  POINT position;           // (-1, -1) unless the walk asked for positions
};

// What the visitor did with the item's value name: taken (an equal caption
// later in the walk gets the next suffix) or passed over (it stays free).
enum class NameUse { Taken, PassedOver };

// A reference to the caller's visitor, called for each item.
class ItemVisit {
 public:
  template <class Visitor, class = std::enable_if_t<!std::is_same_v<std::decay_t<Visitor>, ItemVisit>>>
  ItemVisit(Visitor &&visitor)  // NOLINT: made from a lambda at each call
      : visitor_(&visitor), call_([](void *v, const WalkedItem &item) {
          return (*static_cast<std::remove_reference_t<Visitor> *>(v))(item);
        }) {}
  NameUse operator()(const WalkedItem &item) const { return call_(visitor_, item); }

 private:
  void *visitor_;
  NameUse (*call_)(void *, const WalkedItem &);
};

// The captions a walk read, kept so that a later walk of a view that still
// holds as many items needs not ask for them again. Only a walk that read
// every item is kept.
struct KeptCaptions {
  std::vector<std::string> captions;  // by index
  bool whole = false;
};

// Cross-process method, a batch at a time. A view that stops giving its items
// part-way, goes away or changes its count raises OsError after the walk, as
// does a failed memory copy; `kept` (optional) gives or receives the captions.
void WalkItems(HWND view, RemoteItemChannel &channel, ItemQuery query, KeptCaptions *kept, ItemVisit visit);
// Shared-area method: the value name is the caption as it is, as that
// method has always stored it.
void WalkItems(HWND view, SharedItemArea &area, ItemVisit visit);
// The folder view's items, named by the same rule as the list view's.
void WalkItems(const std::vector<DesktopShellItem> &items, ItemVisit visit);
