// The book of the search tests: a few lessons of body paragraphs in the letter code, in
// display order; every other lesson is missing, which the search passes over. Words of
// three letters tell what each test looks for.
#pragma once

#include <string>
#include <vector>

#include "content/article_format.h"
#include "content/lesson_record.h"

namespace search_book {

struct Paragraph {
  BYTE Flags;
  std::string Text;
};

struct Lesson {
  LessonNumber Number;
  std::vector<Paragraph> Paragraphs;
};

// A filler paragraph, the same in every lesson.
inline const std::string Filler = "ddd eee fff ddd eee fff";
constexpr int FillerCount = 40;

// Where the words stand (paragraph indexes, the heading 0):
//   1    "qqq" in paragraph 1 only, "sss" in paragraph 2
//   2    "ggg" in paragraphs 2 and 30
//   3    "ggg" in paragraph 5; "abc" pointed, with a point below it, in paragraph 6
//   100  "kkk" (final kafs) in paragraph 1
//   266  "ggg" in paragraph 1
//   267  its heading and filler only
// "rrr" and "lll" stand nowhere; the closing block follows every lesson.
inline std::vector<Lesson> Lessons() {
  auto lesson = [](LessonNumber n, std::vector<std::pair<int, std::string>> words) {
    Lesson l{n, {{HeadingFlags, "yyy " + std::to_string(n)}}};
    for (int i = 1; i <= FillerCount; ++i) l.Paragraphs.push_back({BodyFlags, Filler});
    for (auto& [index, text] : words) l.Paragraphs[size_t(index)].Text = "ddd " + text + " eee";
    return l;
  };
  return {lesson(1, {{1, "qqq"}, {2, "sss"}}),
          lesson(2, {{2, "ggg"}, {30, "ggg"}}),
          lesson(3, {{5, "ggg"}, {6, "\x17" "a\x16" "bc"}}),
          lesson(100, {{1, "kkk"}}),
          lesson(266, {{1, "ggg"}}),
          lesson(267, {})};
}

// The lesson's paragraph records and their terminator, as the book stores them.
inline std::vector<BYTE> Stream(const Lesson& lesson) {
  std::vector<BYTE> stream;
  for (const Paragraph& p : lesson.Paragraphs) {
    size_t at = stream.size();
    stream.resize(at + ParagraphRecordSize(DWORD(p.Text.size())));
    WriteParagraph(stream.data() + at, p.Flags, 0, reinterpret_cast<const BYTE*>(p.Text.data()),
                   DWORD(p.Text.size()));
  }
  stream.push_back(0);
  return stream;
}

// The offset of a paragraph's first text byte in the loaded lesson.
inline WORD TextOffset(const Lesson& lesson, size_t paragraph) {
  DWORD offset = 2;
  for (size_t i = 0; i < paragraph; ++i)
    offset += ParagraphRecordSize(DWORD(lesson.Paragraphs[i].Text.size()));
  return WORD(offset);
}

}  // namespace search_book
