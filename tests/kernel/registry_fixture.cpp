#include "registry_fixture.h"

#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "kernel/registry.h"

std::string RegistryTest::FileText() const {
  std::ifstream file(FilePath(), std::ios::binary);
  std::stringstream text;
  text << file.rdbuf();
  return text.str();
}

void RegistryTest::WriteFileText(const std::string& text) const {
  std::filesystem::create_directories(Folder());
  std::ofstream(FilePath(), std::ios::binary) << text;
  kernel::ForgetRegistry();
}

std::vector<std::string> RegistryTest::FolderEntries() const {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(Folder())) {
    names.push_back(entry.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

int CountLines(const std::string& text) {
  return static_cast<int>(std::count(text.begin(), text.end(), '\n'));
}

void RegistryTest::WhileWritersRun(int writers, const std::function<bool(int writer)>& work,
                                   const std::function<void()>& observe) const {
  std::vector<pid_t> running;
  for (int w = 0; w < writers; ++w) {
    pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) _exit(work(w) ? 0 : 1);
    running.push_back(child);
  }
  do {
    for (pid_t& child : running) {
      int status = 0;
      if (child != 0 && waitpid(child, &status, WNOHANG) == child) {
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "writer " << child;
        child = 0;
      }
    }
    observe();
  } while (std::count(running.begin(), running.end(), 0) < writers);
}
