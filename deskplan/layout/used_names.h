// The value names taken so far in one save or restore pass, and the rule that
// gives icons with equal captions distinct value names.
#pragma once

#include <string>
#include <vector>

class UsedNames {
 public:
  // Unsorted and searched from the start, comparing without regard to case by
  // the user's locale, so "Notes" and "NOTES" are the same name.
  bool Contains(const std::string &name) const;
  void Add(const std::string &name) { names_.push_back(name); }

 private:
  std::vector<std::string> names_;
};

// The caption itself, or, while that name is taken, the name with the
// separator and "(k)" appended for k = 1, 2, ... in turn: suffixes accumulate.
// Does not take the name; the caller adds it to `usedNames`.
std::string UniqueValueName(const std::string &caption, const UsedNames &usedNames);
