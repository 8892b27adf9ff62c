#include "index/index_fonts.h"

#include <cstdlib>

#include "base/alloc.h"
#include "content/article_format.h"
#include "index/index_view.h"
#include "view/style_font.h"
#include "view/view_colours.h"

COLORREF IndexTextColour(unsigned key) {
  return (key & (LargeStyle | BoldStyle)) == (LargeStyle | BoldStyle) ? Blue : Black;
}

HFONT AddIndexFont(IndexView* view, BYTE key) {
  if (!view) return nullptr;
  StyleFont* node = static_cast<StyleFont*>(AllocOrQuit(sizeof(StyleFont)));
  if (!node) return nullptr;
  node->FontHandle = CreateKeyFont(view->Font, key);
  if (!node->FontHandle) {
    // A font the platform refuses leaves no record behind, so a failing key does not
    // grow the list at every selection.
    free(node);
    return nullptr;
  }
  node->Key = key;
  node->Next = view->StyleFonts;
  view->StyleFonts = node;
  return node->FontHandle;
}

HGDIOBJ SelectIndexFont(IndexView* view, unsigned request) {
  if (!view) return nullptr;
  BYTE key = BYTE(request & StyleKeyBits);
  StyleFont* node = FindStyleFont(view->StyleFonts, key);
  HFONT font = node && node->FontHandle ? node->FontHandle : AddIndexFont(view, key);
  if (request & IndexColourRequest) SetTextColor(view->Dc, IndexTextColour(key));
  return font ? SelectObject(view->Dc, font) : nullptr;
}

void ReleaseIndexFonts(IndexView* view) {
  if (!view) return;
  while (StyleFont* node = view->StyleFonts) {
    view->StyleFonts = node->Next;
    if (node->FontHandle) DeleteObject(node->FontHandle);
    free(node);
  }
}
