// The platform's main and the script driver, run as a real program (tests/main/app).
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "display/png.h"

namespace {

namespace fs = std::filesystem;

struct Outcome {
  int exitCode = -1;
  std::string out;
  std::string err;

  bool Says(const std::string& line) const {
    return ("\n" + out).find("\n" + line + "\n") != std::string::npos;
  }
};

class AppTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() /
           ("user_app_test_" + std::to_string(::getpid()) + "_" +
            ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::create_directories(dir_);
  }
  void TearDown() override { fs::remove_all(dir_); }

  fs::path Path(const std::string& name) const { return dir_ / name; }

  Outcome Start(const std::string& arguments) {
    std::string command = std::string(TEST_APP) + " " + arguments + " 2>" + Path("err").string();
    Outcome run;
    FILE* pipe = popen(command.c_str(), "r");
    char buffer[4096];
    for (size_t n; (n = fread(buffer, 1, sizeof buffer, pipe)) > 0;) run.out.append(buffer, n);
    int status = pclose(pipe);
    run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    std::ifstream err(Path("err"));
    std::stringstream text;
    text << err.rdbuf();
    run.err = text.str();
    return run;
  }

  Outcome Script(const std::string& script, const std::string& extra = "") {
    std::ofstream(Path("script")) << script;
    return Start("--headless --script " + Path("script").string() + " " + extra);
  }

  // Where the program's main window lies (other windows of the platform, such as a task
  // bar, may take part of the screen): its top and bottom, from the window list.
  std::pair<int, int> MainTopAndBottom() {
    Outcome run = Script("windows\n");
    const std::string key = "window class=\"TestApp\" title=\"Test App\" rect=";
    size_t at = run.out.find(key);
    EXPECT_NE(at, std::string::npos) << run.out;
    int left = 0, top = 0, right = 0, bottom = 0;
    if (at != std::string::npos)
      std::sscanf(run.out.c_str() + at + key.size(), "%d,%d,%d,%d", &left, &top, &right, &bottom);
    return {top, bottom};
  }

  fs::path dir_;
};

std::string Num(int n) { return std::to_string(n); }

TEST_F(AppTest, ScriptLinesReachTheProgramAndItsEndClosesTheMainWindow) {
  auto [top, bottom] = MainTopAndBottom();
  Outcome run =
      Script("key Return a\ntext \xd7\xa9\nwait 20\ntap 20 " + Num(top + 40) + "\n", "/today");
  EXPECT_EQ(run.exitCode, 3) << run.err;
  for (std::string line : std::vector<std::string>{"args: /today", "size 227 " + Num(bottom - top), "keydown 13", "char 13",
                           "keydown 65", "char 97", "char 1513", "down 20 40", "up 20 40",
                           "destroy"})
    EXPECT_TRUE(run.Says(line)) << line << "\n" << run.out;
  EXPECT_LT(run.out.find("keydown 13"), run.out.find("keydown 65"));
  EXPECT_LT(run.out.find("char 1513"), run.out.find("down 20 40"));
}

TEST_F(AppTest, TheWindowsCommandListsWindowsAndControls) {
  int top = MainTopAndBottom().first;
  Outcome run = Script("windows\nresize 320 240\nwindows\n");
  EXPECT_EQ(run.exitCode, 3) << run.err;
  std::string child = "  control class=\"TestChild\" id=7 text=\"Child\" rect=10," +
                      Num(top + 200) + ",110," + Num(top + 230) + "\n";
  std::string first =
      "window class=\"TestApp\" title=\"Test App\" rect=0," + Num(top) + ",240,320\n" + child;
  std::string second =
      "window class=\"TestApp\" title=\"Test App\" rect=0," + Num(top) + ",320,240\n" + child;
  size_t one = run.out.find(first), two = run.out.find(second);
  EXPECT_NE(one, std::string::npos) << run.out;
  EXPECT_NE(two, std::string::npos) << run.out;
  EXPECT_LT(run.out.find("end\n"), two);  // each list ends with its own line
  EXPECT_TRUE(run.Says("size 307 " + Num(240 - top)));
}

TEST_F(AppTest, ScreenshotsHaveTheScreensSizeAndShowWhatWasDrawn) {
  int top = MainTopAndBottom().first;
  std::string shot = Path("a.png").string(), small = Path("b.png").string();
  Outcome run = Script("screenshot " + shot + "\nresize 200 100\nscreenshot " + small + "\n",
                   "--screen 240x300");
  ASSERT_EQ(run.exitCode, 3) << run.err;
  std::vector<uint32_t> pixels;
  int width = 0, height = 0;
  ASSERT_TRUE(display::ReadPng(shot, pixels, width, height));
  EXPECT_EQ(width, 240);
  EXPECT_EQ(height, 300);
  auto at = [&](int x, int y) { return pixels[size_t(y) * 240 + size_t(x)]; };
  EXPECT_EQ(at(20, top + 20), 0xFF0000u);    // the program's square
  EXPECT_EQ(at(100, top + 100), 0xFFFFFFu);  // its background
  EXPECT_NE(at(233, top + 150), 0xFFFFFFu);  // the scroll bar's track
  ASSERT_TRUE(display::ReadPng(small, pixels, width, height));
  EXPECT_EQ(width, 200);
  EXPECT_EQ(height, 100);
}

