// The vintrel-book program itself, run as a terminal user runs it.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>

#include "book_test_support.h"

namespace {

struct ToolRun {
  int ExitCode;
  std::string Output;
};

ToolRun Tool(const std::string& arguments) {
  const std::string command = std::string(VINTREL_BOOK_TOOL) + " " + arguments + " 2>&1";
  FILE* pipe = popen(command.c_str(), "r");
  std::string output;
  char buffer[4096];
  for (size_t n; (n = fread(buffer, 1, sizeof buffer, pipe)) > 0;) output.append(buffer, n);
  const int status = pclose(pipe);
  return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, output};
}

const std::string Book = " --book " + booktest::SampleBuild.string();

struct TodayCase {
  const char* Date;
  const char* Hebrew;
  const char* Lesson;
};

TEST(CommandLine, TodayNamesTheHebrewDateLessonAndHeading) {
  const TodayCase cases[] = {
      {"2004-09-16", "1 Tishri 5765", "lesson    1\n"},
      {"2004-09-15", "29 Elul 5764", "lesson    267\n"},
      {"2005-04-10", "1 Nisan 5765", "lesson    144\n"},
      {"2005-03-01", "20 Adar I 5765", "lesson    116\n"},
      {"2005-03-25", "14 Adar II 5765", "lesson    134\n"},
      {"2006-03-14", "14 Adar 5766", "lesson    112\n"},
      {"2004-12-31", "19 Tevet 5765", "lesson    74\n"},
  };
  for (const TodayCase& c : cases) {
    const ToolRun run = Tool(std::string("today --date ") + c.Date + Book);
    EXPECT_EQ(run.ExitCode, 0) << run.Output;
    EXPECT_NE(run.Output.find(c.Hebrew), std::string::npos) << run.Output;
    EXPECT_NE(run.Output.find(c.Lesson), std::string::npos) << run.Output;
    EXPECT_NE(run.Output.find("heading   \xD7\xA9\xD6\xB4\xD7\x81"), std::string::npos) << run.Output;
  }
}

TEST(CommandLine, DumpPrintsTheLessonInReadingOrder) {
  const ToolRun run = Tool("dump 144" + Book);
  EXPECT_EQ(run.ExitCode, 0);
  EXPECT_EQ(run.Output.rfind("; lesson 144 (RCDATA 1144)", 0), 0u) << run.Output;
  EXPECT_EQ(run.Output.substr(run.Output.find('\n') + 1),
            booktest::ReadText(booktest::SampleSources / "lessons/144.txt"));
}

TEST(CommandLine, WrongUseAndBadSourcesHaveTheirExitCodes) {
  EXPECT_EQ(Tool("--help").ExitCode, 0);
  EXPECT_EQ(Tool("").ExitCode, 2);
  EXPECT_EQ(Tool("frobnicate").ExitCode, 2);
  EXPECT_EQ(Tool("dump 0" + Book).ExitCode, 2);
  EXPECT_EQ(Tool("today --date 2005-02-30" + Book).ExitCode, 2);
  booktest::ScratchFolder empty;
  const ToolRun build = Tool("build " + empty.Path().string() + " " + (empty.Path() / "out").string());
  EXPECT_EQ(build.ExitCode, 1);
  EXPECT_NE(build.Output.find("index.txt: error: cannot read the file"), std::string::npos) << build.Output;
  EXPECT_FALSE(std::filesystem::exists(empty.Path() / "out"));
  EXPECT_EQ(Tool("check " + empty.Path().string()).ExitCode, 1);
}

TEST(CommandLine, SearchPrintsEveryMatchInBookOrder) {
  const ToolRun run = Tool("search \u05EA\u05D5\u05E8\u05D4" + Book);  // "torah", unpointed
  EXPECT_EQ(run.ExitCode, 0) << run.Output;
  EXPECT_EQ(run.Output.rfind("1\t\u05E9\u05B4\u05C1\u05E2\u05D5\u05BC\u05E8 \u05D0'", 0), 0u)
      << "lesson 1 and its heading first: " << run.Output.substr(0, 200);
  EXPECT_NE(run.Output.find("\u05D1\u05B7\u05BC[[\u05EA\u05BC\u05D5\u05B9\u05E8\u05B8\u05D4]]"),
            std::string::npos)
      << "the pointed word marked in its paragraph";
  int previous = 0, lines = 0;
  for (size_t at = 0; at < run.Output.size(); at = run.Output.find('\n', at) + 1) {
    if (run.Output.find('\t', at) > run.Output.find('\n', at)) continue;  // the count
    const int lesson = std::atoi(run.Output.c_str() + at);
    EXPECT_GE(lesson, previous);
    EXPECT_LE(lesson, 267);
    previous = lesson;
    ++lines;
  }
  EXPECT_GT(lines, 1);
  EXPECT_NE(run.Output.find(std::to_string(lines) + " matches in"), std::string::npos)
      << run.Output.substr(run.Output.rfind('\n', run.Output.size() - 2));
}

TEST(CommandLine, SearchSaysWhenNothingMatchesAndRefusesWhatGivesNoSearch) {
  std::string tooLong;
  for (int i = 0; i < 34; ++i) tooLong += "\u05D0";
  struct {
    std::string arguments;
    int exitCode;
    const char* says;
  } cases[] = {
      {"\u05E5\u05E5\u05E5\u05E5" + Book, 1, "0 matches in 0 lessons"},
      {tooLong + Book, 2, "the pattern is too long"},
      {"shalom" + Book, 2, "'s' cannot stand in right-to-left text"},
      {"\u05D0 --book /nonexistent/book", 3, "cannot read the closing block"},
      {"", 2, "search takes one pattern"},
  };
  for (auto& c : cases) {
    const ToolRun run = Tool("search " + c.arguments);
    EXPECT_EQ(run.ExitCode, c.exitCode) << c.arguments << ": " << run.Output;
    EXPECT_NE(run.Output.find(c.says), std::string::npos) << run.Output;
  }
}

}  // namespace
