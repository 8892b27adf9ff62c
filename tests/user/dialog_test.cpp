// Dialogs from the test resources: the template read into its description, the layout
// in dialog units, the dialog keys and the caption button, focus and fonts, and
// templates that must be refused.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "kernel/resources.h"
#include "session.h"
#include "user/dialog_template.h"

namespace {

using test::RunDialog;
using test::Session;
using user::dlg::ControlClass;
using user::dlg::ParseDialogTemplate;
using user::dlg::ParseError;

class DialogTest : public ::testing::Test {
 protected:
  void SetUp() override { user::ResetForTests(); }
  void TearDown() override { user::ResetForTests(); }
};

std::vector<uint8_t> TemplateBytes(int id) {
  DWORD size = 0;
  const DLGTEMPLATE* t = test::Template(id, &size);
  auto* p = reinterpret_cast<const uint8_t*>(t);
  return std::vector<uint8_t>(p, p + size);
}

TEST(DialogTemplate, ReadsEveryFieldOfTheClassicForm) {
  std::vector<uint8_t> bytes = TemplateBytes(100);
  ASSERT_FALSE(bytes.empty());
  auto r = ParseDialogTemplate(bytes.data(), bytes.size());
  ASSERT_TRUE(r.dialog) << int(r.error);
  const auto& d = *r.dialog;
  EXPECT_FALSE(d.extended);
  EXPECT_EQ(d.style, 0x90C80840u);
  EXPECT_EQ(d.exStyle, 0x80000000u);
  EXPECT_EQ(d.cx, 150);
  EXPECT_EQ(d.cy, 160);
  EXPECT_EQ(d.title, u"Every control");
  EXPECT_TRUE(d.hasFont);
  EXPECT_EQ(d.pointSize, 8);
  EXPECT_EQ(d.faceName, u"System");
  ASSERT_EQ(d.items.size(), 10u);
  struct Want {
    ControlClass cls;
    uint32_t id;
    int16_t x, y, cx, cy;
  };
  const Want want[] = {
      {ControlClass::Static, 0xFFFF, 7, 7, 112, 8},   {ControlClass::Edit, 1013, 7, 18, 112, 12},
      {ControlClass::Static, 0xFFFF, 7, 34, 0, 0},    {ControlClass::ListBox, 1001, 7, 52, 60, 40},
      {ControlClass::Button, 1004, 75, 52, 40, 10},   {ControlClass::Button, 1005, 75, 64, 40, 10},
      {ControlClass::Button, 1030, 75, 76, 40, 10},   {ControlClass::Edit, 1002, 7, 96, 136, 30},
      {ControlClass::Button, 1025, 7, 130, 60, 8},    {ControlClass::Button, 1031, 90, 130, 40, 14},
  };
  for (size_t i = 0; i < 10; ++i) {
    const auto& item = d.items[i];
    EXPECT_EQ(item.controlClass, want[i].cls) << i;
    EXPECT_EQ(item.id, want[i].id) << i;
    EXPECT_EQ(item.x, want[i].x) << i;
    EXPECT_EQ(item.y, want[i].y) << i;
    EXPECT_EQ(item.cx, want[i].cx) << i;
    EXPECT_EQ(item.cy, want[i].cy) << i;
  }
  EXPECT_EQ(d.items[0].title.text, u"Search");
  EXPECT_EQ(d.items[0].style & 0xFF, 0x81u);  // SS_CENTER | SS_NOPREFIX
  EXPECT_TRUE(d.items[2].title.isOrdinal());  // the bitmap's resource id
  EXPECT_EQ(d.items[2].title.ordinal, 119);
  EXPECT_EQ(d.items[2].style, 0x5000000Eu);
  EXPECT_EQ(d.items[8].style, 0x5001000Bu);
  EXPECT_EQ(d.items[8].title.text, u"link.example");
}

TEST(DialogTemplate, ReadsTheExtendedForm) {
  std::vector<uint8_t> bytes = TemplateBytes(104);
  auto r = ParseDialogTemplate(bytes.data(), bytes.size());
  ASSERT_TRUE(r.dialog);
  EXPECT_TRUE(r.dialog->extended);
  EXPECT_EQ(r.dialog->pointSize, 9);
  EXPECT_EQ(r.dialog->weight, 700);
  EXPECT_TRUE(r.dialog->italic);
  EXPECT_EQ(r.dialog->charSet, 177);
  ASSERT_EQ(r.dialog->items.size(), 1u);
  EXPECT_EQ(r.dialog->items[0].id, 7u);
  EXPECT_EQ(r.dialog->items[0].exStyle, 4u);
  EXPECT_EQ(r.dialog->items[0].title.text, u"Hi");
}

TEST(DialogTemplate, RefusesCutOffBytesAndTooManyItems) {
  for (int id : {100, 101, 103, 104}) {
    std::vector<uint8_t> bytes = TemplateBytes(id);
    ASSERT_TRUE(ParseDialogTemplate(bytes.data(), bytes.size()).dialog) << id;
    // Every shorter piece ends inside the header or an item.
    for (size_t n = 0; n + 1 < bytes.size(); ++n) {
      std::vector<uint8_t> piece(bytes.begin(), bytes.begin() + ptrdiff_t(n));
      auto r = ParseDialogTemplate(piece.data(), piece.size());
      EXPECT_FALSE(r.dialog) << id << " cut at " << n;
    }
  }
  std::vector<uint8_t> bytes = TemplateBytes(100);
  bytes[8] = 11;  // cdit: one item more than the bytes hold
  auto r = ParseDialogTemplate(bytes.data(), bytes.size());
  EXPECT_FALSE(r.dialog);
  EXPECT_EQ(r.error, ParseError::Truncated);
  bytes[8] = 0xFF;
  bytes[9] = 0xFF;
  EXPECT_FALSE(ParseDialogTemplate(bytes.data(), bytes.size()).dialog);
  EXPECT_FALSE(ParseDialogTemplate(nullptr, 100).dialog);
}

TEST(DialogTemplate, RefusesUnknownClassesUnlessRegistered) {
  std::vector<uint8_t> bytes = TemplateBytes(102);
  auto r = ParseDialogTemplate(bytes.data(), bytes.size());
  EXPECT_FALSE(r.dialog);
  EXPECT_EQ(r.error, ParseError::UnknownClass);
  auto known = [](const std::u16string& name) { return name == u"NoSuchClass"; };
  EXPECT_TRUE(ParseDialogTemplate(bytes.data(), bytes.size(), known).dialog);
}

TEST_F(DialogTest, BadTemplatesFailWithMinusOneAndCreateNothing) {
  Session s;
  HWND before = FindWindowW(nullptr, u"Unknown");
  EXPECT_EQ(RunDialog(102, s), -1);
  EXPECT_EQ(FindWindowW(nullptr, u"Unknown"), before);
  EXPECT_EQ(s.dialog, nullptr);  // no WM_INITDIALOG
  EXPECT_EQ(DialogBoxIndirectParamW(nullptr, nullptr, nullptr, nullptr, 0), -1);
}

// A .res file holding the given dialog templates, numbered from 1.
std::vector<uint8_t> ResFile(const std::vector<std::vector<uint8_t>>& dialogs) {
  std::vector<uint8_t> out = {0, 0, 0, 0, 0x20, 0, 0, 0, 0xFF, 0xFF, 0, 0, 0xFF, 0xFF, 0, 0};
  out.resize(32, 0);
  auto put32 = [&](uint32_t v) {
    for (int i = 0; i < 4; ++i) out.push_back(uint8_t(v >> (8 * i)));
  };
  auto put16 = [&](uint16_t v) {
    out.push_back(uint8_t(v));
    out.push_back(uint8_t(v >> 8));
  };
  for (size_t i = 0; i < dialogs.size(); ++i) {
    put32(uint32_t(dialogs[i].size()));
    put32(0x20);
    put16(0xFFFF), put16(5);  // RT_DIALOG
    put16(0xFFFF), put16(uint16_t(i + 1));
    put32(0), put16(0x1030), put16(0x0409), put32(0), put32(0);
    out.insert(out.end(), dialogs[i].begin(), dialogs[i].end());
    while (out.size() % 4) out.push_back(0);
  }
  return out;
}

INT_PTR CALLBACK EndAtOnce(HWND dialog, UINT message, WPARAM, LPARAM) {
  if (message == WM_INITDIALOG) EndDialog(dialog, 42);
  return FALSE;
}

TEST_F(DialogTest, TemplatesInAModuleAreReadWithinTheirResource) {
  std::vector<uint8_t> whole = TemplateBytes(100);
  std::vector<uint8_t> half(whole.begin(), whole.begin() + ptrdiff_t(whole.size() / 8 * 4));
  // The cut template ends the module's bytes, so reading on would leave them (which
  // the address sanitizer reports); the empty one has an address of its own.
  HMODULE module = kernel::LoadModuleFromBytes(ResFile({whole, {}, half}));
  ASSERT_NE(module, nullptr);
  auto open = [&](int id) {
    HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(id), RT_DIALOG);
    auto* t = static_cast<LPCDLGTEMPLATEW>(LockResource(LoadResource(module, found)));
    return DialogBoxIndirectParamW(module, t, nullptr, EndAtOnce, 0);
  };
  EXPECT_EQ(open(1), 42);
  EXPECT_EQ(open(2), -1);  // no bytes at all
  EXPECT_EQ(open(3), -1);  // cut off in the middle of an item
  EXPECT_EQ(FindWindowW(nullptr, u"Every control"), nullptr);
}

