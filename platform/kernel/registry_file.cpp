#include "kernel/registry_file.h"

#include <fcntl.h>
#include <pwd.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace kernel::registry {
namespace {

// Closes the descriptor it holds when it goes.
class Descriptor {
 public:
  explicit Descriptor(int fd) : fd_(fd) {}
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  ~Descriptor() {
    if (fd_ >= 0) close(fd_);
  }
  int get() const { return fd_; }
  // Closes now, reporting the error close gives (a late write error, for instance).
  bool Close() {
    int fd = fd_;
    fd_ = -1;
    return close(fd) == 0;
  }

 private:
  int fd_;
};

// A step of writing the file that failed, with its errno.
struct Failure {
  const char* step = nullptr;
  int error = 0;
};

Failure Failed(const char* step) { return {step, errno}; }

std::string FolderOf(const std::string& path) { return path.substr(0, path.rfind('/')); }

std::string ConfigHome() {
  const char* xdg = std::getenv("XDG_CONFIG_HOME");
  if (xdg != nullptr && xdg[0] == '/') return xdg;
  const char* home = std::getenv("HOME");
  if (home == nullptr || home[0] != '/') {
    const passwd* user = getpwuid(getuid());
    home = user != nullptr ? user->pw_dir : nullptr;
  }
  if (home == nullptr || home[0] != '/') return {};
  return std::string(home) + "/.config";
}

// Reads the whole file; a missing file (or folder) reads as empty. False with errno
// on failure.
bool ReadWholeFile(const std::string& path, std::string& text) {
  text.clear();
  Descriptor file(open(path.c_str(), O_RDONLY | O_CLOEXEC));
  if (file.get() < 0) return errno == ENOENT || errno == ENOTDIR;
  char chunk[16384];
  for (;;) {
    ssize_t got = read(file.get(), chunk, sizeof chunk);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) return false;
    if (got == 0) return true;
    text.append(chunk, static_cast<size_t>(got));
  }
}

bool WriteAll(int fd, const std::string& text) {
  size_t done = 0;
  while (done < text.size()) {
    ssize_t wrote = write(fd, text.data() + done, text.size() - done);
    if (wrote < 0 && errno == EINTR) continue;
    if (wrote < 0) return false;
    done += static_cast<size_t>(wrote);
  }
  return true;
}

// Creates the folder and the folders above it that are missing.
bool MakeFolders(const std::string& folder) {
  for (size_t slash = folder.find('/', 1);; slash = folder.find('/', slash + 1)) {
    std::string part = folder.substr(0, slash);
    if (mkdir(part.c_str(), 0700) != 0 && errno != EEXIST) return false;
    if (slash == std::string::npos) break;
  }
  struct stat info;
  if (stat(folder.c_str(), &info) != 0) return false;
  if (!S_ISDIR(info.st_mode)) {
    errno = ENOTDIR;
    return false;
  }
  return true;
}

void ParseReported(const std::string& path, const std::string& text, Key& root) {
  ParseReport report = ParseRegText(text, root);
  if (report.badLines > 0) {
    std::fprintf(stderr, "vintrel: %s: skipped %d unreadable line%s, the first at line %d\n",
                 path.c_str(), report.badLines, report.badLines == 1 ? "" : "s",
                 report.firstBadLine);
  }
}

bool TakeLock(int fd) {
  while (flock(fd, LOCK_EX) != 0) {
    if (errno != EINTR) return false;
  }
  return true;
}

// Writes text to a new file beside path, synced, and renames it over path; no
// temporary file stays behind on failure.
Failure ReplaceFile(const std::string& path, const std::string& text) {
  std::string temporary = path + ".XXXXXX";
  Descriptor file(mkostemp(temporary.data(), O_CLOEXEC));
  if (file.get() < 0) return Failed("create a temporary file");
  Failure failure;
  if (!WriteAll(file.get(), text)) failure = Failed("write");
  else if (fsync(file.get()) != 0) failure = Failed("sync");
  else if (!file.Close()) failure = Failed("close");
  else if (rename(temporary.c_str(), path.c_str()) != 0) failure = Failed("rename");
  if (failure.step != nullptr) {
    unlink(temporary.c_str());
    return failure;
  }
  // The rename itself reaches the disk with the folder.
  Descriptor folder(open(FolderOf(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (folder.get() >= 0) fsync(folder.get());
  return {};
}

Failure Update(const std::string& path, const std::function<void(Key&)>& change, Key& merged) {
  if (path.empty()) return {"find the home folder", ENOENT};
  if (!MakeFolders(FolderOf(path))) return Failed("create the folder");
  Descriptor lock(open((path + ".lock").c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600));
  if (lock.get() < 0) return Failed("open the lock file");
  if (!TakeLock(lock.get())) return Failed("lock");
  std::string text;
  // A file that exists but cannot be read is never overwritten.
  if (!ReadWholeFile(path, text)) return Failed("read");
  Key fresh;
  ParseReported(path, text, fresh);
  change(fresh);
  Failure failure = ReplaceFile(path, FormatRegText(fresh));
  if (failure.step == nullptr) merged = std::move(fresh);
  return failure;
}

}  // namespace

std::string RegistryFilePath() {
  std::string home = ConfigHome();
  return home.empty() ? std::string() : home + "/vintrel/registry.reg";
}

void LoadRegistryFile(const std::string& path, Key& root) {
  std::string text;
  if (path.empty()) return;
  if (!ReadWholeFile(path, text)) {
    std::fprintf(stderr, "vintrel: cannot read the settings in %s: %s\n", path.c_str(),
                 std::strerror(errno));
    return;
  }
  ParseReported(path, text, root);
}

LONG UpdateRegistryFile(const std::string& path, const std::function<void(Key&)>& change,
                        Key& merged) {
  Failure failure = Update(path, change, merged);
  if (failure.step == nullptr) return ERROR_SUCCESS;
  std::fprintf(stderr, "vintrel: settings not saved to %s: cannot %s: %s\n",
               path.empty() ? "the settings file" : path.c_str(), failure.step,
               std::strerror(failure.error));
  bool denied = failure.error == EACCES || failure.error == EPERM || failure.error == EROFS;
  return denied ? ERROR_ACCESS_DENIED : ERROR_WRITE_FAULT;
}

}  // namespace kernel::registry
