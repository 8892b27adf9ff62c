// The screen, the work area and the hooks the platform's other parts install.
#include <algorithm>

#include "user/internal.h"

namespace user {

namespace {

// Takes the screen size of a display installed since the last look.
void FollowDisplay() {
  display::Display* d = display::Current();
  if (d == S().screenOf) return;
  S().screenOf = d;
  if (d) SetScreenSize(d->width(), d->height());
}

}  // namespace

void SetScreenSize(int width, int height) {
  width = std::max(1, width), height = std::max(1, height);
  int oldWidth = S().screenWidth, oldHeight = S().screenHeight;
  S().screenWidth = width, S().screenHeight = height;
  RECT& area = S().workArea;
  RECT kept{area.left, area.top, width - (oldWidth - area.right), height - (oldHeight - area.bottom)};
  kept.right = std::clamp(kept.right, kept.left, LONG(width));
  kept.bottom = std::clamp(kept.bottom, kept.top, LONG(height));
  area = kept;
  if (WindowPtr desktop = Find(S().desktop)) {
    desktop->rect = RECT{0, 0, width, height};
    ResizeSurface(*desktop);
  }
  ResizeDefaultWindows();
  std::vector<std::function<void(int, int)>> hooks = S().screenHooks;
  for (auto& hook : hooks) hook(width, height);
}

int ScreenWidth() {
  FollowDisplay();
  return S().screenWidth;
}

int ScreenHeight() {
  FollowDisplay();
  return S().screenHeight;
}

void SetWorkArea(const RECT& area) {
  FollowDisplay();
  S().workArea = area;
  ResizeDefaultWindows();
}

RECT WorkArea() {
  FollowDisplay();
  return S().workArea;
}

void FillWorkArea(HWND window) {
  RECT area = WorkArea();
  MoveWindow(window, area.left, area.top, area.right - area.left, area.bottom - area.top, TRUE);
  if (WindowPtr w = Find(window)) w->defaultRect = true;
}

bool HeadlessScreen() {
  display::Display* d = display::Current();
  return d && d->isHeadless();
}

bool ScreenHasFocus() {
  display::Display* d = display::Current();
  return !d || d->hasFocus();
}

void RaiseScreen() {
  if (display::Display* d = display::Current()) d->raise();
}

void AddScreenSizeHook(std::function<void(int, int)> hook) {
  S().screenHooks.push_back(std::move(hook));
}

void SetRemoteWindows(RemoteWindows remote) { S().remote = std::move(remote); }

void SetRemoteWindowFinder(std::function<HWND(LPCWSTR, LPCWSTR)> finder) {
  S().remote.find = std::move(finder);
}

void AddIdleHook(std::function<void()> hook) { S().idleHooks.push_back(std::move(hook)); }

void MarkSystemWindow(HWND window) {
  if (WindowPtr w = Find(window)) w->system = true;
}

bool IsSystemWindow(HWND window) {
  WindowPtr w = Find(window);
  return w && w->system;
}

HWND MainWindow() {
  for (auto& [key, w] : S().windows)
    if (w->alive && !w->destroying && !w->parent && !w->owner && !w->system &&
        w->handle != S().desktop)
      return w->handle;
  return nullptr;
}

void SetListingDetail(LPCWSTR className, ListingDetail detail) {
  S().listingDetails[LowerName(className)] = std::move(detail);
}

void ResetForTests() {
  std::vector<HWND> windows = S().zorder;
  for (HWND h : windows) DestroyWindow(h);
  State& s = S();
  s.queue.clear();
  s.quitPosted = false;
  s.quitCode = 0;
  s.modals.clear();
  s.quitRequests = 0;
  s.closeMainWhenUnwound = false;
  s.idleHooks.clear();
  s.wakeWithin.reset();
  s.shown.clear();
  s.shownOn = nullptr;
  s.screenHooks.clear();
  s.remote = RemoteWindows{};
  s.active = s.focus = s.capture = nullptr;
  s.stylusDown = s.stylusOnFrame = false;
  std::fill(std::begin(s.keysDown), std::end(s.keysDown), false);
  s.screenOf = nullptr;
  s.workArea = RECT{0, 0, s.screenWidth, s.screenHeight};
  FollowDisplay();
  s.workArea = RECT{0, 0, s.screenWidth, s.screenHeight};
  RegisterBuiltInClasses();
}

}  // namespace user
