// The table of contents on the 240x320 in-memory screen with the book and three
// bookmarks, as the program runs it: opening the dialog (load and decode the index,
// merge the bookmarks, lay out every entry, expand to the lesson, draw) and closing it;
// inside the open dialog, a section opened and closed by a tap on its mark, with its
// redraw and scroll bar; and the relayout of a resize, which keeps what is open.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <cstring>
#include <functional>

#include "base/app_state.h"
#include "dialogs/article_dialog.h"
#include "index/bookmarks.h"
#include "index/index_view.h"
#include "resources/resource_ids.h"
#include "test_support/headless_screen.h"
#include "user/system.h"

namespace {

constexpr WORD Lesson = 100;
constexpr WORD Cheshvan = 0xBFEA;  // the second section

// The program's state for the table of contents, on a screen of its own.
class TableOfContents {
 public:
  TableOfContents() {
    test_support::InstallScreenWithShell();
    std::memset(&App, 0, sizeof App);
    const char16_t face[] = u"Miriam CLM";
    std::memcpy(App.Font.Face, face, sizeof face);
    App.Font.Size = 16;
    App.Font.CodeBase = 1488;
    for (int i = 0; i < 3; ++i)
      App.OutlineBitmaps[i] = LoadBitmapW(nullptr, MAKEINTRESOURCEW(IDB_OUTLINE_PLUS + i));
    static const WORD bookmarks[] = {12, 3, 200, 0};
    App.BookmarkList = static_cast<WORD*>(malloc(sizeof bookmarks));
    std::memcpy(App.BookmarkList, bookmarks, sizeof bookmarks);
    App.BookmarkCount = 3;
    user::AddIdleHook([this] {
      HWND dialog = ArticleDialog.Dialog;
      if (!dialog || !IsWindow(dialog)) return;
      if (whileOpen_) whileOpen_(dialog);
      PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
    });
  }
  ~TableOfContents() {
    FreeBookmarks();
    for (HBITMAP bitmap : App.OutlineBitmaps) DeleteObject(bitmap);
    test_support::RemoveScreen();
  }
  // Opens the dialog, runs `whileOpen` once it waits for input, and cancels it.
  void Open(std::function<void(HWND)> whileOpen = nullptr) {
    whileOpen_ = std::move(whileOpen);
    ChooseArticle(nullptr, nullptr, Lesson, &App.Font);
  }

 private:
  std::function<void(HWND)> whileOpen_;
};

// The tap on a line's mark, in client coordinates, as lParam.
LPARAM MarkOf(WORD key) {
  const IndexView* view = ArticleDialog.View;
  PageWalk walk = StartPage(view);
  while (NextShownLine(walk) && ShownLine(walk).Key != key) {
  }
  const IndexLine& line = ShownLine(walk);
  return MAKELPARAM(line.X + line.Width + 8, walk.top + line.Height / 2);
}

void OpenTheTableOfContents(benchmark::State& state) {
  TableOfContents contents;
  for (auto _ : state) contents.Open();
  state.SetLabel("open at lesson 100 and close");
}
BENCHMARK(OpenTheTableOfContents)->Unit(benchmark::kMillisecond);

void ToggleASection(benchmark::State& state) {
  TableOfContents contents;
  contents.Open([&](HWND dialog) {
    LPARAM mark = MarkOf(Cheshvan);
    for (auto _ : state) {
      ArticleDialogProc(dialog, WM_LBUTTONDOWN, MK_LBUTTON, mark);
      ArticleDialogProc(dialog, WM_LBUTTONDOWN, MK_LBUTTON, mark);
    }
    state.counters["lines shown"] = ArticleDialog.View->VisibleCount;
  });
  state.SetItemsProcessed(state.iterations() * 2);
  state.SetLabel("per item: one toggle with its redraw");
}
BENCHMARK(ToggleASection)->Unit(benchmark::kMicrosecond);

void RelayoutOnResize(benchmark::State& state) {
  TableOfContents contents;
  contents.Open([&](HWND dialog) {
    ArticleDialogProc(dialog, WM_LBUTTONDOWN, MK_LBUTTON, MarkOf(Cheshvan));
    RECT full;
    GetWindowRect(dialog, &full);
    for (auto _ : state) {
      MoveWindow(dialog, full.left, full.top, full.right - full.left, 200, TRUE);
      MoveWindow(dialog, full.left, full.top, full.right - full.left, full.bottom - full.top, TRUE);
    }
    state.counters["lines"] = ArticleDialog.View->LineCount;
  });
  state.SetItemsProcessed(state.iterations() * 2);
  state.SetLabel("per item: one relayout with its redraw");
}
BENCHMARK(RelayoutOnResize)->Unit(benchmark::kMicrosecond);

}  // namespace
