#include "book_check.h"

#include <algorithm>
#include <cstdio>
#include <map>
#include <set>

#include "book_files.h"
#include "book_source.h"
#include "content/article_trailer.h"
#include "content/lesson_record.h"
#include "letter_encoding.h"
#include "records.h"

namespace book {

namespace {

// A measured range with the range the stored edition's data keeps.
struct Range {
  long Low = 0, High = 0;
  bool Any = false;
  void Add(long v) {
    Low = Any ? std::min(Low, v) : v;
    High = Any ? std::max(High, v) : v;
    Any = true;
  }
};

class Checker {
 public:
  explicit Checker(std::filesystem::path folder) : folder_(std::move(folder)) {}

  CheckReport Run() {
    for (int n = 1; n <= LessonCount; ++n) CheckLesson(n);
    CheckIndex();
    WriteProfile();
    return std::move(report_);
  }

 private:
  void Error(const std::string& where, const std::string& what) {
    report_.Errors.push_back(where + ": " + what);
  }

  // Reads a record and checks its header; the decoded stream, or nullopt.
  std::optional<std::vector<uint8_t>> ReadRecord(const std::string& name, uint16_t tag1,
                                                 uint16_t tag2, Range* compressed) {
    std::optional<std::vector<uint8_t>> record = ReadWholeFile(folder_ / name);
    if (!record) {
      Error(name, "missing or unreadable");
      return std::nullopt;
    }
    if (record->size() < RecordHeaderSize + RecordTailSize) {
      Error(name, "shorter than a record header");
      return std::nullopt;
    }
    const uint8_t* r = record->data();
    const RecordHeader header = ReadRecordHeader(r);
    const size_t compressedLength = header.CompressedLength;
    if (RecordSizeFor(header.BlockLength) != record->size())
      Error(name, "BlockLength " + std::to_string(header.BlockLength) +
                      " does not match the record size");
    if (header.BlockLength != compressedLength + BlockLengthFor(0))
      Error(name, "BlockLength is not CompressedLength + 8");
    if (header.Tag != tag1 || header.SecondTag != tag2)
      Error(name, "header tags are not " + std::to_string(tag1) + " and " + std::to_string(tag2));
    if (record->size() >= compressedLength + RecordHeaderSize + RecordTailSize &&
        !std::all_of(r + RecordHeaderSize + compressedLength,
                     r + RecordHeaderSize + compressedLength + RecordTailSize,
                     [](uint8_t b) { return b == 0; }))
      Error(name, "the four bytes after the data are not zero");
    int reason = 0;
    std::optional<std::vector<uint8_t>> stream = DecodeWithProgram(*record, &reason);
    if (!stream) {
      Error(name, "the reader refuses it (load reason " + std::to_string(reason) + ")");
      return std::nullopt;
    }
    compressed->Add(static_cast<long>(compressedLength));
    return stream;
  }

  void CheckLesson(int n) {
    const std::string name = LessonFileName(n);
    const WORD tag = LessonRecordTag(LessonNumber(n));
    std::optional<std::vector<uint8_t>> stream = ReadRecord(name, tag, tag, &compressed_);
    if (!stream) return;
    std::vector<Paragraph> paragraphs;
    size_t terminator = 0;
    if (!SplitArticle(stream->data(), stream->size(), &paragraphs, &terminator)) {
      Error(name, "a paragraph record runs past the end of the stream");
      return;
    }
    if (terminator + 3 != stream->size() || (*stream)[terminator + 1] != 0 || (*stream)[terminator + 2] != 0)
      Error(name, "the stream does not end with its terminator and two zero bytes");
    if (terminator + ArticleTailSize > LargestStream)
      Error(name, "with the closing block the article passes 65,535 bytes");
    if (paragraphs.empty()) Error(name, "no paragraphs");
    decompressed_.Add(static_cast<long>(stream->size()));
    recordsPerLesson_.Add(static_cast<long>(paragraphs.size()));
    if (paragraphs.size() < 2 || paragraphs[0].Flags != HeadingFlags ||
        paragraphs[1].Flags != HeadingFlags)
      ++lessonsWithoutTwoHeadings_;
    for (size_t i = 0; i < paragraphs.size(); ++i) CheckParagraph(name, i, paragraphs[i]);
  }

