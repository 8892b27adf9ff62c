// Any decoded lesson text, as the loader hands it over (the closing block appended),
// laid out, drawn, scrolled to its end with a highlight, laid out again narrower and, when
// asked, in another font. The first three bytes choose the view's width and height, the
// font's size and code base and the font change. Whatever the text, the layout keeps its
// line table closed and inside the text.
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "base/app_state.h"
#include "content/article_trailer.h"
#include "text/conversion.h"
#include "view/article_draw.h"
#include "view/article_view.h"

namespace {

constexpr LONG CodeBases[] = {97, 224, 1488};

struct Surface {
  HDC dc = CreateCompatibleDC(nullptr);
  HBITMAP bitmap = CreateCompatibleBitmap(nullptr, 512, 256);
  Surface() { SelectObject(dc, bitmap); }
};

FontChoice Font(LONG size, LONG codeBase) {
  FontChoice font = {};
  const char16_t face[] = u"Miriam Mono CLM";
  std::memcpy(font.Face, face, sizeof face);
  font.Size = size;
  font.CodeBase = codeBase;
  return font;
}

// Every entry of the table lies inside the text the view holds.
void CheckLines(const ArticleView* view, DWORD textSize) {
  if (!view->Lines) return;
  WORD n = 0;
  for (const LineEntry* e = view->Lines; e->ParaFlags; ++e, ++n)
    if (DWORD(e->Offset) + e->Length > textSize || n >= view->LineCapacity) std::abort();
  if (n != view->LineCount) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static Surface surface;
  if (size < 3 || size > 0xFFF0) return 0;
  LONG width = 1 + data[0] * 2;
  LONG height = 1 + data[1];
  bool changeFont = data[2] & 0x80;
  LONG otherBase = CodeBases[(data[2] + 1) % 3];
  App.Font = Font(8 + data[2] % 24, CodeBases[data[2] % 3]);
  SetActiveCodeBase(CodeBaseLetter);
  data += 3;
  size -= 3;
  // The decoder's output: the data, then two zero bytes.
  BYTE* stream = static_cast<BYTE*>(malloc(size + 2));
  if (!stream) return 0;
  std::memcpy(stream, data, size);
  stream[size] = stream[size + 1] = 0;
  BYTE* text = AppendArticleTrailer(stream, DWORD(size));
  DWORD textSize = DWORD(size) + ArticleTailSize;

  RECT rect = {0, 0, width, height};
  ArticleView* view = CreateArticleView(surface.dc, &rect, &App.Font, 100);
  if (LayoutArticle(view, text, true) != LayoutDone) free(text);
  CheckLines(view, textSize);
  DrawArticle(view, true);
  ScrollArticle(view, 0x7FFF, 1, true);
  view->HighlightStart = 2;
  view->HighlightEnd = 40;
  DrawArticle(view, false);
  ResizeArticleView(view, width / 2 + 1, height);
  CheckLines(view, textSize);
  if (changeFont) {
    FontChoice other = Font(30, otherBase);
    ChangeArticleFont(view, &other);
    CheckLines(view, textSize);
  }
  DestroyArticleView(view, true);
  return 0;
}
