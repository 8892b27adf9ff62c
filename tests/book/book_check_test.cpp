// The check of a built book: the sample edition passes within the stored ranges;
// books broken in one place each fail with a message naming the place.
#include <gtest/gtest.h>

#include <functional>

#include "book_check.h"
#include "book_source.h"
#include "book_test_support.h"
#include "commands.h"
#include "records.h"

namespace {

using booktest::SampleBuild;
using booktest::ScratchFolder;
namespace fs = std::filesystem;
using Bytes = std::vector<uint8_t>;

bool HasError(const book::CheckReport& report, const std::string& text) {
  for (const std::string& e : report.Errors)
    if (e.find(text) != std::string::npos) return true;
  return false;
}

void WriteBytes(const fs::path& path, const Bytes& bytes) {
  booktest::WriteText(path, std::string(bytes.begin(), bytes.end()));
}

std::vector<book::ContentsEntry> SampleIndex() {
  const Bytes stream = *book::DecodeWithProgram(*book::ReadWholeFile(SampleBuild / book::IndexFileName));
  std::vector<book::ContentsEntry> entries;
  size_t end = 0;
  book::SplitIndex(stream.data(), stream.size(), &entries, &end);
  return entries;
}

TEST(Check, SampleEditionPassesWithinTheStoredRanges) {
  const book::CheckReport report = book::CheckBook(SampleBuild);
  EXPECT_TRUE(report.Errors.empty()) << report.Errors.front();
  EXPECT_TRUE(report.Notes.empty()) << report.Notes.front();
  EXPECT_NE(report.Profile.find("records per lesson                 10 to 59"), std::string::npos)
      << report.Profile;
  EXPECT_EQ(book::CheckCommand(SampleBuild, true), 0);
}

TEST(Check, BrokenBooksFail) {
  struct Breakage {
    const char* Name;
    std::function<void(const fs::path&)> Break;
    const char* Error;
  };
  const Breakage cases[] = {
      {"missing record", [](const fs::path& d) { fs::remove(d / "lesson005.bin"); },
       "lesson005.bin: missing or unreadable"},
      {"wrong tags",
       [](const fs::path& d) {
         Bytes r = *book::ReadWholeFile(d / "lesson010.bin");
         r[3] = 99;
         WriteBytes(d / "lesson010.bin", r);
       },
       "lesson010.bin: header tags are not 30 and 30"},
      {"cut record",
       [](const fs::path& d) {
         Bytes r = *book::ReadWholeFile(d / "lesson011.bin");
         r.resize(r.size() - 20);
         WriteBytes(d / "lesson011.bin", r);
       },
       "lesson011.bin: BlockLength"},
      {"one zero short", [](const fs::path& d) {
         WriteBytes(d / "lesson012.bin", book::MakeLessonRecord(12, {0xD1, 0, 'a', 0, 0xD1, 0, 'b', 0, 0, 0}));
       }, "lesson012.bin: the stream does not end with its terminator and two zero bytes"},
      {"empty text", [](const fs::path& d) {
         WriteBytes(d / "lesson013.bin", book::MakeLessonRecord(13, {0xD1, 0, 'a', 0, 0xB1, 0, 0, 0, 0, 0}));
       }, "lesson013.bin paragraph 2: empty text"},
      {"rule with text", [](const fs::path& d) {
         WriteBytes(d / "lesson014.bin", book::MakeLessonRecord(14, {0xC7, 210, 'a', 0, 0, 0, 0}));
       }, "lesson014.bin paragraph 1: a rule with text"},
      {"lesson listed twice",
       [](const fs::path& d) {
         std::vector<book::ContentsEntry> entries = SampleIndex();
         entries.push_back(entries[5]);
         WriteBytes(d / book::IndexFileName, book::MakeIndexRecord(book::IndexStream(entries)));
       },
       "lesson 5 is listed twice"},
      {"lesson not listed",
       [](const fs::path& d) {
         std::vector<book::ContentsEntry> entries = SampleIndex();
         entries.pop_back();
         WriteBytes(d / book::IndexFileName, book::MakeIndexRecord(book::IndexStream(entries)));
       },
       "index.bin: lesson 267 is not listed"},
      {"index tags",
       [](const fs::path& d) {
         WriteBytes(d / book::IndexFileName, book::MakeLessonRecord(1, book::IndexStream(SampleIndex())));
       },
       "index.bin: header tags are not 1 and 255"},
  };
  for (const Breakage& c : cases) {
    ScratchFolder book;
    fs::copy(SampleBuild, book.Path(), fs::copy_options::recursive);
    c.Break(book.Path());
    const book::CheckReport report = book::CheckBook(book.Path());
    EXPECT_TRUE(HasError(report, c.Error)) << c.Name << ": " << (report.Errors.empty() ? "no error" : report.Errors.front());
    EXPECT_EQ(book::CheckCommand(book.Path(), false), 1) << c.Name;
  }
}

}  // namespace
