// A whole page: a Hebrew lesson in the letter code rendered into a 240x320 view with
// a Culmus font, written as a screenshot for a person to look at.
#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/display/png.h"
#include "tests/view/view_fixture.h"

namespace {

// Letter-code text in reading order, stored reversed (display order) as the format
// keeps right-to-left paragraphs; points follow their letters in reading order.
std::string Stored(const std::vector<int>& reading) {
  std::string stored;
  for (auto it = reading.rbegin(); it != reading.rend(); ++it) stored += char(*it);
  return stored;
}

std::vector<int> Words(std::initializer_list<std::vector<int>> words) {
  std::vector<int> text;
  for (const std::vector<int>& word : words) {
    if (!text.empty()) text.push_back(' ');
    text.insert(text.end(), word.begin(), word.end());
  }
  return text;
}

// Pointed words (letter code: a = alef ... '{' = tav; 21.. = points; 65.. = forms).
const std::vector<int> Bereshit = {69, 27, 'y', 24, 'a', 65, 21, 'j', '{'};  // in the beginning
const std::vector<int> Bara = {69, 22, 'y', 22, 'a'};                        // created
const std::vector<int> Elohim = {'a', 30, 'm', 31, 'e', 21, 'j', 'n'};       // God
const std::vector<int> Et = {'a', 24, '{'};
const std::vector<int> Hashamayim = {'e', 23, 65, 22, 'o', 23, 'j', 21, 'n'};  // the heavens
const std::vector<int> Veet = {'f', 27, 'a', 24, '{'};
const std::vector<int> Haaretz = {'e', 22, 'a', 22, 'y', 25, 'v'};  // the earth
const std::vector<int> Shalom = {'z', 'm', 88, 'n'};                // peace, vav with holam
const std::vector<int> Lesson = {'z', 'h', 'j', 'y', 'f', 'p'};
const std::vector<int> Day = {'j', 'f', 'n'};
const std::vector<int> First = {'y', 'a', 'z', 'f', 'p'};
const std::vector<int> Note = {'e', 's', 'y', 'e'};
const std::vector<int> Book = {'r', 'u', 'y'};
const std::vector<int> Light = {'a', 'f', 'y'};
const std::vector<int> Good = {'i', 'f', 'a'};  // (plain letters)

ArticleBuilder Lessonpage() {
  ArticleBuilder article;
  article.Text(0xD1, 0, Stored(Words({Lesson, Day, First})));
  article.Text(0xD1, 0, Stored(Words({Book, Shalom})));
  // A numbered item: its number hangs in a column at the right of its first line.
  article.Text(0xB1, 0x80, Stored(Words({{'a', '.'}, Bereshit, Bara, Elohim, Et, Hashamayim, Veet,
                                         Haaretz, Light, Good})));
  article.Text(0xD2, 0, Stored(Words({Light, Good})));
  article.Text(0xB1, 0, Stored(Words({Day, First, Light, Good, Shalom, Book, Lesson, Day, Light})));
  article.Rule(0xC7, 210);
  article.Text(0xB2, 0, Stored(Words({Note, Book, Lesson, Day, First, Shalom, Good, Light})));
  article.Text(0x81, 0, "5765 (2004-2005)");
  article.Text(0xB1, 0, Stored(Words({Shalom, Light, Good, Book})));
  return article;
}

class Acceptance : public ViewTest {};

TEST_F(Acceptance, RenderedLessonPage) {
  App.Font = MakeFont(u"Miriam CLM", 16, CodeBaseUnicode);
  ArticleView* view = MakeView(240, 320);
  ArticleBuilder article = Lessonpage();
  ASSERT_EQ(LayoutArticle(view, article.Build(), true), LayoutDone);
  // Highlight the word "light" (plain letters a, f, y) of the fifth record.
  const BYTE* text = view->Text;
  WORD body = article.TextOffset(4);
  std::string stored = Stored(Light);
  const char* found = strstr(reinterpret_cast<const char*>(text + body), stored.c_str());
  ASSERT_NE(found, nullptr);
  WORD match = WORD(reinterpret_cast<const BYTE*>(found) - text);
  view->HighlightStart = match;
  view->HighlightEnd = WORD(match + stored.size());

  FillViewRect(surface_.dc(), 0, 0, 240, 320, BLACK_BRUSH);
  ASSERT_EQ(DrawArticle(view, true), 0);

  std::vector<COLORREF> pixels = surface_.Pixels();
  std::vector<uint32_t> rgb(pixels.size());
  for (size_t i = 0; i < pixels.size(); ++i)
    rgb[i] = GetRValue(pixels[i]) << 16 | GetGValue(pixels[i]) << 8 | GetBValue(pixels[i]);
  std::filesystem::create_directories(VIEW_TEST_OUTPUT_DIR);
  std::string path = std::string(VIEW_TEST_OUTPUT_DIR) + "/lesson_page.png";
  ASSERT_TRUE(display::WritePng(path, rgb.data(), 240, 320, 240));

  // Where each entry stands on the page.
  std::vector<int> tops;
  int y = view->Top;
  for (const LineEntry* e = view->Lines; e->ParaFlags; ++e) {
    tops.push_back(y);
    y += e->ParaFlags & 0x80 ? 2 * e->Height : e->Height;
  }
  auto rowsHave = [&](int top, int bottom, auto is) {
    for (int row = std::max(top, 0); row < std::min(bottom, 320); ++row)
      for (int x = 0; x < 240; ++x)
        if (is(pixels[size_t(row) * 240 + x])) return true;
    return false;
  };
  auto yellow = [](COLORREF pixel) { return pixel == 0x00FFFF; };
  // The highlight is yellow on the line that holds the match, and only there.
  int highlighted = -1;
  for (int i = 0; i < view->LineCount; ++i) {
    const LineEntry& e = view->Lines[i];
    if (e.ParaFlags && e.Offset <= match && match < e.Offset + e.Length) highlighted = i;
  }
  ASSERT_GE(highlighted, 0);
  EXPECT_TRUE(rowsHave(tops[highlighted], tops[highlighted] + view->Lines[highlighted].Height, yellow));
  EXPECT_TRUE(rowsHave(tops[highlighted], tops[highlighted] + view->Lines[highlighted].Height, IsBlueInk));
  EXPECT_FALSE(rowsHave(0, tops[highlighted] - 1, yellow));
  // Navy only in the rows of the small heading and the notes.
  for (int i = 0; i < view->LineCount && tops[i] + view->Lines[i].Height <= 320; ++i) {
    const LineEntry& e = view->Lines[i];
    if (i == highlighted) continue;  // blue on yellow blends through navy-like shades
    bool small = (e.ParaFlags & 0x07) != 0x07 && (e.ParaFlags & 0x02);
    EXPECT_EQ(rowsHave(tops[i], tops[i] + e.Height, IsNavyInk), small) << "line " << i;
  }
  // The first heading is centred: its ink is as far from the left as from the right.
  Ink heading = InkOf(std::vector<COLORREF>(pixels.begin(), pixels.begin() + 240 * view->Lines[0].Height), 240);
  EXPECT_NEAR(heading.left, 239 - heading.right, 4);
  // The body's lines end at the right edge.
  const LineEntry& item = view->Lines[2];
  EXPECT_GT(item.HangWidth, 0);
  EXPECT_EQ(item.X + item.Width + item.HangWidth, 240);
  const LineEntry& itemNext = view->Lines[3];
  EXPECT_EQ(itemNext.X + itemNext.Width + item.HangWidth, 240);
}

}  // namespace
