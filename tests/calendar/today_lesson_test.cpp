// Today's lesson follows the platform's local date. Run by CTest under faketime with
// the date's expected lesson in VINTREL_EXPECTED_LESSON.
#include <cstdlib>

#include <gtest/gtest.h>

#include "base/app_state.h"
#include "calendar/lesson_choice.h"

namespace {

TEST(SelectLessonAtFixedDate, TodaysLessonFollowsTheLocalDate) {
  const char* expected = std::getenv("VINTREL_EXPECTED_LESSON");
  ASSERT_NE(expected, nullptr) << "VINTREL_EXPECTED_LESSON names the lesson of the faked date";
  App.Lesson = 0;
  App.LastPosition = 0;
  App.Flags = DefaultFlags | LessonChosen;
  SelectLesson(0, true);
  EXPECT_EQ(App.Lesson, std::atoi(expected));
  EXPECT_EQ(App.Flags, DefaultFlags & ~DWORD(LessonChosen));
}

}  // namespace
