#include "book_files.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <stdexcept>

namespace book {

namespace {

void WriteAtomically(const std::filesystem::path& target, const std::vector<uint8_t>& bytes) {
  const std::filesystem::path temporary =
      target.parent_path() / ("." + target.filename().string() + ".tmp" + std::to_string(getpid()));
  const int fd = open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  if (fd < 0) throw std::runtime_error(temporary.string() + ": " + std::strerror(errno));
  size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    done += static_cast<size_t>(n);
  }
  const bool ok = done == bytes.size() && fsync(fd) == 0;
  const int error = errno;
  close(fd);
  if (!ok || std::rename(temporary.c_str(), target.c_str()) != 0) {
    const int renameError = ok ? errno : error;
    std::remove(temporary.c_str());
    throw std::runtime_error(target.string() + ": " + std::strerror(renameError));
  }
}

}  // namespace

std::string LessonFileName(int number) {
  char name[32];
  std::snprintf(name, sizeof name, "lesson%03d.bin", number);
  return name;
}

std::optional<std::vector<uint8_t>> ReadWholeFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (in.bad()) return std::nullopt;
  return bytes;
}

int ReplaceChangedFiles(const std::filesystem::path& folder, const std::vector<OutputFile>& files) {
  std::error_code error;
  std::filesystem::create_directories(folder, error);
  if (error) throw std::runtime_error(folder.string() + ": " + error.message());
  int replaced = 0;
  for (const OutputFile& file : files) {
    const std::filesystem::path target = folder / file.Name;
    if (ReadWholeFile(target) == file.Bytes) continue;
    WriteAtomically(target, file.Bytes);
    ++replaced;
  }
  if (replaced) {  // the renames themselves reach the disk with the folder
    const int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY);
    if (fd >= 0) {
      fsync(fd);
      close(fd);
    }
  }
  return replaced;
}

}  // namespace book