TEST_F(DialogTest, ControlsStandAtTheirDialogUnitsInPixels) {
  Session s;
  struct Placed {
    int id;
    RECT rect;
  };
  std::vector<Placed> placed;
  SIZE base{};
  RECT client{}, window{};
  s.onMessage = [&](HWND d, UINT m, WPARAM, LPARAM) -> INT_PTR {
    if (m != WM_INITDIALOG) return 0;
    // Base units measured here, independently: the dialog font's cell height and the
    // rounded average width of the letters.
    HDC dc = GetDC(d);
    HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(d, WM_GETFONT, 0, 0)));
    TEXTMETRICW tm{};
    GetTextMetricsW(dc, &tm);
    SIZE letters{};
    GetTextExtentPoint32W(dc, u"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz", 52, &letters);
    SelectObject(dc, old);
    ReleaseDC(d, dc);
    base = SIZE{(letters.cx / 26 + 1) / 2, tm.tmHeight};
    GetClientRect(d, &client);
    GetWindowRect(d, &window);
    POINT origin{0, 0};
    ClientToScreen(d, &origin);
    for (HWND c = GetWindow(d, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
      RECT r;
      GetWindowRect(c, &r);
      OffsetRect(&r, -origin.x, -origin.y);
      placed.push_back({GetDlgCtrlID(c), r});
    }
    return 0;
  };
  s.steps.push_back([](HWND d) { EndDialog(d, 5); });
  EXPECT_EQ(RunDialog(100, s), 5);
  ASSERT_GT(base.cx, 0);
  ASSERT_GT(base.cy, 0);
  auto px = [&](int u) { return int(u * base.cx / 4); };
  auto py = [&](int u) { return int(u * base.cy / 8); };
  // "System" 8 points lays templates out as the handheld did: 160 units fill at most
  // its 240-pixel screen.
  EXPECT_LE(px(160), 240);
  EXPECT_EQ(client.right, px(150));
  EXPECT_EQ(client.bottom, py(160));
  // DS_CENTER: centred on the work area.
  RECT area = user::WorkArea();
  EXPECT_EQ(window.left, area.left + (area.right - area.left - (window.right - window.left)) / 2);
  EXPECT_EQ(window.top, area.top + (area.bottom - area.top - (window.bottom - window.top)) / 2);
  auto find = [&](int id) {
    for (const Placed& p : placed)
      if (p.id == id) return p.rect;
    return RECT{-1, -1, -1, -1};
  };
  struct Case {
    int id, x, y, cx, cy;
  };
  for (const Case& c : {Case{1013, 7, 18, 112, 12}, Case{1001, 7, 52, 60, 40}, Case{1004, 75, 52, 40, 10},
                        Case{1002, 7, 96, 136, 30}, Case{1031, 90, 130, 40, 14}}) {
    RECT r = find(c.id);
    EXPECT_EQ(r.left, px(c.x)) << c.id;
    EXPECT_EQ(r.top, py(c.y)) << c.id;
    EXPECT_EQ(r.right - r.left, px(c.cx)) << c.id;
    EXPECT_EQ(r.bottom - r.top, py(c.cy)) << c.id;
  }
  // The bitmap static takes the bitmap's own size, 24 x 16, at its template place.
  bool sawBitmap = false;
  for (const Placed& p : placed)
    if (p.id == 0xFFFF && p.rect.right - p.rect.left == 24) {
      sawBitmap = true;
      EXPECT_EQ(p.rect.left, px(7));
      EXPECT_EQ(p.rect.top, py(34));
      EXPECT_EQ(p.rect.bottom - p.rect.top, 16);
    }
  EXPECT_TRUE(sawBitmap);
}

