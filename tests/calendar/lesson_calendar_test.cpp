#include "calendar/lesson_calendar.h"

#include <set>

#include <gtest/gtest.h>

#include "base/app_state.h"
#include "calendar/lesson_choice.h"

namespace {

TEST(LessonForDay, NamedDays) {
  struct Case {
    LONG Month, Day, Year;
    LessonNumber Lesson;
  } const cases[] = {
      {9, 16, 2004, 1},    // 1 Tishri 5765
      {9, 15, 2004, 267},  // 29 Elul 5764
      {4, 10, 2005, 144},  // 1 Nisan 5765
      {3, 1, 2005, 116},   // 20 Adar I 5765
      {3, 31, 2005, 138},  // 20 Adar II 5765
      {10, 4, 2005, 1},    // 1 Tishri 5766: the table serves every year
      {12, 31, 2004, 74},  // 19 Tevet 5765
      {12, 31, 2000, 64},  // 5 Tevet 5761
      {8, 19, 2005, 231},  // 14 Av 5765
      {8, 20, 2005, 231},  // 15 Av 5765
      {3, 1, 2006, 103},   // 1 Adar 5766, a common year: the Adar row
  };
  for (const Case& c : cases)
    EXPECT_EQ(LessonForDay(DayNumberFromGregorian(c.Month, c.Day, c.Year)), c.Lesson)
        << c.Month << "/" << c.Day << "/" << c.Year;
}

TEST(LessonCalendar, EveryCellHoldsALesson) {
  for (const auto& row : LessonCalendar)
    for (LessonNumber lesson : row) {
      EXPECT_GE(lesson, 1);
      EXPECT_LE(lesson, LessonCount);
    }
}

// Read day by day through the year 5765 the table gives every lesson at least once, in
// rising order by steps of one, except lesson 231, which stands on 14 and 15 Av.
TEST(LessonCalendar, The5765YearReadsEveryLessonInOrder) {
  const DayNumber first = DayNumberFromHebrew(7, 1, 5765);
  const DayNumber end = DayNumberFromHebrew(7, 1, 5766);
  std::set<LessonNumber> seen;
  LessonNumber previous = 0;
  for (DayNumber n = first; n < end; ++n) {
    const CalendarDate h = HebrewFromDayNumber(n);
    const LessonNumber lesson = LessonForDay(n);
    seen.insert(lesson);
    if (h.Month == 5 && (h.Day == 14 || h.Day == 15)) {
      EXPECT_EQ(lesson, 231);
      continue;
    }
    const LessonNumber expectedStep = previous == 230 ? 2 : 1;  // 231 comes later
    EXPECT_TRUE(lesson == previous || lesson == previous + expectedStep)
        << h.Month << "/" << h.Day << ": " << previous << " then " << lesson;
    previous = lesson;
  }
  EXPECT_EQ(previous, 267);
  EXPECT_EQ(seen.size(), size_t(LessonCount));
}

// The lesson the local date gives, computed here the way the reader does.
LessonNumber TodaysLesson() {
  SYSTEMTIME now;
  GetLocalTime(&now);
  return LessonForDay(DayNumberFromGregorian(now.wMonth, now.wDay, now.wYear));
}

LessonNumber OtherThan(LessonNumber lesson) { return lesson % LessonCount + 1; }

TEST(SelectLesson, TableOfCases) {
  const LessonNumber today = TodaysLesson();
  const DWORD otherBits = DefaultFlags & ~DWORD(LessonChosen);
  struct Case {
    const char* Name;
    LessonNumber Current;
    bool Chosen;
    LessonNumber Argument;
    bool Force;
    LessonNumber ExpectedLesson;
    bool PositionKept;
    bool ExpectedChosen;
  } const cases[] = {
      {"explicit other lesson", today, false, OtherThan(today), false, OtherThan(today), false,
       true},
      {"explicit other lesson, forced", 5, true, 7, true, 7, false, true},
      {"explicit lesson already shown", 5, false, 5, false, 5, true, true},
      {"today while a choice stands", OtherThan(today), true, 0, false, OtherThan(today), true,
       true},
      {"today forced over a choice", OtherThan(today), true, 0, true, today, false, false},
      {"today forced, already today's", today, true, 0, true, today, true, false},
      {"today, no choice, lesson changes", OtherThan(today), false, 0, false, today, false,
       false},
      {"today, no choice, already today's", today, false, 0, false, today, true, false},
      {"today with no lesson yet", 0, false, 0, false, today, false, false},
      {"today over a stored lesson out of range", 300, false, 0, false, today, false, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    App.Lesson = c.Current;
    App.LastPosition = 42;
    App.Flags = otherBits | (c.Chosen ? DWORD(LessonChosen) : 0);
    SelectLesson(c.Argument, c.Force);
    EXPECT_EQ(App.Lesson, c.ExpectedLesson);
    EXPECT_EQ(App.LastPosition, c.PositionKept ? 42 : 0);
    EXPECT_EQ(App.Flags, otherBits | (c.ExpectedChosen ? DWORD(LessonChosen) : 0));
  }
}

}  // namespace
