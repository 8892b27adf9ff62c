// The system calls under the registry's file, each one a named step. A test may install
// a hook that is asked before every step: it lets the step run (0), makes it fail with
// an errno of its choosing, or ends the process there. Without a hook each call is
// simply the system's.
#pragma once

#include <cerrno>

namespace kernel::registry {

enum class FileStep {
  MakeFolder,
  OpenLock,
  Lock,
  FollowLink,
  Open,
  Stat,
  Read,
  CreateTemporary,
  Write,
  KeepMode,
  Sync,
  Close,
  Rename,
  OpenFolder,
  SyncFolder,
  Remove,
};

// Null removes the hook.
using FileStepHook = int (*)(FileStep step);
void SetFileStepHook(FileStepHook hook);

// 0, or the errno the hook chose for the step.
int HookedError(FileStep step);

// The call's result, or -1 with errno set when the hook fails the step.
template <typename Call>
auto RunStep(FileStep step, Call call) -> decltype(call()) {
  if (int error = HookedError(step)) {
    errno = error;
    return -1;
  }
  return call();
}

// A step that failed: what it was for (completing "cannot ..."), its errno, or a reason
// of its own where no errno says it.
struct Failure {
  const char* step = nullptr;  // null: no failure
  int error = 0;
  const char* reason = nullptr;
};

// The failure of the step, with the errno of the call that just failed.
Failure Failed(const char* step);
// What went wrong, for a message.
const char* Reason(const Failure& failure);

// Closes the descriptor it holds when it goes.
class Descriptor {
 public:
  explicit Descriptor(int fd) : fd_(fd) {}
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  ~Descriptor();
  int get() const { return fd_; }
  // Closes now, as a step; false with errno when close reports an error (a late write
  // error, for instance).
  bool Close();

 private:
  int fd_;
};

}  // namespace kernel::registry
