#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>
#include <thread>

#include <unistd.h>

#include <gtest/gtest.h>

#include "platform/kernel.h"

namespace {

// The fields as a point in time, read as UTC: the local time's offset shows as the
// difference from the real time.
time_t FieldsAsUtc(const SYSTEMTIME& t) {
  tm fields{};
  fields.tm_year = t.wYear - 1900;
  fields.tm_mon = t.wMonth - 1;
  fields.tm_mday = t.wDay;
  fields.tm_hour = t.wHour;
  fields.tm_min = t.wMinute;
  fields.tm_sec = t.wSecond;
  return timegm(&fields);
}

// Reads the local time in the zone given, with the real time just before and after.
struct Reading {
  time_t before;
  SYSTEMTIME local;
  time_t after;
};

Reading ReadInZone(const char* zone) {
  const char* saved = std::getenv("TZ");
  std::string savedZone = saved ? saved : "";
  setenv("TZ", zone, 1);
  tzset();
  Reading reading{};
  reading.before = time(nullptr);
  GetLocalTime(&reading.local);
  reading.after = time(nullptr);
  if (saved) setenv("TZ", savedZone.c_str(), 1); else unsetenv("TZ");
  tzset();
  return reading;
}

TEST(LocalTime, GivesTheDateAndTimeOfTheLocalZone) {
  const struct {
    const char* zone;
    long offsetSeconds;
  } zones[] = {{"UTC0", 0}, {"XYZ-14", 14 * 3600}, {"ABC+9:30", -(9 * 3600 + 1800)}};
  for (const auto& zone : zones) {
    Reading r = ReadInZone(zone.zone);
    time_t shown = FieldsAsUtc(r.local) - zone.offsetSeconds;
    EXPECT_GE(shown, r.before) << zone.zone;
    EXPECT_LE(shown, r.after) << zone.zone;
    // The weekday belongs to the local date.
    tm localDate{};
    time_t localAsUtc = FieldsAsUtc(r.local);
    gmtime_r(&localAsUtc, &localDate);
    EXPECT_EQ(r.local.wDayOfWeek, localDate.tm_wday) << zone.zone;
    EXPECT_LT(r.local.wMilliseconds, 1000) << zone.zone;
  }
}

struct VersionCase {
  const char* variable;  // null: unset
  DWORD major;
  DWORD minor;
};

TEST(Version, DefaultAndFromTheEnvironment) {
  const VersionCase cases[] = {
      {nullptr, 5, 0}, {"4.20", 4, 20}, {"4.21", 4, 21}, {"6", 6, 0},
      {"4.", 5, 0},    {"x", 5, 0},     {"4.2x", 5, 0},  {"", 5, 0},
  };
  for (const VersionCase& c : cases) {
    if (c.variable) setenv("VINTREL_OS_VERSION", c.variable, 1); else unsetenv("VINTREL_OS_VERSION");
    OSVERSIONINFOW info{};
    info.dwOSVersionInfoSize = 276;
    ASSERT_TRUE(GetVersionExW(&info));
    EXPECT_EQ(info.dwMajorVersion, c.major) << (c.variable ? c.variable : "unset");
    EXPECT_EQ(info.dwMinorVersion, c.minor) << (c.variable ? c.variable : "unset");
    EXPECT_EQ(info.dwPlatformId, static_cast<DWORD>(VER_PLATFORM_WIN32_CE));
    EXPECT_EQ(info.szCSDVersion[0], 0);
  }
  unsetenv("VINTREL_OS_VERSION");
}

TEST(Version, FillsOnlyWhatTheCallerSizeCovers) {
  unsigned char record[sizeof(OSVERSIONINFOW) + 8];
  std::memset(record, 0xAB, sizeof record);
  DWORD size = 20 + 6;  // the fixed fields and three units of the text
  std::memcpy(record, &size, sizeof size);
  ASSERT_TRUE(GetVersionExW(reinterpret_cast<LPOSVERSIONINFOW>(record)));
  for (size_t i = 20; i < 26; ++i) EXPECT_EQ(record[i], 0) << i;
  for (size_t i = 26; i < sizeof record; ++i) EXPECT_EQ(record[i], 0xAB) << i;

  OSVERSIONINFOW tooSmall{};
  tooSmall.dwOSVersionInfoSize = 19;
  SetLastError(0);
  EXPECT_FALSE(GetVersionExW(&tooSmall));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
  EXPECT_EQ(tooSmall.dwMajorVersion, 0u);
}

std::u16string ExpectedPath() {
  char path[4096];
  ssize_t length = readlink("/proc/self/exe", path, sizeof path);
  return std::u16string(path, path + length);  // the build folder's path is ASCII
}

TEST(Module, FileNameIsTheExecutablesRealPath) {
  HMODULE self = GetModuleHandleW(nullptr);
  ASSERT_NE(self, nullptr);
  WCHAR path[MAX_PATH];
  DWORD length = GetModuleFileNameW(self, path, MAX_PATH);
  std::u16string expected = ExpectedPath();
  EXPECT_EQ(length, expected.size());
  EXPECT_EQ(std::u16string(path), expected);
  EXPECT_EQ(GetModuleFileNameW(nullptr, path, MAX_PATH), expected.size());
}

TEST(Module, TruncatesLikeTheHandheld) {
  std::u16string expected = ExpectedPath();
  WCHAR path[8];
  std::fill(std::begin(path), std::end(path), u'#');
  SetLastError(0);
  EXPECT_EQ(GetModuleFileNameW(nullptr, path, 5), 5u);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
  EXPECT_EQ(std::u16string(path), expected.substr(0, 4));
  EXPECT_EQ(path[5], u'#');
  EXPECT_EQ(GetModuleFileNameW(nullptr, path, 0), 0u);
}

TEST(Module, NamedModulesAreNotFound) {
  SetLastError(0);
  EXPECT_EQ(GetModuleHandleW(u"other.dll"), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_MOD_NOT_FOUND));
}

TEST(LastError, IsKeptPerThread) {
  SetLastError(1234);
  DWORD seenByOtherThread = 1;
  std::thread other([&] {
    seenByOtherThread = GetLastError();
    SetLastError(99);
  });
  other.join();
  EXPECT_EQ(seenByOtherThread, 0u);
  EXPECT_EQ(GetLastError(), 1234u);
}

}  // namespace
