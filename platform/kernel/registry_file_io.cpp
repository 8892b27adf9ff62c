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
  // The descriptor is released even when close reports an error; after EINTR too.
  bool closed = close(fd) == 0 || errno == EINTR;
  if (injected != 0) errno = injected;
  return closed && injected == 0;
}

}  // namespace kernel::registry
