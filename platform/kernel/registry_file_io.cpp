#include "kernel/registry_file_io.h"

#include <unistd.h>

#include <cstring>

namespace kernel::registry {
namespace {

FileStepHook hook = nullptr;

}  // namespace

void SetFileStepHook(FileStepHook newHook) { hook = newHook; }

int HookedError(FileStep step) { return hook != nullptr ? hook(step) : 0; }

Failure Failed(const char* step) { return {step, errno, nullptr}; }

const char* Reason(const Failure& failure) {
  return failure.reason != nullptr ? failure.reason : std::strerror(failure.error);
}

Descriptor::~Descriptor() {
  if (fd_ >= 0) close(fd_);
}

bool Descriptor::Close() {
  int fd = fd_;
  fd_ = -1;
  int injected = HookedError(FileStep::Close);
  int error = close(fd) == 0 ? 0 : errno;
  if (injected != 0) error = injected;
  // The descriptor is released even when close reports an error; after EINTR nothing
  // is left to report.
  errno = error;
  return error == 0 || error == EINTR;
}

}  // namespace kernel::registry
