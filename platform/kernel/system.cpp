// Local time, the system version and the last-error value.
#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <ctime>

#include "platform/kernel.h"

namespace {

thread_local DWORD lastError = ERROR_SUCCESS;

constexpr DWORD kDefaultMajor = 5;
constexpr DWORD kDefaultMinor = 0;
constexpr DWORD kBuildNumber = 1;

// VINTREL_OS_VERSION "MAJOR[.MINOR]" (for instance "4.20") overrides the version;
// anything else leaves the default.
void ReadVersion(DWORD& major, DWORD& minor) {
  major = kDefaultMajor;
  minor = kDefaultMinor;
  const char* text = std::getenv("VINTREL_OS_VERSION");
  if (text == nullptr || *text < '0' || *text > '9') return;
  char* end = nullptr;
  unsigned long readMajor = std::strtoul(text, &end, 10);
  unsigned long readMinor = 0;
  if (*end == '.') {
    const char* minorText = end + 1;
    if (*minorText < '0' || *minorText > '9') return;
    readMinor = std::strtoul(minorText, &end, 10);
  }
  if (*end != 0 || readMajor > 0xFFFF || readMinor > 0xFFFF) return;
  major = static_cast<DWORD>(readMajor);
  minor = static_cast<DWORD>(readMinor);
}

}  // namespace

void GetLocalTime(LPSYSTEMTIME time) {
  timespec now{};
  clock_gettime(CLOCK_REALTIME, &now);
  tm local{};
  tzset();  // a changed time zone counts from the next reading on
  localtime_r(&now.tv_sec, &local);
  time->wYear = static_cast<WORD>(local.tm_year + 1900);
  time->wMonth = static_cast<WORD>(local.tm_mon + 1);
  time->wDayOfWeek = static_cast<WORD>(local.tm_wday);
  time->wDay = static_cast<WORD>(local.tm_mday);
  time->wHour = static_cast<WORD>(local.tm_hour);
  time->wMinute = static_cast<WORD>(local.tm_min);
  time->wSecond = static_cast<WORD>(local.tm_sec);
  time->wMilliseconds = static_cast<WORD>(now.tv_nsec / 1000000);
}

// Fills the fixed fields and as much of the service-pack text as the caller's size
// covers; a size smaller than the fixed fields is refused.
BOOL GetVersionExW(LPOSVERSIONINFOW info) {
  if (info == nullptr) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  DWORD size = info->dwOSVersionInfoSize;
  if (size < offsetof(OSVERSIONINFOW, szCSDVersion)) {
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return FALSE;
  }
  ReadVersion(info->dwMajorVersion, info->dwMinorVersion);
  info->dwBuildNumber = kBuildNumber;
  info->dwPlatformId = VER_PLATFORM_WIN32_CE;
  size_t textBytes = size - offsetof(OSVERSIONINFOW, szCSDVersion);
  if (textBytes > sizeof info->szCSDVersion) textBytes = sizeof info->szCSDVersion;
  std::memset(info->szCSDVersion, 0, textBytes);
  return TRUE;
}

DWORD GetLastError() { return lastError; }

void SetLastError(DWORD error) { lastError = error; }
