// The controls in a running dialog: edit messages, typing and selection, list box
// messages and stylus, radio groups, owner-drawn buttons, and a screenshot of them.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "display/png.h"
#include "session.h"

namespace {

using test::RunDialog;
using test::Session;

class ControlsTest : public ::testing::Test {
 protected:
  void SetUp() override { user::ResetForTests(); }
  void TearDown() override { user::ResetForTests(); }
};

std::u16string TextOf(HWND control) {
  WCHAR buffer[256] = {};
  GetWindowTextW(control, buffer, 256);
  return buffer;
}

std::pair<DWORD, DWORD> Selection(HWND edit) {
  DWORD start = 99, end = 99;
  SendMessageW(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  return {start, end};
}

TEST_F(ControlsTest, EditMessagesAsTheProgramUsesThem) {
  Session s;
  int changes = 0;
  s.onMessage = [&](HWND, UINT m, WPARAM w, LPARAM) -> INT_PTR {
    if (m == WM_COMMAND && LOWORD(w) == 1013 && HIWORD(w) == EN_CHANGE) ++changes;
    return 0;
  };
  s.steps.push_back([&](HWND d) {
    HWND field = GetDlgItem(d, 1013);
    SendMessageW(field, EM_LIMITTEXT, 5, 0);
    SetWindowTextW(field, u"abcdefg");  // the limit leaves WM_SETTEXT alone
    EXPECT_EQ(TextOf(field), u"abcdefg");
    EXPECT_EQ(GetWindowTextLengthW(field), 7);
    SetWindowTextW(field, u"");
    // A letter inserted at the caret, then the caret moved back before it: the next
    // letter lands on its left (what the search keyboard does).
    for (const char16_t* letter : {u"\u05D0", u"\u05D1", u"\u05D2"}) {
      SendMessageW(field, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(letter));
      DWORD start = 0, end = 0;
      LRESULT packed = SendMessageW(field, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
      EXPECT_EQ(LOWORD(packed), start);
      EXPECT_EQ(HIWORD(packed), end);
      SendMessageW(field, EM_SETSEL, start - 1, start - 1);
    }
    EXPECT_EQ(TextOf(field), u"\u05D2\u05D1\u05D0");
    EXPECT_EQ(Selection(field), (std::pair<DWORD, DWORD>{0, 0}));
    SendMessageW(field, EM_SETSEL, 0, -1);
    EXPECT_EQ(Selection(field), (std::pair<DWORD, DWORD>{0, 3}));
    SendMessageW(field, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(u"x"));
    EXPECT_EQ(TextOf(field), u"x");
    SendMessageW(field, EM_SETSEL, 50, 70);  // beyond the text: at its end
    EXPECT_EQ(Selection(field), (std::pair<DWORD, DWORD>{1, 1}));
    SendMessageW(field, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(u"yzuvw"));
    EXPECT_EQ(TextOf(field), u"xyzuv");  // cut at the limit of 5
    WCHAR small[3];
    EXPECT_EQ(SendMessageW(field, WM_GETTEXT, 3, reinterpret_cast<LPARAM>(small)), 2);
    EXPECT_EQ(std::u16string(small), u"xy");
    EndDialog(d, 1);
  });
  RunDialog(100, s);
  EXPECT_GE(changes, 5);  // WM_SETTEXT twice, the replacements
}

TEST_F(ControlsTest, TypingKeysAndStylusSelection) {
  Session s;
  std::u16string afterTyping, afterKeys;
  std::pair<DWORD, DWORD> shiftSelection, dragSelection;
  s.steps.push_back([](HWND d) {
    SetFocus(GetDlgItem(d, 1013));
    for (char32_t c : std::u32string(U"ab\u05E9c")) test::Type(c);
  });
  s.steps.push_back([&](HWND d) {
    afterTyping = TextOf(GetDlgItem(d, 1013));
    test::Key(VK_BACK);
    test::Key(VK_HOME);
    test::Key(VK_DELETE);
  });
  s.steps.push_back([&](HWND d) {
    afterKeys = TextOf(GetDlgItem(d, 1013));
    test::Key(VK_RIGHT, display::ModShift);  // alone: the modifier holds for the step
  });
  s.steps.push_back([&](HWND d) {
    HWND field = GetDlgItem(d, 1013);
    shiftSelection = Selection(field);
    test::Key(VK_END);
    SetWindowTextW(field, u"aaaaaaaa");
    RECT r;
    GetWindowRect(field, &r);
    test::StylusDown(r.left + 2, r.top + 4);
  });
  s.steps.push_back([](HWND d) {
    RECT r;
    GetWindowRect(GetDlgItem(d, 1013), &r);
    test::StylusMove(r.right - 2, r.top + 4);
  });
  s.steps.push_back([](HWND d) {
    RECT r;
    GetWindowRect(GetDlgItem(d, 1013), &r);
    test::StylusUp(r.right - 2, r.top + 4);
  });
  s.steps.push_back([&](HWND d) {
    dragSelection = Selection(GetDlgItem(d, 1013));
    EndDialog(d, 1);
  });
  RunDialog(100, s);
  EXPECT_EQ(afterTyping, u"ab\u05E9c");
  EXPECT_EQ(afterKeys, u"b\u05E9");  // Backspace took "c", Delete at Home took "a"
  EXPECT_EQ(shiftSelection, (std::pair<DWORD, DWORD>{0, 1}));
  EXPECT_EQ(dragSelection, (std::pair<DWORD, DWORD>{0, 8}));  // dragged over the whole text
}

TEST_F(ControlsTest, ReadOnlyEditRefusesTypingButTakesMessages) {
  Session s;
  s.steps.push_back([](HWND d) {
    HWND preview = GetDlgItem(d, 1002);
    SendMessageW(preview, EM_SETREADONLY, TRUE, 0);
    SetFocus(preview);
    test::Type(U'q');
  });
  s.steps.push_back([](HWND d) {
    HWND preview = GetDlgItem(d, 1002);
    EXPECT_EQ(TextOf(preview), u"");
    SendMessageW(preview, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(u"line\r\nnext"));
    EXPECT_EQ(TextOf(preview), u"line\r\nnext");  // a multi-line field keeps the break
    EXPECT_EQ(SendMessageW(preview, EM_GETLINECOUNT, 0, 0), 2);
    EndDialog(d, 1);
  });
  RunDialog(100, s);
}

std::vector<std::u16string> Items(HWND list) {
  std::vector<std::u16string> out;
  int n = int(SendMessageW(list, LB_GETCOUNT, 0, 0));
  for (int i = 0; i < n; ++i) {
    WCHAR text[64] = {};
    SendMessageW(list, LB_GETTEXT, WPARAM(i), reinterpret_cast<LPARAM>(text));
    out.push_back(text);
  }
  return out;
}

TEST_F(ControlsTest, ListBoxSortsSelectsByPrefixAndNotifies) {
  Session s;
  std::vector<WORD> notes;
  s.onMessage = [&](HWND, UINT m, WPARAM w, LPARAM) -> INT_PTR {
    if (m == WM_COMMAND && LOWORD(w) == 1001) notes.push_back(HIWORD(w));
    return 0;
  };
  s.steps.push_back([&](HWND d) {
    HWND list = GetDlgItem(d, 1001);
    SendMessageW(list, LB_RESETCONTENT, 0, 0);
    for (const char16_t* face : {u"Tahoma", u"david", u"Courier", u"DejaVu Sans", u"Arial"})
      SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(face));
    EXPECT_EQ(Items(list), (std::vector<std::u16string>{u"Arial", u"Courier", u"david", u"DejaVu Sans", u"Tahoma"}));
    EXPECT_EQ(SendMessageW(list, LB_GETCURSEL, 0, 0), LB_ERR);
    EXPECT_EQ(SendMessageW(list, LB_SELECTSTRING, WPARAM(-1), reinterpret_cast<LPARAM>(u"DAV")), 2);
    EXPECT_EQ(SendMessageW(list, LB_GETCURSEL, 0, 0), 2);
    EXPECT_EQ(SendMessageW(list, LB_SELECTSTRING, WPARAM(-1), reinterpret_cast<LPARAM>(u"Zz")), LB_ERR);
    EXPECT_EQ(SendMessageW(list, LB_GETCURSEL, 0, 0), 2);  // unchanged
    EXPECT_EQ(SendMessageW(list, LB_FINDSTRING, 2, reinterpret_cast<LPARAM>(u"d")), 3);
    WCHAR text[8] = u"keep";
    EXPECT_EQ(SendMessageW(list, LB_GETTEXT, 9, reinterpret_cast<LPARAM>(text)), LB_ERR);
    EXPECT_EQ(std::u16string(text), u"keep");
    EXPECT_EQ(SendMessageW(list, LB_GETTEXTLEN, 3, 0), 11);
    EXPECT_EQ(SendMessageW(list, LB_SETITEMDATA, 1, 77), LB_OKAY);
    EXPECT_EQ(SendMessageW(list, LB_GETITEMDATA, 1, 0), 77);
    EXPECT_EQ(SendMessageW(list, LB_GETITEMDATA, 7, 0), LB_ERR);
    EXPECT_EQ(SendMessageW(list, LB_INSERTSTRING, 0, reinterpret_cast<LPARAM>(u"Zed")), 0);
    EXPECT_EQ(SendMessageW(list, LB_GETCURSEL, 0, 0), 3);  // the selection stays on "david"
    EXPECT_EQ(SendMessageW(list, LB_GETCOUNT, 0, 0), 6);
    notes.clear();
    // A tap on the second row selects it and tells the dialog.
    RECT row;
    SendMessageW(list, LB_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&row));
    MapWindowPoints(list, nullptr, reinterpret_cast<POINT*>(&row), 2);
    test::Tap((row.left + row.right) / 2, (row.top + row.bottom) / 2);
  });
  s.steps.push_back([&](HWND d) {
    HWND list = GetDlgItem(d, 1001);
    EXPECT_EQ(SendMessageW(list, LB_GETCURSEL, 0, 0), 1);
    test::Key(VK_DOWN);
  });
  s.steps.push_back([&](HWND d) {
    // Two taps in a row on one item: a double tap.
    RECT row;
    HWND list = GetDlgItem(d, 1001);
    SendMessageW(list, LB_GETITEMRECT, 2, reinterpret_cast<LPARAM>(&row));
    MapWindowPoints(list, nullptr, reinterpret_cast<POINT*>(&row), 2);
    test::Tap((row.left + row.right) / 2, (row.top + row.bottom) / 2);
    test::Tap((row.left + row.right) / 2, (row.top + row.bottom) / 2);
  });
  s.steps.push_back([&](HWND d) {
    EXPECT_EQ(SendMessageW(GetDlgItem(d, 1001), LB_GETCURSEL, 0, 0), 2);
    EndDialog(d, 1);
  });
  RunDialog(100, s);
  // Focus, the tap's selection, the key's selection, the double tap on the selected item,
  // the focus leaving as the dialog ends.
  std::vector<WORD> want = {LBN_SETFOCUS, LBN_SELCHANGE, LBN_SELCHANGE, LBN_DBLCLK, LBN_KILLFOCUS};
  EXPECT_EQ(notes, want);
}

TEST_F(ControlsTest, ListBoxScrollsWithItsScrollBar) {
  Session s;
  s.steps.push_back([](HWND d) {
    HWND list = GetDlgItem(d, 1001);
    for (int i = 0; i < 30; ++i) {
      WCHAR text[8];
      swprintf(text, u"%02d", i);
      SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
    }
    SCROLLINFO si{sizeof si, SIF_ALL, 0, 0, 0, 0, 0};
    GetScrollInfo(list, SB_VERT, &si);
    EXPECT_EQ(si.nMax, 29);
    int rows = int(si.nPage);
    EXPECT_GT(rows, 0);
    SendMessageW(list, WM_VSCROLL, SB_LINEDOWN, 0);
    EXPECT_EQ(SendMessageW(list, LB_GETTOPINDEX, 0, 0), 1);
    SendMessageW(list, WM_VSCROLL, SB_PAGEDOWN, 0);
    EXPECT_EQ(SendMessageW(list, LB_GETTOPINDEX, 0, 0), 1 + rows);
    SendMessageW(list, WM_VSCROLL, MAKEWPARAM(SB_THUMBTRACK, 500), 0);
    EXPECT_EQ(SendMessageW(list, LB_GETTOPINDEX, 0, 0), 30 - rows);  // the last page
    GetScrollInfo(list, SB_VERT, &si);
    EXPECT_EQ(si.nPos, 30 - rows);
    EXPECT_EQ(SendMessageW(list, LB_SETTOPINDEX, 0, 0), LB_OKAY);
    EXPECT_EQ(SendMessageW(list, LB_SETTOPINDEX, 30, 0), LB_ERR);
    SendMessageW(list, LB_SETCURSEL, 20, 0);  // selecting brings the item into view
    int top = int(SendMessageW(list, LB_GETTOPINDEX, 0, 0));
    EXPECT_LE(top, 20);
    EXPECT_GT(top + rows, 20);
    EndDialog(d, 1);
  });
  RunDialog(100, s);
}

TEST_F(ControlsTest, WholeRowsAndFieldsWithoutScrolling) {
  Session s;
  s.steps.push_back([](HWND d) {
    HWND list = GetDlgItem(d, 1);
    RECT client;
    GetClientRect(list, &client);
    int h = int(SendMessageW(list, LB_GETITEMHEIGHT, 0, 0));
    ASSERT_GT(h, 0);
    EXPECT_EQ(client.bottom % h, 0);  // shrunk to whole rows
    EXPECT_GT(client.bottom, 0);
    SetFocus(GetDlgItem(d, 2));
    for (int i = 0; i < 40; ++i) test::Type(U'w');
  });
  s.steps.push_back([](HWND d) {
    HWND field = GetDlgItem(d, 2);
    int n = GetWindowTextLengthW(field);
    EXPECT_GT(n, 0);
    EXPECT_LT(n, 40);  // typing stops where the field is full
    EndDialog(d, 1);
  });
  RunDialog(105, s);
}

TEST_F(ControlsTest, AutoRadioButtonsUncheckTheirGroupOnly) {
  Session s;
  std::vector<int> clicked;
  s.onMessage = [&](HWND, UINT m, WPARAM w, LPARAM) -> INT_PTR {
    if (m == WM_COMMAND && HIWORD(w) == BN_CLICKED) clicked.push_back(LOWORD(w));
    return 0;
  };
  auto checks = [](HWND d) {
    std::string out;
    for (int id : {11, 12, 13, 21, 22}) out += char('0' + IsDlgButtonChecked(d, id));
    return out;
  };
  std::vector<std::string> states;
  s.steps.push_back([&](HWND d) {
    CheckDlgButton(d, 11, BST_CHECKED);
    CheckDlgButton(d, 21, BST_CHECKED);
    POINT p = test::CentreOf(GetDlgItem(d, 12));
    test::Tap(p.x, p.y);
  });
  s.steps.push_back([&](HWND d) {
    states.push_back(checks(d));
    SendDlgItemMessageW(d, 22, BM_CLICK, 0, 0);
    states.push_back(checks(d));
    SendDlgItemMessageW(d, 13, BM_SETCHECK, BST_CHECKED, 0);  // BM_SETCHECK alone: no group rule
    states.push_back(checks(d));
    SetFocus(GetDlgItem(d, 13));
    test::Key(VK_DOWN);  // round to the group's first button
  });
  s.steps.push_back([&](HWND d) {
    states.push_back(checks(d));
    EXPECT_EQ(GetDlgCtrlID(GetFocus()), 11);
    test::Key(VK_UP);
  });
  s.steps.push_back([&](HWND d) {
    states.push_back(checks(d));
    EndDialog(d, 1);
  });
  RunDialog(103, s);
  EXPECT_EQ(states, (std::vector<std::string>{"01010", "01001", "01101", "10001", "00101"}));
  EXPECT_EQ(clicked, (std::vector<int>{12, 22, 11, 13}));
}

TEST_F(ControlsTest, CheckBoxTogglesOnClick) {
  Session s;
  s.steps.push_back([](HWND d) {
    SendDlgItemMessageW(d, 1030, BM_CLICK, 0, 0);
    EXPECT_EQ(IsDlgButtonChecked(d, 1030), UINT(BST_CHECKED));
    SendDlgItemMessageW(d, 1030, BM_CLICK, 0, 0);
    EXPECT_EQ(IsDlgButtonChecked(d, 1030), UINT(BST_UNCHECKED));
    EXPECT_EQ(SendDlgItemMessageW(d, 1031, BM_GETCHECK, 0, 0), BST_UNCHECKED);  // a push button
    EndDialog(d, 1);
  });
  RunDialog(100, s);
}

TEST_F(ControlsTest, OwnerDrawnButtonIsDrawnByTheDialog) {
  Session s;
  std::vector<DRAWITEMSTRUCT> draws;
  HWND link = nullptr;
  COLORREF drawnPixel = CLR_INVALID;
  s.onMessage = [&](HWND, UINT m, WPARAM w, LPARAM l) -> INT_PTR {
    if (m != WM_DRAWITEM) return 0;
    auto* di = reinterpret_cast<DRAWITEMSTRUCT*>(l);
    EXPECT_EQ(w, di->CtlID);
    draws.push_back(*di);
    // The DC comes with the button's own font selected.
    EXPECT_EQ(GetCurrentObject(di->hDC, OBJ_FONT),
              reinterpret_cast<HGDIOBJ>(SendMessageW(di->hwndItem, WM_GETFONT, 0, 0)));
    // Blue on white, as a link is drawn.
    HBRUSH white = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    FillRect(di->hDC, &di->rcItem, white);
    SetPixel(di->hDC, 1, 1, RGB(0, 0, 255));
    drawnPixel = GetPixel(di->hDC, 1, 1);
    return TRUE;
  };
  s.steps.push_back([&](HWND d) {
    link = GetDlgItem(d, 1025);
    POINT p = test::CentreOf(link);
    test::StylusDown(p.x, p.y);
  });
  s.steps.push_back([&](HWND) {
    POINT p = test::CentreOf(link);
    test::StylusUp(p.x, p.y);
  });
  s.steps.push_back([](HWND d) { EndDialog(d, 1); });
  RunDialog(100, s);
  ASSERT_FALSE(draws.empty());
  const DRAWITEMSTRUCT& first = draws.front();
  EXPECT_EQ(first.CtlType, UINT(ODT_BUTTON));
  EXPECT_EQ(first.CtlID, 1025u);
  EXPECT_EQ(first.itemAction, UINT(ODA_DRAWENTIRE));
  EXPECT_EQ(first.hwndItem, link);
  EXPECT_NE(first.hDC, nullptr);
  EXPECT_EQ(first.rcItem.left, 0);
  EXPECT_EQ(first.rcItem.top, 0);
  EXPECT_GT(first.rcItem.right, 0);
  EXPECT_EQ(drawnPixel, RGB(0, 0, 255));
  bool pressedDraw = false;
  for (const DRAWITEMSTRUCT& di : draws) pressedDraw = pressedDraw || (di.itemState & ODS_SELECTED);
  EXPECT_TRUE(pressedDraw);  // drawn again while pressed
}

TEST_F(ControlsTest, ScreenshotOfEveryControl) {
  Session s;
  std::vector<uint32_t> screen;
  s.steps.push_back([](HWND d) {
    SetDlgItemTextW(d, 1013, u"\u05D2\u05D1\u05D0 abc");
    HWND list = GetDlgItem(d, 1001);
    for (const char16_t* face : {u"DejaVu Sans", u"Courier", u"Tahoma", u"Arial", u"Times"})
      SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(face));
    SendMessageW(list, LB_SETCURSEL, 1, 0);
    CheckDlgButton(d, 1005, BST_CHECKED);
    CheckDlgButton(d, 1030, BST_CHECKED);
    SetDlgItemTextW(d, 1002, u"\u05EA\u05E9\u05E8\u05E7\u05E6\u05E5\u05E4\u05E3\u05E2\u05E1\u05E0\u05DF\u05DE\u05DD\u05DC");
  });
  s.steps.push_back([&](HWND d) {
    screen = user::ComposeScreen();
    EndDialog(d, 1);
  });
  RunDialog(100, s);
  ASSERT_EQ(screen.size(), size_t(user::ScreenWidth()) * size_t(user::ScreenHeight()));
  std::string path = ::testing::TempDir() + "user_controls_dialog.png";
  EXPECT_TRUE(display::WritePng(path, screen.data(), user::ScreenWidth(), user::ScreenHeight(), user::ScreenWidth()));
  // Something was drawn: dark text pixels and the highlight of the selected list item.
  size_t dark = 0;
  for (uint32_t p : screen) dark += (p & 0xFFFFFF) < 0x404040;
  EXPECT_GT(dark, 200u);
}

}  // namespace
