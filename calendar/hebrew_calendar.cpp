#include "calendar/hebrew_calendar.h"

const LONG GregorianMonthLengths[2][12] = {
    {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31},
    {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31},
};

// January starts at Kislev, May at Nisan, September to November at Tishri, December
// at Heshvan.
const LONG HebrewMonthGuess[12] = {9, 10, 11, 12, 1, 2, 3, 4, 7, 7, 7, 8};

namespace {

// Day number of the day before 1 Tishri of year 1 on the Hebrew scale, so that
// HebrewYearStart(year) - HebrewEpochOffset is the day number of 1 Tishri.
constexpr LONG HebrewEpochOffset = 1373429;

// Months in a Hebrew year.
LONG HebrewMonthsInYear(LONG year) { return HebrewLeapYear(year) ? 13 : 12; }

}  // namespace

bool GregorianLeapYear(LONG year) {
  return year % 4 == 0 && (year % 100 != 0 || year % 400 == 0);
}

LONG GregorianDayOfYear(LONG month, LONG day, LONG year) {
  LONG n = day + 31 * (month - 1);
  if (month > 2) {
    n -= (4 * month + 23) / 10;
    if (GregorianLeapYear(year)) n += 1;
  }
  return n;
}

DayNumber DayNumberFromGregorian(LONG month, LONG day, LONG year) {
  const LONG y = year - 1;
  return GregorianDayOfYear(month, day, year) + 365 * y + y / 4 - y / 100 + y / 400;
}

// Decomposes the day count into 400-, 100-, 4- and 1-year cycles; no year search.
CalendarDate GregorianFromDayNumber(DayNumber n) {
  const LONG d0 = n - 1;
  const LONG q400 = d0 / 146097, d1 = d0 % 146097;
  const LONG q100 = d1 / 36524, d2 = d1 % 36524;
  const LONG q4 = d2 / 1461, d3 = d2 % 1461;
  const LONG q1 = d3 / 365;
  const LONG y = 400 * q400 + 100 * q100 + 4 * q4 + q1;
  // The last day of a cycle that ends in a leap year.
  if (q100 == 4 || q1 == 4) return CalendarDate{12, 31, y};

  CalendarDate date{1, d3 % 365 + 1, y + 1};
  const LONG* lengths = GregorianMonthLengths[GregorianLeapYear(date.Year) ? 1 : 0];
  while (lengths[date.Month - 1] < date.Day) {
    date.Day -= lengths[date.Month - 1];
    date.Month += 1;
  }
  return date;
}

bool HebrewLeapYear(LONG year) { return (7 * year + 1) % 19 < 7; }

LONG HebrewYearStart(LONG year) {
  const LONG cycles = (year - 1) / 19, r = (year - 1) % 19;
  const LONG monthsElapsed = 235 * cycles + 12 * r + (7 * r + 1) / 19;
  const LONG partsElapsed = 204 + 793 * (monthsElapsed % 1080);
  const LONG hoursElapsed =
      5 + 12 * monthsElapsed + 793 * (monthsElapsed / 1080) + partsElapsed / 1080;
  const LONG day = 1 + 29 * monthsElapsed + hoursElapsed / 24;
  const LONG parts = 1080 * (hoursElapsed % 24) + partsElapsed % 1080;

  // Postponements by the time of the molad ...
  const bool lateMolad = parts >= 19440;
  const bool tuesdayInCommonYear = day % 7 == 2 && parts >= 9924 && !HebrewLeapYear(year);
  const bool mondayAfterLeapYear = day % 7 == 1 && parts >= 16789 && (7 * year - 6) % 19 < 7;
  const LONG start = (lateMolad || tuesdayInCommonYear || mondayAfterLeapYear) ? day + 1 : day;
  // ... and by the weekday: 1 Tishri never falls on Sunday, Wednesday or Friday.
  const LONG weekday = start % 7;
  return (weekday == 0 || weekday == 3 || weekday == 5) ? start + 1 : start;
}

LONG HebrewYearLength(LONG year) { return HebrewYearStart(year + 1) - HebrewYearStart(year); }

bool LongHeshvan(LONG year) { return HebrewYearLength(year) % 10 == 5; }

bool ShortKislev(LONG year) { return HebrewYearLength(year) % 10 == 3; }

LONG HebrewMonthLength(LONG month, LONG year) {
  switch (month) {
    case 2:
    case 4:
    case 6:
    case 10:
    case 13:
      return 29;
    case 8:
      return LongHeshvan(year) ? 30 : 29;
    case 9:
      return ShortKislev(year) ? 29 : 30;
    case 12:
      return HebrewLeapYear(year) ? 30 : 29;
    default:
      return 30;
  }
}

DayNumber DayNumberFromHebrew(LONG month, LONG day, LONG year) {
  LONG n = day;
  if (month < 7) {
    const LONG lastMonth = HebrewMonthsInYear(year);
    for (LONG m = 7; m <= lastMonth; ++m) n += HebrewMonthLength(m, year);
    for (LONG m = 1; m < month; ++m) n += HebrewMonthLength(m, year);
  } else {
    for (LONG m = 7; m < month; ++m) n += HebrewMonthLength(m, year);
  }
  return n + HebrewYearStart(year) - HebrewEpochOffset;
}

CalendarDate HebrewFromDayNumber(DayNumber n) {
  const CalendarDate g = GregorianFromDayNumber(n);
  LONG month = HebrewMonthGuess[g.Month - 1];
  LONG year = g.Year + 3760;
  // The first guess is never too late, so the year and month only move forward.
  while (n >= DayNumberFromHebrew(7, 1, year + 1)) year += 1;
  while (n > DayNumberFromHebrew(month, HebrewMonthLength(month, year), year))
    month = month % HebrewMonthsInYear(year) + 1;
  return CalendarDate{month, n - DayNumberFromHebrew(month, 1, year) + 1, year};
}
