// The window-free parts of the controls: edit text and selection, edit line layout,
// list box items and selection, radio groups.
#include <gtest/gtest.h>

#include "user/controls/edit_layout.h"
#include "user/controls/edit_model.h"
#include "user/controls/listbox_model.h"
#include "user/controls/radio_group.h"

namespace {

using user::edit::EditModel;

struct SelCase {
  const char16_t* text;
  long start, end;
  size_t wantStart, wantEnd, wantCaret;
};

TEST(EditModel, SetSelClampsAndKeepsTheCaretAtTheEndGiven) {
  const SelCase cases[] = {
      {u"hello", 1, 3, 1, 3, 3},
      {u"hello", 3, 1, 1, 3, 1},     // backwards: caret at the end given
      {u"hello", 0, -1, 0, 5, 5},    // all
      {u"hello", 2, 99, 2, 5, 5},    // beyond the text
      {u"hello", 99, 99, 5, 5, 5},
      {u"hello", 4, 4, 4, 4, 4},
      {u"", 0, -1, 0, 0, 0},
  };
  for (const SelCase& c : cases) {
    EditModel m;
    m.setText(c.text);
    m.setSel(c.start, c.end);
    EXPECT_EQ(m.selStart(), c.wantStart) << c.start << "," << c.end;
    EXPECT_EQ(m.selEnd(), c.wantEnd) << c.start << "," << c.end;
    EXPECT_EQ(m.caret(), c.wantCaret) << c.start << "," << c.end;
  }
}

TEST(EditModel, SetSelMinusOneDeselectsAtTheCaret) {
  EditModel m;
  m.setText(u"hello");
  m.setSel(1, 4);
  m.setSel(-1, 0);
  EXPECT_FALSE(m.hasSelection());
  EXPECT_EQ(m.caret(), 4u);
}

struct ReplaceCase {
  const char16_t* text;
  long start, end;
  long limit;  // 0: none set
  const char16_t* insert;
  const char16_t* want;
  size_t wantCaret;
  bool multiline;
};

TEST(EditModel, ReplaceSelWithAndWithoutSelectionAndLimit) {
  const ReplaceCase cases[] = {
      {u"abc", 1, 1, 0, u"X", u"aXbc", 2, false},        // at the caret
      {u"abc", 0, 2, 0, u"X", u"Xc", 1, false},          // replaces the selection
      {u"abc", 0, -1, 0, u"", u"", 0, false},            // deletes everything
      {u"abc", 3, 3, 4, u"XYZ", u"abcX", 4, false},      // cut to the limit
      {u"abc", 0, 3, 2, u"XYZ", u"XY", 2, false},        // the selection makes room
      {u"abc", 3, 3, 3, u"X", u"abc", 3, false},         // full
      {u"ab", 2, 2, 0, u"c\r\nd", u"abc", 3, false},     // single line stops at a break
      {u"ab", 2, 2, 0, u"c\r\nd", u"abc\r\nd", 6, true},
      {u"\u05D0", 0, 0, 0, u"\u05D1", u"\u05D1\u05D0", 1, false},  // kept in unit order
  };
  for (const ReplaceCase& c : cases) {
    EditModel m(c.multiline);
    m.setText(c.text);
    if (c.limit) m.setLimit(c.limit);
    m.setSel(c.start, c.end);
    m.replaceSel(c.insert);
    EXPECT_EQ(m.text(), std::u16string(c.want));
    EXPECT_EQ(m.caret(), c.wantCaret);
    EXPECT_FALSE(m.hasSelection());
  }
}

TEST(EditModel, SetTextIgnoresTheLimitAndTypingRespectsIt) {
  EditModel m;
  m.setLimit(3);
  m.setText(u"abcdef");
  EXPECT_EQ(m.text(), u"abcdef");
  m.setText(u"ab");
  m.moveTo(2, false);
  EXPECT_TRUE(m.typeChar(u'c'));
  EXPECT_FALSE(m.typeChar(u'd'));
  EXPECT_EQ(m.text(), u"abc");
  m.setSel(0, 1);  // a selected unit makes room for one
  EXPECT_TRUE(m.typeChar(u'\u05E9'));
  EXPECT_EQ(m.text(), u"\u05E9bc");
}

TEST(EditModel, LimitZeroLiftsIt) {
  EditModel m;
  m.setLimit(0);
  EXPECT_EQ(m.limit(), EditModel::kMaxLimit);
}

TEST(EditModel, EditingKeys) {
  EditModel m(true);
  m.setText(u"ab\r\ncd");
  m.moveTo(4, false);
  m.left(false);  // over the line break in one step
  EXPECT_EQ(m.caret(), 2u);
  m.right(true);
  EXPECT_EQ(m.selStart(), 2u);
  EXPECT_EQ(m.selEnd(), 4u);
  m.left(false);  // collapses to the start
  EXPECT_EQ(m.caret(), 2u);
  EXPECT_FALSE(m.hasSelection());
  EXPECT_TRUE(m.deleteForward());
  EXPECT_EQ(m.text(), u"abcd");
  EXPECT_TRUE(m.backspace());
  EXPECT_EQ(m.text(), u"acd");
  m.moveTo(0, false);
  EXPECT_FALSE(m.backspace());
  m.moveTo(3, false);
  EXPECT_FALSE(m.deleteForward());
  m.setSel(0, 2);
  EXPECT_TRUE(m.typeChar(0x08));
  EXPECT_EQ(m.text(), u"d");
  EXPECT_FALSE(m.typeChar(0x01));  // other control characters are ignored
}

TEST(EditModel, EnterOnlyInMultiLine) {
  EditModel single, multi(true);
  EXPECT_FALSE(single.typeChar(u'\r'));
  EXPECT_TRUE(multi.typeChar(u'\r'));
  EXPECT_EQ(multi.text(), u"\r\n");
}

// Every unit 10 pixels wide.
void TenEach(std::u16string_view text, std::vector<int>& widths) {
  widths.resize(text.size());
  for (size_t i = 0; i < text.size(); ++i) widths[i] = int(i + 1) * 10;
}

std::vector<std::u16string> Lines(std::u16string_view text, int width) {
  std::vector<std::u16string> out;
  for (const user::edit::Line& l : user::edit::LayoutLines(text, width, TenEach))
    out.emplace_back(text.substr(l.start, l.length));
  return out;
}

TEST(EditLayout, BreaksAtLineBreaksAndWrapsAtBlanks) {
  using V = std::vector<std::u16string>;
  EXPECT_EQ(Lines(u"", 50), V{u""});
  EXPECT_EQ(Lines(u"ab\r\ncd", 0), (V{u"ab", u"cd"}));
  EXPECT_EQ(Lines(u"ab\r\n", 0), (V{u"ab", u""}));
  EXPECT_EQ(Lines(u"a\nb", 0), (V{u"a", u"b"}));
  EXPECT_EQ(Lines(u"abc def ghi", 70), (V{u"abc def ", u"ghi"}));
  EXPECT_EQ(Lines(u"abc def ghi", 60), (V{u"abc ", u"def ", u"ghi"}));
  EXPECT_EQ(Lines(u"abc def", 30), (V{u"abc ", u"def"}));   // the blank hangs
  EXPECT_EQ(Lines(u"abcdefgh", 30), (V{u"abc", u"def", u"gh"}));  // no blank: cut
  EXPECT_EQ(Lines(u"abc", 5), (V{u"a", u"b", u"c"}));       // one unit at least
}

TEST(EditLayout, OffsetsAndHitTest) {
  std::u16string text = u"abcd";
  user::edit::Line line{0, 4};
  EXPECT_EQ(user::edit::OffsetInLine(text, line, 0, TenEach), 0);
  EXPECT_EQ(user::edit::OffsetInLine(text, line, 3, TenEach), 30);
  EXPECT_EQ(user::edit::PositionAtOffset(text, line, 4, TenEach), 0u);
  EXPECT_EQ(user::edit::PositionAtOffset(text, line, 6, TenEach), 1u);
  EXPECT_EQ(user::edit::PositionAtOffset(text, line, 25, TenEach), 3u);
  EXPECT_EQ(user::edit::PositionAtOffset(text, line, 500, TenEach), 4u);
  EXPECT_EQ(user::edit::PositionAtOffset(text, line, -3, TenEach), 0u);
}

TEST(EditLayout, ScrollKeepsTheCaretInView) {
  using user::edit::ScrollToShow;
  EXPECT_EQ(ScrollToShow(0, 30, 50, 40), 0);      // fits
  EXPECT_EQ(ScrollToShow(0, 120, 50, 200), 71);   // caret past the right edge
  EXPECT_EQ(ScrollToShow(100, 40, 50, 200), 40);  // caret left of the view
  EXPECT_EQ(ScrollToShow(150, 60, 50, 60), 11);   // never beyond the text's end
}

using user::listbox::ListModel;

std::vector<std::u16string> Items(const ListModel& m) {
  std::vector<std::u16string> out;
  for (int i = 0; i < m.count(); ++i) out.push_back(m.text(i));
  return out;
}

TEST(ListModel, SortedInsertIgnoresCaseAndKeepsEqualItemsInOrder) {
  ListModel m(true);
  for (const char16_t* s : {u"Tahoma", u"arial", u"Courier", u"ARIAL", u"_x", u"Zed", u"b"})
    m.add(s);
  std::vector<std::u16string> want = {u"arial", u"ARIAL", u"b", u"Courier", u"Tahoma", u"Zed", u"_x"};
  EXPECT_EQ(Items(m), want);
  EXPECT_EQ(m.insert(0, u"zz"), 0);  // inserting never sorts
  EXPECT_EQ(m.text(0), u"zz");
  EXPECT_EQ(m.insert(99, u"x"), user::listbox::kError);
  EXPECT_EQ(m.insert(-1, u"last"), 8);
  EXPECT_EQ(m.text(8), u"last");
}

TEST(ListModel, UnsortedAddsAtTheEndAndSelectionFollowsItsItem) {
  ListModel m;
  m.add(u"10");
  m.add(u"8");
  EXPECT_EQ(m.setSelection(1), 1);
  m.insert(0, u"7");
  EXPECT_EQ(m.selection(), 2);
  EXPECT_EQ(m.text(2), u"8");
  EXPECT_EQ(m.remove(2), 2);
  EXPECT_EQ(m.selection(), -1);
  EXPECT_EQ(m.remove(5), user::listbox::kError);
}

TEST(ListModel, FindPrefixFromStartWrappingRound) {
  ListModel m(true);
  for (const char16_t* s : {u"DejaVu Sans", u"DejaVu Serif", u"David", u"Courier"}) m.add(s);
  // Courier, David, DejaVu Sans, DejaVu Serif
  struct Case {
    int start;
    const char16_t* prefix;
    int want;
  };
  const Case cases[] = {
      {-1, u"dejavu", 2}, {2, u"dejavu", 3}, {3, u"dejavu", 2}, {-1, u"DAV", 1},
      {-1, u"x", -1},     {-1, u"", 0},      {1, u"", 2},       {99, u"c", 0},
      {-1, u"DejaVu Sans Mono", -1},
  };
  for (const Case& c : cases) EXPECT_EQ(m.findPrefix(c.start, c.prefix), c.want) << c.start;
  EXPECT_EQ(m.findExact(-1, u"david"), 1);
  EXPECT_EQ(m.findExact(-1, u"Dav"), -1);
  EXPECT_EQ(ListModel().findPrefix(-1, u""), -1);
}

TEST(ListModel, SetSelectionAnswersAsListBoxesDo) {
  ListModel m;
  m.add(u"a");
  m.add(u"b");
  EXPECT_EQ(m.setSelection(1), 1);
  EXPECT_EQ(m.setSelection(2), user::listbox::kError);
  EXPECT_EQ(m.selection(), 1);  // unchanged
  EXPECT_EQ(m.setSelection(-1), user::listbox::kError);
  EXPECT_EQ(m.selection(), -1);
}

TEST(ListModel, TopIndexStaysWithinTheItems) {
  ListModel m;
  for (int i = 0; i < 10; ++i) m.add(u"x");
  EXPECT_EQ(m.setTop(8, 4), 0);
  EXPECT_EQ(m.topIndex(), 6);  // the last row stays filled
  EXPECT_EQ(m.setTop(10, 4), user::listbox::kError);
  m.ensureVisible(1, 4);
  EXPECT_EQ(m.topIndex(), 1);
  m.ensureVisible(7, 4);
  EXPECT_EQ(m.topIndex(), 4);
  m.reset();
  EXPECT_EQ(m.count(), 0);
  EXPECT_EQ(m.topIndex(), 0);
  EXPECT_EQ(m.selection(), -1);
}

TEST(RadioGroup, RangeRunsBetweenGroupStarts) {
  using user::buttons::GroupRange;
  using P = std::pair<size_t, size_t>;
  //                          0      1      2     3      4     5
  std::vector<bool> starts = {false, false, true, false, true, false};
  EXPECT_EQ(GroupRange(starts, 0), (P{0, 2}));
  EXPECT_EQ(GroupRange(starts, 1), (P{0, 2}));
  EXPECT_EQ(GroupRange(starts, 3), (P{2, 4}));
  EXPECT_EQ(GroupRange(starts, 5), (P{4, 6}));
  EXPECT_EQ(GroupRange(starts, 9), (P{9, 9}));
}

}  // namespace
