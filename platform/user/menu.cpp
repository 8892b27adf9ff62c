// Menu objects and the calls that build, query and change them.
#include "user/menu.h"

#include <cstddef>
#include <set>

#include "user/menu_resource.h"
#include "kernel/out_of_memory.h"

namespace user::menu {
namespace {

std::set<Menu*>& Live() {
  static std::set<Menu*> live;
  return live;
}

Menu* Build(const std::vector<ItemDescription>& items, bool popup) {
  Menu* menu = NewMenu(popup);
  for (const ItemDescription& d : items) {
    Item item;
    item.id = d.id;
    item.text = d.text;
    item.state = d.flags & (MF_CHECKED | MF_GRAYED | MF_DISABLED);
    if (d.separator) item.type = MFT_SEPARATOR;
    if (d.flags & MF_POPUP) item.submenu = Build(d.children, true);
    menu->items.push_back(std::move(item));
  }
  return menu;
}

// Whether the size the caller gave for its record covers the field.
template <typename T>
bool Covered(LPCMENUITEMINFOW info, T MENUITEMINFOW::*field) {
  size_t end = size_t(reinterpret_cast<const char*>(&(info->*field)) -
                      reinterpret_cast<const char*>(info)) + sizeof(T);
  return end <= info->cbSize;
}

// Fills one field of the caller's record when the size it gave covers the field.
template <typename T>
void Put(LPMENUITEMINFOW info, T MENUITEMINFOW::*field, T value) {
  if (Covered(info, field)) info->*field = value;
}

bool AddItem(Menu* menu, size_t at, UINT flags, UINT_PTR idOrPopup, LPCWSTR text) {
  Item item;
  item.state = flags & (MF_CHECKED | MF_GRAYED | MF_DISABLED);
  if (flags & MF_SEPARATOR) {
    item.type = MFT_SEPARATOR;
  } else if (flags & MF_POPUP) {
    Menu* sub = FromHandle(reinterpret_cast<HMENU>(idOrPopup));
    if (!sub) return false;
    item.submenu = sub;
  } else {
    item.id = UINT(idOrPopup);
  }
  if (text && !(flags & MF_SEPARATOR)) item.text = text;
  if (at > menu->items.size()) at = menu->items.size();
  menu->items.insert(menu->items.begin() + ptrdiff_t(at), std::move(item));
  return true;
}

// The item a Get/SetMenuItemInfoW call names; null as well for a record too short to
// hold its mask.
Item* InfoItem(HMENU handle, UINT position, BOOL byPosition, LPCMENUITEMINFOW info) {
  if (!info || info->cbSize < offsetof(MENUITEMINFOW, fType)) return nullptr;
  return FindItem(FromHandle(handle), position, byPosition);
}

}  // namespace

Menu* FromHandle(HMENU handle) {
  Menu* m = reinterpret_cast<Menu*>(handle);
  return Live().count(m) ? m : nullptr;
}

HMENU ToHandle(Menu* menu) { return reinterpret_cast<HMENU>(menu); }

Menu* NewMenu(bool popup) {
  Menu* m = new Menu;
  m->popup = popup;
  Live().insert(m);
  return m;
}

void Destroy(Menu* menu) {
  if (!Live().erase(menu)) return;
  // A menu destroyed on its own leaves no popup item pointing at it.
  for (Menu* other : Live())
    for (Item& item : other->items)
      if (item.submenu == menu) item.submenu = nullptr;
  for (Item& item : menu->items)
    if (item.submenu) Destroy(item.submenu);
  delete menu;
}

Item* FindItem(Menu* menu, UINT item, bool byPosition, Menu** owner) {
  if (!menu) return nullptr;
  if (byPosition) {
    if (item >= menu->items.size()) return nullptr;
    if (owner) *owner = menu;
    return &menu->items[item];
  }
  for (Item& it : menu->items) {
    if (!it.submenu && it.type != MFT_SEPARATOR && it.id == item) {
      if (owner) *owner = menu;
      return &it;
    }
    if (it.submenu)
      if (Item* found = FindItem(it.submenu, item, false, owner)) return found;
  }
  return nullptr;
}

void SplitText(const std::u16string& text, std::u16string& caption, std::u16string& shortcut) {
  size_t mark = text.find_first_of(u"\x08\t");
  caption = text.substr(0, mark);
  shortcut = mark == std::u16string::npos ? std::u16string() : text.substr(mark + 1);
}

std::u16string StripMnemonic(const std::u16string& caption, int* mnemonicIndex) {
  std::u16string out;
  int index = -1;
  for (size_t i = 0; i < caption.size(); ++i) {
    if (caption[i] == u'&' && i + 1 < caption.size()) {
      ++i;
      if (caption[i] != u'&' && index < 0) index = int(out.size());
    }
    out.push_back(caption[i]);
  }
  if (mnemonicIndex) *mnemonicIndex = index;
  return out;
}

}  // namespace user::menu

