// What the menu bar and the command bar share: a row of buttons (menu buttons that open
// a popup, image buttons that send WM_COMMAND to the bar's owner), image strips,
// tooltips on hover or press-and-hold, and the tool-bar messages.
#pragma once

#include <chrono>
#include <string>
#include <vector>

#include "platform.h"

namespace shell {

struct ToolButton {
  int image = I_IMAGENONE;
  int command = 0;
  BYTE state = TBSTATE_ENABLED;
  BYTE style = TBSTYLE_BUTTON;
  std::u16string caption;  // menu buttons
  HMENU popup = nullptr;   // opened by a press
  RECT rect{};             // client coordinates, from Layout()
};

struct ImageStrip {
  HBITMAP bitmap = nullptr;  // null: images without a picture (the standard set)
  int first = 0;
  int count = 0;
  int width = 16;
  int height = 16;
};

enum class BarKind { MenuBar, CommandBar };

// Pseudo button indices for the bar's own parts.
inline constexpr int kNoButton = -1;
inline constexpr int kSipButton = -2;
inline constexpr int kCloseButton = -3;

struct ToolBar {
  HWND window = nullptr;
  HWND owner = nullptr;  // gets WM_COMMAND and WM_CLOSE
  BarKind kind = BarKind::MenuBar;
  std::vector<ToolButton> buttons;
  std::vector<ImageStrip> strips;
  int imageCount = 0;
  std::vector<std::u16string> tooltips;  // by button index
  HMENU menu = nullptr;                  // loaded for the bar, destroyed with it
  bool closeButton = false;
  RECT sipRect{};
  RECT closeRect{};
  // Stylus and pointer.
  int pressed = kNoButton;
  bool pressInside = false;
  int hover = kNoButton;
  std::chrono::steady_clock::time_point since{};
  HWND tip = nullptr;
  int tipFor = kNoButton;
};

// The bar record of a bar window, or null.
ToolBar* BarOf(HWND window);
ToolBar& AttachBar(HWND window, HWND owner, BarKind kind);
std::vector<ToolBar*> AllBars();
void ForgetBars();

// Places the buttons (and the input-panel or close button) in the bar's client area.
void Layout(ToolBar& bar);
int AddImageStrip(ToolBar& bar, HINSTANCE instance, int bitmapId, int count, int width,
                  int height);
void AddButtons(ToolBar& bar, const TBBUTTON* buttons, size_t count);
void SetToolTips(ToolBar& bar, const LPWSTR* tips, size_t count);

// The window procedure's shared part: painting, stylus, TB_* messages, destruction.
// handled is false for messages the bar kinds treat themselves or leave to the default.
LRESULT ToolBarMessage(ToolBar& bar, UINT message, WPARAM wParam, LPARAM lParam, bool& handled);

// Shows and hides tooltips after half a second of hover or press (from the idle hook).
void CheckToolTips();
void RegisterToolTipClass();

// The listing's lines for a bar: its buttons with command id, state and rectangle.
std::string DescribeBar(HWND window);

// The input-panel button is drawn on menu bars while the shell shows it.
bool SipButtonShown();
void ShowSipButton(bool shown);

}  // namespace shell
