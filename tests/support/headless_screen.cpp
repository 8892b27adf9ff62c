#include "test_support/headless_screen.h"

#include <gtest/gtest.h>

#include <sstream>

#include "display/headless.h"
#include "display/script.h"
#include "shell/shell.h"
#include "user/system.h"

namespace test_support {

void InstallScreen(const std::string& script, int width, int height) {
  display::Script parsed;
  std::istringstream in(script);
  for (const display::ScriptError& error : display::ParseScript(in, parsed))
    ADD_FAILURE() << "script line " << error.line << ", " << error.reason << ": " << error.text;
  display::Install(display::CreateHeadless(width, height, std::move(parsed)));
  user::ResetForTests();
}

void InstallScreenWithShell(const std::string& script, int width, int height) {
  InstallScreen(script, width, height);
  shell::RestartForTests();
}

void RemoveScreen() {
  user::ResetForTests();
  display::Install(nullptr);
  user::ResetForTests();
}

void Stylus(display::EventKind kind, int x, int y) {
  display::Event event;
  event.kind = kind;
  event.x = x;
  event.y = y;
  user::HandleDisplayEvent(event);
}

void Tap(int x, int y) {
  Stylus(display::EventKind::StylusDown, x, y);
  Stylus(display::EventKind::StylusUp, x, y);
}

void Key(UINT virtualKey, uint32_t modifiers) {
  display::Event event;
  event.kind = display::EventKind::KeyDown;
  event.key = virtualKey;
  event.modifiers = modifiers;
  user::HandleDisplayEvent(event);
  event.kind = display::EventKind::KeyUp;
  user::HandleDisplayEvent(event);
}

}  // namespace test_support
