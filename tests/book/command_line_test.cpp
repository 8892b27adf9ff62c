// The vintrel-book program itself, run as a terminal user runs it.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdio>

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

}  // namespace
