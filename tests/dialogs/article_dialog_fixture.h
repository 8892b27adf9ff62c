// The Choose Article dialog run as the program runs it, on the in-memory screen with the
// shell: each time its loop waits for input the next step runs (taps, keys, checks), as
// a person would act; a message box that opens meanwhile is answered with Enter.
#pragma once

#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <vector>

#include "base/app_state.h"
#include "dialogs/article_dialog.h"
#include "index/index_view.h"
#include "platform.h"
#include "test_support/headless_screen.h"

namespace dialog_test {

using test_support::Key;

using Step = std::function<void(HWND dialog)>;

class ArticleDialogTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // ChooseArticle over a window of the test, at the lesson, with the steps; a dialog
  // still open once they are done is cancelled, and the test fails, as it does when
  // steps are left. With failingAllocation, that allocation counted from the call on
  // fails (HeapFailAllocation), and the dialog may not open.
  WORD Choose(WORD lesson, std::vector<Step> steps, unsigned failingAllocation = 0);

  // The bookmark list of AppState.
  static void Bookmark(const std::vector<WORD>& lessons);

  // Where the outline shows the first line of the entry with the key: its y on the
  // page (client coordinates), or -1 when it is not on the page.
  static LONG PageY(WORD key);
  static WORD LineOf(WORD key);
  // The keys of the visible entries, one per entry, in line order.
  static std::vector<WORD> VisibleKeys();
  // Taps at a point of the dialog's client area, or on the caption's "ok".
  static void TapClient(HWND dialog, LONG x, LONG y);
  static void TapOk(HWND dialog);
  // Taps the title of the entry, or its mark.
  static void TapTitle(HWND dialog, WORD key);
  static void TapMark(HWND dialog, WORD key);

  static SCROLLINFO ScrollBar(HWND dialog);

  HWND owner_ = nullptr;
  int boxesAnswered_ = 0;
  bool stepsLeft_ = false;
  std::deque<Step> steps_;
};

}  // namespace dialog_test
