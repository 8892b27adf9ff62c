#include "test_support/file_steps.h"

#include <signal.h>
#include <unistd.h>

#include <map>
#include <vector>

namespace test_support {
namespace {

// The hook is a plain function, so what it follows lives here.
struct Watch {
  std::map<FileStep, int> counts;
  std::vector<StepFault> faults;
  int total = 0;
  int killAt = 0;  // 0: never
};

Watch watch;

int OnStep(FileStep step) {
  ++watch.total;
  if (watch.total == watch.killAt) kill(getpid(), SIGKILL);
  int seen = ++watch.counts[step];
  for (const StepFault& fault : watch.faults) {
    if (fault.step == step && seen >= fault.from && seen - fault.from < fault.times)
      return fault.error;
  }
  return 0;
}

}  // namespace

FileSteps::FileSteps() {
  watch = Watch();
  kernel::registry::SetFileStepHook(OnStep);
}

FileSteps::~FileSteps() { kernel::registry::SetFileStepHook(nullptr); }

void FileSteps::Fail(StepFault fault) { watch.faults.push_back(fault); }

void FileSteps::KillBefore(int n) { watch.killAt = watch.total + n; }

int FileSteps::Count(FileStep step) const {
  auto found = watch.counts.find(step);
  return found == watch.counts.end() ? 0 : found->second;
}

int FileSteps::Total() const { return watch.total; }

}  // namespace test_support
