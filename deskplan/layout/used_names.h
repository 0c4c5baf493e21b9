// The value names taken so far in one save or restore pass, and the rule that
// gives icons with equal captions distinct value names.
#pragma once

#include <string>
#include <unordered_set>
#include <vector>

class UsedNames {
 public:
  // Names compare without regard to case by the user's locale, so "Notes" and
  // "NOTES" are the same name. A name is found in constant expected time: the
  // set holds the locale's case-insensitive sort keys, which are equal exactly
  // when CompareStringA says the names are. Should the system give no sort key,
  // the names are searched one by one with CompareStringA instead.
  bool Contains(const std::string &name) const;
  void Add(const std::string &name);

 private:
  std::unordered_set<std::string> keys_;
  std::vector<std::string> names_;  // searched only once a sort key was missing
  bool keyMissing_ = false;
};

// The caption itself, or, while that name is taken, the name with the
// separator and "(k)" appended for k = 1, 2, ... in turn: suffixes accumulate.
// Does not take the name; the caller adds it to `usedNames`.
std::string UniqueValueName(const std::string &caption, const UsedNames &usedNames);