using namespace user::menu;

HMENU LoadMenuW(HINSTANCE instance, LPCWSTR name) try {
  HRSRC found = FindResourceW(instance, name, RT_MENU);
  if (!found) return nullptr;
  const uint8_t* bytes = static_cast<const uint8_t*>(LockResource(LoadResource(instance, found)));
  auto items = ParseMenuResource(bytes, SizeofResource(instance, found));
  if (!items) return nullptr;
  Menu* menu = Build(*items, false);
  return ToHandle(menu);
} catch (const std::bad_alloc&) {
  return kernel::OutOfMemory(nullptr);
}

HMENU CreateMenu() try {
  return ToHandle(NewMenu(false));
} catch (const std::bad_alloc&) {
  return kernel::OutOfMemory(nullptr);
}

HMENU CreatePopupMenu() try {
  return ToHandle(NewMenu(true));
} catch (const std::bad_alloc&) {
  return kernel::OutOfMemory(nullptr);
}

BOOL DestroyMenu(HMENU handle) {
  Menu* menu = FromHandle(handle);
  if (!menu) return FALSE;
  Destroy(menu);
  return TRUE;
}

BOOL AppendMenuW(HMENU handle, UINT flags, UINT_PTR idOrPopup, LPCWSTR text) try {
  Menu* menu = FromHandle(handle);
  return menu && AddItem(menu, menu->items.size(), flags, idOrPopup, text);
} catch (const std::bad_alloc&) {
  return kernel::OutOfMemory(FALSE);
}

BOOL InsertMenuW(HMENU handle, UINT position, UINT flags, UINT_PTR idOrPopup, LPCWSTR text) try {
  Menu* menu = FromHandle(handle);
  if (!menu) return FALSE;
  size_t at = menu->items.size();
  if (flags & MF_BYPOSITION) {
    if (position != UINT(-1)) at = position;
  } else {
    Menu* owner = nullptr;
    Item* item = FindItem(menu, position, false, &owner);
    if (!item) return FALSE;
    menu = owner;
    at = size_t(item - owner->items.data());
  }
  return AddItem(menu, at, flags, idOrPopup, text);
} catch (const std::bad_alloc&) {
  return kernel::OutOfMemory(FALSE);
}

static BOOL TakeItem(HMENU handle, UINT position, UINT flags, bool destroySubmenu) {
  Menu* owner = nullptr;
  Item* item = FindItem(FromHandle(handle), position, flags & MF_BYPOSITION, &owner);
  if (!item) return FALSE;
  if (destroySubmenu && item->submenu) Destroy(item->submenu);
  owner->items.erase(owner->items.begin() + (item - owner->items.data()));
  return TRUE;
}

BOOL DeleteMenu(HMENU menu, UINT position, UINT flags) {
  return TakeItem(menu, position, flags, true);
}

BOOL RemoveMenu(HMENU menu, UINT position, UINT flags) {
  return TakeItem(menu, position, flags, false);
}

HMENU GetSubMenu(HMENU handle, int position) {
  Menu* menu = FromHandle(handle);
  if (!menu || position < 0 || size_t(position) >= menu->items.size()) return nullptr;
  return ToHandle(menu->items[size_t(position)].submenu);
}

int GetMenuItemCount(HMENU handle) {
  Menu* menu = FromHandle(handle);
  return menu ? int(menu->items.size()) : -1;
}

UINT GetMenuItemID(HMENU handle, int position) try {
  Menu* menu = FromHandle(handle);
  if (!menu || position < 0 || size_t(position) >= menu->items.size()) return UINT(-1);
  const Item& item = menu->items[size_t(position)];
  if (item.submenu) return UINT(-1);
  return item.type == MFT_SEPARATOR ? 0 : item.id;
} catch (const std::bad_alloc&) {
  return kernel::OutOfMemory(0);
}

