#include "test_support/outline_state.h"

#include <cstring>

#include "base/app_state.h"
#include "resources/resource_ids.h"
#include "test_support/headless_screen.h"

namespace test_support {

void InstallOutlineState() {
  InstallScreenWithShell();
  std::memset(&App, 0, sizeof App);
  const char16_t face[] = u"Miriam CLM";
  std::memcpy(App.Font.Face, face, sizeof face);
  App.Font.Size = 16;
  App.Font.CodeBase = 1488;
  for (int i = 0; i < 3; ++i)
    App.OutlineBitmaps[i] = LoadBitmapW(nullptr, MAKEINTRESOURCEW(IDB_OUTLINE_PLUS + i));
}

void RemoveOutlineState() {
  for (HBITMAP bitmap : App.OutlineBitmaps) DeleteObject(bitmap);
  std::memset(&App, 0, sizeof App);
  RemoveScreen();
}

}  // namespace test_support