TEST_F(DialogTest, EveryControlHasTheDialogFont) {
  Session s;
  std::vector<HFONT> fonts;
  HFONT dialogFont = nullptr;
  LOGFONTW lf{};
  int got = 0;
  s.onMessage = [&](HWND d, UINT m, WPARAM, LPARAM) -> INT_PTR {
    if (m != WM_INITDIALOG) return 0;
    dialogFont = reinterpret_cast<HFONT>(SendMessageW(d, WM_GETFONT, 0, 0));
    got = GetObjectW(dialogFont, sizeof lf, &lf);
    for (HWND c = GetWindow(d, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT))
      fonts.push_back(reinterpret_cast<HFONT>(SendMessageW(c, WM_GETFONT, 0, 0)));
    return 0;
  };
  s.steps.push_back([](HWND d) { EndDialog(d, 1); });
  RunDialog(100, s);
  ASSERT_NE(dialogFont, nullptr);
  ASSERT_EQ(got, int(sizeof lf));
  EXPECT_EQ(lf.lfHeight, -11);  // 8 points at 96 pixels per inch
  EXPECT_EQ(std::u16string(lf.lfFaceName), u"System");
  ASSERT_EQ(fonts.size(), 10u);
  for (HFONT f : fonts) EXPECT_EQ(f, dialogFont);
}

