// The choice of the lesson shown: today's lesson, or one the reader chose explicitly.
#pragma once

#include "content/lesson_record.h"

// Decides App.Lesson. An explicit lesson (not 0) becomes current and marks the choice
// in App.Flags (LessonChosen); the reading position App.LastPosition restarts when the
// lesson changes. Lesson 0 asks for today's lesson by the local date, which replaces
// an explicit choice only when force is true.
void SelectLesson(LessonNumber lesson, bool force);
