// Gregorian and Hebrew calendar arithmetic. Every conversion goes through a day count
// starting with 1 January of year 1 of the proleptic Gregorian calendar (day 1). The
// Hebrew calendar is the fixed arithmetic one: molad reckoning with the four
// postponement rules.
#pragma once

#include "platform.h"

// A date of either calendar, in this field order. Gregorian months run 1 to 12;
// Hebrew months 1 Nisan ... 6 Elul, 7 Tishri ... 12 Adar (Adar I), 13 Adar II.
struct CalendarDate {
  LONG Month;
  LONG Day;
  LONG Year;
};

// Days counted from 1 January of year 1 (day 1).
typedef LONG DayNumber;

// Month lengths, January first: row 0 a common year, row 1 a leap year.
extern const LONG GregorianMonthLengths[2][12];
// For each Gregorian month (index 0 = January) the Hebrew month at which the search
// for a day's Hebrew month starts; never after the month any of its days falls in.
extern const LONG HebrewMonthGuess[12];

bool GregorianLeapYear(LONG year);
// Day of the Gregorian year, 1 to 366.
LONG GregorianDayOfYear(LONG month, LONG day, LONG year);
DayNumber DayNumberFromGregorian(LONG month, LONG day, LONG year);
CalendarDate GregorianFromDayNumber(DayNumber n);

// True for a Hebrew year of 13 months.
bool HebrewLeapYear(LONG year);
// Days elapsed before 1 Tishri of the year, on the Hebrew calendar's own scale.
LONG HebrewYearStart(LONG year);
// Days in the year: 353 to 355, or 383 to 385 in a leap year.
LONG HebrewYearLength(LONG year);
// Heshvan has 30 days.
bool LongHeshvan(LONG year);
// Kislev has 29 days.
bool ShortKislev(LONG year);
// 29 or 30.
LONG HebrewMonthLength(LONG month, LONG year);
DayNumber DayNumberFromHebrew(LONG month, LONG day, LONG year);
CalendarDate HebrewFromDayNumber(DayNumber n);