DWORD CheckMenuItem(HMENU handle, UINT position, UINT check) try {
  Item* item = FindItem(FromHandle(handle), position, check & MF_BYPOSITION);
  if (!item) return DWORD(-1);
  DWORD previous = item->state & MF_CHECKED;
  item->state = (item->state & ~UINT(MF_CHECKED)) | (check & MF_CHECKED);
  return previous;
} catch (const std::bad_alloc&) {
  return kernel::OutOfMemory(DWORD(-1));
}

BOOL EnableMenuItem(HMENU handle, UINT position, UINT enable) try {
  Item* item = FindItem(FromHandle(handle), position, enable & MF_BYPOSITION);
  if (!item) return -1;
  UINT previous = item->state & (MF_GRAYED | MF_DISABLED);
  item->state = (item->state & ~UINT(MF_GRAYED | MF_DISABLED)) | (enable & (MF_GRAYED | MF_DISABLED));
  return BOOL(previous);
} catch (const std::bad_alloc&) {
  return kernel::OutOfMemory(-1);
}

UINT GetMenuState(HMENU handle, UINT position, UINT flags) try {
  Item* item = FindItem(FromHandle(handle), position, flags & MF_BYPOSITION);
  if (!item) return UINT(-1);
  UINT state = item->state | (item->type & (MFT_SEPARATOR | MFT_RADIOCHECK));
  if (item->submenu) state |= MF_POPUP | (UINT(item->submenu->items.size()) << 8);
  return state;
} catch (const std::bad_alloc&) {
  return kernel::OutOfMemory(UINT(-1));
}

BOOL GetMenuItemInfoW(HMENU handle, UINT position, BOOL byPosition, LPMENUITEMINFOW info) try {
  Item* item = InfoItem(handle, position, byPosition, info);
  if (!item) return FALSE;
  UINT mask = info->fMask;
  if (mask & MIIM_STATE) Put(info, &MENUITEMINFOW::fState, item->state);
  if (mask & MIIM_ID) Put(info, &MENUITEMINFOW::wID, item->id);
  if (mask & MIIM_SUBMENU) Put(info, &MENUITEMINFOW::hSubMenu, ToHandle(item->submenu));
  if (mask & MIIM_DATA) Put(info, &MENUITEMINFOW::dwItemData, item->data);
  if (mask & MIIM_TYPE) {
    Put(info, &MENUITEMINFOW::fType, item->type);
    if (item->type != MFT_SEPARATOR && Covered(info, &MENUITEMINFOW::cch)) {
      // Copies at most cch - 1 units and reports the text's length.
      if (info->dwTypeData && info->cch > 0) {
        size_t n = item->text.size() < info->cch - 1 ? item->text.size() : info->cch - 1;
        item->text.copy(info->dwTypeData, n);
        info->dwTypeData[n] = 0;
      }
      info->cch = UINT(item->text.size());
    }
  }
  return TRUE;
} catch (const std::bad_alloc&) {
  return kernel::OutOfMemory(FALSE);
}

BOOL SetMenuItemInfoW(HMENU handle, UINT position, BOOL byPosition, LPCMENUITEMINFOW info) try {
  Item* item = InfoItem(handle, position, byPosition, info);
  if (!item) return FALSE;
  UINT mask = info->fMask;
  if ((mask & MIIM_STATE) && Covered(info, &MENUITEMINFOW::fState)) item->state = info->fState;
  if ((mask & MIIM_ID) && Covered(info, &MENUITEMINFOW::wID)) item->id = info->wID;
  if ((mask & MIIM_DATA) && Covered(info, &MENUITEMINFOW::dwItemData)) item->data = info->dwItemData;
  if ((mask & MIIM_TYPE) && Covered(info, &MENUITEMINFOW::fType)) {
    item->type = info->fType;
    if (item->type != MFT_SEPARATOR && Covered(info, &MENUITEMINFOW::dwTypeData) && info->dwTypeData)
      item->text = info->dwTypeData;
  }
  return TRUE;
} catch (const std::bad_alloc&) {
  return kernel::OutOfMemory(FALSE);
}

int GetMenuStringW(HMENU handle, UINT position, LPWSTR text, int size, UINT flags) try {
  Item* item = FindItem(FromHandle(handle), position, flags & MF_BYPOSITION);
  if (!item) return 0;
  if (!text || size <= 0) return int(item->text.size());
  size_t n = item->text.size() < size_t(size - 1) ? item->text.size() : size_t(size - 1);
  item->text.copy(text, n);
  text[n] = 0;
  return int(n);
} catch (const std::bad_alloc&) {
  return kernel::OutOfMemory(0);
}
