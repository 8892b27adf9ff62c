// Window scroll bars: the codes and positions taps and drags produce, and the bar
// appearing and going with its range.
#include "fixture.h"

namespace user_test {
namespace {

using ScrollBarTest = UserTest;

struct Scroll {
  WORD code;
  short pos;
  bool operator==(const Scroll&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Scroll& s) {
  return out << "{" << s.code << "," << s.pos << "}";
}

std::vector<Scroll> Scrolls(HWND h) {
  std::vector<Scroll> out;
  for (const Logged& l : Log())
    if (l.window == h && l.message == WM_VSCROLL)
      out.push_back(Scroll{LOWORD(l.wParam), short(HIWORD(l.wParam))});
  return out;
}

using test_support::Stylus;

void Drag(int x1, int y1, int x2, int y2) {
  Stylus(display::EventKind::StylusDown, x1, y1);
  for (int i = 1; i <= 4; ++i)
    Stylus(display::EventKind::StylusMove, x1 + (x2 - x1) * i / 4, y1 + (y2 - y1) * i / 4);
  Stylus(display::EventKind::StylusUp, x2, y2);
}

// A full-screen window whose bar runs from x 227 to 240: arrows 0..13 and 307..320,
// the track between them (294 pixels), a 13-pixel thumb when the page is 0.
HWND BarWindow(int min, int max, int pos) {
  HWND h = CreateWindowExW(0, kLogClass, u"", WS_POPUP | WS_VISIBLE | WS_VSCROLL, 0, 0, 240, 320,
                           nullptr, nullptr, nullptr, nullptr);
  SCROLLINFO si{sizeof(SCROLLINFO), SIF_RANGE | SIF_POS, min, max, 0, pos, 0};
  SetScrollInfo(h, SB_VERT, &si, TRUE);
  Pump();
  Log().clear();
  return h;
}

TEST_F(ScrollBarTest, TapsOnArrowsAndTrackSendLineAndPageCodesThenEndScroll) {
  struct Case {
    int y;
    WORD code;
  };
  // Position 50 of 0..100 puts the thumb at 153..166.
  const Case cases[] = {{5, SB_LINEUP}, {315, SB_LINEDOWN}, {100, SB_PAGEUP}, {250, SB_PAGEDOWN}};
  for (const Case& c : cases) {
    HWND h = BarWindow(0, 100, 50);
    Tap(233, c.y);
    Pump();
    EXPECT_EQ(Scrolls(h), (std::vector<Scroll>{{c.code, 0}, {SB_ENDSCROLL, 0}})) << c.y;
    EXPECT_EQ(Messages({WM_LBUTTONDOWN, WM_LBUTTONUP}).size(), 0u);
    DestroyWindow(h);
  }
}

TEST_F(ScrollBarTest, DraggingTheThumbTracksThenGivesThePositionInTheHighWord) {
  struct Case {
    int min, max, pos;
    int toY;
    short last;
  };
  const Case cases[] = {
      {0, 100, 50, 1000, 100},
      {0, 100, 50, -100, 0},
      {-50, 50, 0, -100, -50},  // signed 16-bit positions
      {0, 100, 0, 13 + 6 + 281 / 4, 25},
  };
  for (const Case& c : cases) {
    HWND h = BarWindow(c.min, c.max, c.pos);
    int thumbTop = 13 + (c.pos - c.min) * 281 / (c.max - c.min);
    Drag(233, thumbTop + 6, 233, c.toY);
    Pump();
    std::vector<Scroll> seen = Scrolls(h);
    ASSERT_GE(seen.size(), 3u);
    for (size_t i = 0; i + 2 < seen.size(); ++i) EXPECT_EQ(seen[i].code, SB_THUMBTRACK);
    EXPECT_EQ(seen[seen.size() - 3].pos, c.last);
    EXPECT_EQ(seen[seen.size() - 2], (Scroll{SB_THUMBPOSITION, c.last}));
    EXPECT_EQ(seen.back(), (Scroll{SB_ENDSCROLL, 0}));
    DestroyWindow(h);
  }
}

TEST_F(ScrollBarTest, ATapOnABarWithAnEmptyRangeDoesNothing) {
  HWND h = CreateWindowExW(0, kLogClass, u"", WS_POPUP | WS_VISIBLE | WS_VSCROLL, 0, 0, 240, 320,
                           nullptr, nullptr, nullptr, nullptr);
  SCROLLINFO si{sizeof(SCROLLINFO), SIF_RANGE | SIF_DISABLENOSCROLL, 0, 0, 0, 0, 0};
  SetScrollInfo(h, SB_VERT, &si, TRUE);
  RECT client;
  GetClientRect(h, &client);
  EXPECT_EQ(client.right, 227);  // kept, disabled
  Log().clear();
  Tap(233, 5);
  Pump();
  EXPECT_TRUE(Scrolls(h).empty());
  EXPECT_EQ(Messages({WM_LBUTTONDOWN}).size(), 0u);
}

TEST_F(ScrollBarTest, SetScrollInfoShowsAndHidesTheBarAndResizesTheClientArea) {
  HWND h = MakeTopLevel(WS_VISIBLE);
  Pump();
  struct Case {
    int max;
    UINT page;
    int clientWidth;
    bool sized;
  };
  const Case cases[] = {
      {0, 0, 240, false},  // still empty: no bar
      {10, 0, 227, true},  // shown
      {20, 0, 227, false},
      {10, 11, 240, true},  // the page covers the range: hidden
      {30, 10, 227, true},
      {0, 0, 240, true},
  };
  for (const Case& c : cases) {
    Log().clear();
    SCROLLINFO si{sizeof(SCROLLINFO), SIF_RANGE | SIF_PAGE | SIF_POS, 0, c.max, c.page, 0, 0};
    SetScrollInfo(h, SB_VERT, &si, TRUE);
    RECT client;
    GetClientRect(h, &client);
    EXPECT_EQ(client.right, c.clientWidth) << c.max << "/" << c.page;
    bool barStyle = (GetWindowLongW(h, GWL_STYLE) & WS_VSCROLL) != 0;
    EXPECT_EQ(barStyle, c.clientWidth == 227);
    std::vector<LPARAM> sizes;
    for (const Logged& l : Log())
      if (l.message == WM_SIZE) sizes.push_back(l.lParam);
    EXPECT_EQ(sizes.size(), c.sized ? 1u : 0u) << c.max << "/" << c.page;
    if (!sizes.empty()) {
      EXPECT_EQ(LOWORD(sizes[0]), c.clientWidth);
    }
  }
}

TEST_F(ScrollBarTest, ScrollInfoKeepsThePositionWithinTheRangeLessThePage) {
  HWND h = MakeTopLevel(WS_VISIBLE | WS_VSCROLL);
  SCROLLINFO out{sizeof(SCROLLINFO), SIF_ALL, 0, 0, 0, 0, 0};
  ASSERT_TRUE(GetScrollInfo(h, SB_VERT, &out));
  EXPECT_EQ(out.nMin, 0);
  EXPECT_EQ(out.nMax, 100);  // the default range of WS_VSCROLL
  struct Case {
    int pos;
    UINT page;
    int kept;
  };
  for (Case c : {Case{50, 0, 50}, Case{150, 0, 100}, Case{-3, 0, 0}, Case{95, 10, 91}}) {
    SCROLLINFO si{sizeof(SCROLLINFO), SIF_RANGE | SIF_PAGE | SIF_POS, 0, 100, c.page, c.pos, 0};
    EXPECT_EQ(SetScrollInfo(h, SB_VERT, &si, TRUE), c.kept);
    EXPECT_EQ(GetScrollPos(h, SB_VERT), c.kept);
  }
  SCROLLINFO tooSmall{20, SIF_POS, 0, 0, 0, 5, 0};
  EXPECT_EQ(SetScrollInfo(h, SB_VERT, &tooSmall, TRUE), 0);
  EXPECT_EQ(GetScrollPos(h, SB_VERT), 91);
}

}  // namespace
}  // namespace user_test
