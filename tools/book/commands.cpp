#include "commands.h"

#include <cstdio>

#include "book_build.h"
#include "book_check.h"
#include "book_files.h"
#include "book_search.h"
#include "book_source.h"
#include "calendar/lesson_calendar.h"
#include "content/lesson_record.h"
#include "diagnostics.h"
#include "records.h"

namespace book {

namespace {

const char* const HebrewMonthNames[] = {"Nisan", "Iyar",  "Sivan",  "Tammuz", "Av",
                                        "Elul",  "Tishri", "Heshvan", "Kislev", "Tevet",
                                        "Shevat", "Adar",  "Adar II"};

// The paragraphs of a built lesson, read through the program's decoder.
std::optional<std::vector<Paragraph>> ReadLesson(const std::filesystem::path& book, int lesson,
                                                 size_t* streamSize) {
  std::optional<std::vector<uint8_t>> stream = ReadLessonStream(book, lesson);
  if (!stream) return std::nullopt;
  std::vector<Paragraph> paragraphs;
  size_t terminator = 0;
  if (!SplitArticle(stream->data(), stream->size(), &paragraphs, &terminator)) {
    std::fprintf(stderr, "%s: the lesson's records do not split into paragraphs\n",
                 (book / LessonFileName(lesson)).c_str());
    return std::nullopt;
  }
  if (streamSize) *streamSize = stream->size();
  return paragraphs;
}

std::optional<CalendarDate> ParseDate(const std::string& text) {
  int year = 0, month = 0, day = 0;
  char tail = 0;
  if (std::sscanf(text.c_str(), "%d-%d-%d%c", &year, &month, &day, &tail) != 3) return std::nullopt;
  if (year < 1 || month < 1 || month > 12 || day < 1 ||
      day > GregorianMonthLengths[GregorianLeapYear(year) ? 1 : 0][month - 1])
    return std::nullopt;
  return CalendarDate{month, day, year};
}

}  // namespace

int BuildCommand(const std::filesystem::path& sources, const std::filesystem::path& out) {
  try {
    const std::vector<OutputFile> files = CompileBook(sources);
    const int replaced = ReplaceChangedFiles(out, files);
    std::printf("%s: %zu files, %d replaced\n", out.c_str(), files.size(), replaced);
    return 0;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "%s\n", e.what());
    return 1;
  }
}

int DumpCommand(int lesson, const std::filesystem::path& book) {
  if (lesson < 1 || lesson > LessonCount) {
    std::fprintf(stderr, "vintrel-book dump: a lesson number from 1 to %d\n", LessonCount);
    return 2;
  }
  size_t size = 0;
  std::optional<std::vector<Paragraph>> paragraphs = ReadLesson(book, lesson, &size);
  if (!paragraphs) return 1;
  std::printf("; lesson %d (RCDATA %d): %zu paragraphs, %zu bytes\n", lesson,
              LessonResourceId(WORD(lesson)), paragraphs->size(), size);
  for (const Paragraph& p : *paragraphs) std::printf("%s\n", FormatParagraph(p).c_str());
  return 0;
}

int TodayCommand(const std::optional<std::string>& date, const std::filesystem::path& book) {
  CalendarDate g{};
  if (date) {
    std::optional<CalendarDate> parsed = ParseDate(*date);
    if (!parsed) {
      std::fprintf(stderr, "vintrel-book today: '%s' is not a date YYYY-MM-DD\n", date->c_str());
      return 2;
    }
    g = *parsed;
  } else {
    SYSTEMTIME now{};
    GetLocalTime(&now);
    g = CalendarDate{now.wMonth, now.wDay, now.wYear};
  }
  const DayNumber n = DayNumberFromGregorian(g.Month, g.Day, g.Year);
  const CalendarDate h = HebrewFromDayNumber(n);
  const LessonNumber lesson = LessonForDay(n);
  std::printf("date      %04ld-%02ld-%02ld\n", long(g.Year), long(g.Month), long(g.Day));
  const bool adarOne = h.Month == 12 && HebrewLeapYear(h.Year);
  std::printf("hebrew    %ld %s %ld\n", long(h.Day), adarOne ? "Adar I" : HebrewMonthNames[h.Month - 1],
              long(h.Year));
  std::printf("lesson    %u\n", unsigned(lesson));
  std::optional<std::vector<Paragraph>> paragraphs = ReadLesson(book, lesson, nullptr);
  if (!paragraphs || paragraphs->empty()) return 1;
  const std::string heading = FormatParagraph(paragraphs->front());
  std::printf("heading   %s\n", heading.substr(heading.find(' ') + 1).c_str());
  return 0;
}

int CheckCommand(const std::filesystem::path& book, bool strict) {
  const CheckReport report = CheckBook(book);
  std::printf("%s", report.Profile.c_str());
  for (const std::string& error : report.Errors) std::fprintf(stderr, "error: %s\n", error.c_str());
  for (const std::string& note : report.Notes) std::fprintf(stderr, "note: %s\n", note.c_str());
  const bool failed = !report.Errors.empty() || (strict && !report.Notes.empty());
  std::printf("%s: %s (%zu errors, %zu values outside the stored edition's ranges)\n", book.c_str(),
              failed ? "FAILED" : "ok", report.Errors.size(), report.Notes.size());
  return failed ? 1 : 0;
}

}  // namespace book

namespace book {

namespace {

constexpr int SearchFoundNothing = 1;
constexpr int SearchBadPattern = 2;
constexpr int SearchBookUnreadable = 3;

std::optional<std::vector<uint8_t>> ReadClosingBlock(const std::filesystem::path& book) {
  const std::filesystem::path path = book / ClosingFileName;
  std::optional<std::vector<uint8_t>> text = ReadWholeFile(path);
  std::optional<std::vector<uint8_t>> block;
  if (text) block = ParseClosingInclude(std::string_view(reinterpret_cast<const char*>(text->data()), text->size()));
  if (!block) std::fprintf(stderr, "%s: cannot read the closing block (build the book first)\n", path.c_str());
  return block;
}

}  // namespace

int SearchCommand(const std::string& text, const std::filesystem::path& book) {
  const SearchPattern pattern = PatternFromText(text);
  if (!pattern.Error.empty()) {
    std::fprintf(stderr, "vintrel-book search: %s\n", pattern.Error.c_str());
    return SearchBadPattern;
  }
  const std::optional<std::vector<uint8_t>> closing = ReadClosingBlock(book);
  if (!closing) return SearchBookUnreadable;
  size_t matches = 0, lessons = 0;
  bool whole = true;
  for (int lesson = 1; lesson <= LessonCount; ++lesson) {
    const std::optional<std::vector<uint8_t>> article = LoadBookArticle(book, lesson, *closing);
    bool outOfMemory = false;
    const std::vector<ArticleMatch> found =
        article ? MatchesInArticle(pattern, article->data(), &outOfMemory) : std::vector<ArticleMatch>();
    if (!article || outOfMemory) whole = false;
    if (outOfMemory) std::fprintf(stderr, "lesson %d: out of memory, searched only in part\n", lesson);
    if (found.empty()) continue;
    const std::string heading = ArticleHeading(article->data());
    for (const ArticleMatch& match : found)
      std::printf("%d\t%s\t%s\n", lesson, heading.c_str(), MarkedParagraph(article->data(), match).c_str());
    matches += found.size();
    ++lessons;
  }
  std::fflush(stdout);  // the matches before the count
  std::fprintf(stderr, "%zu matches in %zu lessons\n", matches, lessons);
  if (!whole) return SearchBookUnreadable;
  return matches ? 0 : SearchFoundNothing;
}

}  // namespace book
