#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#include "platform.h"
#include "platform/shell.h"

namespace {

namespace fs = std::filesystem;

// A fake xdg-open on PATH: it waits until the test lets it go, then records how many
// arguments it got and the first one.
class Launcher : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/shell-launch-XXXXXX";
    ASSERT_TRUE(mkdtemp(pattern));
    dir_ = pattern;
    savedPath_ = std::getenv("PATH") ? std::getenv("PATH") : "";
    fs::create_directory(dir_ + "/bin");
    std::ofstream script(dir_ + "/bin/xdg-open");
    script << "#!/bin/sh\n"
              "while [ ! -e \"$FAKE_OPEN_DIR/go\" ]; do sleep 0.05; done\n"
              "printf '%s\\n%s' \"$#\" \"$1\" > \"$FAKE_OPEN_DIR/args.tmp\"\n"
              "mv \"$FAKE_OPEN_DIR/args.tmp\" \"$FAKE_OPEN_DIR/args\"\n";
    script.close();
    chmod((dir_ + "/bin/xdg-open").c_str(), 0755);
    setenv("FAKE_OPEN_DIR", dir_.c_str(), 1);
    setenv("PATH", (dir_ + "/bin:" + savedPath_).c_str(), 1);
  }
  void TearDown() override {
    setenv("PATH", savedPath_.c_str(), 1);
    fs::remove_all(dir_);
  }

  // The recorded arguments once the fake opener has run ("" if it never did).
  std::string RecordedArguments() {
    std::ofstream(dir_ + "/go").close();
    for (int i = 0; i < 400 && !fs::exists(dir_ + "/args"); ++i)
      std::this_thread::sleep_for(std::chrono::milliseconds(25));
    std::ifstream in(dir_ + "/args");
    std::stringstream text;
    text << in.rdbuf();
    fs::remove(dir_ + "/args");
    fs::remove(dir_ + "/go");
    return text.str();
  }

  static SHELLEXECUTEINFO OpenRecord(LPCWSTR address) {
    SHELLEXECUTEINFO info{};
    info.cbSize = 60;
    info.fMask = SEE_MASK_FLAG_NO_UI;
    info.lpVerb = u"Open";
    info.lpFile = address;
    return info;
  }

  std::string dir_;
  std::string savedPath_;
};

TEST_F(Launcher, HandsTheAddressOverAsOneArgumentWithoutAShell) {
  struct Case {
    const char16_t* address;
    const char* expected;
  };
  const Case cases[] = {
      {u"http://example.org/cgi-bin/upgrade?p=arm/Norvane/Vintrel+%2D+5765+%28heb%29&v=1.84a",
       "http://example.org/cgi-bin/upgrade?p=arm/Norvane/Vintrel+%2D+5765+%28heb%29&v=1.84a"},
      {u"http://example.org/a b;c|d$(touch x)`id`'\"", "http://example.org/a b;c|d$(touch x)`id`'\""},
      {u"http://example.org/\u05E9\u05DC\u05D5\u05DD", "http://example.org/\xD7\xA9\xD7\x9C\xD7\x95\xD7\x9D"},
  };
  for (const auto& c : cases) {
    SHELLEXECUTEINFO info = OpenRecord(c.address);
    // The opener is still waiting for "go": returning proves the call did not wait.
    EXPECT_TRUE(ShellExecuteEx(&info));
    EXPECT_GT(reinterpret_cast<uintptr_t>(info.hInstApp), 32u);
    EXPECT_EQ(RecordedArguments(), std::string("1\n") + c.expected);
    EXPECT_FALSE(fs::exists(dir_ + "/x")) << "no shell ran the text";
  }
}

TEST_F(Launcher, LeavesNoChildToReap) {
  SHELLEXECUTEINFO info = OpenRecord(u"http://example.org/");
  ASSERT_TRUE(ShellExecuteEx(&info));
  errno = 0;
  EXPECT_EQ(waitpid(-1, nullptr, WNOHANG), -1);
  EXPECT_EQ(errno, ECHILD);
  RecordedArguments();
}

TEST_F(Launcher, AcceptsOurOwnRecordSizeAndAMissingVerb) {
  SHELLEXECUTEINFO info = OpenRecord(u"http://example.org/own");
  info.cbSize = sizeof(SHELLEXECUTEINFO);
  info.lpVerb = nullptr;
  EXPECT_TRUE(ShellExecuteEx(&info));
  EXPECT_EQ(RecordedArguments(), "1\nhttp://example.org/own");
}

