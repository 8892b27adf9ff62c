// The window layer's menus: a menu is a list of items, each a command, a separator or
// a popup holding another menu. HMENU is the address of a Menu; every call checks it
// against the live menus first, so a stale or foreign handle finds nothing.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform.h"

namespace user::menu {

struct Menu;

struct Item {
  UINT type = MFT_STRING;  // MFT_STRING or MFT_SEPARATOR (and MFT_RADIOCHECK, ...)
  UINT state = 0;          // MFS_CHECKED, MFS_GRAYED
  UINT id = 0;
  std::u16string text;     // "&" marks the mnemonic; after 0x08 (or a tab): the shortcut
  Menu* submenu = nullptr; // owned by this item
  ULONG_PTR data = 0;
};

struct Menu {
  bool popup = true;
  std::vector<Item> items;
};

// The live menu for a handle, or null.
Menu* FromHandle(HMENU handle);
HMENU ToHandle(Menu* menu);
Menu* NewMenu(bool popup);
void Destroy(Menu* menu);

// The item `item` names in menu: by position, or by command id searched depth-first
// through the popups (where *owner receives the menu holding it). Null when missing.
Item* FindItem(Menu* menu, UINT item, bool byPosition, Menu** owner = nullptr);

// The caption split at the shortcut mark (0x08, or a tab): caption and shortcut label.
void SplitText(const std::u16string& text, std::u16string& caption, std::u16string& shortcut);
// The caption without "&" marks ("&&" stands for one "&"), and the index of the
// mnemonic unit in it (-1 when none).
std::u16string StripMnemonic(const std::u16string& caption, int* mnemonicIndex);

}  // namespace user::menu
