#include "calendar/hebrew_calendar.h"

#include <gtest/gtest.h>

namespace {

struct NamedDay {
  CalendarDate Gregorian;
  CalendarDate Hebrew;
};

// Month, day, year on both sides.
const NamedDay NamedDays[] = {
    {{9, 16, 2004}, {7, 1, 5765}},    // new year 5765, a Thursday
    {{9, 15, 2004}, {6, 29, 5764}},   // last day of 5764
    {{4, 10, 2005}, {1, 1, 5765}},    // 1 Nisan
    {{3, 1, 2005}, {12, 20, 5765}},   // Adar I of a leap year
    {{3, 31, 2005}, {13, 20, 5765}},  // Adar II
    {{10, 4, 2005}, {7, 1, 5766}},    // the next new year
    {{3, 1, 2006}, {12, 1, 5766}},    // Adar of a common year is month 12
    {{12, 31, 2004}, {10, 19, 5765}}, // last day of a leap year inside a four-year cycle
    {{12, 31, 2000}, {10, 5, 5761}},  // last day of a four-hundred-year cycle
    {{1, 1, 1}, {10, 18, 3761}},      // day 1
    {{1, 1, 1900}, {11, 1, 5660}},
    {{12, 31, 2100}, {9, 29, 5861}},
};

TEST(HebrewCalendar, NamedDaysConvertBothWays) {
  for (const NamedDay& named : NamedDays) {
    const CalendarDate& g = named.Gregorian;
    const CalendarDate& h = named.Hebrew;
    SCOPED_TRACE(testing::Message() << g.Month << "/" << g.Day << "/" << g.Year);
    const DayNumber n = DayNumberFromGregorian(g.Month, g.Day, g.Year);
    EXPECT_EQ(DayNumberFromHebrew(h.Month, h.Day, h.Year), n);

    const CalendarDate backG = GregorianFromDayNumber(n);
    EXPECT_EQ(backG.Month, g.Month);
    EXPECT_EQ(backG.Day, g.Day);
    EXPECT_EQ(backG.Year, g.Year);

    const CalendarDate backH = HebrewFromDayNumber(n);
    EXPECT_EQ(backH.Month, h.Month);
    EXPECT_EQ(backH.Day, h.Day);
    EXPECT_EQ(backH.Year, h.Year);
  }
}

TEST(HebrewCalendar, DayOneIsFirstOfJanuaryOfYearOne) {
  EXPECT_EQ(DayNumberFromGregorian(1, 1, 1), 1);
  EXPECT_EQ(DayNumberFromGregorian(1, 1, 2), 366);
}

// The year start counts the days elapsed before 1 Tishri: moved to the day-number
// scale it names the last day of the year before.
TEST(HebrewCalendar, YearStartOnTheDayNumberScale) {
  EXPECT_EQ(DayNumberFromGregorian(9, 15, 2004), HebrewYearStart(5765) - 1373429);
  EXPECT_EQ(DayNumberFromHebrew(7, 1, 5765), HebrewYearStart(5765) - 1373429 + 1);
}

TEST(HebrewCalendar, GregorianDayOfYear) {
  struct Case {
    LONG Month, Day, Year, Expected;
  } const cases[] = {
      {1, 1, 2005, 1},   {2, 28, 2005, 59},  {3, 1, 2005, 60},    {3, 1, 2004, 61},
      {12, 31, 2005, 365}, {12, 31, 2004, 366}, {3, 1, 1900, 60}, {3, 1, 2000, 61},
  };
  for (const Case& c : cases)
    EXPECT_EQ(GregorianDayOfYear(c.Month, c.Day, c.Year), c.Expected)
        << c.Month << "/" << c.Day << "/" << c.Year;
}

// Year lengths of a run of years covering all six kinds of year.
TEST(HebrewCalendar, YearLengthsAndMonthLengths) {
  struct Case {
    LONG Year, Length;
    bool Leap;
  } const cases[] = {
      {5761, 353, false}, {5762, 354, false}, {5763, 385, true}, {5764, 355, false},
      {5765, 383, true},  {5766, 354, false}, {5767, 355, false}, {5782, 384, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Year);
    EXPECT_EQ(HebrewYearLength(c.Year), c.Length);
    EXPECT_EQ(HebrewLeapYear(c.Year), c.Leap);
    EXPECT_EQ(LongHeshvan(c.Year), c.Length % 10 == 5);
    EXPECT_EQ(ShortKislev(c.Year), c.Length % 10 == 3);
    EXPECT_EQ(HebrewMonthLength(8, c.Year), c.Length % 10 == 5 ? 30 : 29);
    EXPECT_EQ(HebrewMonthLength(9, c.Year), c.Length % 10 == 3 ? 29 : 30);
    EXPECT_EQ(HebrewMonthLength(12, c.Year), c.Leap ? 30 : 29);
    LONG sum = 0;
    for (LONG m = 1; m <= (c.Leap ? 13 : 12); ++m) sum += HebrewMonthLength(m, c.Year);
    EXPECT_EQ(sum, c.Length);
  }
  for (LONG month : {1, 3, 5, 7, 11}) EXPECT_EQ(HebrewMonthLength(month, 5765), 30);
  for (LONG month : {2, 4, 6, 10, 13}) EXPECT_EQ(HebrewMonthLength(month, 5765), 29);
}

// Every day of 1900 to 2100 goes to both calendars and back to the same day number,
// and consecutive days are consecutive dates.
TEST(HebrewCalendar, EveryDayOf1900To2100RoundTrips) {
  const DayNumber first = DayNumberFromGregorian(1, 1, 1900);
  const DayNumber last = DayNumberFromGregorian(12, 31, 2100);
  CalendarDate previous = HebrewFromDayNumber(first - 1);
  for (DayNumber n = first; n <= last; ++n) {
    const CalendarDate g = GregorianFromDayNumber(n);
    ASSERT_EQ(DayNumberFromGregorian(g.Month, g.Day, g.Year), n);
    const CalendarDate h = HebrewFromDayNumber(n);
    ASSERT_EQ(DayNumberFromHebrew(h.Month, h.Day, h.Year), n);
    ASSERT_GE(h.Day, 1);
    ASSERT_LE(h.Day, HebrewMonthLength(h.Month, h.Year)) << n;
    ASSERT_TRUE(h.Month >= 1 && h.Month <= (HebrewLeapYear(h.Year) ? 13 : 12)) << n;
    if (h.Day > 1) {
      ASSERT_EQ(h.Month, previous.Month);
      ASSERT_EQ(h.Day, previous.Day + 1);
    } else if (h.Month == 7) {
      ASSERT_EQ(h.Year, previous.Year + 1);
    }
    previous = h;
  }
}

}  // namespace
