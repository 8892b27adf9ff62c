// Signal handlers may only do what is safe at any moment: write to a pipe, stat and
// unlink a file, restore the default action and raise the signal again.
#include "kernel/termination.h"

#include <fcntl.h>
#include <limits.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstring>

namespace kernel {
namespace {

constexpr int kRequestSignals[] = {SIGINT, SIGTERM, SIGHUP};

int requestPipe[2] = {-1, -1};
std::atomic<int> requests{0};

// The file a forced end removes; `forcedEndFileSet` guards it while it changes.
char forcedEndFile[PATH_MAX];
std::atomic<uint64_t> forcedEndInode{0};
std::atomic<bool> forcedEndFileSet{false};

void RemoveForcedEndFile() {
  if (!forcedEndFileSet.load()) return;
  struct stat st {};
  if (stat(forcedEndFile, &st) == 0 && st.st_ino == forcedEndInode.load()) unlink(forcedEndFile);
}

void OnRequest(int signal) {
  int savedErrno = errno;
  if (requests.fetch_add(1) == 0) {
    char byte = 1;
    [[maybe_unused]] ssize_t written = write(requestPipe[1], &byte, 1);
    errno = savedErrno;
    return;
  }
  // Already closing: end now. The signal stays blocked until this handler returns, and
  // then its default action ends the process.
  RemoveForcedEndFile();
  ::signal(signal, SIG_DFL);
  raise(signal);
  errno = savedErrno;
}

bool StartedIgnored(int signal) {
  struct sigaction current {};
  return sigaction(signal, nullptr, &current) == 0 && current.sa_handler == SIG_IGN;
}

}  // namespace

bool CatchTerminationRequests() {
  if (requestPipe[0] >= 0) return true;
  if (pipe2(requestPipe, O_CLOEXEC | O_NONBLOCK) != 0) {
    requestPipe[0] = requestPipe[1] = -1;
    return false;
  }
  struct sigaction action {};
  action.sa_handler = OnRequest;
  action.sa_flags = SA_RESTART;
  sigemptyset(&action.sa_mask);
  for (int signal : kRequestSignals) sigaddset(&action.sa_mask, signal);
  for (int signal : kRequestSignals)
    if (!StartedIgnored(signal)) sigaction(signal, &action, nullptr);
  return true;
}

int TerminationRequestFd() { return requestPipe[0]; }

bool TakeTerminationRequest() {
  if (requestPipe[0] < 0) return false;
  bool taken = false;
  char bytes[16];
  for (;;) {
    ssize_t n = read(requestPipe[0], bytes, sizeof bytes);
    if (n > 0) {
      taken = true;
      continue;
    }
    if (n < 0 && errno == EINTR) continue;
    return taken;
  }
}

void RemoveAtForcedEnd(const char* path, uint64_t inode) {
  forcedEndFileSet = false;
  if (!path || std::strlen(path) >= sizeof forcedEndFile) return;
  std::memcpy(forcedEndFile, path, std::strlen(path) + 1);
  forcedEndInode = inode;
  forcedEndFileSet = true;
}

}  // namespace kernel
