// The demo program run headless with a script: the window listing shows the dialog's
// controls and the open popup's items, keys and taps from the script drive them, and
// the screenshots show them.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <regex>
#include <string>

namespace {

std::string RunDemo(const std::string& script) {
  // One script file per test, so tests run side by side never share one.
  std::string path = ::testing::TempDir() + "user_controls_script_" +
                     ::testing::UnitTest::GetInstance()->current_test_info()->name() + ".txt";
  std::ofstream(path) << script;
  std::string command = std::string(VINTREL_CONTROLS_DEMO) + " --headless --script " + path + " 2>&1";
  std::string out;
  FILE* p = popen(command.c_str(), "r");
  if (!p) return out;
  char buffer[4096];
  size_t n;
  while ((n = fread(buffer, 1, sizeof buffer, p)) > 0) out.append(buffer, n);
  pclose(p);
  return out;
}

// The rectangle of the first listing line that matches pattern (a regular expression
// that ends just before "rect=" or an "ok=" field).
bool RectOf(const std::string& listing, const std::string& pattern, const std::string& field, int r[4]) {
  std::smatch m;
  std::regex re(pattern + ".*?" + field + "=(-?\\d+),(-?\\d+),(-?\\d+),(-?\\d+)");
  if (!std::regex_search(listing, m, re)) return false;
  for (int i = 0; i < 4; ++i) r[i] = std::stoi(m[i + 1]);
  return true;
}

std::string Centre(const int r[4]) {
  return std::to_string((r[0] + r[2]) / 2) + " " + std::to_string((r[1] + r[3]) / 2);
}

TEST(ControlsScript, ListingShowsTheDialogAndKeysDriveIt) {
  std::string shots = ::testing::TempDir();
  std::string out = RunDemo(
      "windows\n"
      "screenshot " + shots + "user_controls_script_dialog.png\n"
      "text \u05E9\u05DC\u05D5\u05DD\n"
      "key Tab\n"
      "key Down\n"
      "windows\n"
      "key Return\n"
      "windows\n"
      "screenshot " + shots + "user_controls_script_menu.png\n"
      "key Down\n"
      "key Down\n"
      "key Return\n");
  // The dialog and its controls, with their state.
  EXPECT_NE(out.find("window class=\"Dialog\" title=\"Every control\""), std::string::npos) << out;
  EXPECT_TRUE(std::regex_search(out, std::regex("control class=\"Edit\" id=1013 text=\"\" rect=\\S+ sel=0,0 focus=1")))
      << out;
  EXPECT_TRUE(std::regex_search(out, std::regex("control class=\"ListBox\" id=1001 text=\"\" rect=\\S+ count=5 sel=2 "
                                                "top=0 seltext=\"DejaVu Sans\"")))
      << out;
  // Each item on a line of its own below the list, with the place to tap it.
  EXPECT_TRUE(std::regex_search(out, std::regex("count=5 sel=2 top=0 seltext=\"DejaVu Sans\"\n"
                                                "    item 0 text=\"\\w+\" rect=\\S+\n"
                                                "    item 1 text=\"\\w+\" rect=\\S+\n"
                                                "    item 2 text=\"DejaVu Sans\" selected=1 rect=\\d+,\\d+,\\d+,\\d+\n")))
      << out;
  EXPECT_TRUE(std::regex_search(out, std::regex("control class=\"Button\" id=1005 text=\"5D0\" rect=\\S+ check=1")))
      << out;
  EXPECT_TRUE(std::regex_search(out, std::regex("control class=\"Button\" id=1004 text=\"224\" rect=\\S+ check=0")))
      << out;
  EXPECT_TRUE(std::regex_search(out, std::regex("control class=\"Static\" id=65535 text=\"\" rect=\\S+ bitmap=1")))
      << out;
  // Typed Hebrew in the field, Tab to the list, Down to the next face.
  EXPECT_TRUE(std::regex_search(out, std::regex("id=1013 text=\"\u05E9\u05DC\u05D5\u05DD\" rect=\\S+ sel=4,4"))) << out;
  EXPECT_TRUE(std::regex_search(out, std::regex("id=1001 text=\"\" rect=\\S+ count=5 sel=3 top=0 seltext=\"Tahoma\"")))
      << out;
  EXPECT_NE(out.find("ok field=\"\u05E9\u05DC\u05D5\u05DD\" face=\"Tahoma\" r224=0 r5d0=1\ndialog=1\n"), std::string::npos)
      << out;
  // The popup's items as the script sees them, then the choice after it closed.
  EXPECT_NE(out.find("window class=\"MenuPopup\""), std::string::npos) << out;
  EXPECT_TRUE(std::regex_search(out, std::regex("  item 3 id=122 text=\"Re&verse\" check=1 rect=\\d+,\\d+,\\d+,\\d+")))
      << out;
  EXPECT_NE(out.find("menu closed\ncommand=40006\n"), std::string::npos) << out;
}

TEST(ControlsScript, TapsOnControlsAndTheCaptionButton) {
  std::string first = RunDemo("windows\n");
  int list[4], radio[4], ok[4];
  ASSERT_TRUE(RectOf(first, "class=\"ListBox\" id=1001", "rect", list)) << first;
  ASSERT_TRUE(RectOf(first, "class=\"Button\" id=1004", "rect", radio)) << first;
  ASSERT_TRUE(RectOf(first, "class=\"Dialog\"", "ok", ok)) << first;
  std::string out = RunDemo("tap " + std::to_string(list[0] + 10) + " " + std::to_string(list[1] + 4) + "\n" +
                        "tap " + Centre(radio) + "\n" + "windows\n" + "tap " + Centre(ok) + "\n" + "key Escape\n");
  EXPECT_TRUE(std::regex_search(out, std::regex("id=1004 text=\"224\" rect=\\S+ check=1"))) << out;
  EXPECT_TRUE(std::regex_search(out, std::regex("id=1005 text=\"5D0\" rect=\\S+ check=0"))) << out;
  EXPECT_NE(out.find("ok field=\"\" face=\"Arial\" r224=1 r5d0=0\ndialog=1\n"), std::string::npos) << out;
  EXPECT_NE(out.find("menu closed\n"), std::string::npos) << out;
  EXPECT_EQ(out.find("command="), std::string::npos) << out;  // Escape chose nothing
}

TEST(ControlsScript, QuitCancelsTheOpenDialog) {
  std::string out = RunDemo("quit\n");
  EXPECT_NE(out.find("cancel field="), std::string::npos) << out;
  EXPECT_NE(out.find("dialog=2\n"), std::string::npos) << out;
}

}  // namespace