TEST_F(DialogTest, EnterEscapeAndTheCaptionButtonGiveOkAndCancel) {
  {
    Session s;
    s.steps.push_back([](HWND) { test::Key(VK_RETURN); });
    EXPECT_EQ(RunDialog(100, s), IDOK);
  }
  {
    Session s;  // a default push button takes Enter's command
    s.steps.push_back([](HWND) { test::Key(VK_RETURN); });
    s.steps.push_back([](HWND d) { EndDialog(d, 4); });
    EXPECT_EQ(RunDialog(103, s), 4);
    ASSERT_EQ(s.commands.size(), 1u);
    EXPECT_EQ(LOWORD(s.commands[0]), 30);
  }
  {
    Session s;
    s.steps.push_back([](HWND) { test::Key(VK_ESCAPE); });
    EXPECT_EQ(RunDialog(100, s), IDCANCEL);
  }
  {
    Session s;  // no controls: the keys still work
    s.steps.push_back([](HWND) { test::Key(VK_ESCAPE); });
    EXPECT_EQ(RunDialog(101, s), IDCANCEL);
  }
  {
    Session s;
    s.steps.push_back([](HWND d) {
      user::Frame f = user::FrameOf(d);
      RECT w;
      GetWindowRect(d, &w);
      ASSERT_FALSE(IsRectEmpty(&f.okButton));
      test::Tap(w.left + (f.okButton.left + f.okButton.right) / 2, w.top + (f.okButton.top + f.okButton.bottom) / 2);
    });
    EXPECT_EQ(RunDialog(101, s), IDOK);
  }
}

