// The book's lesson for each Hebrew month and day, and the choice of the lesson shown:
// today's lesson, or one the reader chose explicitly.
#pragma once

#include "calendar/hebrew_calendar.h"

// A lesson of the book, 1 to 267; lesson n is resource 1000 + n.
typedef WORD LessonNumber;

constexpr LessonNumber LessonCount = 267;

// Lessons by Hebrew month (row 0 = month 1, Nisan ... row 12 = month 13, Adar II) and
// day (column 0 = day 1). Laid out for the year 5765 and applied to every year by
// month and day alone; days no month of that kind has hold a lesson too.
extern const LessonNumber LessonCalendar[13][30];

// The lesson of the Hebrew month and day the day number falls on.
LessonNumber LessonForDay(DayNumber n);

// Decides App.Lesson. An explicit lesson (not 0) becomes current and marks the choice
// in App.Flags (LessonChosen); the reading position App.LastPosition restarts when the
// lesson changes. Lesson 0 asks for today's lesson by the local date, which replaces
// an explicit choice only when force is true.
void SelectLesson(LessonNumber lesson, bool force);
