// Menus: just the item lists, searched the way Win32 searches them.
#include <cstring>
#include <map>
#include <mutex>
#include <vector>

#include "internal.h"

using standin::detail::Describe;
using standin::detail::Fault;

namespace {

constexpr uintptr_t kMenuBase = 0x4D000003;
constexpr UINT kStateFlags = MF_GRAYED | MF_DISABLED | MF_CHECKED | MF_POPUP | MF_SEPARATOR;
constexpr UINT kNone = static_cast<UINT>(-1);

struct Item {
  UINT flags;   // the kStateFlags part of what AppendMenuA was given
  UINT_PTR id;  // for a popup, the submenu's handle
  std::string text;
};

struct Menus {
  std::mutex mutex;
  std::map<uintptr_t, std::vector<Item>> menus;  // by handle
  uintptr_t tokens = 0;
};

Menus& TheMenus() {
  static Menus* menus = new Menus;
  return *menus;
}

std::vector<Item>* FindMenu(Menus& m, const char* call, HMENU menu) {
  auto it = m.menus.find(reinterpret_cast<uintptr_t>(menu));
  if (it != m.menus.end()) return &it->second;
  Fault(call, "unknown menu " + Describe(menu));
  return nullptr;
}

// By command, the first item with that id wins (a separator appended with id 0
// matches command 0 too); submenus are searched where their popup item stands.
Item* FindById(Menus& m, std::vector<Item>& items, UINT id) {
  for (Item& item : items) {
    if (item.flags & MF_POPUP) {
      auto sub = m.menus.find(item.id);
      if (sub == m.menus.end()) continue;
      if (Item* found = FindById(m, sub->second, id)) return found;
    } else if (item.id == id) {
      return &item;
    }
  }
  return nullptr;
}

Item* FindItem(Menus& m, const char* call, HMENU menu, UINT item, UINT flags) {
  std::vector<Item>* items = FindMenu(m, call, menu);
  if (!items) return nullptr;
  if (!(flags & MF_BYPOSITION)) return FindById(m, *items, item);
  return item < items->size() ? &(*items)[item] : nullptr;
}

void Destroy(Menus& m, uintptr_t menu) {
  auto it = m.menus.find(menu);
  if (it == m.menus.end()) return;
  std::vector<Item> items = std::move(it->second);
  m.menus.erase(it);
  for (const Item& item : items)
    if (item.flags & MF_POPUP) Destroy(m, item.id);
}

}  // namespace

extern "C" {

HMENU WINAPI CreateMenu(void) {
  Menus& m = TheMenus();
  std::lock_guard<std::mutex> lock(m.mutex);
  uintptr_t handle = standin::detail::NextToken(kMenuBase, m.tokens);
  m.menus[handle];
  return reinterpret_cast<HMENU>(handle);
}

BOOL WINAPI AppendMenuA(HMENU menu, UINT flags, UINT_PTR id, LPCSTR text) {
  Menus& m = TheMenus();
  std::lock_guard<std::mutex> lock(m.mutex);
  std::vector<Item>* items = FindMenu(m, "AppendMenuA", menu);
  if (!items) return FALSE;
  bool separator = (flags & MF_SEPARATOR) != 0;
  items->push_back(Item{flags & kStateFlags, id, separator || !text ? "" : text});
  return TRUE;
}

DWORD WINAPI CheckMenuItem(HMENU menu, UINT item, UINT check) {
  Menus& m = TheMenus();
  std::lock_guard<std::mutex> lock(m.mutex);
  Item* found = FindItem(m, "CheckMenuItem", menu, item, check);
  if (!found) return static_cast<DWORD>(-1);
  DWORD previous = found->flags & MF_CHECKED;
  found->flags = (found->flags & ~MF_CHECKED) | (check & MF_CHECKED);
  return previous;
}

int WINAPI GetMenuItemCount(HMENU menu) {
  Menus& m = TheMenus();
  std::lock_guard<std::mutex> lock(m.mutex);
  std::vector<Item>* items = FindMenu(m, "GetMenuItemCount", menu);
  return items ? static_cast<int>(items->size()) : -1;
}

// A popup item has no command id; a separator answers the id it was given.
UINT WINAPI GetMenuItemID(HMENU menu, int position) {
  Menus& m = TheMenus();
  std::lock_guard<std::mutex> lock(m.mutex);
  std::vector<Item>* items = FindMenu(m, "GetMenuItemID", menu);
  if (!items || position < 0 || static_cast<size_t>(position) >= items->size()) return kNone;
  const Item& item = (*items)[position];
  return (item.flags & MF_POPUP) ? kNone : static_cast<UINT>(item.id);
}

UINT WINAPI GetMenuState(HMENU menu, UINT item, UINT flags) {
  Menus& m = TheMenus();
  std::lock_guard<std::mutex> lock(m.mutex);
  Item* found = FindItem(m, "GetMenuState", menu, item, flags);
  return found ? found->flags : kNone;
}

// Copies at most max-1 characters and a NUL; returns the characters copied,
// or the whole length when there is no buffer to copy into.
int WINAPI GetMenuStringA(HMENU menu, UINT item, LPSTR text, int max, UINT flags) {
  Menus& m = TheMenus();
  std::lock_guard<std::mutex> lock(m.mutex);
  Item* found = FindItem(m, "GetMenuStringA", menu, item, flags);
  if (!found) return 0;
  int length = static_cast<int>(found->text.size());
  if (!text || max <= 0) return length;
  int copied = length < max - 1 ? length : max - 1;
  std::memcpy(text, found->text.data(), copied);
  text[copied] = '\0';
  return copied;
}

// Submenus go with their menu, as on Win32.
BOOL WINAPI DestroyMenu(HMENU menu) {
  Menus& m = TheMenus();
  std::lock_guard<std::mutex> lock(m.mutex);
  if (!FindMenu(m, "DestroyMenu", menu)) return FALSE;
  Destroy(m, reinterpret_cast<uintptr_t>(menu));
  return TRUE;
}

}  // extern "C"
