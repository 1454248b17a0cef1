// Reads a menu back item by item through the system's menu calls, for tests
// that check what the module built.
#pragma once

#include <stdio.h>
#include <windows.h>

#include <string>
#include <vector>

#include "tests/test_support.h"

namespace menu_readback {

struct Item {
  UINT id;
  UINT state;        // GetMenuState by position (see Read for separators)
  std::string text;  // ANSI bytes
  bool operator==(const Item& other) const {
    return id == other.id && state == other.state && text == other.text;
  }
};

inline std::vector<Item> Read(HMENU menu) {
  std::vector<Item> items;
  const int count = GetMenuItemCount(menu);
  for (int position = 0; position < count; ++position) {
    char text[64] = "";
    GetMenuStringA(menu, position, text, sizeof text, MF_BYPOSITION);
    UINT state = GetMenuState(menu, position, MF_BYPOSITION);
    // Windows reports a separator grayed and disabled, which it cannot help
    // being; compare separators by what they are.
    if (state & MF_SEPARATOR) state &= ~(MF_GRAYED | MF_DISABLED);
    items.push_back(Item{GetMenuItemID(menu, position), state, text});
  }
  return items;
}

// The commands of the items that show a check mark, in menu order. A
// separator shows none, whatever its state says.
inline std::vector<UINT> Checked(HMENU menu) {
  std::vector<UINT> checked;
  for (const Item& item : Read(menu))
    if ((item.state & MF_CHECKED) && !(item.state & MF_SEPARATOR)) checked.push_back(item.id);
  return checked;
}

inline std::string Describe(const std::vector<Item>& items) {
  std::string out;
  for (const Item& item : items) {
    char numbers[48];
    snprintf(numbers, sizeof numbers, "{%u, 0x%X, \"", item.id, item.state);
    out += numbers + testing_support::Escaped(item.text) + "\"} ";
  }
  return out;
}

}  // namespace menu_readback
