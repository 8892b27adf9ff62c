// The title banner: which head paragraphs it shows, its frames and lines on the pixels
// of a headless memory DC, a heading cut to the view, and its life over the page.
#include <string>
#include <vector>

#include "tests/view/view_fixture.h"
#include "view/title_banner.h"

namespace {

constexpr COLORREF White = 0xFFFFFF;
constexpr COLORREF Red = 0x0000FF;
constexpr COLORREF Blue = 0xFF0000;
constexpr COLORREF Yellow = 0x00FFFF;

// Red text over yellow: full red, no blue, green well below yellow's.
bool IsRedInk(COLORREF pixel) {
  return GetRValue(pixel) >= 0xD0 && GetBValue(pixel) < 0x30 && GetGValue(pixel) < 0xA0;
}

TEST(BannerLines, OnlyTheFourExactTagsOfTheHeadCount) {
  struct {
    std::vector<std::pair<BYTE, std::string>> records;
    BYTE titleTag;      // 0: no title
    LONG titleLength;
    BYTE subtitleTag;   // 0: no subtitle
    LONG subtitleLength;
  } cases[] = {
      {{{0xD1, "abc"}, {0xB1, "de"}}, 0, 0, 0xD1, 3},     // a stored lesson: its heading
      {{{0xCC, "ab"}, {0xC1, "cde"}}, 0xCC, 2, 0xC1, 3},  // title over subtitle
      {{{0xDC, "ab"}, {0xB1, "cd"}}, 0xDC, 2, 0, 0},      // a title alone
      {{{0xC1, "ab"}, {0xD1, "cd"}}, 0, 0, 0xC1, 2},      // a subtitle first: no title after it
      {{{0xB1, "ab"}}, 0, 0, 0, 0},                        // body text: no banner
      {{{0x4C, "ab"}, {0xC1, "cd"}}, 0, 0, 0, 0},         // the title's bits without its blank line
      {{{0xCC, ""}, {0xD1, "x"}}, 0xCC, 0, 0xD1, 1},      // an empty title counts as absent
      {{{0xCC, "ab"}, {0xCC, "cd"}}, 0xCC, 2, 0, 0},      // a second title is no subtitle
  };
  for (auto& c : cases) {
    ArticleBuilder article;
    for (auto& [flags, text] : c.records) article.Text(flags, 0, text);
    BYTE* text = article.Build();
    BannerLine title, subtitle;
    FindBannerLines(text, &title, &subtitle);
    std::string what = c.records[0].second + " under " + std::to_string(c.records[0].first);
    EXPECT_EQ(title.Tag, c.titleTag) << what;
    EXPECT_EQ(title.Length, c.titleLength) << what;
    EXPECT_EQ(subtitle.Tag, c.subtitleTag) << what;
    EXPECT_EQ(subtitle.Length, c.subtitleLength) << what;
    if (c.titleTag) {
      EXPECT_EQ(title.Text, text + 2) << what;
    }
    if (c.subtitleTag && !c.titleTag) {
      EXPECT_EQ(subtitle.Text, text + 2) << what;
    }
    free(text);
  }
}

TEST(BannerLines, FillsOnlyTheRecordsGiven) {
  BYTE* text = ArticleBuilder().Text(0xCC, 0, "ab").Text(0xD1, 0, "cd").Build();
  BannerLine subtitle = {7, 7, 7, nullptr};
  FindBannerLines(text, nullptr, &subtitle);
  EXPECT_EQ(subtitle.Tag, 0xD1);
  EXPECT_EQ(subtitle.Text, text + 7);
  EXPECT_EQ(subtitle.Width, 0);
  FindBannerLines(nullptr, nullptr, &subtitle);
  EXPECT_EQ(subtitle.Length, 0);
  free(text);
}

class Banner : public ViewTest {
 protected:
  void SetUp() override {
    ViewTest::SetUp();
    h = MetricsOf(MakeView(240), SmallStyle).height;
  }
  // A laid-out view of the whole surface's width at top 0 with the records given.
  ArticleView* ViewOf(const ArticleBuilder& article, LONG height = 300) {
    ArticleView* view = MakeView(240, height);
    EXPECT_EQ(LayoutArticle(view, article.Build(), true), LayoutDone);
    return view;
  }
  // The width of a line in the banner's font, measured as the banner measures it.
  int LineWidth(ArticleView* view, bool rightToLeft, const std::string& text) {
    HGDIOBJ old = SelectStyleFont(view, SmallStyle);
    int width = UnlimitedWidth, count = int(text.size());
    FitDirectedRun(view->Dc, view->WidthTable, rightToLeft,
                   reinterpret_cast<const BYTE*>(text.data()), &width, &count);
    SelectObject(view->Dc, old);
    return width;
  }
  // The box a banner of `lines` lines, the widest `width` pixels, takes.
  RECT Box(int width, int lines, int height = 300) {
    int w = std::min(width + 2 * h + 8, 240);
    return RECT{(240 - w) / 2, height - lines * h - 12, (240 - w) / 2 + w, height - 2};
  }
  bool RowHasRedInk(int y, const RECT& box) {
    for (int x = box.left + 5; x < box.right - 5; ++x)
      if (IsRedInk(surface_.At(x, y))) return true;
    return false;
  }
  // The frames, checked down the box's left edge and across its top and bottom.
  void ExpectFrames(const RECT& box) {
    COLORREF rings[] = {Red, Red, White, Blue, Blue, Yellow};
    int middle = (box.left + box.right) / 2;
    for (int i = 0; i < 6; ++i) {
      EXPECT_EQ(surface_.At(box.left + i, (box.top + box.bottom) / 2), rings[i]) << "left edge " << i;
      if (i < 5) {
        EXPECT_EQ(surface_.At(middle, box.top + i), rings[i]) << "top edge " << i;
      }
      EXPECT_EQ(surface_.At(box.right - 1 - i, box.bottom - 1 - i), rings[i]) << "corner " << i;
    }
    EXPECT_EQ(surface_.At(middle, box.top - 1), White) << "above the box";
    EXPECT_EQ(surface_.At(middle, box.bottom), White) << "below the box";
    EXPECT_EQ(surface_.At(box.left - 1, box.top + 2), White) << "left of the box";
  }
  int h = 0;  // the banner's line height
};

TEST_F(Banner, AStoredLessonShowsItsHeadingOnOneLine) {
  ArticleView* view = ViewOf(ArticleBuilder().Text(0xD1, 0, "abc de").Text(0xB1, 0, "fgh"));
  surface_.Clear();
  DrawTitleBanner(view);
  RECT box = Box(LineWidth(view, true, "abc de"), 1);
  EXPECT_EQ(box.bottom - box.top, h + 10);
  ExpectFrames(box);
  EXPECT_TRUE(RowHasRedInk(box.top + 5 + h / 2, box));
  EXPECT_EQ(ActiveCodeBase(), CodeBaseLetter);
}

TEST_F(Banner, TitleAndSubtitleStandOnTwoLinesInOneBox) {
  ArticleView* view = ViewOf(ArticleBuilder().Text(0xCC, 0, "ABCD").Text(0xC1, 0, "EF"));
  surface_.Clear();
  DrawTitleBanner(view);
  RECT box = Box(LineWidth(view, false, "ABCD"), 2);
  EXPECT_EQ(box.bottom - box.top, 2 * h + 10);
  ExpectFrames(box);
  for (int line = 0; line < 2; ++line)
    EXPECT_TRUE(RowHasRedInk(box.top + 5 + line * h + h / 2, box)) << "line " << line;
}

TEST_F(Banner, HasItsPlaceInAViewBelowTheTop) {
  ArticleBuilder article;
  article.Text(0xD1, 0, "abc");
  ArticleView* view = MakeView(200, 100, 20, 150);
  ASSERT_EQ(LayoutArticle(view, article.Build(), true), LayoutDone);
  surface_.Clear();
  DrawTitleBanner(view);
  int w = LineWidth(view, true, "abc") + 2 * h + 8;
  RECT box = {20 + (200 - w) / 2, 250 - h - 12, 20 + (200 - w) / 2 + w, 248};
  ExpectFrames(box);
}

TEST_F(Banner, AHeadingWiderThanTheViewShowsItsReadingStartAcrossTheWholeWidth) {
  // Read first: the bets, stored last; the alefs that also fit the view's width follow.
  std::string start(12, 'b');
  ArticleView* cut = ViewOf(ArticleBuilder().Text(0xD1, 0, std::string(80, 'a') + start));
  std::string fitting = start;
  while (LineWidth(cut, true, "a" + fitting) <= 240) fitting = "a" + fitting;
  ASSERT_LT(fitting.size(), 92u);
  surface_.Clear();
  DrawTitleBanner(cut);
  std::vector<COLORREF> shown = surface_.Pixels();
  EXPECT_EQ(surface_.At(0, 300 - h - 12), Red) << "the box takes the whole width";
  EXPECT_EQ(surface_.At(239, 297), Red);

  ArticleView* whole = ViewOf(ArticleBuilder().Text(0xD1, 0, fitting));
  surface_.Clear();
  DrawTitleBanner(whole);
  EXPECT_EQ(shown, surface_.Pixels()) << "the cut heading is its reading start";
}

TEST_F(Banner, NoHeadNoBannerAndNoViewNothing) {
  ArticleView* view = ViewOf(ArticleBuilder().Text(0xB1, 0, "abc"));
  surface_.Clear();
  DrawTitleBanner(view);
  for (COLORREF pixel : surface_.Pixels()) ASSERT_EQ(pixel, White);
  DrawTitleBanner(nullptr);
}

TEST_F(Banner, StaysOverThePageUntilItMovesOrIsLaidOut) {
  ArticleBuilder article;
  article.Text(0xD1, 0, "abc");
  for (int i = 0; i < 40; ++i) article.Text(0xB1, 0, "de");
  ArticleView* view = ViewOf(article);
  RECT box = Box(LineWidth(view, true, "abc"), 1);
  auto bannerShown = [&] { return surface_.At(box.left, box.top) == Red; };
  view->BannerShown = true;
  DrawArticle(view, true);
  EXPECT_TRUE(bannerShown()) << "a paint draws it again";
  ScrollArticle(view, 0, 2, true);
  EXPECT_TRUE(bannerShown()) << "a draw that moves nothing keeps it";
  ScrollArticle(view, 1, 1, true);
  EXPECT_FALSE(bannerShown()) << "a scroll paints over it";
  EXPECT_FALSE(view->BannerShown);
  view->BannerShown = true;
  ASSERT_EQ(LayoutArticle(view, view->Text, false), LayoutDone);
  DrawArticle(view, true);
  EXPECT_FALSE(bannerShown()) << "a layout paints over it";
}

}  // namespace
