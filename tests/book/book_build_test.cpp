// Compiling the sample edition and refusing bad sources.
#include <gtest/gtest.h>

#include <map>
#include <sstream>

#include "book_build.h"
#include "book_source.h"
#include "book_test_support.h"
#include "calendar/lesson_calendar.h"
#include "commands.h"
#include "diagnostics.h"
#include "letter_encoding.h"
#include "records.h"
#include "utf8.h"

namespace {

using booktest::ReadText;
using booktest::SampleFiles;
using booktest::SampleSources;
using booktest::ScratchFolder;
using booktest::WriteText;
namespace fs = std::filesystem;

std::string LessonSource(int n) {
  char name[16];
  std::snprintf(name, sizeof name, "lessons/%03d.txt", n);
  return name;
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

std::string Joined(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) text += line + "\n";
  return text;
}

// Every record decodes, with the reader's decoder, to the paragraphs of its source,
// and those paragraphs print as the source's own lines.
TEST(SampleEdition, EveryLessonDecodesBackToItsSource) {
  const auto& files = SampleFiles();
  for (int n = 1; n <= LessonCount; ++n) {
    const std::string source = ReadText(SampleSources / LessonSource(n));
    const std::vector<book::Paragraph> paragraphs = book::ParseArticle(LessonSource(n), source);
    ASSERT_EQ(files[n - 1].Name, book::LessonFileName(n));
    EXPECT_EQ(book::DecodeWithProgram(files[n - 1].Bytes), book::ArticleStream(paragraphs, 2)) << n;
    std::vector<std::string> printed;
    for (const book::Paragraph& p : paragraphs) printed.push_back(book::FormatParagraph(p));
    EXPECT_EQ(Joined(printed), source) << "lesson " << n;
  }
}

// Editors' habits change nothing: a byte order mark, CR LF line ends, marks in
// another order, presentation forms, comments and empty lines.
TEST(SampleEdition, SourcesReadAlikeWhateverTheEditor) {
  const std::string plain = "# \xD7\xA9\xD7\x81\xD6\xB8\xD7\x9C\xD7\x95\xD6\xB9\xD7\x9D\n--- 172\n@B1/40  \xD7\x91\n";
  const std::string edited =
      "\xEF\xBB\xBF; comment\r\n\r\n# \xEF\xAC\xAA\xD6\xB8\xD7\x9C\xEF\xAD\x8B\xD7\x9D\r\n--- 172\r\n@B1/40  \xD7\x91\r\n";
  const std::vector<book::Paragraph> a = book::ParseArticle("a", plain), b = book::ParseArticle("b", edited);
  ASSERT_EQ(a.size(), 3u);
  ASSERT_EQ(b.size(), 3u);
  for (size_t i = 0; i < 3; ++i) {
    EXPECT_EQ(a[i].Flags, b[i].Flags);
    EXPECT_EQ(a[i].Second, b[i].Second);
    EXPECT_EQ(a[i].Text, b[i].Text);
  }
  EXPECT_EQ(a[2].Second, 0x40);
  EXPECT_EQ(a[2].Text, (std::vector<uint8_t>{0x62, ' '}));  // stored in display order
  EXPECT_EQ(book::FormatParagraph(a[1]), "--- 172");
  EXPECT_EQ(book::FormatParagraph(a[2]), "@B1/40  \xD7\x91");
}

// The day numerals the titles begin with, days 1 to 30.
const char* const DayNumerals[] = {
    "א'", "ב'", "ג'", "ד'", "ה'", "ו'", "ז'", "ח'", "ט'", "י'",
    "י\"א", "י\"ב", "י\"ג", "י\"ד", "ט\"ו", "ט\"ז", "י\"ז", "י\"ח", "י\"ט", "כ'",
    "כ\"א", "כ\"ב", "כ\"ג", "כ\"ד", "כ\"ה", "כ\"ו", "כ\"ז", "כ\"ח", "כ\"ט", "ל'"};

// Sections are the months of 5765 in order; each lesson stands in the month of its
// first day by the lesson calendar and is titled from its first to its last day.
TEST(SampleEdition, IndexFollowsTheLessonCalendarOf5765) {
  const LONG months[] = {7, 8, 9, 10, 11, 12, 13, 1, 2, 3, 4, 5, 6};
  struct Days {
    int Section = -1, First = 0, Last = 0;
  };
  std::map<int, Days> days;
  for (int s = 0; s < 13; ++s)
    for (LONG d = 1; d <= HebrewMonthLength(months[s], 5765); ++d) {
      Days& entry = days[LessonForDay(DayNumberFromHebrew(months[s], d, 5765))];
      if (entry.Section < 0) entry = {s, int(d), int(d)};
      entry.Last = int(d);
    }
  ASSERT_EQ(days.size(), 267u);
  const std::vector<book::ContentsEntry> entries =
      book::ParseIndex("index.txt", ReadText(SampleSources / "index.txt"), LessonCount);
  int section = -1, previous = 0;
  for (const book::ContentsEntry& e : entries) {
    if (e.Key & SectionKeyBit) {
      ++section;
      continue;
    }
    const int n = KeyNumber(e.Key);
    EXPECT_EQ(n, previous + 1);
    previous = n;
    EXPECT_EQ(days[n].Section, section) << "lesson " << n;
    const std::string title = book::FormatTitle(e.Title);
    EXPECT_EQ(title.rfind(DayNumerals[days[n].First - 1], 0), 0u) << n << ": " << title;
    if (days[n].First != days[n].Last || n == 124) {
      EXPECT_NE(title.find(std::string("-") + DayNumerals[days[n].Last - 1]), std::string::npos)
          << n << ": " << title;
    }
  }
  EXPECT_EQ(section, 12);
}

TEST(SampleEdition, ClosingBlockHasTheShapeTheReaderAppends) {
  const std::string include = ReadText(SampleSources / "closing.txt");
  const std::vector<uint8_t> block =
      book::ClosingBlock("closing.txt", book::ParseArticle("closing.txt", include));
  ASSERT_EQ(block.size(), 878u);
  std::vector<book::Paragraph> paragraphs;
  size_t end = 0;
  ASSERT_TRUE(book::SplitArticle(block.data(), block.size(), &paragraphs, &end));
  EXPECT_EQ(end, 877u);
  const uint8_t flags[] = {0x47, 0xB2, 0xB2, 0xB2, 0xB2, 0xB2, 0xB2, 0x82};
  ASSERT_EQ(paragraphs.size(), 8u);
  for (size_t i = 0; i < 8; ++i) EXPECT_EQ(paragraphs[i].Flags, flags[i]);
  EXPECT_EQ(paragraphs[0].Second, 0xD2);
  // closing.inc carries the same bytes as a C++ initialiser.
  const auto& files = SampleFiles();
  const std::string inc(files.back().Bytes.begin(), files.back().Bytes.end());
  EXPECT_EQ(files.back().Name, "closing.inc");
  std::vector<uint8_t> parsed;
  for (size_t at = inc.find("0x"); at != std::string::npos; at = inc.find("0x", at + 2))
    parsed.push_back(static_cast<uint8_t>(std::stoul(inc.substr(at + 2, 2), nullptr, 16)));
  EXPECT_EQ(parsed, block);
}

// A scratch copy of the sample sources to break.
class BadSources : public ::testing::Test {
 protected:
  void SetUp() override { fs::copy(SampleSources, src_.Path(), fs::copy_options::recursive); }

