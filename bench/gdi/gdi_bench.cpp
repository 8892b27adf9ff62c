// Text speed on the handheld's screen size: a page of pointed Hebrew drawn once the glyph
// cache is warm (the rasterisation counter shows FreeType is no longer called), the same
// page drawn one unit at a time as the pointed-text path does, measuring runs, and
// listing the installed families as the font dialog does when it opens.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "gdi/font_instance.h"
#include "platform.h"

namespace {

constexpr int kWidth = 240, kHeight = 320, kLines = 20, kUnitsPerLine = 30;

// Lines of letters, vowel points and spaces, the same every run.
std::vector<std::u16string> HebrewPage() {
  std::vector<std::u16string> lines;
  unsigned seed = 12345;
  auto next = [&seed] { return (seed = seed * 1103515245u + 12345u) >> 16; };
  for (int l = 0; l < kLines; ++l) {
    std::u16string line;
    while (line.size() < size_t(kUnitsPerLine)) {
      const unsigned r = next() % 10;
      if (r == 0) line.push_back(u' ');
      else if (r <= 2) line.push_back(char16_t(0x05B0 + next() % 9));
      else line.push_back(char16_t(0x05D0 + next() % 27));
    }
    lines.push_back(line);
  }
  return lines;
}

struct Screen {
  HDC dc = CreateCompatibleDC(nullptr);
  HBITMAP bitmap = CreateCompatibleBitmap(nullptr, kWidth, kHeight);
  HFONT font;
  Screen() {
    SelectObject(dc, bitmap);
    LOGFONTW log{};
    log.lfHeight = kHeight / kLines;
    const std::u16string face = u"Frank Ruehl CLM";
    face.copy(log.lfFaceName, face.size());
    font = CreateFontIndirectW(&log);
    SelectObject(dc, font);
    SetBkMode(dc, TRANSPARENT);
  }
  ~Screen() {
    SelectObject(dc, GetStockObject(SYSTEM_FONT));
    DeleteObject(font);
    DeleteDC(dc);
    DeleteObject(bitmap);
  }
  void clear() {
    RECT all{0, 0, kWidth, kHeight};
    FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  }
};

void DrawPage(Screen& screen, const std::vector<std::u16string>& page) {
  screen.clear();
  const int lineHeight = kHeight / kLines;
  for (int l = 0; l < kLines; ++l) {
    const std::u16string& line = page[size_t(l)];
    TextOutW(screen.dc, 0, l * lineHeight, line.data(), int(line.size()));
  }
}

void DrawPageUnitByUnit(Screen& screen, const std::vector<std::u16string>& page) {
  screen.clear();
  const int lineHeight = kHeight / kLines;
  for (int l = 0; l < kLines; ++l) {
    const std::u16string& line = page[size_t(l)];
    int right = kWidth;
    for (char16_t unit : line) {
      SIZE size{};
      GetTextExtentPoint32W(screen.dc, &unit, 1, &size);
      RECT cell{right - size.cx, l * lineHeight, right, (l + 1) * lineHeight};
      DrawTextW(screen.dc, &unit, 1, &cell, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
      right -= size.cx;
    }
  }
}

template <void (*Draw)(Screen&, const std::vector<std::u16string>&)>
void BM_HebrewPage(benchmark::State& state) {
  Screen screen;
  const auto page = HebrewPage();
  Draw(screen, page);  // the first page fills the glyph cache
  const unsigned long before = gdi::GlyphRasterCount();
  for (auto _ : state) {
    Draw(screen, page);
    benchmark::ClobberMemory();
  }
  state.counters["rasterisations"] = double(gdi::GlyphRasterCount() - before);
  state.counters["units"] = benchmark::Counter(double(kLines * kUnitsPerLine) * state.iterations(),
                                               benchmark::Counter::kIsRate);
}
BENCHMARK_TEMPLATE(BM_HebrewPage, DrawPage)->Name("HebrewPage/TextOut");
BENCHMARK_TEMPLATE(BM_HebrewPage, DrawPageUnitByUnit)->Name("HebrewPage/UnitByUnit");

void BM_TextExtent40(benchmark::State& state) {
  Screen screen;
  const auto page = HebrewPage();
  std::u16string run = page[0] + page[1];
  run.resize(40);
  int fit = 0;
  SIZE size{};
  GetTextExtentExPointW(screen.dc, run.data(), 40, 150, &fit, nullptr, &size);
  for (auto _ : state) {
    GetTextExtentExPointW(screen.dc, run.data(), 40, 150, &fit, nullptr, &size);
    benchmark::DoNotOptimize(fit);
    benchmark::DoNotOptimize(size);
  }
  state.counters["fit"] = fit;
}
BENCHMARK(BM_TextExtent40);

int CALLBACK CountFamily(const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM param) {
  ++*reinterpret_cast<int*>(param);
  return 1;
}

void BM_EnumFontFamilies(benchmark::State& state) {
  Screen screen;
  int families = 0;
  for (auto _ : state) {
    families = 0;
    EnumFontFamiliesW(screen.dc, nullptr, CountFamily, reinterpret_cast<LPARAM>(&families));
  }
  state.counters["families"] = families;
}
BENCHMARK(BM_EnumFontFamilies)->Unit(benchmark::kMillisecond);

}  // namespace
