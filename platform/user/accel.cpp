// Accelerator tables: RT_ACCELERATOR resources (8-byte entries: flags, key, command,
// padding; flag 0x80 marks the last) and their translation into WM_COMMAND.
#include <cstring>
#include <memory>
#include <set>
#include <vector>

#include "user/internal.h"
#include "kernel/out_of_memory.h"

namespace {

struct Accel {
  WORD flags;
  WORD key;
  WORD command;
};

struct Table {
  std::vector<Accel> entries;
};

std::set<Table*>& Tables() {
  static std::set<Table*> tables;
  return tables;
}

bool Modifiers(const Accel& a) {
  bool shift = GetKeyState(VK_SHIFT) < 0, ctrl = GetKeyState(VK_CONTROL) < 0,
       alt = GetKeyState(VK_MENU) < 0;
  return shift == bool(a.flags & FSHIFT) && ctrl == bool(a.flags & FCONTROL) &&
         alt == bool(a.flags & FALT);
}

bool Fires(const Accel& a, const MSG& m) {
  if (a.flags & FVIRTKEY)
    return (m.message == WM_KEYDOWN || m.message == WM_SYSKEYDOWN) && m.wParam == a.key &&
           Modifiers(a);
  return (m.message == WM_CHAR || m.message == WM_SYSCHAR) && m.wParam == a.key;
}

}  // namespace

HACCEL LoadAcceleratorsW(HINSTANCE instance, LPCWSTR name) try {
  HRSRC found = FindResourceW(instance, name, RT_ACCELERATOR);
  if (!found) return nullptr;
  HGLOBAL data = LoadResource(instance, found);
  const auto* bytes = static_cast<const uint8_t*>(LockResource(data));
  DWORD size = SizeofResource(instance, found);
  if (!bytes) return nullptr;
  auto table = std::make_unique<Table>();
  for (DWORD at = 0; at + 8 <= size; at += 8) {
    WORD w[3];
    std::memcpy(w, bytes + at, sizeof w);
    table->entries.push_back(Accel{WORD(w[0] & 0x7F), w[1], w[2]});
    if (w[0] & 0x80) break;
  }
  if (table->entries.empty()) return nullptr;
  Tables().insert(table.get());
  return reinterpret_cast<HACCEL>(table.release());
} catch (const std::bad_alloc&) {
  return kernel::OutOfMemory(nullptr);
}

int TranslateAcceleratorW(HWND window, HACCEL handle, LPMSG message) try {
  auto* table = reinterpret_cast<Table*>(handle);
  if (!table || !Tables().count(table) || !message || !IsWindow(window)) return 0;
  for (const Accel& a : table->entries) {
    if (!Fires(a, *message)) continue;
    SendMessageW(window, WM_COMMAND, MAKEWPARAM(a.command, 1), 0);
    return 1;
  }
  return 0;
} catch (const std::bad_alloc&) {
  return kernel::OutOfMemory(0);
}

BOOL DestroyAcceleratorTable(HACCEL handle) {
  auto* table = reinterpret_cast<Table*>(handle);
  if (!Tables().erase(table)) return FALSE;
  delete table;
  return TRUE;
}
