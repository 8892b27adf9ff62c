#include "kernel/registry_file.h"

#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>

#include "kernel/registry_file_io.h"
#include "kernel/registry_folder.h"

namespace kernel::registry {
namespace {

// What reading the file found.
struct FileText {
  bool exists = false;
  bool tooLarge = false;  // then text is empty
  mode_t mode = 0;        // its permissions, when it exists
  std::string text;
};

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

// Reads the regular file at path whole, up to one byte past the cap; a missing file (or
// folder) reads as nothing. Opening never waits, whatever the file is.
Failure ReadFile(const std::string& path, FileText& file) {
  file = {};
  Descriptor fd(RunStep(FileStep::Open,
                        [&] { return open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC); }));
  if (fd.get() < 0) return errno == ENOENT || errno == ENOTDIR ? Failure{} : Failed("open");
  struct stat info;
  if (RunStep(FileStep::Stat, [&] { return fstat(fd.get(), &info); }) != 0) return Failed("examine");
  if (!S_ISREG(info.st_mode)) return {"read", 0, "it is not a regular file"};
  file.exists = true;
  file.mode = info.st_mode & 0777;
  char chunk[16384];
  while (file.text.size() <= kMaxFileSize) {
    ssize_t got = RunStep(FileStep::Read, [&] { return read(fd.get(), chunk, sizeof chunk); });
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) return Failed("read");
    if (got == 0) return {};
    file.text.append(chunk, static_cast<size_t>(got));
  }
  file.tooLarge = true;
  file.text.clear();
  return {};
}

// Reads the file; one too large is moved aside, and then there is none.
Failure ReadOrKeepAside(const std::string& target, FileText& file) {
  Failure failure = ReadFile(target, file);
  if (failure.step != nullptr || !file.tooLarge) return failure;
  file = {};
  return KeepAsideAsTooLarge(target);
}

bool WriteAll(int fd, const std::string& text) {
  size_t done = 0;
  while (done < text.size()) {
    ssize_t wrote = RunStep(FileStep::Write,
                            [&] { return write(fd, text.data() + done, text.size() - done); });
    if (wrote < 0 && errno == EINTR) continue;
    if (wrote < 0) return false;
    done += static_cast<size_t>(wrote);
  }
  return true;
}

// Writes text to a new file beside target with the old file's permissions, syncs it,
// renames it over target and syncs the folder; no temporary file stays behind on failure.
Failure ReplaceFile(const std::string& target, const std::string& text, const FileText& old) {
  std::string temporary = TemporaryPattern(target);
  Descriptor file(RunStep(FileStep::CreateTemporary,
                          [&] { return mkostemp(temporary.data(), O_CLOEXEC); }));
  if (file.get() < 0) return Failed("create a temporary file");
  Failure failure;
  if (!WriteAll(file.get(), text)) {
    failure = Failed("write");
  } else if (old.exists &&
             RunStep(FileStep::KeepMode, [&] { return fchmod(file.get(), old.mode); }) != 0) {
    failure = Failed("keep the file's permissions");
  } else if (RunStep(FileStep::Sync, [&] { return fsync(file.get()); }) != 0) {
    failure = Failed("sync");
  } else if (!file.Close()) {
    failure = Failed("close");
  } else if (RunStep(FileStep::Rename,
                     [&] { return rename(temporary.c_str(), target.c_str()); }) != 0) {
    failure = Failed("rename");
  }
  if (failure.step != nullptr) {
    RunStep(FileStep::Remove, [&] { return unlink(temporary.c_str()); });
    return failure;
  }
  // The rename itself reaches the disk with the folder.
  std::string folderPath = FolderOf(target);
  Descriptor folder(RunStep(FileStep::OpenFolder, [&] {
    return open(folderPath.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  }));
  if (folder.get() < 0) return Failed("open the folder");
  if (RunStep(FileStep::SyncFolder, [&] { return fsync(folder.get()); }) != 0)
    return Failed("sync the folder");
  return {};
}

Failure Update(const std::string& path, const std::function<void(Key&)>& change, Key& merged) {
  if (path.empty()) return {"find the home folder", ENOENT, nullptr};
  if (Failure failure = MakeFolders(FolderOf(path)); failure.step != nullptr) return failure;
  Descriptor lock(OpenLock(path, true));
  if (lock.get() < 0) return Failed("open the lock file");
  if (!TakeLock(lock.get(), true)) return Failed("lock");
  std::string target;
  FileText file;
  if (Failure failure = FollowLinks(path, target); failure.step != nullptr) return failure;
  // A file that exists but cannot be read is never overwritten.
  if (Failure failure = ReadOrKeepAside(target, file); failure.step != nullptr) return failure;
  Key fresh;
  ParseRegText(file.text, fresh);
  change(fresh);
  std::string text = FormatRegText(fresh);
  // A file its own reader would refuse is never written.
  if (text.size() > kMaxFileSize) return {"write", EFBIG, "the settings would exceed 1 MiB"};
  if (!file.exists || text != file.text) {
    if (Failure failure = ReplaceFile(target, text, file); failure.step != nullptr) return failure;
  }
  merged = std::move(fresh);
  return {};
}

// Reads the file for a start: a file too large is moved aside under the lock, unless a
// save replaced it meanwhile.
Failure Load(const std::string& path, std::string& target, FileText& file) {
  if (Failure failure = FollowLinks(path, target); failure.step != nullptr) return failure;
  if (Failure failure = ReadFile(target, file); failure.step != nullptr || !file.tooLarge)
    return failure;
  Descriptor lock(OpenLock(path, true));
  if (lock.get() < 0) return Failed("open the lock file");
  if (!TakeLock(lock.get(), true)) return Failed("lock");
  return ReadOrKeepAside(target, file);
}

void ParseReported(const std::string& path, const std::string& text, Key& root) {
  ParseReport report = ParseRegText(text, root);
  if (report.badLines > 0) {
    std::fprintf(stderr,
                 "vintrel: %s: %d unreadable line%s, the first at line %d, kept as written\n",
                 path.c_str(), report.badLines, report.badLines == 1 ? "" : "s",
                 report.firstBadLine);
  }
}

}  // namespace

std::string RegistryFilePath() {
  std::string home = ConfigHome();
  return home.empty() ? std::string() : home + "/vintrel/registry.reg";
}

void LoadRegistryFile(const std::string& path, Key& root) {
  if (path.empty()) return;
  std::string target;
  FileText file;
  Failure failure = Load(path, target, file);
  if (!target.empty()) RemoveStaleTemporaries(path, target);
  if (failure.step != nullptr) {
    std::fprintf(stderr,
                 "vintrel: cannot read the settings in %s: cannot %s: %s; the settings start "
                 "from the defaults\n",
                 path.c_str(), failure.step, Reason(failure));
    return;
  }
  ParseReported(path, file.text, root);
}

LONG UpdateRegistryFile(const std::string& path, const std::function<void(Key&)>& change,
                        Key& merged) {
  Failure failure = Update(path, change, merged);
  if (failure.step == nullptr) return ERROR_SUCCESS;
  std::fprintf(stderr, "vintrel: settings not saved to %s: cannot %s: %s\n",
               path.empty() ? "the settings file" : path.c_str(), failure.step, Reason(failure));
  bool denied = failure.error == EACCES || failure.error == EPERM || failure.error == EROFS;
  return denied ? ERROR_ACCESS_DENIED : ERROR_WRITE_FAULT;
}

}  // namespace kernel::registry