  void CheckParagraph(const std::string& name, size_t i, const Paragraph& p) {
    const std::string where = name + " paragraph " + std::to_string(i + 1);
    ++flags_[p.Flags];
    ++records_;
    if (IsRuleRecord(p.Flags)) {
      if (!p.Text.empty()) Error(where, "a rule with text");
      ++ruleWidths_[p.Second];
      return;
    }
    if (p.Text.empty()) Error(where, "empty text");
    if (p.Second != 0) ++indented_;
    text_.Add(static_cast<long>(p.Text.size()));
    word_.Add(static_cast<long>(LongestWord(p.Text)));
    const std::string t(p.Text.begin(), p.Text.end());
    if (!t.empty() && (t.front() == ' ' || t.back() == ' ' || t.find("  ") != std::string::npos))
      ++badlySpaced_;
    for (uint8_t c : p.Text)
      if (c < 32) lowCodes_.insert(c);
  }

  void CheckIndex() {
    std::optional<std::vector<uint8_t>> stream =
        ReadRecord(IndexFileName, IndexRecordTag, IndexRecordSecondTag, &indexCompressed_);
    if (!stream) return;
    indexSize_ = stream->size();
    std::vector<ContentsEntry> entries;
    size_t end = 0;
    if (!SplitIndex(stream->data(), stream->size(), &entries, &end)) {
      Error(IndexFileName, "an entry runs past the end of the stream");
      return;
    }
    if (end + 5 != stream->size() || !std::all_of(stream->begin() + end, stream->end(), [](uint8_t b) { return b == 0; }))
      Error(IndexFileName, "the stream does not end with five zero bytes");
    if (entries.empty()) Error(IndexFileName, "no entries");
    std::map<int, int> lessons;
    std::set<uint16_t> sections;
    int inSection = -1;
    for (const ContentsEntry& e : entries) {
      const std::string where = std::string(IndexFileName) + " entry '" + FormatTitle(e.Title) + "'";
      if (e.Title.empty()) Error(where, "empty title");
      for (uint8_t c : e.Title)
        if (c < 32 || (c > 64 && c < 91)) Error(where, "a title byte that does not convert one to one");
      const bool article = IsArticleKey(e.Key);
      const bool section = IsSectionKey(e.Key);
      if (article) {
        const int n = KeyNumber(e.Key);
        if (n < 1 || n > LessonCount) Error(where, "leads to lesson " + std::to_string(n));
        if (++lessons[n] == 2) Error(where, "lesson " + std::to_string(n) + " is listed twice");
        lessonTitles_.Add(static_cast<long>(e.Title.size()));
        if (inSection >= 0) ++inSection;
      } else if (section) {
        if (!sections.insert(e.Key).second) Error(where, "its section key is not unique");
        if (KeyNumber(e.Key) >= 1 && KeyNumber(e.Key) <= LessonCount)
          Error(where, "its section key equals a lesson number");
        sectionTitles_.Add(static_cast<long>(e.Title.size()));
        if (inSection >= 0) perSection_.Add(inSection);
        inSection = 0;
        if (e.Style != SectionStyle || e.Level != 1) ++unusualStyles_;
      } else {
        Error(where, "its key is neither a lesson nor a section");
      }
      if (article && (e.Style != LessonEntryStyle || e.Level != 2)) ++unusualStyles_;
    }
    if (inSection >= 0) perSection_.Add(inSection);
    for (int n = 1; n <= LessonCount; ++n)
      if (!lessons.count(n)) Error(IndexFileName, "lesson " + std::to_string(n) + " is not listed");
    indexEntries_ = entries.size();
    sectionCount_ = sections.size();
  }

