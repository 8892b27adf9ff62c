// The desktop window's title: the program's main window's, whichever of its dialogs or
// boxes is in front, so the desktop's task list names the program and not "Choose Font".
#include <sstream>
#include <string>

#include "display/script.h"
#include "fixture.h"

namespace user_test {
namespace {

// The headless screen, keeping the title the window layer gives it.
class TitledScreen final : public display::Display {
 public:
  TitledScreen() { inner_ = display::CreateHeadless(240, 320, display::Script{}); }
  int width() const override { return inner_->width(); }
  int height() const override { return inner_->height(); }
  bool isHeadless() const override { return true; }
  void present(const uint32_t* pixels) override { inner_->present(pixels); }
  bool nextEvent(display::Event& event, int timeoutMs) override {
    return inner_->nextEvent(event, timeoutMs);
  }
  void wakeWhenReadable(int fd) override { inner_->wakeWhenReadable(fd); }
  void setTitle(const std::string& utf8Title) override { title = utf8Title; }

  std::string title;

 private:
  std::unique_ptr<display::Display> inner_;
};

class DesktopTitle : public UserTest {
 protected:
  void SetUp() override {
    UserTest::SetUp();
    auto screen = std::make_unique<TitledScreen>();
    screen_ = screen.get();
    display::Install(std::move(screen));
    user::ResetForTests();
  }
  const std::string& Title() const { return screen_->title; }

  // A visible pop-up owned by owner (a dialog or message box), made active.
  static HWND Owned(HWND owner, const char16_t* title) {
    HWND popup = CreateWindowExW(0, kLogClass, title, WS_POPUP | WS_VISIBLE, 10, 10, 100, 100,
                                 owner, nullptr, nullptr, nullptr);
    SetActiveWindow(popup);
    return popup;
  }

 private:
  TitledScreen* screen_ = nullptr;
};

TEST_F(DesktopTitle, IsTheMainWindowsWhicheverOfItsWindowsIsActive) {
  HWND main = MakeTopLevel(WS_VISIBLE, 0, u"Vintrel - 5765 (heb)");
  SetActiveWindow(main);
  EXPECT_EQ(Title(), "Vintrel - 5765 (heb)");

  HWND dialog = Owned(main, u"Choose Font");
  ASSERT_EQ(GetActiveWindow(), dialog);
  EXPECT_EQ(Title(), "Vintrel - 5765 (heb)") << "a dialog in front";
  HWND box = Owned(dialog, u"Bookmark");
  ASSERT_EQ(GetActiveWindow(), box);
  EXPECT_EQ(Title(), "Vintrel - 5765 (heb)") << "a box over the dialog";

  SetWindowTextW(box, u"Another question");
  EXPECT_EQ(Title(), "Vintrel - 5765 (heb)") << "the box renamed";
  SetWindowTextW(main, u"Renamed");
  EXPECT_EQ(Title(), "Renamed") << "the main window renamed under its dialogs";

  DestroyWindow(box);
  DestroyWindow(dialog);
  HWND other = MakeTopLevel(WS_VISIBLE, 0, u"Another program window");
  SetActiveWindow(other);
  EXPECT_EQ(Title(), "Another program window") << "a window of its own";
}

}  // namespace
}  // namespace user_test
