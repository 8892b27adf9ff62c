// The shell's start before WinMain, its idle checks and the screen's size changes.
#include <algorithm>
#include <string>

#include "shell/bars.h"
#include "shell/instance.h"
#include "shell/shell.h"
#include "shell/sip.h"
#include "shell/taskbar.h"
#include "shell/toolbar.h"
#include "kernel/utf.h"
#include "user/system.h"

namespace shell {
namespace {

Clock& ClockSlot() {
  static Clock clock;
  return clock;
}

int& KnownScreenWidth() {
  static int width = 0;
  return width;
}

// The executable's file name: copies of the same program meet under it. Scripted runs on
// the in-memory screen meet only each other, never a copy on the desktop.
std::string RendezvousName() {
  WCHAR path[4096] = {};
  const DWORD length = GetModuleFileNameW(nullptr, path, 4096);
  std::string name = length != 0 && length < 4096 ? kernel::Utf16ToUtf8(path) : "vintrel";
  size_t slash = name.rfind('/');
  if (slash != std::string::npos) name = name.substr(slash + 1);
  if (user::HeadlessScreen()) name += "-headless";
  return name;
}

void OnScreenSize(int width, int height) {
  (void)height;
  int oldWidth = KnownScreenWidth();
  KnownScreenWidth() = width;
  FitTaskBar();
  FitMenuBars(oldWidth);
  FitCommandBars();
  PlaceInputPanel();
}

void StartWindows() {
  RegisterTaskBarClass();
  RegisterMenuBarClass();
  RegisterCommandBarClass();
  RegisterToolTipClass();
  RegisterInputPanelClass();
  KnownScreenWidth() = user::ScreenWidth();
  CreateTaskBar();
  user::AddIdleHook(RunIdleChecks);
  user::AddScreenSizeHook(OnScreenSize);
}

}  // namespace

int Scale() { return std::max(1, std::min(user::ScreenWidth() / 240, user::ScreenHeight() / 320)); }

int BarHeight() { return 26 * Scale(); }

std::chrono::steady_clock::time_point Now() {
  return ClockSlot() ? ClockSlot()() : std::chrono::steady_clock::now();
}

void SetClockForTests(Clock clock) { ClockSlot() = std::move(clock); }

void RunIdleChecks() {
  AnswerOtherCopies();
  RefreshTaskBar();
  CheckToolTips();
}

void Start() {
  StartWindows();
  JoinRunningCopies(RendezvousName());
}

void RestartForTests() {
  ForgetBars();
  ForgetInputPanel();
  ForgetTaskBar();
  ShowSipButton(true);
  StartWindows();
}

}  // namespace shell
