#include "fake_opener.h"

#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <thread>

#include <gtest/gtest.h>

namespace dialogs_test {

namespace fs = std::filesystem;

FakeOpener::FakeOpener() {
  char pattern[] = "/tmp/vintrel-opener-XXXXXX";
  if (!mkdtemp(pattern)) ADD_FAILURE() << "no folder for the stand-in opener";
  dir_ = pattern;
  savedPath_ = std::getenv("PATH") ? std::getenv("PATH") : "";
  fs::create_directory(dir_ + "/bin");
  std::ofstream(dir_ + "/bin/xdg-open") << "#!/bin/sh\nprintf '%s\\n' \"$1\" >> \"" << dir_ << "/opened\"\n";
  chmod((dir_ + "/bin/xdg-open").c_str(), 0755);
  setenv("PATH", (dir_ + "/bin:" + savedPath_).c_str(), 1);
}

FakeOpener::~FakeOpener() {
  setenv("PATH", savedPath_.c_str(), 1);
  fs::remove_all(dir_);
}

std::vector<std::string> FakeOpener::Opened(size_t count) {
  std::vector<std::string> lines;
  for (int i = 0; i < 500; ++i) {  // up to 10 s: the openers run detached
    lines.clear();
    std::ifstream in(dir_ + "/opened");
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    if (lines.size() >= count) break;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  return lines;
}

void FakeOpener::Remove() { setenv("PATH", (dir_ + "/empty").c_str(), 1); }

}  // namespace dialogs_test
