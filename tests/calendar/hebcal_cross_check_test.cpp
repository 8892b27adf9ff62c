// Compares the Hebrew date of every day of 1900 to 2100 with the one the hebcal
// program prints. hebcal is installed by the project's set-up; without it this test
// fails.
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "calendar/hebrew_calendar.h"

namespace {

struct HebcalDay {
  CalendarDate Gregorian;
  CalendarDate Hebrew;
};

// hebcal's month names in the default transliteration, as our month numbers.
LONG MonthNumberOfHebcalName(const std::string& name) {
  static const struct {
    const char* Name;
    LONG Month;
  } names[] = {
      {"Nisan", 1},    {"Iyyar", 2},   {"Sivan", 3},  {"Tamuz", 4},   {"Av", 5},
      {"Elul", 6},     {"Tishrei", 7}, {"Cheshvan", 8}, {"Kislev", 9}, {"Tevet", 10},
      {"Sh'vat", 11},  {"Adar", 12},   {"Adar I", 12}, {"Adar II", 13},
  };
  for (const auto& entry : names)
    if (name == entry.Name) return entry.Month;
  return 0;
}

// Parses "M/D/YYYY Nth of Month Name, YYYY"; false for any other line.
bool ParseHebcalLine(const char* line, HebcalDay* day) {
  int gm, gd, gy, hd, hy, consumed = 0;
  char suffix[3];
  if (std::sscanf(line, "%d/%d/%d %d%2[a-z] of %n", &gm, &gd, &gy, &hd, suffix, &consumed) != 5 ||
      consumed == 0)
    return false;
  const char* rest = line + consumed;
  const char* comma = std::strrchr(rest, ',');
  if (comma == nullptr || std::sscanf(comma, ", %d", &hy) != 1) return false;
  const LONG month = MonthNumberOfHebcalName(std::string(rest, comma));
  if (month == 0) return false;
  *day = HebcalDay{{gm, gd, gy}, {month, hd, hy}};
  return true;
}

// Runs hebcal for the given run of Gregorian years, one line per day, without holidays.
// Returns an empty list when hebcal cannot be run; unreadable lines are recorded.
std::vector<HebcalDay> RunHebcal(int firstYear, int years, std::vector<std::string>* unread) {
  const std::string command = "LC_ALL=C hebcal -d -h -x --years " + std::to_string(years) +
                              " " + std::to_string(firstYear) + " 2>&1";
  std::vector<HebcalDay> days;
  FILE* pipe = popen(command.c_str(), "r");
  if (pipe == nullptr) return days;
  char line[256];
  while (std::fgets(line, sizeof line, pipe) != nullptr) {
    line[std::strcspn(line, "\r\n")] = 0;
    HebcalDay day;
    if (ParseHebcalLine(line, &day))
      days.push_back(day);
    else
      unread->push_back(line);
  }
  pclose(pipe);
  return days;
}

TEST(HebcalCrossCheck, EveryDayOf1900To2100MatchesHebcal) {
  std::vector<std::string> unread;
  const std::vector<HebcalDay> days = RunHebcal(1900, 201, &unread);
  ASSERT_TRUE(unread.empty()) << "hebcal printed: " << unread.front();
  const DayNumber first = DayNumberFromGregorian(1, 1, 1900);
  const DayNumber last = DayNumberFromGregorian(12, 31, 2100);
  ASSERT_EQ(days.size(), size_t(last - first + 1)) << "is hebcal installed (scripts/setup)?";

  int mismatches = 0;
  for (size_t i = 0; i < days.size() && mismatches < 10; ++i) {
    const HebcalDay& day = days[i];
    const CalendarDate& g = day.Gregorian;
    const DayNumber n = DayNumberFromGregorian(g.Month, g.Day, g.Year);
    ASSERT_EQ(n, first + DayNumber(i)) << g.Month << "/" << g.Day << "/" << g.Year;
    const CalendarDate h = HebrewFromDayNumber(n);
    if (h.Month != day.Hebrew.Month || h.Day != day.Hebrew.Day || h.Year != day.Hebrew.Year) {
      ++mismatches;
      ADD_FAILURE() << g.Month << "/" << g.Day << "/" << g.Year << ": ours " << h.Month << "/"
                    << h.Day << "/" << h.Year << ", hebcal " << day.Hebrew.Month << "/"
                    << day.Hebrew.Day << "/" << day.Hebrew.Year;
    }
  }
}

}  // namespace
