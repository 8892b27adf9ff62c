// The article view's hot paths on a handheld-sized page: a full layout of a lesson
// of about 10,000 bytes, one page drawn, one line scrolled with its redraw.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <cstring>
#include <vector>

#include "base/app_state.h"
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
  auto paragraph = [&](BYTE flags, int words) {
    bytes.push_back(flags);
    bytes.push_back(0);
    for (int w = 0; w < words; ++w) {
      if (w) bytes.push_back(' ');
      int letters = 2 + int(next(6));
      for (int l = 0; l < letters; ++l) {
        if (next(3) == 0) bytes.push_back(BYTE(21 + next(11)));  // a point before its letter
        bytes.push_back(BYTE(97 + next(27)));
      }
    }
    bytes.push_back(0);
  };
  paragraph(0xD1, 3);
  paragraph(0xD1, 4);
  for (int i = 0; bytes.size() < size; ++i) {
    if (i % 9 == 4) paragraph(0xD2, 3);
    if (i % 13 == 7) paragraph(0xB2, 20);
    if (i % 17 == 16) bytes.insert(bytes.end(), {0xC7, 210, 0});
    paragraph(0xB1, 25 + int(next(30)));
  }
  bytes.insert(bytes.end(), {0, 0, 0, 0});
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
