#include "calendar/lesson_choice.h"

#include "base/app_state.h"
#include "calendar/lesson_calendar.h"

namespace {

DayNumber Today() {
  SYSTEMTIME now;
  GetLocalTime(&now);
  return DayNumberFromGregorian(now.wMonth, now.wDay, now.wYear);
}

}  // namespace

void SelectLesson(LessonNumber lesson, bool force) {
  if (lesson != 0) {
    App.Flags |= LessonChosen;
    if (lesson != App.Lesson) {
      App.Lesson = lesson;
      App.LastPosition = 0;
    }
    return;
  }
  if (IsLessonChosen(App.Flags) && !force) return;

  const LessonNumber today = LessonForDay(Today());
  if (today != App.Lesson) {
    App.LastPosition = 0;
    App.Lesson = today;
  }
  // A last guard: the table holds only 1 to LessonCount.
  if (App.Lesson == 0 || App.Lesson > LessonCount) App.Lesson = 1;
  App.Flags &= ~LessonChosen;
}
