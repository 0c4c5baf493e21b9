// FormatMessageA over the French system texts, and LocalAlloc/LocalFree.
#include <cstdlib>
#include <cstring>
#include <map>
#include <set>

#include "core/component.h"
#include "core/os_state.h"
#include "core/trace.h"

namespace winsim {
namespace detail {
namespace {

const std::map<DWORD, std::string> &FrenchSystemTexts() {
  static const std::map<DWORD, std::string> texts = {
      {0, "L'opération a réussi.\r\n"},
      {1, "Fonction incorrecte.\r\n"},
      {2, "Le fichier spécifié est introuvable.\r\n"},
      {3, "Le chemin d'accès spécifié est introuvable.\r\n"},
      {5, "Accès refusé.\r\n"},
      {6, "Descripteur non valide.\r\n"},
      {8, "Espace de stockage insuffisant pour traiter cette commande.\r\n"},
      {87, "Paramètre incorrect.\r\n"},
      {120, "Cette fonction n'est pas prise en charge sur ce système.\r\n"},
      {122, "La zone de données transmise à un appel système est insuffisante.\r\n"},
      {126, "Le module spécifié est introuvable.\r\n"},
      {127, "La procédure spécifiée est introuvable.\r\n"},
      {234, "Plus de données sont disponibles.\r\n"},
      {259, "Il n'y a pas d'autres données disponibles.\r\n"},
      {299, "Seule une partie d'une requête ReadProcessMemory ou WriteProcessMemory a été effectuée.\r\n"},
      {998, "L'accès à l'emplacement de la mémoire n'est pas valide.\r\n"},
      {1018, "Tentative d'opération non autorisée sur une clé de Registre marquée pour suppression.\r\n"},
      // Wine's text for 1237 is "Veuillez réitérer l'opération.".
      {1237, "L'opération n'a pas pu être effectuée. Une nouvelle tentative doit être effectuée.\r\n"},
      {1300, "Tous les privilèges ou groupes référencés ne sont pas affectés à l'appelant.\r\n"},
      {1313, "Un privilège spécifié n'existe pas.\r\n"},
      {1314, "Le client ne dispose pas d'un privilège nécessaire.\r\n"},
      {1332, "Le mappage entre les noms de compte et les ID de sécurité n'a pas été effectué.\r\n"},
      {1400, "Handle de fenêtre non valide.\r\n"},
  };
  return texts;
}

struct MessageState {
  std::map<DWORD, std::string> system = FrenchSystemTexts();
  std::map<std::string, std::map<DWORD, std::string>> modules;
};

struct LocalState {
  std::set<void *> live;
};

MessageState &Messages() { return Component<MessageState>(); }

const std::string *FindModuleText(LPCVOID source, DWORD code) {
  for (auto &entry : Messages().modules) {
    HMODULE module = GetModuleHandleA(entry.first.c_str());
    if (module && module == source) {
      auto found = entry.second.find(code);
      if (found != entry.second.end()) return &found->second;
    }
  }
  return nullptr;
}

}  // namespace
}  // namespace detail

void SetSystemMessage(DWORD code, const std::string &text) { detail::Messages().system[code] = text; }
void RemoveSystemMessage(DWORD code) { detail::Messages().system.erase(code); }
void SetModuleMessage(const std::string &module, DWORD code, const std::string &text) {
  detail::Messages().modules[module][code] = text;
}

int LiveLocalAllocations() { return static_cast<int>(detail::Component<detail::LocalState>().live.size()); }

}  // namespace winsim

using namespace winsim::detail;

HLOCAL WINAPI LocalAlloc(UINT flags, SIZE_T bytes) {
  std::lock_guard<std::recursive_mutex> lock(MachineLock());
  void *memory = std::calloc(bytes ? bytes : 1, 1);
  (void)flags;
  if (!memory) {
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return nullptr;
  }
  Component<LocalState>().live.insert(memory);
  return memory;
}

HLOCAL WINAPI LocalFree(HLOCAL memory) {
  std::lock_guard<std::recursive_mutex> lock(MachineLock());
  if (!memory) return nullptr;
  auto &live = Component<LocalState>().live;
  if (!live.erase(memory)) {
    SetLastError(ERROR_INVALID_HANDLE);
    return memory;
  }
  std::free(memory);
  return nullptr;
}

DWORD WINAPI FormatMessageA(DWORD flags, LPCVOID source, DWORD messageId, DWORD languageId, LPSTR buffer, DWORD size,
                            void *arguments) {
  (void)languageId;
  (void)arguments;
  Record("FormatMessageA", std::to_string(messageId) + "|" + std::to_string(flags));
  const std::string *text = nullptr;
  if (flags & FORMAT_MESSAGE_FROM_HMODULE) text = FindModuleText(source, messageId);
  if (!text && (flags & FORMAT_MESSAGE_FROM_SYSTEM)) {
    auto &system = Messages().system;
    auto found = system.find(messageId);
    if (found != system.end()) text = &found->second;
  }
  if (!text) {
    SetLastError(317);  // ERROR_MR_MID_NOT_FOUND
    return 0;
  }
  DWORD length = static_cast<DWORD>(text->size());
  if (flags & FORMAT_MESSAGE_ALLOCATE_BUFFER) {
    DWORD bytes = length + 1 > size ? length + 1 : size;
    auto *memory = static_cast<char *>(LocalAlloc(LPTR, bytes));
    if (!memory) return 0;
    std::memcpy(memory, text->data(), length);
    *reinterpret_cast<LPSTR *>(buffer) = memory;
    return length;
  }
  if (!buffer || size < length + 1) {
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return 0;
  }
  std::memcpy(buffer, text->data(), length);
  buffer[length] = '\0';
  return length;
}
