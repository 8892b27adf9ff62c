#include "child.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

extern char** environ;

namespace bench {

double MillisecondsSince(Clock::time_point start) {
  return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

Child Spawn(const std::vector<std::string>& arguments) {
  std::vector<char*> argv;
  for (const std::string& word : arguments) argv.push_back(const_cast<char*>(word.c_str()));
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  for (int fd = 0; fd <= 2; ++fd)
    posix_spawn_file_actions_addopen(&actions, fd, "/dev/null", fd == 0 ? O_RDONLY : O_WRONLY, 0);
  Child child;
  child.started = Clock::now();
  if (posix_spawnp(&child.pid, argv[0], &actions, nullptr, argv.data(), environ) != 0)
    child.pid = -1;
  posix_spawn_file_actions_destroy(&actions);
  return child;
}

Ended Wait(const Child& child, int timeoutMs) {
  Ended ended;
  if (child.pid < 0) return ended;
  if (timeoutMs >= 0) {
    // A process descriptor is readable once the process ended: the end is seen at once.
    const int descriptor = int(syscall(SYS_pidfd_open, child.pid, 0));
    pollfd ending{descriptor, POLLIN, 0};
    if (descriptor < 0 || poll(&ending, 1, timeoutMs) != 1) kill(child.pid, SIGKILL);
    if (descriptor >= 0) ::close(descriptor);
  }
  int status = 0;
  rusage usage{};
  if (wait4(child.pid, &status, 0, &usage) != child.pid) return ended;
  ended.wallMs = MillisecondsSince(child.started);
  auto ms = [](const timeval& t) { return t.tv_sec * 1e3 + t.tv_usec / 1e3; };
  ended.cpuMs = ms(usage.ru_utime) + ms(usage.ru_stime);
  ended.peakResidentMiB = usage.ru_maxrss / 1024.0;
  ended.ok = WIFEXITED(status) && WEXITSTATUS(status) == 0;
  return ended;
}

Ended Run(const std::vector<std::string>& arguments) { return Wait(Spawn(arguments)); }

double ResidentMiB(pid_t pid) {
  std::ifstream status("/proc/" + std::to_string(pid) + "/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.rfind("VmRSS:", 0) == 0) return std::atof(line.c_str() + 6) / 1024.0;
  }
  return 0;
}

Activity ActivityOf(pid_t pid) {
  Activity activity;
  const std::filesystem::path tasks = "/proc/" + std::to_string(pid) + "/task";
  std::error_code error;
  for (const auto& task : std::filesystem::directory_iterator(tasks, error)) {
    std::ifstream schedstat(task.path() / "schedstat");
    double runNs = 0;
    if (schedstat >> runNs) activity.cpuMs += runNs / 1e6;
    std::ifstream status(task.path() / "status");
    std::string line;
    while (std::getline(status, line)) {
      if (line.find("ctxt_switches:") != std::string::npos)
        activity.switches += std::atol(line.c_str() + line.find(':') + 1);
    }
  }
  return activity;
}

Sandbox::Sandbox() {
  std::string pattern = (std::filesystem::temp_directory_path() / "vintrel-bench-XXXXXX").string();
  if (!mkdtemp(pattern.data())) throw std::runtime_error("no folder for the benchmark");
  root_ = pattern;
  std::filesystem::create_directories(root_ + "/config/vintrel");
  std::filesystem::create_directories(root_ + "/runtime");
  std::filesystem::permissions(root_ + "/runtime", std::filesystem::perms::owner_all);
  setenv("XDG_CONFIG_HOME", (root_ + "/config").c_str(), 1);
  setenv("XDG_RUNTIME_DIR", (root_ + "/runtime").c_str(), 1);
}

Sandbox::~Sandbox() {
  std::error_code ignored;
  std::filesystem::remove_all(root_, ignored);
}

void Sandbox::WriteSettings(const std::string& productLines) const {
  std::ofstream file(root_ + "/config/vintrel/registry.reg", std::ios::trunc);
  file << "Windows Registry Editor Version 5.00\r\n\r\n"
          "[HKEY_CURRENT_USER\\Software\\Norvane\\Vintrel - 5765 (heb)]\r\n"
       << productLines;
}

std::string Sandbox::WriteFile(const std::string& name, const std::string& text) const {
  const std::string path = root_ + "/" + name;
  std::ofstream(path, std::ios::trunc) << text;
  return path;
}

}  // namespace bench