  void Line(const char* label, const std::string& value, const std::string& stored, bool within) {
    char text[256];
    std::snprintf(text, sizeof text, "%-34s %-22s stored edition: %s%s\n", label, value.c_str(),
                  stored.c_str(), within ? "" : "   <- outside");
    report_.Profile += text;
    if (!within) report_.Notes.push_back(std::string(label) + " " + value + " (stored edition: " + stored + ")");
  }

  static std::string Span(const Range& r) { return std::to_string(r.Low) + " to " + std::to_string(r.High); }
  static bool Within(const Range& r, long low, long high) { return r.Any && r.Low >= low && r.High <= high; }

  void WriteProfile() {
    Line("lessons", std::to_string(LessonCount), "267", true);
    Line("paragraph records", std::to_string(records_), "9,493", true);
    Line("records per lesson", Span(recordsPerLesson_), "10 to 59", Within(recordsPerLesson_, 10, 59));
    Line("decompressed bytes per lesson", Span(decompressed_), "2,970 to 10,094", Within(decompressed_, 2970, 10094));
    Line("compressed bytes per lesson", Span(compressed_), "1,772 to 5,834", true);
    Line("text bytes per paragraph", Span(text_), "1 to 2,308", Within(text_, 1, 2308));
    Line("bytes per word", Span(word_), "up to 19", Within(word_, 1, 19));
    Line("lessons not opening with two 0xD1", std::to_string(lessonsWithoutTwoHeadings_), "0", lessonsWithoutTwoHeadings_ == 0);
    Line("text records with an IndentByte", std::to_string(indented_), "0", indented_ == 0);
    Line("texts with stray spaces", std::to_string(badlySpaced_), "0", badlySpaced_ == 0);
    const std::map<int, const char*> stored = {
        {BodyFlags, "7,596"}, {HeadingFlags, "807"}, {SmallHeadingFlags, "531"},
        {NoteFlags, "282"},   {RuleFlags, "274"},    {LeftToRightFlags, "3"}};
    for (const auto& [flags, count] : flags_) {
      char label[64];
      std::snprintf(label, sizeof label, "records with flags 0x%02X", flags);
      auto known = stored.find(flags);
      Line(label, std::to_string(count), known != stored.end() ? known->second : "none", known != stored.end());
    }
    std::string widths;
    for (const auto& [width, count] : ruleWidths_)
      widths += (widths.empty() ? "" : ", ") + std::to_string(width) + " x" + std::to_string(count);
    Line("rule widths", widths, "210, once 172", true);
    std::string codes;
    for (int c : lowCodes_) codes += (codes.empty() ? "" : " ") + std::to_string(c);
    Line("codes below 32 in texts", codes, "16 18 21-25 27 29", true);
    Line("index stream bytes", std::to_string(indexSize_), "3,800", true);
    Line("index compressed bytes", Span(indexCompressed_), "1,704", true);
    Line("index entries", std::to_string(indexEntries_), "280", true);
    Line("sections", std::to_string(sectionCount_), "13", true);
    Line("lessons per section", Span(perSection_), "18 to 22", Within(perSection_, 18, 22));
    Line("section title bytes", Span(sectionTitles_), "11 to 15", Within(sectionTitles_, 11, 15));
    Line("lesson title bytes", Span(lessonTitles_), "6 to 18", Within(lessonTitles_, 6, 18));
    Line("entries with other styles or levels", std::to_string(unusualStyles_), "0", unusualStyles_ == 0);
  }

  std::filesystem::path folder_;
  CheckReport report_;
  Range compressed_, decompressed_, recordsPerLesson_, text_, word_, indexCompressed_;
  Range lessonTitles_, sectionTitles_, perSection_;
  std::map<int, long> flags_, ruleWidths_;
  std::set<int> lowCodes_;
  long records_ = 0, lessonsWithoutTwoHeadings_ = 0, indented_ = 0, badlySpaced_ = 0, unusualStyles_ = 0;
  size_t indexSize_ = 0, indexEntries_ = 0, sectionCount_ = 0;
};

}  // namespace

CheckReport CheckBook(const std::filesystem::path& folder) { return Checker(folder).Run(); }

}  // namespace book