TEST_F(AppTest, DraggingTheScrollBarThumbTracksAndEnds) {
  int top = MainTopAndBottom().first;
  Outcome run = Script("drag 233 " + Num(top + 19) + " 233 400\ntap 233 " + Num(top + 5) + "\n");
  EXPECT_EQ(run.exitCode, 3) << run.err;
  for (const char* line : {"vscroll 5 100", "vscroll 4 100", "vscroll 8 0", "vscroll 0 0"})
    EXPECT_TRUE(run.Says(line)) << line << "\n" << run.out;
}

TEST_F(AppTest, QuitCancelsAMessageBoxThenClosesTheMainWindow) {
  Outcome answered = Script("key Tab Return\n", "box");
  EXPECT_TRUE(answered.Says("box 7")) << answered.out;
  Outcome cancelled = Script("quit\nkey Return\n", "box");
  EXPECT_TRUE(cancelled.Says("box 7")) << cancelled.out;
  EXPECT_TRUE(cancelled.Says("destroy"));
  EXPECT_EQ(cancelled.exitCode, 3);
}

TEST_F(AppTest, AProgramThatIgnoresCloseStillEnds) {
  Outcome run = Script("", "stubborn");
  EXPECT_TRUE(run.Says("close ignored")) << run.out;
  EXPECT_TRUE(run.Says("destroy"));
  EXPECT_EQ(run.exitCode, 3);
}

TEST_F(AppTest, BadScriptLinesAreAllReportedAndNothingRuns) {
  Outcome run = Script("tap 1\n# fine\nfly away\nkey Return Nope\nwindows\nwait soon\n");
  EXPECT_EQ(run.exitCode, 2);
  EXPECT_EQ(run.out, "");
  std::string script = Path("script").string();
  for (const char* line : {":1: ", ":3: ", ":4: ", ":6: "})
    EXPECT_NE(run.err.find(script + line), std::string::npos) << line << "\n" << run.err;
  EXPECT_EQ(run.err.find(script + ":2: "), std::string::npos);
  EXPECT_EQ(run.err.find(script + ":5: "), std::string::npos);
  EXPECT_NE(run.err.find("fly away"), std::string::npos);
}

// The dynamic loader names every library it loads (LD_DEBUG=files): without a window,
// neither SDL2 nor the window's module is among them.
TEST_F(AppTest, RunsWithoutAWindowLoadNoWindowLibrary) {
  std::ofstream(Path("script")) << "key Return\n";
  const std::string runs[] = {"--version", "--help", "--headless --script " + Path("script").string()};
  for (const std::string& arguments : runs) {
    setenv("LD_DEBUG", "files", 1);
    Outcome run = Start(arguments);
    unsetenv("LD_DEBUG");
    EXPECT_NE(run.err.find("file=libstdc++"), std::string::npos) << "no loader output: " << run.err;
    EXPECT_EQ(run.err.find("libSDL2"), std::string::npos) << arguments;
    EXPECT_EQ(run.err.find("vintrel-sdl"), std::string::npos) << arguments;
  }
}

TEST_F(AppTest, OptionsHelpVersionAndErrors) {
  struct Case {
    std::string arguments;
    int exitCode;
    std::string out;  // a line the output starts with
    std::string err;
  };
  const Case cases[] = {
      {"--version", 0, "vintrel 1.84a\n", ""},
      {"--help", 0, "usage: vintrel", ""},
      {"--bogus", 2, "", "vintrel: unknown option --bogus\nusage: vintrel"},
      {"--screen 12", 2, "", "vintrel: --screen needs"},
      {"--script x", 2, "", "vintrel: --script needs --headless\n"},
      {"--headless --script /nonexistent/s", 2, "", "/nonexistent/s: cannot open the script\n"},
      {"--headless -- --zoom /today", 3, "args: --zoom /today\n", ""},
  };
  for (const Case& c : cases) {
    Outcome run = Start(c.arguments);
    EXPECT_EQ(run.exitCode, c.exitCode) << c.arguments;
    EXPECT_EQ(run.out.substr(0, c.out.size()), c.out) << c.arguments;
    EXPECT_EQ(run.err.substr(0, c.err.size()), c.err) << c.arguments << "\n" << run.err;
  }
}

}  // namespace
