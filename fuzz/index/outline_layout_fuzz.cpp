// Any decoded index record as the Choose Article dialog shows it: ended within its size
// as the loader ends it, laid out, drawn, opened at a lesson, sections toggled, resized
// with what was open kept, scrolled and hit. The first three bytes choose the view's
// width and height and the lesson. Whatever the record, the line table stays ended
// inside its capacity.
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "base/app_state.h"
#include "content/index_stream.h"
#include "content/lesson_record.h"
#include "index/index_draw.h"
#include "index/index_view.h"
#include "index/outline_expansion.h"
#include "text/letter_code.h"

namespace {

struct Surface {
  HDC dc = CreateCompatibleDC(nullptr);
  HBITMAP bitmap = CreateCompatibleBitmap(nullptr, 512, 320);
  Surface() { SelectObject(dc, bitmap); }
};

void CheckTable(const IndexView* view) {
  if (!view->Lines) return;
  if (view->LineCount > view->LineCapacity || !IsEndLine(view->Lines[view->LineCount]))
    std::abort();
  for (WORD i = 0; i < view->LineCount; ++i)
    if (IsEndLine(view->Lines[i])) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static Surface surface;
  if (size < 4 || size > LargestStream) return 0;
  LONG width = 1 + data[0] * 2;
  LONG height = 1 + data[1];
  WORD lesson = data[2];
  data += 3;
  size -= 3;
  const char16_t face[] = u"Miriam Mono CLM";
  std::memcpy(App.Font.Face, face, sizeof face);
  App.Font.Size = 16;
  App.Font.CodeBase = CodeBaseUnicode;

  BYTE* stream = static_cast<BYTE*>(malloc(size));
  if (!stream) return 0;
  std::memcpy(stream, data, size);
  stream = EndIndexStreamWithin(stream, DWORD(size));
  RECT box = {0, 0, width, height};
  IndexView* view = CreateIndexView(surface.dc, &box, &App.Font, 0);
  if (LayoutIndex(view, stream, true) == IndexUnusable) free(stream);
  CheckTable(view);
  DrawIndex(view, true);
  ExpandToLesson(view, lesson);
  CheckTable(view);
  for (WORD line = 0; line < view->LineCount && line < 8; ++line) ToggleSection(view, line);
  WORD* expansion = SaveExpansion(view);
  ResizeIndexView(view, width / 2 + 1, height);
  RestoreExpansion(view, expansion);
  free(expansion);
  CheckTable(view);
  ScrollIndex(view, 0x7FFF, true, true);
  HitTestIndex(view, width / 2, height / 2);
  DrawIndex(view, false);
  DestroyIndexView(view, true);
  return 0;
}
