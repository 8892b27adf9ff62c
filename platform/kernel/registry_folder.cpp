#include "kernel/registry_folder.h"

#include <dirent.h>
#include <fcntl.h>
#include <limits.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <ctime>
#include <vector>

#include "kernel/registry_file.h"

namespace kernel::registry {
namespace {

constexpr int kMaxLinks = 40;
constexpr const char kTemporaryMark[] = ".new-";
constexpr size_t kTemporaryRandom = 6;  // the XXXXXX of mkostemp
constexpr time_t kStaleSeconds = 60;

bool IsAlphanumeric(char c) {
  return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

std::string NameOf(const std::string& path) { return path.substr(path.rfind('/') + 1); }

// A name of the form mkostemp gives TemporaryPattern(target).
bool IsTemporaryName(const std::string& name, const std::string& targetName) {
  std::string prefix = targetName + kTemporaryMark;
  if (name.size() != prefix.size() + kTemporaryRandom || name.compare(0, prefix.size(), prefix) != 0)
    return false;
  for (size_t i = prefix.size(); i < name.size(); ++i) {
    if (!IsAlphanumeric(name[i])) return false;
  }
  return true;
}

// This user's temporary files beside target, with their last change.
std::vector<std::pair<std::string, time_t>> Temporaries(const std::string& target) {
  std::vector<std::pair<std::string, time_t>> found;
  std::string folder = FolderOf(target);
  DIR* listing = opendir(folder.c_str());
  if (listing == nullptr) return found;
  std::string targetName = NameOf(target);
  while (const dirent* entry = readdir(listing)) {
    if (!IsTemporaryName(entry->d_name, targetName)) continue;
    std::string path = folder + '/' + entry->d_name;
    struct stat info;
    if (lstat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) && info.st_uid == getuid())
      found.emplace_back(path, info.st_mtime);
  }
  closedir(listing);
  return found;
}

bool Exists(const std::string& path) {
  struct stat info;
  return lstat(path.c_str(), &info) == 0 || errno != ENOENT;
}

}  // namespace

std::string FolderOf(const std::string& path) {
  size_t slash = path.rfind('/');
  return slash == 0 || slash == std::string::npos ? "/" : path.substr(0, slash);
}

Failure MakeFolders(const std::string& folder) {
  for (size_t slash = folder.find('/', 1);; slash = folder.find('/', slash + 1)) {
    std::string part = folder.substr(0, slash);
    if (RunStep(FileStep::MakeFolder, [&] { return mkdir(part.c_str(), 0700); }) != 0 &&
        errno != EEXIST)
      return Failed("create the folder");
    if (slash == std::string::npos) break;
  }
  struct stat info;
  if (RunStep(FileStep::MakeFolder, [&] { return stat(folder.c_str(), &info); }) != 0)
    return Failed("create the folder");
  if (!S_ISDIR(info.st_mode)) return {"create the folder", ENOTDIR, nullptr};
  return {};
}

Failure FollowLinks(const std::string& path, std::string& target) {
  target = path;
  for (int links = 0; links <= kMaxLinks; ++links) {
    struct stat info;
    if (RunStep(FileStep::FollowLink, [&] { return lstat(target.c_str(), &info); }) != 0)
      return errno == ENOENT || errno == ENOTDIR ? Failure{} : Failed("find the file");
    if (!S_ISLNK(info.st_mode)) return {};
    char link[PATH_MAX];
    ssize_t length = RunStep(FileStep::FollowLink,
                             [&] { return readlink(target.c_str(), link, sizeof link); });
    if (length < 0) return Failed("follow the link");
    if (length == 0 || static_cast<size_t>(length) == sizeof link)
      return {"follow the link", ENAMETOOLONG, nullptr};
    std::string next(link, static_cast<size_t>(length));
    target = next.front() == '/' ? next : FolderOf(target) + '/' + next;
  }
  return {"follow the link", ELOOP, nullptr};
}

int OpenLock(const std::string& path, bool create) {
  int flags = O_RDWR | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC | (create ? O_CREAT : 0);
  std::string lock = path + ".lock";
  return RunStep(FileStep::OpenLock, [&] { return open(lock.c_str(), flags, 0600); });
}

bool TakeLock(int lock, bool wait) {
  int operation = LOCK_EX | (wait ? 0 : LOCK_NB);
  while (RunStep(FileStep::Lock, [&] { return flock(lock, operation); }) != 0) {
    if (errno != EINTR) return false;
  }
  return true;
}

std::string TemporaryPattern(const std::string& target) {
  return target + kTemporaryMark + std::string(kTemporaryRandom, 'X');
}

void RemoveStaleTemporaries(const std::string& path, const std::string& target) {
  auto temporaries = Temporaries(target);
  if (temporaries.empty()) return;
  Descriptor lock(OpenLock(path, false));
  bool noSaveRuns = lock.get() >= 0 && TakeLock(lock.get(), false);
  time_t stale = std::time(nullptr) - kStaleSeconds;
  for (const auto& [temporary, changed] : temporaries) {
    if (noSaveRuns || changed < stale) unlink(temporary.c_str());
  }
}

Failure KeepAsideAsTooLarge(const std::string& target) {
  std::string aside = target + ".too-large";
  for (int n = 2; n <= 9 && Exists(aside); ++n) aside = target + ".too-large-" + std::to_string(n);
  if (Exists(aside)) return {"keep the file aside", EEXIST, nullptr};
  if (RunStep(FileStep::Rename, [&] { return rename(target.c_str(), aside.c_str()); }) != 0)
    return Failed("keep the file aside");
  std::fprintf(stderr,
               "vintrel: %s is larger than %zu MiB: kept as %s; the settings start from the "
               "defaults\n",
               target.c_str(), kMaxFileSize >> 20, aside.c_str());
  return {};
}

}  // namespace kernel::registry
