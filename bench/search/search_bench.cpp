// The search through the book in the real main window on the 240x320 in-memory screen,
// from the top of lesson 1: a pattern found nowhere (the shown lesson scanned, the 266
// others loaded, decoded and scanned, the shown one again), beside its floor, every one
// of the 267 lessons loaded and decoded alone; a match in the next lesson; a `*` pattern
// found nowhere. Each search is the one SearchNext runs, without the message or the
// drawing that follow it.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <cstring>

#include "base/app_state.h"
#include "content/lesson_loader.h"
#include "search/search_next.h"
#include "search/search_pattern.h"
#include "test_support/headless_screen.h"
#include "test_support/main_window_start.h"
#include "test_support/settings_folder.h"

namespace {

// The main window on lesson 1 with settings of its own, for the length of one run.
class Reader {
 public:
  Reader() {
    test_support::InstallScreenWithShell();
    window_ = test_support::StartMainWindow(1);
  }
  ~Reader() {
    DestroyWindow(window_);
    test_support::RemoveScreen();
  }

 private:
  test_support::SettingsFolder settings_;
  HWND window_ = nullptr;
};

// The pattern as the search field holds it, in reading order: stored in display order.
void StorePattern(const std::u16string& reading) {
  std::u16string field(reading.rbegin(), reading.rend());
  StoreSearchPattern(field.c_str());
}

void CountLessons(benchmark::State& state) {
  state.SetItemsProcessed(state.iterations() * LessonCount);
}

void LoadEveryLesson(benchmark::State& state) {
  Reader reader;
  for (auto _ : state) {
    for (WORD lesson = 1; lesson <= LessonCount; ++lesson) {
      BYTE* text = LoadArticle(lesson);
      benchmark::DoNotOptimize(text);
      free(text);
    }
  }
  CountLessons(state);
}
BENCHMARK(LoadEveryLesson)->Unit(benchmark::kMillisecond);

// A search that must not find anything, or must find its match in lesson `expected`.
void Search(benchmark::State& state, const std::u16string& reading, WORD expected) {
  Reader reader;
  StorePattern(reading);
  for (auto _ : state) {
    SearchHit hit;
    const bool found = FindNextMatch(&hit);
    free(hit.Text);
    if (found != (expected != 0) || (found && hit.Lesson != expected))
      return state.SkipWithError("the search did not end where it should");
  }
  if (!expected) CountLessons(state);
}

void SearchFindingNothing(benchmark::State& state) { Search(state, u"\u05E1\u05D5\u05DB\u05D4", 0); }
BENCHMARK(SearchFindingNothing)->Unit(benchmark::kMillisecond);

void SearchWithStarFindingNothing(benchmark::State& state) {
  Search(state, u"\u05E9*\u05E5\u05E5", 0);
}
BENCHMARK(SearchWithStarFindingNothing)->Unit(benchmark::kMillisecond);

void SearchMatchInTheNextLesson(benchmark::State& state) { Search(state, u"\u05D6\u05D4\u05D1", 2); }
BENCHMARK(SearchMatchInTheNextLesson)->Unit(benchmark::kMicrosecond);

}  // namespace
