// The Choose Font dialog run modally as the program runs it, with the installed families:
// what it shows for the stored font, what picking a face, a size and a code base does to
// the preview, what OK and Cancel leave in the FontChoice, and where its controls go.
#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <algorithm>
#include <string>
#include <vector>

#include "dialog_fixture.h"
#include "dialogs/font_dialog.h"
#include "resources/resource_ids.h"

namespace dialogs_test {
namespace {

FontChoice Font(const char16_t* face, LONG size, LONG codeBase) {
  FontChoice font;
  std::memset(&font, 0, sizeof font);
  wcscpy(font.Face, face);
  font.Size = size;
  font.CodeBase = codeBase;
  return font;
}

// The preview's 27 letter positions for a code base: the last one leftmost.
std::u16string Letters(LONG codeBase) {
  std::u16string text;
  for (int i = 26; i >= 0; --i) text += char16_t(codeBase + i);
  return text;
}

std::vector<std::u16string> FixedSizes() {
  return {u"10", u"11", u"12", u"14", u"16", u"18", u"20", u"22", u"24", u"26", u"28", u"32", u"52", u"72"};
}

// The font the preview field shows the letters in.
LOGFONTW PreviewFont(HWND dialog) {
  LOGFONTW font = {};
  auto handle = reinterpret_cast<HFONT>(SendDlgItemMessageW(dialog, IDC_FONT_PREVIEW, WM_GETFONT, 0, 0));
  EXPECT_EQ(GetObjectW(handle, sizeof font, &font), int(sizeof font));
  return font;
}

std::string Narrow(const std::u16string& text) { return std::string(text.begin(), text.end()); }

class FontDialogTest : public DialogTest {
 protected:
  INT_PTR Run(FontChoice& font, std::vector<Step> steps) {
    Steps(std::move(steps));
    return RunFontDialog(nullptr, &font);
  }
};

const Step Ok = [](HWND) { Key(VK_RETURN); };
const Step Cancel = [](HWND) { Key(VK_ESCAPE); };

TEST_F(FontDialogTest, TheStoredCodeBaseIsCheckedShownAndKeptWithoutAPick) {
  // The stored face is Hebrew: opening the dialog picks nothing, so 97 and 224 stay.
  struct Case {
    LONG stored;
    int checked;  // 0: neither button
    LONG shown;
    Step close;
    INT_PTR result;
    LONG kept;
  } cases[] = {
      {97, 0, 97, Ok, IDOK, 97},
      {224, IDC_CODE_BASE_224, 224, Ok, IDOK, 224},
      {1488, IDC_CODE_BASE_1488, 1488, Ok, IDOK, 1488},
      {0, IDC_CODE_BASE_1488, 1488, Cancel, IDCANCEL, 1488},  // 0 becomes 1488 even on Cancel
  };
  for (const Case& c : cases) {
    FontChoice font = Font(u"David CLM", 16, c.stored);
    EXPECT_EQ(Run(font, {[&](HWND d) {
                           EXPECT_EQ(SelectedItem(d, IDC_FACE_LIST), u"David CLM");
                           EXPECT_EQ(Checked(d, IDC_CODE_BASE_224), c.checked == IDC_CODE_BASE_224);
                           EXPECT_EQ(Checked(d, IDC_CODE_BASE_1488), c.checked == IDC_CODE_BASE_1488);
                           EXPECT_EQ(ItemText(d, IDC_FONT_PREVIEW), Letters(c.shown));
                           EXPECT_EQ(GetDlgItem(d, IDC_CODE_BASE_97), nullptr);
                         },
                         c.close}),
              c.result)
        << c.stored;
    EXPECT_EQ(font.CodeBase, c.kept) << c.stored;
    EXPECT_EQ(std::u16string(font.Face), u"David CLM");
    EXPECT_EQ(font.Size, 16);
  }
}

TEST_F(FontDialogTest, PickingAHebrewFaceSwitchesTo5D0OnceAndTheButtonsChangeThePreview) {
  FontChoice font = Font(u"DejaVu Serif", 16, 224);
  EXPECT_EQ(Run(font, {[](HWND d) {
                         EXPECT_EQ(ItemText(d, IDC_FONT_PREVIEW), Letters(224));
                         TapItem(d, IDC_FACE_LIST, u"David CLM");
                       },
                       [](HWND d) {
                         EXPECT_TRUE(Checked(d, IDC_CODE_BASE_1488));
                         EXPECT_FALSE(Checked(d, IDC_CODE_BASE_224));
                         EXPECT_EQ(ItemText(d, IDC_FONT_PREVIEW), Letters(1488));
                         TapItem(d, IDC_FACE_LIST, u"Miriam CLM");
                       },
                       [](HWND d) {
                         // Hebrew again with 5D0 checked: nothing changes but the face.
                         EXPECT_TRUE(Checked(d, IDC_CODE_BASE_1488));
                         EXPECT_EQ(ItemText(d, IDC_FONT_PREVIEW), Letters(1488));
                         EXPECT_EQ(std::u16string(PreviewFont(d).lfFaceName), u"Miriam CLM");
                         TapControl(d, IDC_CODE_BASE_224);
                       },
                       [](HWND d) {
                         EXPECT_TRUE(Checked(d, IDC_CODE_BASE_224));
                         EXPECT_FALSE(Checked(d, IDC_CODE_BASE_1488));
                         EXPECT_EQ(ItemText(d, IDC_FONT_PREVIEW), Letters(0xE0));
                         LOGFONTW shown = PreviewFont(d);
                         EXPECT_EQ(std::u16string(shown.lfFaceName), u"Miriam CLM");
                         EXPECT_EQ(shown.lfHeight, 16);
                         TapItem(d, IDC_FACE_LIST, u"DejaVu Serif");  // no Hebrew letters
                       },
                       [](HWND d) {
                         EXPECT_TRUE(Checked(d, IDC_CODE_BASE_224));
                         EXPECT_EQ(ItemText(d, IDC_FONT_PREVIEW), Letters(0xE0));
                         TapItem(d, IDC_FACE_LIST, u"Frank Ruehl CLM");
                       },
                       Ok}),
            IDOK);
  // The last Hebrew pick switched again; OK commits it.
  EXPECT_EQ(std::u16string(font.Face), u"Frank Ruehl CLM");
  EXPECT_EQ(font.CodeBase, 1488);
}

TEST_F(FontDialogTest, TheSizeListHoldsTheFixedSizesAndAStoredOneBelowThem) {
  struct Case {
    LONG stored;
    const char16_t* first;  // an entry before the fixed sizes, or null
    const char16_t* selected;
  } cases[] = {
      {8, u"8", u"8"},          {13, nullptr, u""},         {0, nullptr, u""},
      {72, nullptr, u"72"},     {-5, u"-5", u"-5"},         {INT_MIN, u"-2147483648", u"-2147483648"},
  };
  for (const Case& c : cases) {
    FontChoice font = Font(u"David CLM", c.stored, 1488);
    std::vector<std::u16string> expected = FixedSizes();
    if (c.first) expected.insert(expected.begin(), c.first);
    EXPECT_EQ(Run(font, {[&](HWND d) {
                           EXPECT_EQ(ListItems(d, IDC_SIZE_LIST), expected) << c.stored;
                           EXPECT_EQ(SelectedItem(d, IDC_SIZE_LIST), c.selected) << c.stored;
                         },
                         Ok}),
              IDOK);
    EXPECT_EQ(font.Size, c.stored) << "OK without a size keeps the stored one";
  }
}

TEST_F(FontDialogTest, OkCommitsWhatWasPickedAndCancelNothing) {
  const std::vector<Step> picks = {[](HWND d) { TapItem(d, IDC_FACE_LIST, u"Miriam Mono CLM"); },
                                   [](HWND d) { TapItem(d, IDC_SIZE_LIST, u"32"); },
                                   [](HWND d) {
                                     LOGFONTW shown = PreviewFont(d);
                                     EXPECT_EQ(std::u16string(shown.lfFaceName), u"Miriam Mono CLM");
                                     EXPECT_EQ(shown.lfHeight, 32);
                                     TapControl(d, IDC_CODE_BASE_224);
                                   }};
  FontChoice kept = Font(u"David CLM", 20, 1488);
  std::vector<Step> cancelled = picks;
  cancelled.push_back(Cancel);
  EXPECT_EQ(Run(kept, cancelled), IDCANCEL);
  EXPECT_EQ(std::u16string(kept.Face), u"David CLM");
  EXPECT_EQ(kept.Size, 20);
  EXPECT_EQ(kept.CodeBase, 1488);

  std::vector<Step> confirmed = picks;
  confirmed.push_back(Ok);
  EXPECT_EQ(Run(kept, confirmed), IDOK);
  EXPECT_EQ(std::u16string(kept.Face), u"Miriam Mono CLM");
  EXPECT_EQ(kept.Size, 32);
  EXPECT_EQ(kept.CodeBase, 224);
}

TEST_F(FontDialogTest, FirstStartListsTheInstalledFamiliesAndOkWithAFaceKeepsNoSize) {
  FontChoice font = Font(u"", 0, 1488);
  EXPECT_EQ(Run(font, {[](HWND d) {
                         std::vector<std::u16string> faces = ListItems(d, IDC_FACE_LIST);
                         for (const char16_t* family : {u"David CLM", u"Frank Ruehl CLM", u"Miriam CLM", u"DejaVu Sans"})
                           EXPECT_NE(std::find(faces.begin(), faces.end(), family), faces.end()) << Narrow(family);
                         EXPECT_TRUE(std::is_sorted(faces.begin(), faces.end()));
                         TapItem(d, IDC_FACE_LIST, u"Frank Ruehl CLM");
                       },
                       Ok}),
            IDOK);
  EXPECT_EQ(std::u16string(font.Face), u"Frank Ruehl CLM");
  EXPECT_EQ(font.Size, 0);
}

TEST_F(FontDialogTest, LayoutForA240By268ClientArea) {
  ControlPlace places[FontDialogControlCount];
  FontDialogLayout(240, 268, places);
  const ControlPlace expected[FontDialogControlCount] = {
      {IDC_FACE_LIST, 7, 7, 143, 162},       {IDC_SIZE_LIST, 157, 59, 76, 110},
      {IDC_FONT_PREVIEW, 7, 169, 226, 85},   {IDC_CODE_BASE_97, 157, 7, 76, 10},
      {IDC_CODE_BASE_224, 157, 24, 76, 10},  {IDC_CODE_BASE_1488, 157, 41, 76, 10},
  };
  for (int i = 0; i < FontDialogControlCount; ++i) {
    EXPECT_EQ(places[i].Id, expected[i].Id);
    EXPECT_EQ(places[i].X, expected[i].X) << expected[i].Id;
    EXPECT_EQ(places[i].Y, expected[i].Y) << expected[i].Id;
    EXPECT_EQ(places[i].Width, expected[i].Width) << expected[i].Id;
    EXPECT_EQ(places[i].Height, expected[i].Height) << expected[i].Id;
  }
}

TEST_F(FontDialogTest, TheDialogFillsTheScreenAndItsControlsFollowItsSize) {
  FontChoice font = Font(u"David CLM", 16, 1488);
  Run(font, {[](HWND d) {
               RECT client;
               GetClientRect(d, &client);
               ControlPlace places[FontDialogControlCount];
               FontDialogLayout(client.right, client.bottom, places);
               for (const ControlPlace& p : places) {
                 if (p.Id == IDC_CODE_BASE_97) continue;  // not in the template
                 RECT r = PlaceInDialog(d, p.Id);
                 EXPECT_EQ(r.left, p.X) << p.Id;
                 EXPECT_EQ(r.top, p.Y) << p.Id;
                 EXPECT_EQ(r.right - r.left, p.Width) << p.Id;
                 EXPECT_EQ(r.bottom - r.top, p.Height) << p.Id;
               }
               // Below the task bar across the whole screen, the menu bar covered.
               RECT window;
               GetWindowRect(d, &window);
               EXPECT_EQ(window.left, 0);
               EXPECT_EQ(window.right, 240);
               EXPECT_EQ(window.bottom, 320);
             },
             Cancel});
}

TEST_F(FontDialogTest, InFullScreenTheActiveDialogKeepsTheTaskBarHidden) {
  FullScreen = 1;
  TaskBarWindow = FindWindowW(u"HHTaskBar", u"");
  ASSERT_NE(TaskBarWindow, nullptr);
  ShowWindow(TaskBarWindow, SW_SHOW);
  FontChoice font = Font(u"David CLM", 16, 1488);
  Run(font, {[](HWND d) {
               EXPECT_FALSE(IsWindowVisible(TaskBarWindow));
               RECT window;
               GetWindowRect(d, &window);
               EXPECT_EQ(window.top, 0);
             },
             Cancel});
}

}  // namespace
}  // namespace dialogs_test
