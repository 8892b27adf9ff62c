// The real main window over the search tests' book, on the in-memory screen with a
// settings folder of its own; "Not Found!" boxes answered with OK and counted.
#pragma once

#include <string>
#include <vector>

#include "main_window_fixture.h"
#include "test_support/dialog_steps.h"
#include "tests/search/search_book.h"

namespace search_test {

class SearchTest : public main_window_test::MainWindowTest {
 protected:
  // The main window on the lesson, the stored pattern (display order) set.
  HWND OpenWith(WORD lesson, const std::string& pattern);
  static void SetPattern(const std::string& pattern);
  // The lesson of the test book, and the offset of text byte `index` of its paragraph.
  static const search_book::Lesson& BookLesson(WORD number);
  static WORD At(WORD lesson, size_t paragraph, int index);

  // Steps for the next modal dialog, each run on the active dialog when its loop waits
  // for input; a dialog still open after them is cancelled, so a test never hangs.
  using Step = test_support::DialogStep;
  void Steps(std::vector<Step> steps) { steps_.Set(std::move(steps)); }

  // The "Not Found!" boxes shown since the test began, each answered with OK.
  int notFound_ = 0;

 private:
  void AnswerBox();
  test_support::DialogSteps steps_;
};

}  // namespace search_test
