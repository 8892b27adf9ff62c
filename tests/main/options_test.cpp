// The platform's options: what main takes for itself and what it leaves to the program.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "main/options.h"

namespace {

TEST(PlatformOptions, ParsesOptionsAndLeavesTheRestToTheProgram) {
  using platform_main::Options;
  struct Case {
    std::vector<std::string> args;
    bool ok = false;
    bool headless = false;
    std::string script = {};
    int width = 0, height = 0, zoom = 0;
    std::u16string commandLine = {};
  };
  const Case cases[] = {
      {{}, true, false, "", 240, 320, 0, u""},
      {{"--headless", "--script", "s.txt", "/today"}, true, true, "s.txt", 240, 320, 0, u"/today"},
      {{"--screen", "320x240", "--zoom=3", "a", "b"}, true, false, "", 320, 240, 3, u"a b"},
      {{"--headless", "--", "--zoom", "x"}, true, true, "", 240, 320, 0, u"--zoom x"},
      {{"/today", "--headless"}, true, false, "", 240, 320, 0, u"/today --headless"},
      {{"--bogus"}, false},
      {{"--screen", "240"}, false},
      {{"--screen", "0x10"}, false},
      {{"--zoom", "0"}, false},
      {{"--zoom"}, false},
      {{"--headless=1"}, false},
  };
  for (const Case& c : cases) {
    Options o;
    std::string error;
    bool ok = platform_main::ParseOptions(c.args, o, error);
    EXPECT_EQ(ok, c.ok) << (c.args.empty() ? "" : c.args[0]);
    if (!ok) {
      EXPECT_FALSE(error.empty());
      continue;
    }
    EXPECT_EQ(o.headless, c.headless);
    EXPECT_EQ(o.script, c.script);
    EXPECT_EQ(o.width, c.width);
    EXPECT_EQ(o.height, c.height);
    EXPECT_EQ(o.zoom, c.zoom);
    EXPECT_EQ(platform_main::ProgramCommandLine(o), c.commandLine);
  }
}

}  // namespace
