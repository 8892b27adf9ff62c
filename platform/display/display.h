// Where the screen's pixels go and where input comes from: a real SDL window or an
// in-memory screen driven by a script. The window system (user/) composes the screen,
// presents it here when it changed, and waits here for the next input event, a timer
// that is due, or input on a descriptor it watches (sockets, the termination pipe).
#pragma once

#include <cstdint>
#include <memory>
#include <string>

namespace display {

enum class EventKind {
  KeyDown,      // key: virtual-key code; modifiers
  KeyUp,        // key: virtual-key code; modifiers
  Char,         // ch: one Unicode code point typed
  StylusDown,   // x, y: screen pixels
  StylusMove,   // x, y
  StylusUp,     // x, y
  Wheel,        // x, y: pointer position; wheel: +1 away from the user (up), -1 toward
  Resize,       // width, height: the new screen size
  Close,        // the window's close button: close the main window
  ListWindows,  // the script asks for the list of visible windows on stdout
  Quit,         // end the program as the system would: cancel dialogs, close the main window
};

enum Modifier : uint32_t { ModShift = 1, ModCtrl = 2, ModAlt = 4 };

struct Event {
  EventKind kind = EventKind::KeyDown;
  uint32_t key = 0;
  uint32_t modifiers = 0;
  char32_t ch = 0;
  int x = 0;
  int y = 0;
  int wheel = 0;
  int width = 0;
  int height = 0;
};

class Display {
 public:
  virtual ~Display() = default;
  virtual int width() const = 0;
  virtual int height() const = 0;
  // Shows one frame of the screen: width() x height() pixels, 0x00RRGGBB, rows top first.
  virtual void present(const uint32_t* pixels) = 0;
  // The next input event. Waits at most timeoutMs milliseconds (0 polls, negative waits
  // without limit); false when none arrived in that time or a watched descriptor woke it.
  virtual bool nextEvent(Event& event, int timeoutMs) = 0;
  // The current or next wait in nextEvent ends once fd has input to read. One wake per
  // call: the caller reads what came and calls again to be woken again.
  virtual void wakeWhenReadable(int fd) = 0;
  virtual void setTitle(const std::string& utf8Title) { (void)utf8Title; }
  // Whether the screen is kept in memory (tests and scripted runs) rather than shown.
  virtual bool isHeadless() const { return false; }
  // Whether the screen's window has the desktop's input focus (an in-memory screen has).
  virtual bool hasFocus() const { return true; }
  // Brings the screen's window in front of the desktop's other windows.
  virtual void raise() {}
  // 32-bit 0x00RRGGBB pixels with an alpha mask of the same size (0 transparent).
  virtual void setIcon(const uint32_t* pixels, const uint8_t* alpha, int width, int height) {
    (void)pixels, (void)alpha, (void)width, (void)height;
  }
};

// The display the window system runs on; null until one is installed.
Display* Current();
void Install(std::unique_ptr<Display> display);

}  // namespace display
