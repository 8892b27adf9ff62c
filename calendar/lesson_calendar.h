// The book's lesson for each Hebrew month and day.
#pragma once

#include "calendar/hebrew_calendar.h"
#include "content/lesson_record.h"

// Lessons by Hebrew month (row 0 = month 1, Nisan ... row 12 = month 13, Adar II) and
// day (column 0 = day 1). Laid out for the year 5765 and applied to every year by
// month and day alone; days no month of that kind has hold a lesson too.
extern const LessonNumber LessonCalendar[13][30];

// The lesson of the Hebrew month and day the day number falls on.
LessonNumber LessonForDay(DayNumber n);
