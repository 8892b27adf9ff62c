// The About box run modally as the program runs it: its texts, the link's font, size
// and looks, the home page it opens, and the link font released by either closing.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "dialog_fixture.h"
#include "dialogs/about_dialog.h"
#include "dialogs/link_button.h"
#include "fake_opener.h"
#include "resources/publisher.h"
#include "resources/resource_ids.h"
#include "test_support/headless_screen.h"

namespace dialogs_test {
namespace {

class AboutDialogTest : public DialogTest {
 protected:
  INT_PTR Run(std::vector<Step> steps) {
    Steps(std::move(steps));
    return RunAboutDialog(nullptr);
  }
};

LOGFONTW Description(HFONT font) {
  LOGFONTW description = {};
  EXPECT_EQ(GetObjectW(font, sizeof description, &description), int(sizeof description));
  return description;
}

SIZE CaptionExtent(HWND link, HFONT font) {
  WCHAR caption[100] = {};
  int length = GetWindowTextW(link, caption, 100);
  HDC dc = GetDC(link);
  HGDIOBJ old = SelectObject(dc, font);
  SIZE extent = {};
  GetTextExtentPoint32W(dc, caption, length, &extent);
  SelectObject(dc, old);
  ReleaseDC(link, dc);
  return extent;
}

std::vector<std::u16string> Texts(HWND dialog) {
  std::vector<std::u16string> texts;
  for (HWND c = GetWindow(dialog, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
    WCHAR text[100] = {};
    GetWindowTextW(c, text, 100);
    texts.push_back(text);
  }
  return texts;
}

TEST_F(AboutDialogTest, NamesTheEditionItsVersionAndTheLink) {
  EXPECT_EQ(Run({[](HWND d) {
              WCHAR title[64] = {};
              GetWindowTextW(d, title, 64);
              EXPECT_EQ(std::u16string(title), u"Vintrel - 5765 (heb)");
              std::vector<std::u16string> texts = Texts(d);
              for (const char16_t* text : {u"Vintrel - 5765 (Hebrew)", u"Version 1.84a", u"" PUBLISHER_HOME_HOST})
                EXPECT_NE(std::find(texts.begin(), texts.end(), text), texts.end());
              EXPECT_EQ(texts.size(), 5u);
              Key(VK_RETURN);
            }}),
            IDOK);
}

TEST_F(AboutDialogTest, TheLinkIsHeavyUnderlinedAndAsLargeAsItsCaptionAtItsPlace) {
  Run({[](HWND d) {
    HWND link = GetDlgItem(d, IDC_HOME_LINK);
    ASSERT_NE(AboutLinkFont, nullptr);
    EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageW(link, WM_GETFONT, 0, 0)), AboutLinkFont);
    LOGFONTW font = Description(AboutLinkFont);
    LOGFONTW dialogFont = Description(reinterpret_cast<HFONT>(SendMessageW(d, WM_GETFONT, 0, 0)));
    EXPECT_EQ(font.lfUnderline, 1);
    EXPECT_EQ(font.lfWeight, 800);
    EXPECT_EQ(std::u16string(font.lfFaceName), std::u16string(dialogFont.lfFaceName));
    EXPECT_EQ(font.lfHeight, dialogFont.lfHeight);  // the dialog font gives a height
    SIZE extent = CaptionExtent(link, AboutLinkFont);
    RECT place = PlaceInDialog(d, IDC_HOME_LINK);
    EXPECT_EQ(place.right - place.left, extent.cx + 2 * GetSystemMetrics(SM_CXEDGE));
    EXPECT_EQ(place.bottom - place.top, extent.cy + 2 * GetSystemMetrics(SM_CYEDGE));
    RECT units{7, 58, 0, 0};
    MapDialogRect(d, &units);
    EXPECT_EQ(place.left, units.left);
    EXPECT_EQ(place.top, units.top);
    Key(VK_ESCAPE);
  }});
}

TEST_F(AboutDialogTest, ALinkWithoutAFontGetsTenPointTahoma) {
  Run({[](HWND d) {
    SendDlgItemMessageW(d, IDC_HOME_LINK, WM_SETFONT, 0, FALSE);
    HFONT font = SetupLinkButton(d);
    ASSERT_NE(font, nullptr);
    LOGFONTW description = Description(font);
    EXPECT_EQ(std::u16string(description.lfFaceName), u"Tahoma");
    EXPECT_EQ(description.lfHeight, -13);  // 10 points at 96 pixels per inch
    EXPECT_EQ(description.lfWeight, 800);
    EXPECT_EQ(description.lfUnderline, 1);
    SIZE extent = CaptionExtent(GetDlgItem(d, IDC_HOME_LINK), font);
    RECT place = PlaceInDialog(d, IDC_HOME_LINK);
    EXPECT_EQ(place.right - place.left, extent.cx + 2 * GetSystemMetrics(SM_CXEDGE));
    SendDlgItemMessageW(d, IDC_HOME_LINK, WM_SETFONT, reinterpret_cast<WPARAM>(AboutLinkFont), FALSE);
    DeleteObject(font);
    Key(VK_ESCAPE);
  }});
}

TEST_F(AboutDialogTest, EitherClosingReleasesTheLinkFontAndTheNextOpeningMakesANewOne) {
  struct Case {
    const char* how;
    Step close;
    INT_PTR result;
  } cases[] = {
      {"caption ok", [](HWND d) { SendMessageW(d, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0); }, IDOK},
      {"Return", [](HWND) { Key(VK_RETURN); }, IDOK},
      {"Escape", [](HWND) { Key(VK_ESCAPE); }, IDCANCEL},
  };
  for (const Case& c : cases) {
    HFONT font = nullptr;
    EXPECT_EQ(Run({[&](HWND d) {
                     font = AboutLinkFont;
                     c.close(d);
                   }}),
              c.result)
        << c.how;
    EXPECT_NE(font, nullptr) << c.how;
    EXPECT_EQ(AboutLinkFont, nullptr) << c.how;
    EXPECT_EQ(GetObjectType(font), 0u) << c.how << ": the font is deleted";
  }
}

// Every pixel of the link blue, white or a blend of the two.
void ExpectBlueOnWhite(const std::vector<COLORREF>& pixels) {
  int blue = 0;
  for (COLORREF p : pixels) {
    ASSERT_EQ(GetBValue(p), 255) << std::hex << p;
    ASSERT_EQ(GetRValue(p), GetGValue(p)) << std::hex << p;
    if (GetRValue(p) < 64) ++blue;
  }
  EXPECT_GT(blue, 10);
}

std::vector<COLORREF> Pixels(HWND link) {
  RECT r;
  GetClientRect(link, &r);
  HDC dc = GetDC(link);
  std::vector<COLORREF> pixels;
  for (int y = 0; y < r.bottom; ++y)
    for (int x = 0; x < r.right; ++x) pixels.push_back(GetPixel(dc, x, y));
  ReleaseDC(link, dc);
  return pixels;
}

TEST_F(AboutDialogTest, TheLinkLooksTheSamePressedAndOpensTheHomePageLeavingTheBoxOpen) {
  FakeOpener opener;
  std::vector<COLORREF> released;
  Run({[&](HWND d) {
         released = Pixels(GetDlgItem(d, IDC_HOME_LINK));
         ExpectBlueOnWhite(released);
         RECT r;
         GetWindowRect(GetDlgItem(d, IDC_HOME_LINK), &r);
         test_support::Stylus(display::EventKind::StylusDown, r.left + 3, r.top + 3);
       },
       [&](HWND d) {
         EXPECT_EQ(SendDlgItemMessageW(d, IDC_HOME_LINK, BM_GETSTATE, 0, 0) & BST_PUSHED, BST_PUSHED);
         EXPECT_EQ(Pixels(GetDlgItem(d, IDC_HOME_LINK)), released);
         RECT r;
         GetWindowRect(GetDlgItem(d, IDC_HOME_LINK), &r);
         test_support::Stylus(display::EventKind::StylusUp, r.left + 3, r.top + 3);
       },
       [&](HWND d) {
         EXPECT_EQ(opener.Opened(1), std::vector<std::string>{PUBLISHER_HOME_PAGE});
         EXPECT_TRUE(IsWindowVisible(d));
         Key(VK_ESCAPE);
       }});
}

}  // namespace
}  // namespace dialogs_test
