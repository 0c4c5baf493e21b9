#include "deskplan/layout/restored_icons.h"

void RestoredIcons::Accept(const std::string &name) { names_[name] = Entry(); }

void RestoredIcons::Place(const std::string &name, POINT at) {
  Entry &entry = names_[name];
  entry.placed = true;
  entry.at = at;
}

const POINT *RestoredIcons::PlaceOf(const std::string &name) const {
  auto found = names_.find(name);
  return found != names_.end() && found->second.placed ? &found->second.at : nullptr;
}
