#include "deskplan/view/view_observer.h"

#include <algorithm>

#include "common/os_error.h"
#include "deskplan/app/program_state.h"
#include "deskplan/view/desktop_view_search.h"
#include "deskplan/view/remote_item_channel.h"

bool ViewSnapshot::operator==(const ViewSnapshot &other) const {
  return view == other.view && count == other.count &&
         std::equal(positions.begin(), positions.end(), other.positions.begin(), other.positions.end(),
                    [](const POINT &a, const POINT &b) { return a.x == b.x && a.y == b.y; });
}

ViewObserver::ViewObserver(bool watchPositions) : watchPositions_(watchPositions && !AppOptions.legacyMode) {}

ViewObserver::~ViewObserver() = default;

ViewSnapshot ViewObserver::Look() {
  ViewSnapshot snapshot;
  snapshot.view = FindDesktopListView();
  if (!snapshot.view) return snapshot;
  snapshot.count = ReadItemCount(snapshot.view);
  if (!watchPositions_ || snapshot.count == 0) return snapshot;
  try {
    if (!channel_ || channelView_ != snapshot.view) {
      channel_.reset();
      channel_ = std::make_unique<RemoteItemChannel>(snapshot.view);
      channelView_ = snapshot.view;
    }
    snapshot.positions = channel_->ReadPositions(snapshot.count);
  } catch (const OsError &) {
    channel_.reset();
    channelView_ = nullptr;
    return ViewSnapshot{};
  }
  return snapshot;
}
