// Outlines over a headless memory DC with a monospaced Hebrew font, so that the
// expected positions of a layout are multiples of one advance; the marks from the
// test's resources, the streams written entry by entry or the book's own index.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "index/index_view.h"
#include "index_fixtures.h"
#include "tests/text/memory_dc.h"

namespace index_test {

// Style bytes of the stored index: a collapsed large bold section, a hidden lesson.
constexpr BYTE SectionStyle = 0x8C;
constexpr BYTE LessonStyle = 0x01;
constexpr BYTE ShownLesson = 0x81;

// What a line refers to and where it stands.
struct Line {
  std::string text;  // the line's bytes as stored (display order)
  LONG indent;
  WORD key;
  BYTE flags;
  bool operator==(const Line&) const = default;
};
std::ostream& operator<<(std::ostream& out, const Line& line);

class OutlineTest : public ::testing::Test {
 protected:
  static constexpr const char16_t* Mono = u"Miriam Mono CLM";

  void SetUp() override;
  void TearDown() override;

  // A view of the size at the origin, laid out over a new copy of the entries (or the
  // stream given, which it takes); destroyed at the end of the test.
  IndexView* MakeView(const std::vector<Entry>& entries, LONG width = 227, LONG height = 320);
  IndexView* MakeViewOver(BYTE* stream, LONG width = 227, LONG height = 320);

  // Advance of a letter and text height in the font of a style key.
  int Advance(BYTE key);
  int Height(BYTE key);

  // Every line of the table, or the visible ones, as they refer to the stream.
  static std::vector<Line> Lines(const IndexView* view);
  static std::vector<Line> VisibleLines(const IndexView* view);
  // The keys of the visible entries, one per entry, in line order.
  static std::vector<WORD> VisibleKeys(const IndexView* view);
  // The index of the first line with the key.
  static WORD LineOf(const IndexView* view, WORD key);

  MemoryDc surface_{240, 320};

 private:
  std::vector<IndexView*> views_;
};

}  // namespace index_test
