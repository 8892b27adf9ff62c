#include "outline_fixture.h"

#include <cstring>

#include "base/app_state.h"
#include "index/bookmarks.h"
#include "index/index_fonts.h"
#include "resources/resource_ids.h"
#include "text/conversion.h"

namespace index_test {

std::ostream& operator<<(std::ostream& out, const Line& line) {
  return out << "{\"" << line.text << "\" indent " << line.indent << " key " << std::hex
             << line.key << " flags " << int(line.flags) << std::dec << "}";
}

void OutlineTest::SetUp() {
  std::memset(&App, 0, sizeof App);
  const std::u16string face = Mono;
  std::copy(face.begin(), face.end(), App.Font.Face);
  App.Font.Size = 16;
  App.Font.CodeBase = CodeBaseUnicode;
  for (int i = 0; i < 3; ++i)
    App.OutlineBitmaps[i] = LoadBitmapW(nullptr, MAKEINTRESOURCEW(IDB_OUTLINE_PLUS + i));
  SetActiveCodeBase(CodeBaseLetter);
}

void OutlineTest::TearDown() {
  HeapFailAllocation(0);
  for (IndexView* view : views_) DestroyIndexView(view, true);
  for (HBITMAP bitmap : App.OutlineBitmaps) DeleteObject(bitmap);
  FreeBookmarks();
  std::memset(&App, 0, sizeof App);
}

IndexView* OutlineTest::MakeView(const std::vector<Entry>& entries, LONG width, LONG height) {
  return MakeViewOver(MakeStream(entries), width, height);
}

IndexView* OutlineTest::MakeViewOver(BYTE* stream, LONG width, LONG height) {
  RECT box = {0, 0, width, height};
  IndexView* view = CreateIndexView(surface_.dc(), &box, &App.Font, 100);
  views_.push_back(view);
  EXPECT_EQ(LayoutIndex(view, stream, false), IndexDone);
  return view;
}

int OutlineTest::Advance(BYTE key) {
  IndexView* view = MakeView({{ArticleKey(1), key, 0, "a"}});
  return view->Lines[0].Width;
}

int OutlineTest::Height(BYTE key) {
  IndexView* view = MakeView({{ArticleKey(1), key, 0, "a"}});
  return view->Lines[0].Height;
}

std::vector<Line> OutlineTest::Lines(const IndexView* view) {
  std::vector<Line> lines;
  for (const IndexLine* line = view->Lines; !IsEndLine(*line); ++line)
    lines.push_back({std::string(reinterpret_cast<const char*>(view->Stream + line->Offset), line->Length),
                     IndentOf(view, *line), line->Key, line->EntryFlags});
  return lines;
}

std::vector<Line> OutlineTest::VisibleLines(const IndexView* view) {
  std::vector<Line> lines;
  for (const Line& line : Lines(view))
    if (IsEntryVisible(line.flags)) lines.push_back(line);
  return lines;
}

std::vector<WORD> OutlineTest::VisibleKeys(const IndexView* view) {
  std::vector<WORD> keys;
  for (const Line& line : VisibleLines(view))
    if (keys.empty() || keys.back() != line.key) keys.push_back(line.key);
  return keys;
}

WORD OutlineTest::LineOf(const IndexView* view, WORD key) {
  WORD i = 0;
  while (!IsEndLine(view->Lines[i]) && view->Lines[i].Key != key) ++i;
  return i;
}

}  // namespace index_test
