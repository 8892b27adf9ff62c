#include <gtest/gtest.h>

#include <algorithm>

#include "platform.h"
#include "record_fixtures.h"

namespace {

Bytes Text(const std::string& text) { return Bytes(text.begin(), text.end()); }

// 32 distinct literal bytes in four runs of eight.
Bytes ThirtyTwoLiterals() {
  Bytes data;
  for (BYTE run = 0; run < 4; ++run) {
    data.push_back(0x08);
    for (BYTE i = 0; i < 8; ++i) data.push_back(BYTE(0x80 + run * 8 + i));
  }
  return data;
}

Bytes ThirtyTwoDecoded() {
  Bytes out;
  for (BYTE i = 0; i < 32; ++i) out.push_back(BYTE(0x80 + i));
  return out;
}

struct DecodeCase {
  const char* Name;
  Bytes Data;
  Bytes Expected;  // its size is the record's DecompressedLength
};

TEST(DecodeRecord, ControlBytes) {
  const DecodeCase cases[] = {
      {"literal run of 1", {0x01, 0xB1}, {0xB1}},
      {"literal run of 8", {0x08, 1, 2, 3, 4, 5, 6, 7, 0xFF}, {1, 2, 3, 4, 5, 6, 7, 0xFF}},
      {"literal runs of 2 to 7",
       {0x02, 0xA0, 0xA1, 0x03, 1, 2, 3, 0x07, 0x80, 0x81, 0x82, 0x83, 0x84, 0x85, 0x86},
       {0xA0, 0xA1, 1, 2, 3, 0x80, 0x81, 0x82, 0x83, 0x84, 0x85, 0x86}},
      {"bytes standing for themselves", {0x00, 0x09, 0x20, 0x61, 0x7F}, {0x00, 0x09, 0x20, 0x61, 0x7F}},
      {"0x80 0x0B: distance 1, count 6", {'a', 0x80, 0x0B}, Text("aaaaaaa")},
      {"distance 2, count 3 overlapping", Joined({Text("ab"), {0x80, 0x10}}), Text("ababa")},
      {"count 10", Joined({Text("abc"), {0x80, 0x1F}}), Text("abcabcabcabca")},
      {"distance from the control byte's low bits", Joined({ThirtyTwoLiterals(), {0x81, 0x00}}),
       Joined({ThirtyTwoDecoded(), {0x80, 0x81, 0x82}})},
      {"0xC0: space and 0x40", {0xC0}, Text(" @")},
      {"0xFF: space and 0x7F", {0xFF}, {0x20, 0x7F}},
      {"0xE1: space and a", {0xE1}, Text(" a")},
      {"space pair cut by the full output", {0xE1}, Text(" ")},
      {"back-reference overrunning the output stops at its end", {'a', 0x80, 0x0F}, Text("aaaa")},
      {"literal run stops at the full output", {0x05, 'a', 'b', 'c', 'd', 'e'}, Text("abc")},
      {"spare input after the full output", Text("abcdef"), Text("ab")},
  };
  for (const DecodeCase& c : cases) {
    SCOPED_TRACE(c.Name);
    const DecodeOutcome outcome = Decode(MakeRecord(c.Data, WORD(c.Expected.size())));
    ASSERT_TRUE(outcome.Decoded);
    EXPECT_EQ(outcome.Length, c.Expected.size());
    EXPECT_EQ(outcome.Reason, 0) << "a reason is written only on failure";
    EXPECT_EQ(outcome.Messages, 0);
    Bytes expected = c.Expected;
    expected.insert(expected.end(), {0, 0});  // the two bytes after the data
    EXPECT_EQ(outcome.Output, expected);
  }
}

TEST(DecodeRecord, DecodesALongerRecordOfEveryKind) {
  // "D1 00 'title' 00 B1 00 'body body body' 00 00 00 00"
  const Bytes data = Joined({{0x01, 0xD1, 0x00}, Text("title"), {0x00, 0x01, 0xB1, 0x00},
                             Text("body"), {0xE2}, Text("ody"), {0x80, 0x2A}, {0x00, 0x00, 0x00}});
  const Bytes expected = Joined({{0xD1, 0x00}, Text("title"), {0x00, 0xB1, 0x00},
                                 Text("body body body"), {0x00, 0x00, 0x00}});
  const DecodeOutcome outcome = Decode(MakeRecord(data, WORD(expected.size())));
  ASSERT_TRUE(outcome.Decoded);
  EXPECT_EQ(outcome.Output, Joined({expected, {0, 0}}));
}

struct FailureCase {
  const char* Name;
  Bytes Record;
  size_t Size;  // bytes handed to the decoder
  int Reason;
  bool Message;
};

constexpr size_t Whole = size_t(-1);

TEST(DecodeRecord, Failures) {
  const Bytes good = MakeRecord(Text("abcd"), 4);
  constexpr WORD RecordHeader::*BlockLength = &RecordHeader::BlockLength;
  const FailureCase cases[] = {
      {"BlockLength 4", WithField(good, BlockLength, 4), Whole, LoadBadHeader, false},
      {"BlockLength 0", WithField(good, BlockLength, 0), Whole, LoadBadHeader, false},
      {"CompressedLength 0", WithField(good, &RecordHeader::CompressedLength, 0), Whole,
       LoadBadHeader, false},
      {"DecompressedLength 0", WithField(good, &RecordHeader::DecompressedLength, 0), Whole,
       LoadNothingToDecode, false},
      {"input ends one byte before the output is full", MakeRecord(Text("abc"), 4), Whole,
       LoadDecodeFailed, true},
      {"CompressedLength beyond BlockLength - 8", WithField(good, BlockLength, 11), Whole,
       LoadBadHeader, false},
      {"BlockLength 5 leaves no room for data", WithField(good, BlockLength, 5), Whole,
       LoadBadHeader, false},
      {"CompressedLength beyond the resource", good, 13, LoadBadHeader, false},
      {"resource smaller than its header", good, 9, LoadBadHeader, false},
      {"empty resource", good, 0, LoadBadHeader, false},
      {"back-reference at distance 0", MakeRecord({'a', 0x80, 0x00}, 4), Whole, LoadDecodeFailed,
       true},
      {"back-reference before the output's start", MakeRecord({'a', 0x80, 0x10}, 4), Whole,
       LoadDecodeFailed, true},
      {"back-reference as the first step", MakeRecord({0x80, 0x08}, 3), Whole, LoadDecodeFailed, true},
      {"literal run cut off by the end of the data", MakeRecord({0x04, 'a', 'b'}, 4), Whole,
       LoadDecodeFailed, true},
      {"back-reference pair cut off by the end of the data", MakeRecord({'a', 0x80}, 5), Whole,
       LoadDecodeFailed, true},
  };
  for (const FailureCase& c : cases) {
    SCOPED_TRACE(c.Name);
    const DecodeOutcome outcome = Decode(c.Record, c.Size);
    EXPECT_FALSE(outcome.Decoded);
    EXPECT_EQ(outcome.Reason, c.Reason);
    EXPECT_EQ(outcome.Messages, c.Message ? 1 : 0);
  }
}

TEST(DecodeRecord, TheZeroBytesAfterTheDataAreNotRead) {
  const Bytes record = MakeRecord(Text("abcd"), 4);
  EXPECT_TRUE(Decode(record, record.size() - 4).Decoded);
}

TEST(DecodeRecord, WithoutAReasonPointerFailsQuietlyForTheCaller) {
  const Bytes record = WithField(MakeRecord(Text("ab"), 2), &RecordHeader::BlockLength, 4);
  EXPECT_EQ(DecodeRecord(record.data(), DWORD(record.size())), nullptr);
}

TEST(DecodeRecord, NoMemoryForTheOutputIsReason2) {
  const Bytes record = MakeRecord(Text("abcd"), 4);
  LoadReason reason = LoadReason(0);
  testing::internal::CaptureStderr();
  HeapFailAllocation(1);
  BYTE* buffer = DecodeRecord(record.data(), DWORD(record.size()), &reason);
  const std::string shown = testing::internal::GetCapturedStderr();
  HeapFailAllocation(0);
  EXPECT_EQ(buffer, nullptr);
  EXPECT_EQ(reason, LoadNoData);
  EXPECT_EQ(CountOf(shown, DecodeMessage), 0);
}

// Compressed data of every kind of step, long enough that most of it decodes away from
// either end, with what it decodes to. Back-references reach from 1 to 2047 bytes back,
// nearer than their count (repeating their own output) and farther.
struct LongData {
  Bytes Data;
  Bytes Decoded;
};

LongData EveryKindOfStep(size_t decodedSize) {
  LongData made;
  unsigned seed = 2024;
  auto next = [&seed](unsigned n) {
    seed = seed * 1103515245u + 12345u;
    return (seed >> 16) % n;
  };
  while (made.Decoded.size() < decodedSize) {
    switch (next(4)) {
      case 0: {  // a literal run of any bytes
        const BYTE length = BYTE(1 + next(8));
        made.Data.push_back(length);
        for (BYTE i = 0; i < length; ++i) {
          const BYTE b = BYTE(next(256));
          made.Data.push_back(b);
          made.Decoded.push_back(b);
        }
        break;
      }
      case 1: {  // a byte standing for itself
        const BYTE b = next(8) == 0 ? 0x00 : BYTE(0x09 + next(0x77));
        made.Data.push_back(b);
        made.Decoded.push_back(b);
        break;
      }
      case 2: {  // a space pair
        const BYTE b = BYTE(0xC0 + next(0x40));
        made.Data.push_back(b);
        made.Decoded.insert(made.Decoded.end(), {' ', BYTE(b ^ 0x80)});
        break;
      }
      default: {  // a back-reference
        if (made.Decoded.empty()) break;
        const unsigned reach = unsigned(std::min<size_t>(made.Decoded.size(), 2047));
        const unsigned distance = next(2) ? 1 + next(std::min(reach, 12u)) : 1 + next(reach);
        const unsigned count = 3 + next(8);
        const unsigned pair = 0x8000 | distance << 3 | (count - 3);
        made.Data.insert(made.Data.end(), {BYTE(pair >> 8), BYTE(pair)});
        for (unsigned i = 0; i < count; ++i)
          made.Decoded.push_back(made.Decoded[made.Decoded.size() - distance]);
        break;
      }
    }
  }
  return made;
}

// Every length of output from 1 byte to all of it: the steps cut off by the output's end
// fall at every place in the data.
TEST(DecodeRecord, LongDataDecodesToEveryLengthAsked) {
  const LongData made = EveryKindOfStep(5000);
  for (size_t length = 1; length <= made.Decoded.size(); ++length) {
    const DecodeOutcome outcome = Decode(MakeRecord(made.Data, WORD(length)));
    ASSERT_TRUE(outcome.Decoded) << "length " << length;
    ASSERT_EQ(outcome.Length, length);
    Bytes expected(made.Decoded.begin(), made.Decoded.begin() + long(length));
    expected.insert(expected.end(), {0, 0});
    ASSERT_EQ(outcome.Output, expected) << "length " << length;
  }
}

TEST(DecodeRecord, LongDataFailures) {
  const LongData made = EveryKindOfStep(3000);
  const size_t middle = made.Data.size() / 2;
  auto withPair = [&](unsigned distance) {
    Bytes data(made.Data.begin(), made.Data.begin() + 20);
    const unsigned pair = 0x8000 | distance << 3;
    data.insert(data.end(), {BYTE(pair >> 8), BYTE(pair)});
    data.insert(data.end(), made.Data.begin() + 20, made.Data.end());
    return data;
  };
  const struct {
    const char* Name;
    Bytes Data;
    size_t Length;
  } cases[] = {
      {"back-reference at distance 0 early in the data", withPair(0), made.Decoded.size()},
      {"back-reference before the output's start early in the data", withPair(2047),
       made.Decoded.size()},
      {"data that end one byte short", made.Data, made.Decoded.size() + 1},
      {"data cut in the middle", Bytes(made.Data.begin(), made.Data.begin() + long(middle)),
       made.Decoded.size()},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    const DecodeOutcome outcome = Decode(MakeRecord(c.Data, WORD(c.Length)));
    EXPECT_FALSE(outcome.Decoded);
    EXPECT_EQ(outcome.Reason, LoadDecodeFailed);
    EXPECT_EQ(outcome.Messages, 1);
  }
}

// Header fields are big-endian; BlockLength counts the two length fields, the data and
// the four zero bytes after them; lesson n carries the tag n + 20 twice, the index 1
// and 255.
TEST(RecordHeader, WrittenBigEndianAndReadBack) {
  const struct {
    RecordHeader Header;
    Bytes Written;
  } cases[] = {
      {MakeRecordHeader(LessonRecordTag(1), LessonRecordTag(1), 1772, 2970),
       {0x06, 0xF4, 0x00, 0x15, 0x00, 0x15, 0x06, 0xEC, 0x0B, 0x9A}},
      {MakeRecordHeader(LessonRecordTag(267), LessonRecordTag(267), 0, 65535),
       {0x00, 0x08, 0x01, 0x1F, 0x01, 0x1F, 0x00, 0x00, 0xFF, 0xFF}},
      {MakeRecordHeader(IndexRecordTag, IndexRecordSecondTag, 1704, 3800),
       {0x06, 0xB0, 0x00, 0x01, 0x00, 0xFF, 0x06, 0xA8, 0x0E, 0xD8}},
  };
  for (const auto& c : cases) {
    Bytes written(RecordHeaderSize);
    WriteRecordHeader(written.data(), c.Header);
    EXPECT_EQ(written, c.Written);
    const RecordHeader read = ReadRecordHeader(written.data());
    EXPECT_EQ(read.BlockLength, c.Header.BlockLength);
    EXPECT_EQ(RecordSizeFor(read.BlockLength), RecordHeaderSize + read.CompressedLength + 4);
    EXPECT_EQ(read.Tag, c.Header.Tag);
    EXPECT_EQ(read.SecondTag, c.Header.SecondTag);
    EXPECT_EQ(read.CompressedLength, c.Header.CompressedLength);
    EXPECT_EQ(read.DecompressedLength, c.Header.DecompressedLength);
  }
}

// Lesson n is resource 1000 + n, computed in 16 bits; the index loads as number 31767.
TEST(RecordHeader, LessonNumbersNameTheirResources) {
  EXPECT_EQ(LessonResourceId(1), 1001);
  EXPECT_EQ(LessonResourceId(LessonCount), 1267);
  EXPECT_EQ(LessonResourceId(65535), 999);
  EXPECT_EQ(LessonResourceId(IndexLessonNumber), 32767);
  EXPECT_EQ(IndexResource, 32767);
}

}  // namespace
