// The registry file's steps watched for one test (see kernel/registry_file_io.h): while
// a FileSteps lives, every step is counted, chosen steps fail with the errno given, and
// the process can be ended with SIGKILL just before a step, as a crash would end it.
#pragma once

#include <climits>

#include "kernel/registry_file_io.h"

namespace test_support {

using kernel::registry::FileStep;

// The step fails with error on its times occurrences from the from-th on.
struct StepFault {
  FileStep step;
  int error;
  int from = 1;
  int times = INT_MAX;
};

class FileSteps {
 public:
  FileSteps();  // counts from zero, nothing failing
  ~FileSteps();
  FileSteps(const FileSteps&) = delete;
  FileSteps& operator=(const FileSteps&) = delete;

  void Fail(StepFault fault);
  // Ends the process before the n-th step from now (1 is the next one).
  void KillBefore(int n);
  int Count(FileStep step) const;
  int Total() const;  // of every kind
};

}  // namespace test_support
