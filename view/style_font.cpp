#include "view/style_font.h"

#include <cstdlib>
#include <cstring>

#include "content/article_format.h"
#include "view/article_view.h"
#include "view/view_colours.h"

namespace {


bool IsMeasured(const StyleFont* node) {
  return node->Widths[0] != WidthsUnmeasured0 && node->Widths[1] != WidthsUnmeasured1;
}

// The character whose width stands for a code in the font's code base.
WCHAR MeasuredCharacter(int code) {
  if (!HasTableEntry(code)) return WCHAR(code);
  LONG codeBase = FontAsciiBase();
  if (codeBase == CodeBaseUnicode) {
    const UnicodePair& pair = UnicodePairTable[code - LetterTableFirst];
    return pair.Second ? pair.Second : pair.First;
  }
  if (codeBase == CodeBaseLetter) return WCHAR(code);
  return ByteFontTable[code - LetterTableFirst];
}

// False when a width could not be measured; the table then stays marked unmeasured.
bool MeasureWidths(ArticleView* view, StyleFont* node) {
  for (int code = LetterTableFirst; code < LetterTableFirst + WidthTableSize; ++code) {
    WCHAR character = MeasuredCharacter(code);
    SIZE size = {0, 0};
    if (!GetTextExtentExPointW(view->Dc, &character, 1, 0, nullptr, nullptr, &size)) {
      node->Widths[0] = WidthsUnmeasured0;
      node->Widths[1] = WidthsUnmeasured1;
      return false;
    }
    node->Widths[code - LetterTableFirst] = WORD(size.cx);
  }
  for (int code = FirstPoint; code <= LastPoint; ++code) node->Widths[code - LetterTableFirst] = 0;
  return true;
}

}  // namespace

LONG StyleFontHeight(LONG size, unsigned key) {
  if (key & LargeStyle) return size ? size * 5 / 4 : 20;
  if (key & SmallStyle) return size ? size * 6 / 8 : 14;
  return size;
}

LONG StyleFontWeight(unsigned key) { return key & BoldStyle ? FW_BOLD : FW_NORMAL; }

COLORREF StyleTextColour(unsigned key) {
  if (key & SmallStyle) return Navy;
  if ((key & (LargeStyle | BoldStyle)) == (LargeStyle | BoldStyle)) return Blue;
  return Black;
}

HFONT CreateKeyFont(const FontChoice& choice, unsigned key) {
  LOGFONTW font;
  memset(&font, 0, sizeof font);
  for (int i = 0; i < LF_FACESIZE - 1 && choice.Face[i]; ++i) font.lfFaceName[i] = choice.Face[i];
  font.lfHeight = StyleFontHeight(choice.Size, key);
  font.lfWeight = StyleFontWeight(key);
  return CreateFontIndirectW(&font);
}

StyleFont* FindStyleFont(StyleFont* list, unsigned key) {
  for (StyleFont* node = list; node; node = node->Next)
    if (node->Key == key) return node;
  return nullptr;
}

HFONT CreateStyleFont(ArticleView* view, StyleFont* node, BYTE key) {
  if (!view || !node) return nullptr;
  node->FontHandle = CreateKeyFont(view->Font, key);
  node->Widths[0] = WidthsUnmeasured0;
  node->Widths[1] = WidthsUnmeasured1;
  return node->FontHandle;
}

HFONT AddStyleFont(ArticleView* view, BYTE key) {
  if (!view) return nullptr;
  StyleFont* node = static_cast<StyleFont*>(malloc(sizeof(StyleFont)));
  if (!node) return nullptr;
  node->Key = key;
  node->Next = view->StyleFonts;
  view->StyleFonts = node;
  if (CreateStyleFont(view, node, key)) return node->FontHandle;
  // A font the platform refuses leaves no node behind, so a failing key does not
  // grow the list at every selection.
  view->StyleFonts = node->Next;
  free(node);
  return nullptr;
}

HGDIOBJ SelectStyleFont(ArticleView* view, unsigned request) {
  if (!view) return nullptr;
  BYTE key = StyleKey(BYTE(request));
  StyleFont* node = FindStyleFont(view->StyleFonts, key);
  bool isNew = !node || !node->FontHandle;
  HFONT font = isNew ? AddStyleFont(view, key) : node->FontHandle;
  if (!font) return nullptr;
  if (request & ColourRequest) SetTextColor(view->Dc, StyleTextColour(key));
  HGDIOBJ previous = SelectObject(view->Dc, font);
  if (BuildWidthTable(view, font, isNew)) return previous;
  SelectObject(view->Dc, previous);
  return nullptr;
}

HGDIOBJ SelectStyleFontKeeping(ArticleView* view, unsigned request) {
  if (!view) return nullptr;
  HGDIOBJ before = GetCurrentObject(view->Dc, OBJ_FONT);
  HGDIOBJ previous = SelectStyleFont(view, request);
  return previous ? previous : before;
}

bool BuildWidthTable(ArticleView* view, HFONT font, bool force) {
  if (!view || !font) return false;
  StyleFont* node = view->StyleFonts;
  while (node && node->FontHandle != font) node = node->Next;
  if (!node) return false;
  view->WidthTable = node->Widths;
  if (!force && IsMeasured(node)) return true;
  return MeasureWidths(view, node);
}

int ReleaseStyleFonts(ArticleView* view) {
  if (!view) return -1;
  for (StyleFont* node = view->StyleFonts; node; node = node->Next) {
    if (!node->FontHandle) continue;
    DeleteObject(node->FontHandle);
    node->FontHandle = nullptr;
  }
  return 0;
}

void RecreateStyleFonts(ArticleView* view, const FontChoice* choice) {
  if (!view || !choice) return;
  view->Font = *choice;
  for (StyleFont* node = view->StyleFonts; node; node = node->Next) {
    if (node->FontHandle) DeleteObject(node->FontHandle);
    CreateStyleFont(view, node, node->Key);
  }
}

void FreeStyleFontList(ArticleView* view) {
  if (!view) return;
  while (view->StyleFonts) {
    StyleFont* next = view->StyleFonts->Next;
    if (view->StyleFonts->FontHandle) DeleteObject(view->StyleFonts->FontHandle);
    free(view->StyleFonts);
    view->StyleFonts = next;
  }
  view->WidthTable = nullptr;
}
