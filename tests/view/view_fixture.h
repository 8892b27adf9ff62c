// A view over a headless memory DC with a real monospaced Hebrew font, so that the
// expected positions of a layout are multiples of one advance.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>

#include "base/app_state.h"
#include "tests/text/memory_dc.h"
#include "tests/view/article_builder.h"
#include "text/conversion.h"
#include "view/article_draw.h"
#include "view/article_view.h"
#include "view/style_font.h"

inline FontChoice MakeFont(const char16_t* face, LONG size, LONG codeBase) {
  FontChoice font = {};
  for (int i = 0; face[i] && i < 31; ++i) font.Face[i] = face[i];
  font.Size = size;
  font.CodeBase = codeBase;
  return font;
}

// Anti-aliased text pixels over white or yellow, told apart by their colour.
inline bool IsNavyInk(COLORREF pixel) {
  int r = GetRValue(pixel), g = GetGValue(pixel), b = GetBValue(pixel);
  return r == g && b - r >= 0x40 && std::abs(b - (128 + r / 2)) <= 6;
}
inline bool IsBlueInk(COLORREF pixel) {
  int r = GetRValue(pixel), g = GetGValue(pixel), b = GetBValue(pixel);
  return r == g && b - r >= 0x80 && b >= 0xD0;
}

class ViewTest : public ::testing::Test {
 protected:
  static constexpr const char16_t* Mono = u"Miriam Mono CLM";

  void SetUp() override {
    App.Flags = DefaultFlags;
    App.Font = MakeFont(Mono, 16, CodeBaseUnicode);
    SetActiveCodeBase(CodeBaseLetter);
  }
  void TearDown() override {
    HeapFailAllocation(0);
    for (ArticleView* view : views_) DestroyArticleView(view, true);
    App.Font = FontChoice{};
  }

  // A view at left, top with the given size, destroyed at the end of the test.
  ArticleView* MakeView(LONG width, LONG height = 320, LONG left = 0, LONG top = 0,
                        WORD capacity = 100) {
    RECT rect = {left, top, left + width, top + height};
    ArticleView* view = CreateArticleView(surface_.dc(), &rect, &App.Font, capacity);
    if (view) views_.push_back(view);
    return view;
  }

  // Advance of the letters (all alike in the monospaced font) in the style's font, as
  // the width table holds it; the text height and widest character of that font.
  struct Metrics {
    int advance, height, maxWidth;
  };
  Metrics MetricsOf(ArticleView* view, BYTE key) {
    HGDIOBJ old = SelectStyleFont(view, key);
    Metrics m = {view->WidthTable['a' - 16], 0, 0};
    TEXTMETRICW tm = {};
    GetTextMetricsW(view->Dc, &tm);
    m.height = tm.tmHeight;
    m.maxWidth = tm.tmMaxCharWidth;
    SelectObject(view->Dc, old);
    return m;
  }

  MemoryDc surface_{240, 320};

 private:
  std::vector<ArticleView*> views_;
};
