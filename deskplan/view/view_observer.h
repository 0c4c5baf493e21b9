// Looking at the desktop's list view again and again while waiting for the
// shell to finish with it: which view, how many items and, when watched,
// where each one stands.
#pragma once

#include <memory>

#include <windows.h>

class RemoteItemChannel;

struct ViewSnapshot {
  HWND view = nullptr;  // null: no desktop list view now
  int count = 0;
  DWORD positions = 0;  // a digest of every item's position, in index order; 0 unless watched

  bool operator!=(const ViewSnapshot &other) const {
    return view != other.view || count != other.count || positions != other.positions;
  }
};

class ViewObserver {
 public:
  // With `watchPositions`, each look also reads every item's position through
  // the cross-process channel, kept open across looks at one view. The
  // shared-area method of the old systems only counts.
  explicit ViewObserver(bool watchPositions);
  ~ViewObserver();
  ViewObserver(const ViewObserver &) = delete;
  ViewObserver &operator=(const ViewObserver &) = delete;

  // Finds the view afresh. A view that breaks off while it is read (its
  // process ended) looks the same as no view; nothing is raised or shown.
  ViewSnapshot Look();

 private:
  bool watchPositions_;
  HWND channelView_ = nullptr;
  std::unique_ptr<RemoteItemChannel> channel_;
};
