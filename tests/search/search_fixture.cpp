#include "tests/search/search_fixture.h"

#include <algorithm>
#include <cstring>
#include <sstream>

#include "base/app_state.h"
#include "user/system.h"

namespace search_test {

HWND SearchTest::OpenWith(WORD lesson, const std::string& pattern) {
  HWND window = Open(lesson);
  user::AddIdleHook([this] {
    AnswerBox();
    steps_.RunNext();
  });
  SetPattern(pattern);
  return window;
}

void SearchTest::AnswerBox() {
  HWND box = FindWindowW(u"MessageBox", u"Vintrel - 5765 (heb)");
  if (!box || !IsWindowVisible(box)) return;
  std::ostringstream listing;
  user::PrintWindowList(listing);
  if (listing.str().find("text=\"Not Found!\"") != std::string::npos) ++notFound_;
  SendMessageW(box, WM_COMMAND, MAKEWPARAM(IDOK, 0), 0);
}

void SearchTest::SetPattern(const std::string& pattern) {
  std::memset(App.SearchString, 0, sizeof App.SearchString);
  std::memcpy(App.SearchString, pattern.data(), std::min(pattern.size(), size_t(33)));
}

const search_book::Lesson& SearchTest::BookLesson(WORD number) {
  static const std::vector<search_book::Lesson> lessons = search_book::Lessons();
  for (const search_book::Lesson& lesson : lessons)
    if (lesson.Number == number) return lesson;
  ADD_FAILURE() << "lesson " << number << " is not in the test book";
  return lessons.front();
}

WORD SearchTest::At(WORD lesson, size_t paragraph, int index) {
  return WORD(search_book::TextOffset(BookLesson(lesson), paragraph) + index);
}

}  // namespace search_test
