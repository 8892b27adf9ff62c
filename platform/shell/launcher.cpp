#include "shell/launcher.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstddef>
#include <cstdlib>

#include "kernel/utf.h"
#include "platform.h"
#include "platform/shell.h"
#include "kernel/out_of_memory.h"

namespace shell {
namespace {

// Where the fields of the caller's record end: the handheld's 60 bytes cover every field.
constexpr DWORD kHandheldExecuteInfoSize = 60;

bool IsExecutableFile(const std::string& path) {
  struct stat st {};
  return stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) && access(path.c_str(), X_OK) == 0;
}

// In the detached grandchild: only async-signal-safe calls until exec.
[[noreturn]] void ExecDetached(const char* program, char* const* argv) {
  int null = open("/dev/null", O_RDONLY);
  if (null >= 0 && null != STDIN_FILENO) {
    dup2(null, STDIN_FILENO);
    close(null);
  }
  close_range(3, ~0U, 0);
  execv(program, argv);
  _exit(127);
}

std::u16string TextOf(LPCWSTR text) { return text ? std::u16string(text) : std::u16string(); }

// An http:// or https:// address (the scheme in any letter case) with something after
// the scheme and no control character: what the opener may be given. Anything else
// (a file, another scheme, text that an opener could take for an option) is refused.
bool IsWebAddress(const std::u16string& file) {
  size_t rest = 0;
  if (_wcsnicmp(file.c_str(), u"http://", 7) == 0) rest = 7;
  else if (_wcsnicmp(file.c_str(), u"https://", 8) == 0) rest = 8;
  if (rest == 0 || file.size() == rest) return false;
  for (char16_t unit : file)
    if (unit < 0x20 || unit == 0x7F) return false;
  return true;
}

}  // namespace

std::string FindOnPath(const std::string& name) {
  const char* path = std::getenv("PATH");
  std::string folders = path ? path : "/usr/local/bin:/usr/bin:/bin";
  size_t start = 0;
  while (start <= folders.size()) {
    size_t end = folders.find(':', start);
    if (end == std::string::npos) end = folders.size();
    std::string folder = folders.substr(start, end - start);
    start = end + 1;
    // An empty or relative element names a place in the current folder, which is no
    // place to run a program from.
    if (folder.empty() || folder[0] != '/') continue;
    std::string candidate = folder + "/" + name;
    if (IsExecutableFile(candidate)) return candidate;
  }
  return "";
}

bool StartDetached(const std::string& program, const std::vector<std::string>& args) {
  // Everything exec needs is built before forking.
  std::vector<std::string> strings;
  strings.push_back(program);
  strings.insert(strings.end(), args.begin(), args.end());
  std::vector<char*> argv;
  for (auto& s : strings) argv.push_back(s.data());
  argv.push_back(nullptr);

  pid_t child = fork();
  if (child < 0) return false;
  if (child == 0) {
    // The middle process: a new session, then a grandchild that init adopts.
    setsid();
    pid_t grandchild = fork();
    if (grandchild == 0) ExecDetached(program.c_str(), argv.data());
    _exit(grandchild < 0 ? 1 : 0);
  }
  int status = 0;
  while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
  }
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

}  // namespace shell

BOOL ShellExecuteEx(LPSHELLEXECUTEINFO info) try {
  if (!info || (info->cbSize != shell::kHandheldExecuteInfoSize &&
                info->cbSize != sizeof(SHELLEXECUTEINFO))) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  std::u16string verb = shell::TextOf(info->lpVerb);
  std::u16string file = shell::TextOf(info->lpFile);
  if ((!verb.empty() && _wcsicmp(verb.c_str(), u"open") != 0) || file.empty()) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  if (!shell::IsWebAddress(file)) {
    SetLastError(ERROR_NO_ASSOCIATION);
    info->hInstApp = reinterpret_cast<HINSTANCE>(ULONG_PTR(SE_ERR_NOASSOC));
    return FALSE;
  }
  std::string opener = shell::FindOnPath("xdg-open");
  if (opener.empty() || !shell::StartDetached(opener, {kernel::Utf16ToUtf8(file)})) {
    SetLastError(ERROR_FILE_NOT_FOUND);
    info->hInstApp = reinterpret_cast<HINSTANCE>(ULONG_PTR(ERROR_FILE_NOT_FOUND));
    return FALSE;
  }
  // Above 32 means success, as the handheld reports it.
  info->hInstApp = reinterpret_cast<HINSTANCE>(ULONG_PTR(42));
  return TRUE;
} catch (const std::bad_alloc&) {
  return kernel::OutOfMemory(FALSE);
}
