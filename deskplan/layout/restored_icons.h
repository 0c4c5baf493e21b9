// What a restore pass did, by value name: the names it accepted and, for the
// icons it moved, the stored place each was sent to.
#pragma once

#include <map>
#include <string>

#include <windows.h>

class RestoredIcons {
 public:
  void Clear() { names_.clear(); }
  // A stored value was found under `name`; the icon stays where it is.
  void Accept(const std::string &name);
  // A stored value was found under `name` and the icon sent to `at`.
  void Place(const std::string &name, POINT at);

  bool Accepted(const std::string &name) const { return names_.count(name) != 0; }
  // The place the icon of `name` was sent to, or null.
  const POINT *PlaceOf(const std::string &name) const;
  bool Empty() const { return names_.empty(); }

 private:
  struct Entry {
    bool placed = false;
    POINT at = {0, 0};
  };
  std::map<std::string, Entry> names_;
};
