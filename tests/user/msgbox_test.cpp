// Message boxes: answers by key, by tap and by the system's quit; the owner disabled
// while the box is open; the box in the window listing; the box without a display.
#include <sstream>

#include "fixture.h"

namespace user_test {
namespace {

using MessageBoxTest = UserTest;

TEST_F(MessageBoxTest, KeysAnswerTheBox) {
  struct Case {
    UINT type;
    const char* script;
    int answer;
  };
  const Case cases[] = {
      {MB_OK, "key Return", IDOK},
      {MB_OK | MB_ICONHAND, "key Escape", IDOK},
      {MB_OKCANCEL, "key Return", IDOK},
      {MB_OKCANCEL | MB_DEFBUTTON2, "key Return", IDCANCEL},
      {MB_OKCANCEL, "key Escape", IDCANCEL},
      {MB_YESNOCANCEL | MB_ICONQUESTION, "key Escape", IDCANCEL},
      {MB_YESNOCANCEL | MB_DEFBUTTON3, "key Return", IDCANCEL},
      {MB_YESNO, "key Escape\nkey Return", IDYES},  // no Cancel: Escape does nothing
      {MB_YESNO, "key Tab Return", IDNO},
      {MB_YESNO | MB_DEFBUTTON2, "key Left Space", IDYES},
      {MB_YESNO, "quit", IDNO},  // the system's quit gives the cancel answer
      {MB_YESNOCANCEL, "", IDCANCEL},
  };
  for (const Case& c : cases) {
    Screen(c.script);
    HWND owner = MakeTopLevel();
    EXPECT_EQ(MessageBoxW(owner, u"Text", u"Caption", c.type), c.answer) << c.script;
    EXPECT_TRUE(IsWindowEnabled(owner));
    EXPECT_EQ(FindWindowW(u"MessageBox", nullptr), nullptr);
    DestroyWindow(owner);
  }
}

TEST_F(MessageBoxTest, TapsOnEachButtonAnswerWithItsId) {
  for (int id : {IDYES, IDNO, IDCANCEL}) {
    Screen("wait 10000");
    HWND owner = MakeTopLevel();
    bool ownerDisabled = false;
    std::string listing;
    user::AddIdleHook([&] {
      HWND box = FindWindowW(u"MessageBox", u"Question");
      if (!box || !listing.empty()) return;
      ownerDisabled = !IsWindowEnabled(owner);
      std::ostringstream out;
      user::PrintWindowList(out);
      listing = out.str();
      RECT r;
      GetWindowRect(GetDlgItem(box, id), &r);
      Tap((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    });
    EXPECT_EQ(MessageBoxW(owner, u"Go on?\n\nOr \"stop\"", u"Question", MB_YESNOCANCEL), id);
    EXPECT_TRUE(ownerDisabled);
    EXPECT_TRUE(IsWindowEnabled(owner));
    EXPECT_EQ(GetActiveWindow(), owner);
    // The text beside the caption, each of its lines.
    EXPECT_EQ(listing.rfind("window class=\"MessageBox\" title=\"Question\" rect=", 0), 0u) << listing;
    EXPECT_NE(listing.find(" text=\"Go on?\\n\\nOr \\\"stop\\\"\"\n"), std::string::npos) << listing;
    EXPECT_NE(listing.find("  control class=\"MessageBoxButton\" id=6 text=\"Yes\""),
              std::string::npos);
    EXPECT_NE(listing.find("  control class=\"MessageBoxButton\" id=2 text=\"Cancel\""),
              std::string::npos);
    DestroyWindow(owner);
  }
}

TEST_F(MessageBoxTest, ATapThatLeavesTheButtonDoesNotPressIt) {
  Screen("wait 10000");
  int step = 0;
  user::AddIdleHook([&] {
    HWND box = FindWindowW(u"MessageBox", nullptr);
    if (!box) return;
    RECT r;
    GetWindowRect(GetDlgItem(box, IDOK), &r);
    display::Event e;
    e.x = r.left + 5, e.y = r.top + 5;
    if (step == 0) e.kind = display::EventKind::StylusDown;
    else if (step == 1) e.kind = display::EventKind::StylusMove, e.x = 0, e.y = 0;
    else if (step == 2) e.kind = display::EventKind::StylusUp, e.x = 0, e.y = 0;
    else if (step == 3) e.kind = display::EventKind::KeyDown, e.key = VK_ESCAPE;
    else return;
    ++step;
    user::HandleDisplayEvent(e);
  });
  EXPECT_EQ(MessageBoxW(nullptr, u"Sure?", nullptr, MB_OKCANCEL), IDCANCEL);
  EXPECT_EQ(step, 4);
}

TEST_F(MessageBoxTest, LinesOfTextMakeTheBoxTaller) {
  auto height = [&](const char16_t* text) {
    Screen("wait 10000");
    int h = 0;
    user::AddIdleHook([&] {
      HWND box = FindWindowW(u"MessageBox", nullptr);
      if (!box || h) return;
      RECT r;
      GetWindowRect(box, &r);
      h = r.bottom - r.top;
      PostMessageW(box, WM_COMMAND, IDOK, 0);
    });
    EXPECT_EQ(MessageBoxW(nullptr, text, u"Bookmark", MB_OK), IDOK);
    return h;
  };
  int one = height(u"Remove Bookmark?");
  int three = height(u"Remove Bookmark?\n\nCancel - Don't ask again");
  EXPECT_GT(one, 40);
  EXPECT_GT(three, one);
}

TEST_F(MessageBoxTest, WithoutADisplayTheBoxIsALineOnStderrAndTheDefaultAnswer) {
  display::Install(nullptr);
  user::ResetForTests();
  struct Case {
    const char16_t* caption;
    UINT type;
    int answer;
    const char* line;
  };
  const Case cases[] = {
      {u"Error", MB_ICONEXCLAMATION, IDOK, "Error: Resource not found\n"},
      {nullptr, MB_OK, IDOK, "Resource not found\n"},
      {u"Bookmark", MB_YESNOCANCEL | MB_DEFBUTTON2, IDNO, "Bookmark: Resource not found\n"},
  };
  for (const Case& c : cases) {
    testing::internal::CaptureStderr();
    EXPECT_EQ(MessageBoxW(nullptr, u"Resource not found", c.caption, c.type), c.answer);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), c.line);
  }
}

}  // namespace
}  // namespace user_test
