// Any bytes as the program's .res file: the file reader takes it whole or not at all,
// and every entry is then read as the program reads its own: strings, bitmaps, icons,
// menus, dialog templates, the menu bar's record and accelerators.
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "gdi/dib.h"
#include "kernel/resources.h"
#include "platform.h"
#include "shell/menubar_resource.h"
#include "user/dialog_template.h"
#include "user/icon.h"
#include "user/menu_resource.h"

namespace {

LPCWSTR NameOf(const kernel::ResourceEntry& entry) {
  return entry.name.text.empty() ? MAKEINTRESOURCEW(entry.name.ordinal) : entry.name.text.c_str();
}

void ReadEntry(const kernel::ResourceEntry& entry) {
  const uint8_t* bytes = entry.data.data();
  size_t size = entry.data.size();
  LPCWSTR name = NameOf(entry);
  if (!entry.type.text.empty()) return;
  switch (entry.type.ordinal) {
    case 2:  // RT_BITMAP
      if (HBITMAP bitmap = LoadBitmapW(nullptr, name)) DeleteObject(bitmap);
      break;
    case 4:  // RT_MENU
      user::menu::ParseMenuResource(bytes, size);
      if (HMENU menu = LoadMenuW(nullptr, name)) DestroyMenu(menu);
      break;
    case 5:  // RT_DIALOG
      user::dlg::ParseDialogTemplate(bytes, size);
      break;
    case 6:  // RT_STRING: the block's sixteen strings
      for (UINT i = 0; i < 16; ++i) {
        WCHAR text[64];
        LoadStringW(nullptr, (entry.name.ordinal - 1u) * 16 + i, text, 64);
        LoadStringW(nullptr, (entry.name.ordinal - 1u) * 16 + i, text, 0);
      }
      break;
    case 9:  // RT_ACCELERATOR
      if (HACCEL table = LoadAcceleratorsW(nullptr, name)) DestroyAcceleratorTable(table);
      break;
    case 10:  // RT_RCDATA: the menu bar's record among them
      shell::ParseMenuBarResource(bytes, size);
      break;
    case 14:  // RT_GROUP_ICON
      if (HICON icon = LoadIconW(nullptr, name)) {
        std::vector<uint32_t> pixels;
        std::vector<uint8_t> alpha;
        int width = 0, height = 0;
        for (int wanted : {16, 32, 48})
          if (user::IconImage(icon, wanted, pixels, alpha, width, height) &&
              (pixels.size() != size_t(width) * size_t(height) || alpha.size() != pixels.size()))
            std::abort();
        DestroyIcon(icon);
      }
      break;
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // A copy of exactly the input's size, so that every read past it is caught.
  std::vector<uint8_t> bytes(data, data + size);
  auto entries = kernel::ParseResourceFile(bytes);
  if (!entries) return 0;
  for (const auto& entry : *entries)
    if (entry.data.data() < bytes.data() || entry.data.data() + entry.data.size() > bytes.data() + size)
      std::abort();
  // The entries stand in for the program's own resources while they are read.
  kernel::Module& program = kernel::ProgramModule();
  program.resources = *entries;
  for (const auto& entry : *entries) ReadEntry(entry);
  program.resources.clear();
  return 0;
}
