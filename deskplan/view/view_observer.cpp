#include "deskplan/view/view_observer.h"

#include "common/os_error.h"
#include "deskplan/app/program_state.h"
#include "deskplan/view/desktop_view_search.h"
#include "deskplan/view/remote_item_channel.h"

namespace {

// FNV-1a over the coordinates: a moved item changes it.
DWORD PositionDigest(const std::vector<POINT> &positions) {
  DWORD digest = 2166136261u;
  for (const POINT &position : positions)
    for (DWORD coordinate : {static_cast<DWORD>(position.x), static_cast<DWORD>(position.y)})
      for (int shift = 0; shift < 32; shift += 8) digest = (digest ^ ((coordinate >> shift) & 0xFF)) * 16777619u;
  return digest;
}

}  // namespace

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
    snapshot.positions = PositionDigest(channel_->ReadPositions(snapshot.count));
  } catch (const OsError &) {
    channel_.reset();
    channelView_ = nullptr;
    return ViewSnapshot{};
  }
  return snapshot;
}
