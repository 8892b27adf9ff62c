// The article view's hot paths on a handheld-sized page: a full layout of a lesson
// of about 10,000 bytes, one page drawn, one line scrolled with its redraw.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <cstring>
#include <vector>

#include "base/app_state.h"
#include "content/article_format.h"
#include "platform.h"
#include "view/article_draw.h"
#include "view/article_view.h"

namespace {

constexpr int PageWidth = 240;
constexpr int PageHeight = 320;

// A deterministic lesson shaped like the stored ones: two headings, then body
// paragraphs of pointed words with a small heading, a note and a rule now and then.
std::vector<BYTE> MakeLesson(size_t size) {
  std::vector<BYTE> bytes;
  unsigned seed = 12345;
  auto next = [&](unsigned n) {
    seed = seed * 1103515245u + 12345u;
    return (seed >> 16) % n;
  };
  auto record = [&](BYTE flags, BYTE second, const std::vector<BYTE>& text) {
    const size_t at = bytes.size();
    bytes.resize(at + ParagraphRecordSize(text.size()));
    WriteParagraph(bytes.data() + at, flags, second, text.data(), text.size());
  };
  auto paragraph = [&](BYTE flags, int words) {
    std::vector<BYTE> text;
    for (int w = 0; w < words; ++w) {
      if (w) text.push_back(' ');
      int letters = 2 + int(next(6));
      for (int l = 0; l < letters; ++l) {
        if (next(3) == 0) text.push_back(BYTE(21 + next(11)));  // a point before its letter
        text.push_back(BYTE(97 + next(27)));
      }
    }
    record(flags, 0, text);
  };
  paragraph(HeadingFlags, 3);
  paragraph(HeadingFlags, 4);
  for (int i = 0; bytes.size() < size; ++i) {
    if (i % 9 == 4) paragraph(SmallHeadingFlags, 3);
    if (i % 13 == 7) paragraph(NoteFlags, 20);
    if (i % 17 == 16) record(RuleFlags, FullWidthRule, {});
    paragraph(BodyFlags, 25 + int(next(30)));
  }
  bytes.insert(bytes.end(), {0, 0, 0, 0});  // the terminator and a loaded lesson's zeros
  return bytes;
}

struct Page {
  HDC dc;
  HBITMAP bitmap;
  ArticleView* view;

  Page() {
    App.Flags = DefaultFlags;
    const char16_t face[] = u"Miriam CLM";
    memcpy(App.Font.Face, face, sizeof face);
    App.Font.Size = 16;
    App.Font.CodeBase = 1488;
    dc = CreateCompatibleDC(nullptr);
    bitmap = CreateCompatibleBitmap(nullptr, PageWidth, PageHeight);
    SelectObject(dc, bitmap);
    RECT rect = {0, 0, PageWidth, PageHeight};
    view = CreateArticleView(dc, &rect, &App.Font, 100);
    std::vector<BYTE> lesson = MakeLesson(10000);
    BYTE* text = static_cast<BYTE*>(malloc(lesson.size()));
    memcpy(text, lesson.data(), lesson.size());
    LayoutArticle(view, text, true);
  }
  ~Page() {
    DestroyArticleView(view, true);
    DeleteDC(dc);
    DeleteObject(bitmap);
  }
};

void BM_LayoutLesson(benchmark::State& state) {
  Page page;
  for (auto _ : state) benchmark::DoNotOptimize(LayoutArticle(page.view, page.view->Text, false));
  state.counters["lines"] = page.view->LineCount;
}
BENCHMARK(BM_LayoutLesson)->Unit(benchmark::kMicrosecond);

void BM_DrawPage(benchmark::State& state) {
  Page page;
  page.view->FirstLine = 40;
  for (auto _ : state) benchmark::DoNotOptimize(DrawArticle(page.view, true));
  state.counters["lines drawn"] = page.view->LinesDrawn;
}
BENCHMARK(BM_DrawPage)->Unit(benchmark::kMicrosecond);

void BM_ScrollOneLine(benchmark::State& state) {
  Page page;
  for (auto _ : state) {
    if (ScrollArticle(page.view, 1, 1, true) == 1) page.view->FirstLine = 0;
  }
}
BENCHMARK(BM_ScrollOneLine)->Unit(benchmark::kMicrosecond);

}  // namespace
