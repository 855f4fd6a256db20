// menu_impl.h (internal): menu data, the system menu of a window and the hooks' view
// of a menu.
#pragma once

#include <QString>

#include <vector>

#include "menu.h"
#include "automation.h"

struct HMENU__ {
  struct Item {
    UINT flags;
    UINT_PTR id;
    QString text;
  };
  std::vector<Item> items;
};

namespace win::detail {

// The system menu object of a top-level window, made with the window commands on first
// use; revert TRUE restores those commands. Null for child windows.
CMenu* SystemMenuObject(HWND h, BOOL revert);
// Shows the system menu at the window's top-left corner (Alt+Space).
void ShowSystemMenu(HWND h);
// Tracks a menu; returns the command chosen or 0.
UINT TrackMenu(HMENU menu, int x, int y, HWND owner, UINT flags, bool systemMenu);
// The hook's view of a menu.
std::vector<MenuItemInfo> DescribeMenu(HMENU menu);

}  // namespace win::detail