TEST_F(DialogTest, InitDialogAnswerDecidesTheFocus) {
  for (INT_PTR answer : {TRUE, FALSE}) {
    Session s;
    s.initAnswer = answer;
    int focus = 0;
    DWORD start = 9, end = 9;
    s.steps.push_back([&](HWND d) {
      focus = GetDlgCtrlID(GetFocus());
      SendDlgItemMessageW(d, 1013, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
      EndDialog(d, 1);
    });
    s.onMessage = [](HWND d, UINT m, WPARAM, LPARAM) -> INT_PTR {
      if (m == WM_INITDIALOG) SetDlgItemTextW(d, 1013, u"abc");
      return 0;
    };
    EXPECT_EQ(RunDialog(100, s), 1);
    if (answer) {
      EXPECT_EQ(focus, 1013);  // the first WS_TABSTOP control
      EXPECT_EQ(start, 0u);                   // with its whole text selected
      EXPECT_EQ(end, 3u);
    } else {
      EXPECT_NE(focus, 1013);
    }
  }
}

TEST_F(DialogTest, TabMovesBetweenTabStops) {
  Session s;
  std::vector<int> stops, seen;
  s.steps.push_back([&](HWND d) {
    // The tab stops in template order.
    for (HWND c = GetWindow(d, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT))
      if (GetWindowLongW(c, GWL_STYLE) & WS_TABSTOP) stops.insert(stops.begin(), GetDlgCtrlID(c));
    seen.push_back(GetDlgCtrlID(GetFocus()));
    test::Key(VK_TAB);
  });
  for (int i = 0; i < 3; ++i)
    s.steps.push_back([&seen, i](HWND) {
      seen.push_back(GetDlgCtrlID(GetFocus()));
      test::Key(VK_TAB, i < 2 ? 0u : uint32_t(display::ModShift));
    });
  s.steps.push_back([&](HWND d) {
    seen.push_back(GetDlgCtrlID(GetFocus()));
    EndDialog(d, 1);
  });
  RunDialog(100, s);
  ASSERT_GE(stops.size(), 4u);
  EXPECT_EQ(stops[0], 1013);
  ASSERT_EQ(seen.size(), 5u);
  EXPECT_EQ(seen[0], stops[0]);
  EXPECT_EQ(seen[1], stops[1]);
  EXPECT_EQ(seen[2], stops[2]);
  EXPECT_EQ(seen[3], stops[3]);
  EXPECT_EQ(seen[4], stops[2]);  // Shift+Tab goes back
}

TEST_F(DialogTest, OwnerIsDisabledWhileTheDialogRunsAndActiveAfter) {
  WNDCLASSW wc{};
  wc.lpfnWndProc = DefWindowProcW;
  wc.lpszClassName = u"OwnerTest";
  RegisterClassW(&wc);
  HWND owner = CreateWindowExW(0, u"OwnerTest", u"Owner", WS_VISIBLE, CW_USEDEFAULT, CW_USEDEFAULT,
                               CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr, nullptr, nullptr);
  ASSERT_TRUE(owner);
  Session s;
  bool enabledInside = true;
  HWND activeInside = nullptr;
  s.steps.push_back([&](HWND d) {
    enabledInside = IsWindowEnabled(owner);
    activeInside = GetActiveWindow();
    EndDialog(d, 3);
  });
  EXPECT_EQ(RunDialog(101, s, owner), 3);
  EXPECT_FALSE(enabledInside);
  EXPECT_EQ(activeInside, s.dialog);
  EXPECT_TRUE(IsWindowEnabled(owner));
  EXPECT_EQ(GetActiveWindow(), owner);
  EXPECT_FALSE(IsWindow(s.dialog));
}

TEST_F(DialogTest, DialogWithoutControlsTakesTheKeys) {
  Session s;
  std::vector<WPARAM> keys;
  s.onMessage = [&](HWND, UINT m, WPARAM w, LPARAM) -> INT_PTR {
    if (m == WM_KEYDOWN) keys.push_back(w);
    return 0;
  };
  s.steps.push_back([](HWND) {
    test::Key(VK_DOWN);
    test::Key(VK_NEXT);
  });
  s.steps.push_back([](HWND d) { EndDialog(d, 1); });
  RunDialog(101, s);
  EXPECT_EQ(keys, (std::vector<WPARAM>{VK_DOWN, VK_NEXT}));
}

// A dialog made without WS_VSCROLL that shows its bar with SetScrollInfo, draws through
// a DC of its own held for its whole life, and answers WM_ERASEBKGND by filling and
// invalidating without erase, so that its paint follows the erase.
TEST_F(DialogTest, ADialogWithItsOwnDcGetsItsScrollBarAndPaintsAfterItsErase) {
  Session s;
  HDC held = nullptr;
  std::vector<LONG> sizes;   // client widths of WM_SIZE, in order
  int paints = 0;
  LONG sizedDuringSet = 0;   // the WM_SIZE that SetScrollInfo sent, before it returned
  HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
  s.onMessage = [&](HWND d, UINT m, WPARAM w, LPARAM l) -> INT_PTR {
    switch (m) {
      case WM_INITDIALOG: {
        held = GetDC(d);
        EXPECT_FALSE(GetWindowLongW(d, GWL_STYLE) & WS_VSCROLL);
        size_t before = sizes.size();
        SCROLLINFO info{28, SIF_RANGE | SIF_POS, 0, 10, 0, 0, 0};
        SetScrollInfo(d, SB_VERT, &info, TRUE);
        if (sizes.size() > before) sizedDuringSet = sizes.back();
        return FALSE;
      }
      case WM_SIZE: sizes.push_back(LOWORD(l)); return 0;
      case WM_ERASEBKGND: {
        RECT client;
        GetClientRect(d, &client);
        FillRect(reinterpret_cast<HDC>(w), &client, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
        InvalidateRect(d, &client, FALSE);
        return 1;
      }
      case WM_PAINT: {
        ++paints;
        RECT square{0, 0, 10, 10};
        FillRect(held, &square, red);
        return 0;  // the default handling validates
      }
      case WM_DESTROY: EXPECT_EQ(ReleaseDC(d, held), 1); return 0;
    }
    return 0;
  };
  auto redAtClientOrigin = [](HWND d) {
    POINT at{2, 2};
    ClientToScreen(d, &at);
    return user::ComposeScreen()[size_t(at.y) * 240 + size_t(at.x)] == 0xFF0000u;
  };
  s.steps.push_back([&](HWND d) {
    RECT window, client;
    GetWindowRect(d, &window);
    GetClientRect(d, &client);
    EXPECT_EQ(sizedDuringSet, client.right);
    EXPECT_EQ(client.right, window.right - window.left - 2 - GetSystemMetrics(SM_CXVSCROLL));
    EXPECT_TRUE(GetWindowLongW(d, GWL_STYLE) & WS_VSCROLL);
    EXPECT_TRUE(redAtClientOrigin(d));  // drawn after the erase, not under it
    EXPECT_GE(paints, 2);
    EXPECT_LE(paints, 3);
    MoveWindow(d, 5, 40, 200, 150, TRUE);
  });
  s.steps.push_back([&](HWND d) {
    EXPECT_TRUE(redAtClientOrigin(d));  // the held DC draws where the dialog is now
    paints = 0;
  });
  s.steps.push_back([&](HWND d) {
    EXPECT_EQ(paints, 0);  // settled: no paint without a change
    SCROLLINFO none{28, SIF_RANGE, 0, 0, 0, 0, 0};
    SetScrollInfo(d, SB_VERT, &none, TRUE);
    EXPECT_FALSE(GetWindowLongW(d, GWL_STYLE) & WS_VSCROLL);
    RECT client;
    GetClientRect(d, &client);
    EXPECT_EQ(sizes.back(), client.right);
    EndDialog(d, IDOK);
  });
  EXPECT_EQ(RunDialog(101, s), IDOK);
  DeleteObject(red);
}

TEST_F(DialogTest, TapOnAPlainStaticReachesTheDialog) {
  Session s;
  std::vector<POINT> taps;
  RECT bitmapInClient{};
  s.onMessage = [&](HWND, UINT m, WPARAM, LPARAM l) -> INT_PTR {
    if (m == WM_LBUTTONDOWN) taps.push_back(POINT{GET_X_LPARAM(l), GET_Y_LPARAM(l)});
    return 0;
  };
  s.steps.push_back([&](HWND d) {
    for (HWND c = GetWindow(d, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT))
      if (SendMessageW(c, STM_GETIMAGE, IMAGE_BITMAP, 0)) {
        GetWindowRect(c, &bitmapInClient);
        MapWindowPoints(nullptr, d, reinterpret_cast<POINT*>(&bitmapInClient), 2);
        POINT p = test::CentreOf(c);
        test::Tap(p.x, p.y);
      }
  });
  s.steps.push_back([](HWND d) { EndDialog(d, 1); });
  RunDialog(100, s);
  ASSERT_EQ(taps.size(), 1u);
  EXPECT_EQ(taps[0].x, (bitmapInClient.left + bitmapInClient.right) / 2);
  EXPECT_EQ(taps[0].y, (bitmapInClient.top + bitmapInClient.bottom) / 2);
}

INT_PTR CALLBACK ModelessProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  if (message == WM_COMMAND && LOWORD(wParam) == IDCANCEL) {
    EndDialog(dialog, IDCANCEL);
    return TRUE;
  }
  return message == WM_INITDIALOG;
}

TEST_F(DialogTest, ModelessDialogWithTheSystemFontTakesKeysThroughIsDialogMessage) {
  HWND dialog = CreateDialogIndirectParamW(GetModuleHandleW(nullptr), test::Template(106), nullptr,
                                           ModelessProc, 0);
  ASSERT_NE(dialog, nullptr);
  EXPECT_FALSE(IsWindowVisible(dialog));  // no WS_VISIBLE in the template
  // No DS_SETFONT: the system's dialog font and its base units.
  HFONT font = reinterpret_cast<HFONT>(SendMessageW(dialog, WM_GETFONT, 0, 0));
  EXPECT_EQ(font, GetStockObject(DEFAULT_GUI_FONT));
  EXPECT_EQ(reinterpret_cast<HFONT>(SendDlgItemMessageW(dialog, 3, WM_GETFONT, 0, 0)), font);
  LONG units = GetDialogBaseUnits();
  RECT r;
  GetWindowRect(GetDlgItem(dialog, 3), &r);
  EXPECT_EQ(r.right - r.left, 60 * LOWORD(units) / 4);
  ShowWindow(dialog, SW_SHOW);
  SetFocus(GetDlgItem(dialog, 3));
  test::Key(VK_ESCAPE);
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
    if (!IsDialogMessageW(dialog, &msg)) DispatchMessageW(&msg);
  EXPECT_FALSE(IsWindowVisible(dialog));  // EndDialog hides a modeless dialog
  EXPECT_TRUE(IsWindow(dialog));
  EXPECT_TRUE(DestroyWindow(dialog));
  EXPECT_FALSE(EndDialog(dialog, 1));  // no longer a dialog
}

TEST_F(DialogTest, DialogItemHelpers) {
  Session s;
  s.steps.push_back([](HWND d) {
    EXPECT_TRUE(SetDlgItemTextW(d, 1013, u"\u05D0\u05D1x"));
    WCHAR text[8];
    EXPECT_EQ(GetDlgItemTextW(d, 1013, text, 8), 3u);
    EXPECT_EQ(std::u16string(text), u"\u05D0\u05D1x");
    EXPECT_EQ(GetDlgItemTextW(d, 1013, text, 2), 1u);  // cut to the buffer
    EXPECT_EQ(GetDlgItemTextW(d, 4242, text, 8), 0u);
    EXPECT_FALSE(SetDlgItemTextW(d, 4242, u"x"));
    EXPECT_EQ(SendDlgItemMessageW(d, 4242, WM_GETTEXTLENGTH, 0, 0), 0);
    EXPECT_EQ(GetDlgCtrlID(GetDlgItem(d, 1001)), 1001);
    RECT r{4, 8, 8, 16};
    EXPECT_TRUE(MapDialogRect(d, &r));
    LONG units = GetDialogBaseUnits();
    EXPECT_EQ(r.left, LOWORD(units));  // the dialog font is the system's 8-point font
    EXPECT_EQ(r.top, HIWORD(units));
    EXPECT_TRUE(CheckDlgButton(d, 1030, BST_CHECKED));
    EXPECT_EQ(IsDlgButtonChecked(d, 1030), UINT(BST_CHECKED));
    EXPECT_EQ(IsDlgButtonChecked(d, 4242), 0u);
    EXPECT_TRUE(CheckRadioButton(d, 1004, 1005, 1005));
    EXPECT_EQ(IsDlgButtonChecked(d, 1004), 0u);
    EXPECT_EQ(IsDlgButtonChecked(d, 1005), 1u);
    EndDialog(d, 1);
  });
  RunDialog(100, s);
}

}  // namespace