  void SetLine(const std::string& file, size_t line, const std::string& text) {
    std::vector<std::string> lines = Lines(ReadText(src_.Path() / file));
    if (line > lines.size()) lines.resize(line);
    lines[line - 1] = text;
    WriteText(src_.Path() / file, Joined(lines));
  }

  void DropLastLine(const std::string& file) {
    std::vector<std::string> lines = Lines(ReadText(src_.Path() / file));
    lines.pop_back();
    WriteText(src_.Path() / file, Joined(lines));
  }

  size_t LineCount(const std::string& file) { return Lines(ReadText(src_.Path() / file)).size(); }

  // The message CompileBook stops with.
  std::string Fault() {
    try {
      book::CompileBook(src_.Path());
    } catch (const book::SourceError& e) {
      return e.what();
    }
    return "no fault";
  }

  std::string Place(const std::string& file) { return (src_.Path() / file).string(); }

  ScratchFolder src_;
};

TEST_F(BadSources, EachFaultIsReportedWithFileAndLine) {
  const std::string lesson3 = LessonSource(3);
  struct Case {
    std::string File;
    size_t Line;
    std::string Text;
    std::string Expected;  // after the file's path
  };
  const Case cases[] = {
      {lesson3, 2, "% כותרת", ":2:1: error: unknown paragraph prefix '%'"},
      {lesson3, 3, "* שלום A", ":3:8: error: 'A' cannot stand in right-to-left text"},
      {lesson3, 3, "*", ":3:1: error: a paragraph needs text"},
      {lesson3, 3, "# \xD6\xBD", ":3:1: error: a paragraph needs text"},  // meteg alone
      {lesson3, 4, "* \xD7\x90\xD6\xBC", ":4:3: error: U+05D0 with U+05BC has no place in the letter code"},
      {lesson3, 2, "@00 x", ":2:1: error: the flags byte 00 ends an article"},
      {lesson3, 2, "@1G x", ":2:1: error: '@1G' is not of the form @FF or @FF/II"},
      {lesson3, 2, "@C7/ x", ":2:1: error: '@C7/' is not of the form @FF or @FF/II"},
      {lesson3, 2, "--- 300", ":2:5: error: a rule takes a width byte from 0 to 255, not '300'"},
      {lesson3, 2, "--- text", ":2:5: error: a rule takes a width byte"},
      {lesson3, 2, "@C7/D2 text", ":2:8: error: a rule has no text"},
      {lesson3, 2, "* \xD7", ":2:3: error: malformed UTF-8"},
      {"index.txt", 3, "1 \xD7\x90\xD6\xB8", ":3:1: error: titles take plain letters"},
      {"index.txt", 3, "0 אב", ":3:1: error: lesson 0 is outside 1 to 267"},
      {"index.txt", 3, "x אב", ":3:1: error: a line of the table of contents starts with '#' or a lesson number"},
      {"index.txt", 3, "1", ":3:1: error: an entry needs a title"},
      {"closing.txt", 11, "@82 Vintrel sample edition - https://example.o",
       ":11: error: paragraph 8 of the closing block takes 42 bytes; it must take exactly 44"},
      {"closing.txt", 4, "---", ":4: error: paragraph 1 of the closing block must be @47/D2"},
  };
  for (const Case& c : cases) {
    const std::string original = ReadText(src_.Path() / c.File);
    SetLine(c.File, c.Line, c.Text);
    EXPECT_EQ(Fault().rfind(Place(c.File) + c.Expected, 0), 0u) << Fault();
    WriteText(src_.Path() / c.File, original);
  }
}

TEST_F(BadSources, TableOfContentsNamesEveryLessonOnce) {
  const size_t lines = LineCount("index.txt");
  SetLine("index.txt", lines + 1, "5 ה' בתשרי");
  EXPECT_EQ(Fault(), Place("index.txt") + ":" + std::to_string(lines + 1) +
                         ":1: error: lesson 5 is listed twice (first on line 7)");
  DropLastLine("index.txt");
  DropLastLine("index.txt");
  EXPECT_EQ(Fault(), Place("index.txt") + ":" + std::to_string(lines - 1) +
                         ": error: lesson 267 is missing from the table of contents");
}

TEST_F(BadSources, MissingAndOversizedLessons) {
  fs::remove(src_.Path() / LessonSource(7));
  EXPECT_EQ(Fault(), Place(LessonSource(7)) + ": error: lesson 7 has no source file");
  std::string letters, huge;
  for (int i = 0; i < 2000; ++i) letters += "\xD7\x90";  // alef
  for (int i = 0; i < 34; ++i) huge += "* " + letters + "\n";
  WriteText(src_.Path() / LessonSource(6), huge);
  EXPECT_EQ(Fault().rfind(Place(LessonSource(6)) + ":34: error: the lesson takes 68105 bytes; with the "
                                                    "closing block it must stay within 65,535", 0),
            0u)
      << Fault();
}

// A failed build exits with 1 and leaves the previous build as it was, even the
// records of the lessons that compiled.
TEST_F(BadSources, FailedBuildWritesNothing) {
  ScratchFolder out;
  ASSERT_EQ(book::ReplaceChangedFiles(out.Path(), SampleFiles()), 270);
  SetLine(LessonSource(1), 3, "* שָׁלוֹם");
  SetLine(LessonSource(200), 3, "* A");
  EXPECT_EQ(book::BuildCommand(src_.Path(), out.Path()), 1);
  for (const book::OutputFile& file : SampleFiles())
    EXPECT_EQ(book::ReadWholeFile(out.Path() / file.Name), file.Bytes) << file.Name;
  EXPECT_EQ(std::distance(fs::directory_iterator(out.Path()), fs::directory_iterator()), 270);
}

// Only files whose content changed are replaced: a changed lesson replaces its record
// and the resource script, whose checksums follow every record.
TEST_F(BadSources, RebuildReplacesOnlyWhatChanged) {
  ScratchFolder out;
  EXPECT_EQ(book::ReplaceChangedFiles(out.Path(), SampleFiles()), 270);
  const auto before = fs::last_write_time(out.Path() / "lesson002.bin");
  EXPECT_EQ(book::ReplaceChangedFiles(out.Path(), SampleFiles()), 0);
  SetLine(LessonSource(10), 3, "* שָׁלוֹם וּבְרָכָה.");
  EXPECT_EQ(book::ReplaceChangedFiles(out.Path(), book::CompileBook(src_.Path())), 2);
  EXPECT_EQ(fs::last_write_time(out.Path() / "lesson002.bin"), before);
  EXPECT_NE(book::ReadWholeFile(out.Path() / "lesson010.bin"), SampleFiles()[9].Bytes);
  EXPECT_NE(book::ReadWholeFile(out.Path() / "book.rc"), SampleFiles()[268].Bytes);
  EXPECT_EQ(book::ReadWholeFile(out.Path() / "lesson011.bin"), SampleFiles()[10].Bytes);
}

}  // namespace
