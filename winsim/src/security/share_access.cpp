// svrapi.dll of the Windows 9x family: the share-level access lists of files
// and printers, level 12 to read and level 2 to add. Names in the returned
// buffer lie behind the entries, as the system packs them; pointers have the
// width of the program's own pointers.
#include <cstring>
#include <mutex>

#include "core/component.h"
#include "core/trace.h"
#include "security/security_api.h"
#include "security/security_state.h"

using namespace winsim::detail;

namespace {

const unsigned kResourceNotFound = 2222;  // NERR_ResourceNotFound
const unsigned kBufferTooSmall = 2123;    // NERR_BufTooSmall
const size_t kHeaderSize = sizeof(char *) + 2 * sizeof(WORD);
const size_t kEntrySize = sizeof(char *) + sizeof(WORD);

std::string ResourceKey(const char *resource) {
  std::string key = resource ? resource : "";
  for (auto &c : key)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 32);
  return key;
}

}  // namespace

unsigned WINAPI NetAccessGetInfo(const char *, char *resource, short level, char *buffer, unsigned short bufferSize,
                                 unsigned short *totalAvailable) {
  std::lock_guard<std::recursive_mutex> lock(MachineLock());
  Record("NetAccessGetInfo", std::string(resource ? resource : "") + "|" + std::to_string(level));
  if (unsigned fault = InjectedFault("NetAccessGetInfo")) return fault;
  if (!totalAvailable || level != 12) return ERROR_INVALID_PARAMETER;
  *totalAvailable = 0;
  auto &lists = Security().shareAccess;
  auto found = lists.find(ResourceKey(resource));
  if (found == lists.end()) return kResourceNotFound;
  size_t needed = kHeaderSize + found->second.size() * kEntrySize + std::strlen(resource) + 1;
  for (auto &entry : found->second) needed += entry.name.size() + 1;
  *totalAvailable = static_cast<unsigned short>(needed);
  if (!buffer || bufferSize < needed) return kBufferTooSmall;
  char *strings = buffer + kHeaderSize + found->second.size() * kEntrySize;
  auto place = [&](const std::string &text) {
    char *at = strings;
    std::memcpy(at, text.c_str(), text.size() + 1);
    strings += text.size() + 1;
    return at;
  };
  char *name = place(resource);
  WORD attributes = 0, count = static_cast<WORD>(found->second.size());
  std::memcpy(buffer, &name, sizeof name);
  std::memcpy(buffer + sizeof name, &attributes, 2);
  std::memcpy(buffer + sizeof name + 2, &count, 2);
  for (size_t i = 0; i < found->second.size(); ++i) {
    char *entryName = place(found->second[i].name);
    char *entry = buffer + kHeaderSize + i * kEntrySize;
    std::memcpy(entry, &entryName, sizeof entryName);
    std::memcpy(entry + sizeof entryName, &found->second[i].access, 2);
  }
  return 0;
}

unsigned WINAPI NetAccessDel(const char *, char *resource) {
  std::lock_guard<std::recursive_mutex> lock(MachineLock());
  Record("NetAccessDel", resource ? resource : "");
  if (unsigned fault = InjectedFault("NetAccessDel")) return fault;
  return Security().shareAccess.erase(ResourceKey(resource)) ? 0 : kResourceNotFound;
}

unsigned WINAPI NetAccessAdd(const char *, short level, char *buffer, unsigned short bufferSize) {
  std::lock_guard<std::recursive_mutex> lock(MachineLock());
  Record("NetAccessAdd", std::to_string(level) + "|" + std::to_string(bufferSize));
  if (unsigned fault = InjectedFault("NetAccessAdd")) return fault;
  if (level != 2 || !buffer || bufferSize < kHeaderSize) return ERROR_INVALID_PARAMETER;
  char *resource = nullptr;
  WORD count = 0;
  std::memcpy(&resource, buffer, sizeof resource);
  std::memcpy(&count, buffer + sizeof resource + 2, 2);
  if (!resource || bufferSize < kHeaderSize + count * kEntrySize) return ERROR_INVALID_PARAMETER;
  std::string key = ResourceKey(resource);
  auto &lists = Security().shareAccess;
  if (lists.count(key)) return 2225;  // NERR_ResourceExists
  std::vector<ShareEntry> entries;
  for (WORD i = 0; i < count; ++i) {
    char *entry = buffer + kHeaderSize + i * kEntrySize;
    char *name = nullptr;
    WORD access = 0;
    std::memcpy(&name, entry, sizeof name);
    std::memcpy(&access, entry + sizeof name, 2);
    entries.push_back({name ? name : "", access});
  }
  lists[key] = entries;
  return 0;
}