TEST_F(Launcher, DoesNothingWithoutAnOpener) {
  setenv("PATH", (dir_ + "/empty").c_str(), 1);
  SHELLEXECUTEINFO info = OpenRecord(u"http://example.org/");
  EXPECT_FALSE(ShellExecuteEx(&info));
  EXPECT_EQ(GetLastError(), DWORD(ERROR_FILE_NOT_FOUND));
}

TEST_F(Launcher, HandsOverOnlyWebAddresses) {
  const char16_t* refused[] = {
      u"file:///etc/passwd", u"/etc/passwd", u"example.org", u"mailto:someone@example.org",
      u"ftp://example.org/", u"javascript:alert(1)", u"--help", u"-e http://example.org/",
      u"http:/example.org", u"http://", u"https://", u"http://example.org/\nx",
      u"http://example.org/\tx", u"http://example.org/\x7F",
  };
  for (const char16_t* address : refused) {
    SHELLEXECUTEINFO info = OpenRecord(address);
    SetLastError(0);
    EXPECT_FALSE(ShellExecuteEx(&info));
    EXPECT_EQ(GetLastError(), DWORD(ERROR_NO_ASSOCIATION));
    EXPECT_EQ(reinterpret_cast<uintptr_t>(info.hInstApp), uintptr_t(SE_ERR_NOASSOC));
  }
  std::ofstream(dir_ + "/go").close();
  std::this_thread::sleep_for(std::chrono::milliseconds(200));
  EXPECT_FALSE(fs::exists(dir_ + "/args")) << "nothing was started";
  fs::remove(dir_ + "/go");

  // The scheme in any letter case.
  for (const char16_t* address : {u"HTTPS://example.org/", u"Http://example.org/"}) {
    SHELLEXECUTEINFO info = OpenRecord(address);
    EXPECT_TRUE(ShellExecuteEx(&info));
    EXPECT_EQ(RecordedArguments().substr(0, 2), "1\n");
  }
}

TEST_F(Launcher, SkipsEmptyAndRelativePathElements) {
  // Openers in the current folder and in a folder below it, which only an empty or a
  // relative element of PATH would find.
  fs::create_directories(dir_ + "/here/relative");
  for (const char* folder : {"/here/", "/here/relative/"}) {
    fs::copy_file(dir_ + "/bin/xdg-open", dir_ + folder + "xdg-open");
    chmod((dir_ + folder + "xdg-open").c_str(), 0755);
  }
  fs::path kept = fs::current_path();
  fs::current_path(dir_ + "/here");
  setenv("PATH", (":relative::" + dir_ + "/empty:").c_str(), 1);
  SHELLEXECUTEINFO info = OpenRecord(u"http://example.org/");
  EXPECT_FALSE(ShellExecuteEx(&info));
  EXPECT_EQ(GetLastError(), DWORD(ERROR_FILE_NOT_FOUND));
  // Past the skipped elements the opener in an absolute folder is found.
  setenv("PATH", ("::relative:" + dir_ + "/bin:" + savedPath_).c_str(), 1);
  EXPECT_TRUE(ShellExecuteEx(&info));
  fs::current_path(kept);
  EXPECT_EQ(RecordedArguments(), "1\nhttp://example.org/");
}

TEST_F(Launcher, RefusesUnusableRecords) {
  struct Case {
    const char* what;
    DWORD size;
    LPCWSTR verb;
    LPCWSTR file;
  };
  const Case cases[] = {
      {"size 0", 0, u"Open", u"http://example.org/"},
      {"size short of the handheld's", 56, u"Open", u"http://example.org/"},
      {"another verb", 60, u"print", u"http://example.org/"},
      {"no address", 60, u"Open", nullptr},
      {"empty address", 60, u"Open", u""},
  };
  for (const auto& c : cases) {
    SHELLEXECUTEINFO info = OpenRecord(c.file);
    info.cbSize = c.size;
    info.lpVerb = c.verb;
    EXPECT_FALSE(ShellExecuteEx(&info)) << c.what;
  }
  EXPECT_FALSE(ShellExecuteEx(nullptr));
  std::ofstream(dir_ + "/go").close();
  std::this_thread::sleep_for(std::chrono::milliseconds(200));
  EXPECT_FALSE(fs::exists(dir_ + "/args")) << "nothing was started";
}

}  // namespace
