// The search dialog over the real main window: the field as it opens, the letter keyboard
// where it is drawn, typing from a keyboard, OK with a match, with none and with nothing,
// Cancel, the input panel's button and the task bar in full-screen mode.
#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "base/app_state.h"
#include "resources/resource_ids.h"
#include "search/letter_keyboard.h"
#include "search/search_dialog.h"
#include "test_support/headless_screen.h"
#include "tests/search/search_fixture.h"
#include "text/letter_code.h"
#include "user/system.h"
#include "view/article_view.h"

namespace search_test {
namespace {

const std::u16string GimelBetAlef = u"\u05D2\u05D1\u05D0";

HWND Field(HWND dialog) { return GetDlgItem(dialog, IDC_SEARCH_FIELD); }

std::u16string FieldText(HWND dialog) {
  WCHAR text[64] = {};
  GetWindowTextW(Field(dialog), text, 64);
  return text;
}

std::pair<DWORD, DWORD> FieldSelection(HWND dialog) {
  DWORD start = 0, end = 0;
  SendMessageW(Field(dialog), EM_GETSEL, reinterpret_cast<WPARAM>(&start),
               reinterpret_cast<LPARAM>(&end));
  return {start, end};
}

std::string Pattern() { return reinterpret_cast<const char*>(App.SearchString); }

// The keyboard's top left corner on the screen, where the hit test places it.
POINT KeyboardOrigin(HWND dialog) {
  LONG units = GetDialogBaseUnits();
  POINT origin = {KeyboardLeftUnits * LOWORD(units) / 4, KeyboardTopUnits * HIWORD(units) / 8};
  ClientToScreen(dialog, &origin);
  return origin;
}

// The middle of the key's cell, or of the space bar.
void TapKey(HWND dialog, int key) {
  POINT origin = KeyboardOrigin(dialog);
  int x = 76, y = 85;
  if (key != SpaceBarKey) {
    x = (KeysInRow - 1 - (key - 1) % KeysInRow) * KeyCellWidth + KeyCellWidth / 2;
    y = (key - 1) / KeysInRow * KeyCellHeight + KeyCellHeight / 2;
  }
  test_support::Tap(origin.x + x, origin.y + y);
}

void Type(const std::u16string& text) {
  for (char16_t c : text) {
    display::Event e;
    e.kind = display::EventKind::Char;
    e.ch = c;
    user::HandleDisplayEvent(e);
  }
}

std::string Listing() {
  std::ostringstream out;
  user::PrintWindowList(out);
  return out.str();
}
bool SipButtonListed() { return Listing().find("input-panel-button") != std::string::npos; }

void Press(HWND dialog, int command) { PostMessageW(dialog, WM_COMMAND, command, 0); }

TEST(LetterKeyboard, EveryBoundaryOfTheHitTest) {
  struct {
    const char* what;
    int x, y, key;
  } cases[] = {
      {"top row, leftmost cell", 0, 0, 9},      {"top row, its last column", 16, 24, 9},
      {"top row, rightmost cell", 136, 0, 1},   {"top row, its last column", 152, 24, 1},
      {"the right border line", 153, 10, NoKey}, {"middle row, left", 0, 25, 18},
      {"middle row, right", 140, 49, 10},       {"bottom row, left", 0, 74, 27},
      {"bottom row, right", 152, 50, 19},       {"below the grid, column 1", 33, 80, NoKey},
      {"space bar, first column", 34, 75, SpaceBarKey},
      {"space bar, last column", 118, 94, SpaceBarKey},
      {"right of the space bar", 119, 80, NoKey}, {"left of the bitmap", -1, 10, NoKey},
      {"above it", 10, -1, NoKey},              {"right of it", 154, 10, NoKey},
      {"below it", 50, 95, NoKey},
  };
  for (auto& c : cases) EXPECT_EQ(KeyAt(c.x, c.y), c.key) << c.what;
}

TEST(LetterKeyboard, KeysGiveTheLettersOfTheCodeBase) {
  struct {
    LONG codeBase;
    int key;
    WCHAR unit;
  } cases[] = {{1488, 1, 0x05D0},  {1488, 11, 0x05DB}, {1488, 12, 0x05DA}, {1488, 27, 0x05EA},
               {224, 1, 0x00E0},   {224, 12, 0x00EA},  {97, 27, u'{'},     {1488, 0, u' '}};
  for (auto& c : cases) EXPECT_EQ(KeyUnit(c.key, c.codeBase), c.unit) << c.codeBase << " " << c.key;
}

TEST_F(SearchTest, OpensWithTheStoredPatternInTheReadingFontAndCancelKeepsIt) {
  ASSERT_TRUE(OpenWith(1, "cba"));
  Steps({[](HWND dialog) {
    EXPECT_EQ(FieldText(dialog), GimelBetAlef);
    EXPECT_EQ(SendMessageW(Field(dialog), EM_GETLIMITTEXT, 0, 0), 33);
    EXPECT_EQ(GetFocus(), Field(dialog));
    HFONT font = reinterpret_cast<HFONT>(SendMessageW(Field(dialog), WM_GETFONT, 0, 0));
    EXPECT_EQ(font, SearchFieldFont);
    LOGFONTW described = {};
    ASSERT_TRUE(GetObjectW(font, sizeof described, &described));
    EXPECT_EQ(std::u16string(described.lfFaceName), std::u16string(App.View->Font.Face));
    EXPECT_EQ(described.lfHeight, App.View->Font.Size);
    Press(dialog, IDCANCEL);
  }});
  SendMessageW(window_, WM_COMMAND, IDM_SEARCH, 0);
  EXPECT_EQ(Pattern(), "cba");
  EXPECT_EQ(SearchFieldFont, nullptr);
}

TEST_F(SearchTest, WithReverseOnOkOnTheUnchangedPatternStoresItUnchanged) {
  ASSERT_TRUE(OpenWith(1, "cba"));
  App.Flags |= Reverse;
  Steps({[](HWND dialog) {
           EXPECT_EQ(FieldText(dialog), GimelBetAlef);
           Press(dialog, IDOK);
         },
         [](HWND dialog) { Press(dialog, IDCANCEL); }});
  RunSearchDialog(window_);
  EXPECT_EQ(Pattern(), "cba");
  EXPECT_EQ(notFound_, 1);
}

TEST_F(SearchTest, TappedKeysStandInDisplayOrderAndAMatchClosesTheDialogWithItsBanner) {
  ASSERT_TRUE(OpenWith(1, ""));
  Steps({[](HWND dialog) {
           for (int i = 0; i < 3; ++i) TapKey(dialog, 7);  // zayin, letter code 'g'
         },
         [](HWND dialog) {
           EXPECT_EQ(FieldText(dialog), u"\u05D6\u05D6\u05D6");
           Press(dialog, IDOK);
         }});
  EXPECT_EQ(RunSearchDialog(window_), IDOK);
  EXPECT_EQ(Pattern(), "ggg");
  EXPECT_EQ(App.Lesson, 2);
  EXPECT_EQ(notFound_, 0);
  ASSERT_TRUE(Pump());
  // The paint after the dialog draws the banner again.
  const ArticleView* view = App.View;
  POINT at = {view->Left + view->Width / 2, view->Top + view->Height - 3};
  ClientToScreen(window_, &at);
  EXPECT_EQ(user::ComposeScreen()[size_t(at.y) * 240 + size_t(at.x)], 0xFF0000u);
}

TEST_F(SearchTest, NothingFoundKeepsTheDialogOpenWithTheFieldSelected) {
  ASSERT_TRUE(OpenWith(1, ""));
  Steps({[](HWND dialog) {
           TapKey(dialog, 1);  // alef, bet, gimel
           TapKey(dialog, 2);
           TapKey(dialog, 3);
         },
         [](HWND dialog) {
           EXPECT_EQ(FieldText(dialog), GimelBetAlef);
           EXPECT_EQ(FieldSelection(dialog), std::make_pair(DWORD(0), DWORD(0)));
           Press(dialog, IDOK);
         },
         [this](HWND dialog) {
           EXPECT_EQ(notFound_, 1);
           EXPECT_EQ(Pattern(), "cba");
           EXPECT_EQ(FieldSelection(dialog), std::make_pair(DWORD(0), DWORD(3)));
           TapKey(dialog, 4);  // the next key replaces the whole field
         },
         [](HWND dialog) {
           EXPECT_EQ(FieldText(dialog), u"\u05D3");
           Press(dialog, IDCANCEL);
         }});
  EXPECT_EQ(RunSearchDialog(window_), IDCANCEL);
  EXPECT_EQ(App.Lesson, 1);
}

TEST_F(SearchTest, EveryKeyIsWhereTheHitTestPutsIt) {
  ASSERT_TRUE(OpenWith(1, ""));
  Steps({[](HWND dialog) {
           // The picture's grid lines stand where the hit test counts its cells.
           POINT origin = KeyboardOrigin(dialog);
           const std::vector<uint32_t>& screen = user::ComposeScreen();
           auto pixel = [&](int x, int y) {
             return screen[size_t(origin.y + y) * 240 + size_t(origin.x + x)];
           };
           for (int column = 0; column <= KeysInRow; ++column) {
             EXPECT_EQ(pixel(column * KeyCellWidth, 12), 0u) << "line " << column;
             if (column < KeysInRow) {
               EXPECT_EQ(pixel(column * KeyCellWidth + 1, 1), 0xFFFFFFu) << "cell " << column;
             }
           }
           for (int row = 0; row <= KeyRows; ++row) EXPECT_EQ(pixel(8, row * KeyCellHeight), 0u);
           for (int key = 1; key <= LetterKeys; ++key) TapKey(dialog, key);
           TapKey(dialog, SpaceBarKey);
         },
         [](HWND dialog) {
           std::u16string expected = u" ";
           for (int key = LetterKeys; key >= 1; --key) expected += KeyUnit(key, FontAsciiBase());
           EXPECT_EQ(FieldText(dialog), expected);
           for (int i = 0; i < 10; ++i) TapKey(dialog, 1);
         },
         [](HWND dialog) {
           EXPECT_EQ(FieldText(dialog).size(), 33u) << "the field takes 33 characters";
           Press(dialog, IDCANCEL);
         }});
  RunSearchDialog(window_);
}

TEST_F(SearchTest, AWordTypedInReadingOrderIsStoredAsTheSameWordTapped) {
  ASSERT_TRUE(OpenWith(1, ""));
  Steps({[](HWND) { Type(u"\u05D0\u05D1\u05D2"); },
         [](HWND dialog) {
           EXPECT_EQ(FieldText(dialog), GimelBetAlef);
           EXPECT_EQ(FieldSelection(dialog), std::make_pair(DWORD(0), DWORD(0)));
           Press(dialog, IDOK);
         },
         [](HWND dialog) { Press(dialog, IDCANCEL); }});
  RunSearchDialog(window_);
  EXPECT_EQ(Pattern(), "cba");
}

TEST_F(SearchTest, TypedSpacesAndWildcardsGoInAsKeysOtherCharactersAsTyped) {
  ASSERT_TRUE(OpenWith(1, ""));
  App.Font.CodeBase = 224;
  Steps({[](HWND) { Type(u"\u05D0* ?\u05D1"); },
         [](HWND dialog) {
           EXPECT_EQ(FieldText(dialog), u"\u00E1? *\u00E0");
           Type(u"12");  // digits keep their order, as they are stored
         },
         [](HWND dialog) {
           EXPECT_EQ(FieldText(dialog), u"12\u00E1? *\u00E0");
           Press(dialog, IDOK);
         },
         [](HWND dialog) { Press(dialog, IDCANCEL); }});
  RunSearchDialog(window_);
  EXPECT_EQ(Pattern(), "12b? *a");
}

TEST_F(SearchTest, OkWithAnEmptyFieldClearsThePatternWithoutSearching) {
  ASSERT_TRUE(OpenWith(1, "cba"));
  Steps({[](HWND dialog) {
    SetWindowTextW(Field(dialog), u"");
    Press(dialog, IDOK);
  }});
  EXPECT_EQ(RunSearchDialog(window_), IDOK);
  EXPECT_EQ(Pattern(), "");
  EXPECT_EQ(notFound_, 0);
}

TEST_F(SearchTest, TheInputPanelButtonWhileActiveWhereThePublisherAllowsIt) {
  for (DWORD allowed : {1u, 0u}) {
    ASSERT_TRUE(OpenWith(1, ""));
    AllowSipInHebrewSearch = allowed;
    bool shownWhileOpen = false;
    Steps({[&](HWND dialog) {
      shownWhileOpen = SipButtonListed();
      SHSipPreference(dialog, SIP_UP);  // the reader opens the panel
      Press(dialog, IDCANCEL);
    }});
    RunSearchDialog(window_);
    EXPECT_EQ(shownWhileOpen, allowed != 0) << allowed;
    EXPECT_FALSE(SipButtonListed()) << "closing hides the button again";
    EXPECT_EQ(FindWindowW(u"InputPanel", nullptr), nullptr) << "closing pushes the panel down";
    DestroyWindow(window_);
    Pump();
  }
  AllowSipInHebrewSearch = 1;
}

TEST_F(SearchTest, InFullScreenModeTheActivationHidesTheTaskBar) {
  ASSERT_TRUE(OpenWith(1, ""));
  TaskBarWindow = FindWindowW(u"HHTaskBar", nullptr);
  ASSERT_NE(TaskBarWindow, nullptr);
  ShowWindow(TaskBarWindow, SW_SHOW);
  Steps({[](HWND dialog) {
    EXPECT_FALSE(IsWindowVisible(TaskBarWindow));
    Press(dialog, IDCANCEL);
  }});
  RunSearchDialog(window_);
  TaskBarWindow = nullptr;
}

}  // namespace
}  // namespace search_test
