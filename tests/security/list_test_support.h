// Items named by their tag, a sort by name, and a recorder of change events.
#pragma once

#include <string>
#include <vector>

#include "security/custom_basic_list.h"

inline IPtr<IBasic> Named(const std::string &name) {
  IPtr<IBasic> item = MakeObject<TIBasic>();
  item->SetTag(name);
  return item;
}

inline std::int32_t ByName(ICustomBasicList *, IBasic *a, IBasic *b, std::int32_t) {
  return a->Tag().compare(b->Tag());
}

inline std::string Names(ICustomBasicList &list) {
  std::string names;
  for (std::int32_t i = 0; i < list.Count(); ++i) names += list.Items(i)->Tag();
  return names;
}

struct EventLog {
  std::vector<std::string> events;
  void OnChange(ICustomBasicList *, IBasic *item, bool before, TChangeType type, std::int32_t oldIndex,
                std::int32_t index) {
    events.push_back(std::string(before ? "before " : "after ") + item->Tag() + " " + std::to_string(type) + " " +
                     std::to_string(oldIndex) + " " + std::to_string(index));
  }
};
