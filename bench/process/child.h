// Running the program as a child process and reading what the kernel knows of it:
// wall and CPU time, peak and current resident memory, time on a processor and
// context switches of all its threads.
#pragma once

#include <sys/types.h>

#include <chrono>
#include <string>
#include <vector>

namespace bench {

using Clock = std::chrono::steady_clock;

double MillisecondsSince(Clock::time_point start);

// A started child; its output goes to /dev/null.
struct Child {
  pid_t pid = -1;
  Clock::time_point started;
};
Child Spawn(const std::vector<std::string>& arguments);

// What a child's end reports.
struct Ended {
  bool ok = false;            // exit status 0
  double wallMs = 0;          // from the spawn to the end
  double cpuMs = 0;           // user + system
  double peakResidentMiB = 0; // the largest resident set it ever had
};
// Waits for the end; after timeoutMs (when not negative) the child is killed first.
Ended Wait(const Child& child, int timeoutMs = -1);

// Runs the arguments to their end.
Ended Run(const std::vector<std::string>& arguments);

// The child's resident memory now, in MiB; 0 when it cannot be read.
double ResidentMiB(pid_t pid);

// Processor time and context switches of every thread of a process, as counted so far.
struct Activity {
  double cpuMs = 0;
  long switches = 0;  // voluntary and involuntary: each is a wake-up or a preemption
};
Activity ActivityOf(pid_t pid);

// A folder of its own for settings and the runtime (sockets), removed at the end; the
// environment points the children there.
class Sandbox {
 public:
  Sandbox();
  ~Sandbox();
  Sandbox(const Sandbox&) = delete;
  Sandbox& operator=(const Sandbox&) = delete;
  // A settings file with these lines under the product's key (registry file syntax).
  void WriteSettings(const std::string& productLines) const;
  // A file in the folder with this text; its path.
  std::string WriteFile(const std::string& name, const std::string& text) const;

 private:
  std::string root_;
};

}  // namespace bench
