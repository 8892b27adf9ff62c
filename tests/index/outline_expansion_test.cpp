// Which lines are shown: the outline opened at a lesson, sections toggled, the state
// kept across a relayout; and what a tap at each part of a line means.
#include "index/outline_expansion.h"

#include "outline_fixture.h"

namespace index_test {
namespace {

using OutlineExpansionTest = OutlineTest;

// The stored index opens at lesson 5 with lessons 5 and 6 shown under the first
// section, whose mark stays the plus; every other section stays collapsed.
TEST_F(OutlineExpansionTest, ExpandToLessonShowsTheLessonAndTheNextUnderTheirSection) {
  IndexView* view = MakeViewOver(BookIndex());
  ExpandToLesson(view, 5);
  std::vector<WORD> keys = VisibleKeys(view);
  ASSERT_EQ(keys.size(), 15u);
  EXPECT_EQ(keys[0], 0xBFFE);
  EXPECT_EQ(keys[1], ArticleKey(5));
  EXPECT_EQ(keys[2], ArticleKey(6));
  EXPECT_EQ(keys[3], 0xBFEA);
  WORD* saved = SaveExpansion(view);
  ResizeIndexView(view, 214, 294);
  RestoreExpansion(view, saved);
  free(saved);
  EXPECT_EQ(VisibleKeys(view), keys);
}

}  // namespace
}  // namespace index_test
