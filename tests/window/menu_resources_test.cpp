// The resources the bars are built from, as the resource compiler stored them: the
// "&Go" menu with its captions and shortcut labels, the menu-bar record and the strip
// of button pictures.
#include <gtest/gtest.h>

#include <string>

#include "platform.h"
#include "resources/resource_ids.h"

namespace {

HMODULE Module() { return GetModuleHandleW(nullptr); }

struct MenuRow {
  UINT id;  // 0: separator
  const char16_t* text;
};

// Caption, then the right-alignment mark 0x08 and the shortcut label where there is one.
constexpr MenuRow GoItems[] = {
    {IDM_ABOUT, u"&About"},
    {IDM_CHECK_FOR_UPDATES, u"Check For &Updates"},
    {0, nullptr},
    {IDM_FONT, u"F&ont\x08" u"Ctrl+F"},
    {IDM_REVERSE, u"Re&verse"},
    {0, nullptr},
    {IDM_TODAY, u"&Today\x08" u"Ctrl+Home"},
    {0, nullptr},
    {IDM_INDEX, u"&Index\x08" u"Ctrl+D"},
    {IDM_BOOKMARK, u"&Bookmark"},
    {IDM_PREVIOUS_ARTICLE, u"&Previous Article"},
    {IDM_NEXT_ARTICLE, u"&Next Article"},
    {0, nullptr},
    {IDM_SEARCH, u"&Search\x08" u"Alt+F3"},
    {IDM_SEARCH_AGAIN, u"Search A&gain\x08" u"F3"},
    {0, nullptr},
    {IDM_EXIT, u"E&xit\x08" u"Ctrl+Q"},
};
constexpr int GoItemCount = sizeof GoItems / sizeof GoItems[0];

std::u16string TextAt(HMENU menu, int position) {
  WCHAR text[128] = {};
  GetMenuStringW(menu, UINT(position), text, 128, MF_BYPOSITION);
  return text;
}

TEST(MenuResource, HoldsOnePopupNamedGo) {
  HMENU menu = LoadMenuW(Module(), MAKEINTRESOURCEW(IDR_GO_MENU));
  ASSERT_TRUE(menu);
  EXPECT_EQ(GetMenuItemCount(menu), 1);
  EXPECT_EQ(TextAt(menu, 0), u"&Go");
  EXPECT_TRUE(GetSubMenu(menu, 0));
  DestroyMenu(menu);
}

TEST(MenuResource, GoItemsHaveTheirIdsCaptionsAndShortcutLabelsInOrder) {
  HMENU menu = LoadMenuW(Module(), MAKEINTRESOURCEW(IDR_GO_MENU));
  ASSERT_TRUE(menu);
  HMENU go = GetSubMenu(menu, 0);
  ASSERT_EQ(GetMenuItemCount(go), GoItemCount);
  for (int i = 0; i < GoItemCount; ++i) {
    SCOPED_TRACE("position " + std::to_string(i + 1));
    UINT state = GetMenuState(go, UINT(i), MF_BYPOSITION);
    if (!GoItems[i].text) {
      EXPECT_TRUE(state & MF_SEPARATOR);
      continue;
    }
    EXPECT_FALSE(state & (MF_SEPARATOR | MF_POPUP | MF_CHECKED | MF_GRAYED));
    EXPECT_EQ(GetMenuItemID(go, i), GoItems[i].id);
    EXPECT_EQ(TextAt(go, i), GoItems[i].text);
  }
  DestroyMenu(menu);
}

TEST(MenuBarRecord, IsNineLittleEndianWordsForTheGoButton) {
  HRSRC found = FindResourceW(Module(), MAKEINTRESOURCEW(IDR_GO_MENU), RT_RCDATA);
  ASSERT_TRUE(found);
  ASSERT_EQ(SizeofResource(Module(), found), 18u);
  const BYTE* bytes = static_cast<const BYTE*>(LockResource(LoadResource(Module(), found)));
  ASSERT_TRUE(bytes);
  const WORD expected[9] = {IDR_GO_MENU, 1, 0xFFFE, IDM_GO_BUTTON, 0x0004, 0x0018, IDS_GO, 0, 0};
  for (int i = 0; i < 9; ++i)
    EXPECT_EQ(WORD(bytes[2 * i] | bytes[2 * i + 1] << 8), expected[i]) << "word " << i + 1;
}

TEST(MenuBarRecord, CaptionStringIsGo) {
  WCHAR text[16] = {};
  EXPECT_EQ(LoadStringW(Module(), IDS_GO, text, 16), 2);
  EXPECT_EQ(std::u16string(text), u"Go");
}

TEST(ToolBarBitmap, IsAStripOfSevenSixteenPixelPicturesInSixteenColours) {
  HRSRC found = FindResourceW(Module(), MAKEINTRESOURCEW(IDB_TOOLBAR), RT_BITMAP);
  ASSERT_TRUE(found);
  const BYTE* bytes = static_cast<const BYTE*>(LockResource(LoadResource(Module(), found)));
  ASSERT_TRUE(bytes);
  // The resource is the bitmap's information header and what follows it.
  auto field = [&](size_t offset, size_t size) {
    DWORD value = 0;
    for (size_t i = 0; i < size; ++i) value |= DWORD(bytes[offset + i]) << (8 * i);
    return value;
  };
  EXPECT_EQ(field(4, 4), 112u) << "width";
  EXPECT_EQ(field(8, 4), 16u) << "height";
  EXPECT_EQ(field(14, 2), 4u) << "bits per pixel";

  HBITMAP bitmap = LoadBitmapW(Module(), MAKEINTRESOURCEW(IDB_TOOLBAR));
  ASSERT_TRUE(bitmap);
  BITMAP info{};
  ASSERT_TRUE(GetObjectW(bitmap, sizeof info, &info));
  EXPECT_EQ(info.bmWidth, 112);
  EXPECT_EQ(info.bmHeight, 16);
  DeleteObject(bitmap);
}

}  // namespace
