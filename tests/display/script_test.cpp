// Reading scripts, and the headless screen they drive.
#include <gtest/gtest.h>

#include <sstream>

#include "display/headless.h"
#include "display/script.h"

namespace {

using display::Event;
using display::EventKind;

TEST(ScriptKeys, NamesModifiersAndTypedCharacters) {
  struct Case {
    const char* name;
    uint32_t vk;
    uint32_t modifiers;
    char32_t ch;
  };
  const Case cases[] = {
      {"Return", 0x0D, 0, 0},          {"Escape", 0x1B, 0, 0},
      {"Tab", 0x09, 0, 0},             {"Backspace", 0x08, 0, 0},
      {"Delete", 0x2E, 0, 0},          {"PageUp", 0x21, 0, 0},
      {"PageDown", 0x22, 0, 0},        {"Home", 0x24, 0, 0},
      {"End", 0x23, 0, 0},             {"Left", 0x25, 0, 0},
      {"Up", 0x26, 0, 0},              {"Right", 0x27, 0, 0},
      {"Down", 0x28, 0, 0},            {"F1", 0x70, 0, 0},
      {"F12", 0x7B, 0, 0},             {"Space", 0x20, 0, U' '},
      {"a", 'A', 0, U'a'},             {"Z", 'Z', 0, U'z'},
      {"7", '7', 0, U'7'},             {"Ctrl+F", 'F', display::ModCtrl, 0},
      {"Alt+F3", 0x72, display::ModAlt, 0},
      {"Shift+Tab", 0x09, display::ModShift, 0},
      {"Shift+b", 'B', display::ModShift, U'B'},
      {"Ctrl+Shift+Home", 0x24, display::ModCtrl | display::ModShift, 0},
  };
  for (const Case& c : cases) {
    Event e;
    ASSERT_TRUE(display::ParseKey(c.name, e)) << c.name;
    EXPECT_EQ(e.kind, EventKind::KeyDown);
    EXPECT_EQ(e.key, c.vk) << c.name;
    EXPECT_EQ(e.modifiers, c.modifiers) << c.name;
    EXPECT_EQ(e.ch, c.ch) << c.name;
  }
  for (const char* bad : {"", "F13", "F0", "Hyper+A", "ab", "Ctrl+", "+"}) {
    Event e;
    EXPECT_FALSE(display::ParseKey(bad, e)) << bad;
  }
}

std::vector<display::ScriptError> Parse(const std::string& text, display::Script& script) {
  std::istringstream in(text);
  return display::ParseScript(in, script);
}

TEST(ScriptParse, CommandsBecomeSteps) {
  display::Script script;
  auto errors = Parse(
      "# a comment\n"
      "\n"
      "key Return Ctrl+F\n"
      "text שלום a\r\n"
      "tap 10 20   # trailing comment\n"
      "drag 0 0 40 0\n"
      "wait 150\n"
      "screenshot out dir/shot 1.png\n"
      "windows\n"
      "resize 320 240\n"
      "quit\n",
      script);
  ASSERT_TRUE(errors.empty());
  ASSERT_EQ(script.steps.size(), 9u);
  const auto& s = script.steps;
  EXPECT_EQ(s[0].line, 3);
  ASSERT_EQ(s[0].events.size(), 4u);  // down and up for each key
  EXPECT_EQ(s[0].events[1].kind, EventKind::KeyUp);
  EXPECT_EQ(s[0].events[2].modifiers, uint32_t(display::ModCtrl));
  std::u32string typed;
  for (const Event& e : s[1].events) typed += e.ch;
  EXPECT_EQ(typed, U"שלום a");
  ASSERT_EQ(s[2].events.size(), 2u);
  EXPECT_EQ(s[2].events[0].kind, EventKind::StylusDown);
  EXPECT_EQ(s[2].events[1].kind, EventKind::StylusUp);
  EXPECT_EQ(s[2].events[1].x, 10);
  EXPECT_EQ(s[2].events[1].y, 20);
  EXPECT_EQ(s[3].events.front().kind, EventKind::StylusDown);
  EXPECT_EQ(s[3].events.back().kind, EventKind::StylusUp);
  EXPECT_EQ(s[3].events.back().x, 40);
  EXPECT_GT(s[3].events.size(), 3u);
  for (size_t i = 1; i + 1 < s[3].events.size(); ++i)
    EXPECT_EQ(s[3].events[i].kind, EventKind::StylusMove);
  EXPECT_EQ(s[4].kind, display::ScriptStep::Kind::Wait);
  EXPECT_EQ(s[4].waitMs, 150);
  EXPECT_EQ(s[5].kind, display::ScriptStep::Kind::Screenshot);
  EXPECT_EQ(s[5].path, "out dir/shot 1.png");
  EXPECT_EQ(s[6].events[0].kind, EventKind::ListWindows);
  EXPECT_EQ(s[7].events[0].kind, EventKind::Resize);
  EXPECT_EQ(s[7].events[0].width, 320);
  EXPECT_EQ(s[8].events[0].kind, EventKind::Quit);
}

TEST(ScriptParse, EveryBadLineIsReportedWithItsNumber) {
  display::Script script;
  auto errors = Parse(
      "tap 1\n"
      "key\n"
      "key Return Bogus\n"
      "jump 1 2\n"
      "wait -5\n"
      "resize 0 10\n"
      "screenshot\n"
      "windows now\n"
      "text\n"
      "drag 1 2 3\n"
      "tap 1 2\n",
      script);
  std::vector<int> lines;
  for (const auto& e : errors) lines.push_back(e.line);
  EXPECT_EQ(lines, (std::vector<int>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10}));
  EXPECT_EQ(errors[3].text, "jump 1 2");
  ASSERT_EQ(script.steps.size(), 1u);
  EXPECT_EQ(script.steps[0].line, 11);
}

TEST(HeadlessScreen, HandsOutEventsOneAtATimeThenQuitForever) {
  display::Script script;
  Parse("tap 5 6\nresize 20 10\n", script);
  auto screen = display::CreateHeadless(240, 320, std::move(script));
  Event e;
  std::vector<EventKind> kinds;
  for (int i = 0; i < 5; ++i) {
    ASSERT_TRUE(screen->nextEvent(e, 0));
    kinds.push_back(e.kind);
  }
  EXPECT_EQ(kinds, (std::vector<EventKind>{EventKind::StylusDown, EventKind::StylusUp,
                                           EventKind::Resize, EventKind::Quit, EventKind::Quit}));
  EXPECT_EQ(screen->width(), 20);
  EXPECT_EQ(screen->height(), 10);
  std::vector<uint32_t> frame(200, 0x123456);
  screen->present(frame.data());
  EXPECT_EQ(*display::HeadlessFrame(screen.get()), frame);
}

TEST(HeadlessScreen, AWaitAnswersNothingUntilItIsOver) {
  display::Script script;
  Parse("wait 60000\n", script);
  auto screen = display::CreateHeadless(240, 320, std::move(script));
  Event e;
  EXPECT_FALSE(screen->nextEvent(e, 0));
  EXPECT_FALSE(screen->nextEvent(e, 1));
}

}  // namespace
