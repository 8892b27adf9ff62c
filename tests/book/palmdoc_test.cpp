// The compressor against the reader's own decoder, on text and on inputs that stress
// each kind of control byte.
#include <gtest/gtest.h>

#include "content/lesson_record.h"
#include "palmdoc.h"
#include "records.h"

namespace {

using Bytes = std::vector<uint8_t>;

Bytes Decoded(const Bytes& input) {
  std::optional<Bytes> back = book::DecodeWithProgram(book::MakeRecord(1, 255, input));
  return back.value_or(Bytes{});
}

Bytes Repeat(uint8_t b, size_t n) { return Bytes(n, b); }

Bytes Pseudorandom(size_t n, uint8_t low, uint8_t high, uint32_t seed) {
  Bytes out;
  for (size_t i = 0; i < n; ++i) {
    seed = seed * 1103515245u + 12345u;
    out.push_back(static_cast<uint8_t>(low + (seed >> 16) % (high - low + 1)));
  }
  return out;
}

Bytes Concat(std::initializer_list<Bytes> parts) {
  Bytes out;
  for (const Bytes& p : parts) out.insert(out.end(), p.begin(), p.end());
  return out;
}

TEST(PalmDoc, AdversarialInputsDecodeBack) {
  Bytes allValues, literals;
  for (int i = 0; i < 256; ++i) allValues.push_back(static_cast<uint8_t>(i));
  for (int round = 0; round < 20; ++round)
    for (int i : {1, 2, 3, 4, 5, 6, 7, 8, 128, 170, 200, 255}) literals.push_back(static_cast<uint8_t>(i));
  const Bytes inputs[] = {
      {'a'},
      Repeat('x', 5000),
      Repeat(0, 1000),
      Repeat(0x80, 777),
      Repeat(' ', 300),
      allValues,
      Concat({allValues, allValues, allValues}),
      literals,
      Pseudorandom(50000, 0, 255, 7),  // incompressible
      Pseudorandom(20000, 0x40, 0x7F, 3),
      Concat({Bytes{' ', 'a', ' ', '@', ' ', 0x7F, ' ', 0x80, ' '}, Pseudorandom(3000, 0x20, 0x7F, 9)}),
  };
  for (const Bytes& input : inputs) {
    EXPECT_EQ(Decoded(input), input) << "input of " << input.size() << " bytes";
  }
}

TEST(PalmDoc, IncompressibleDataGrowsByAtMostAnEighth) {
  const Bytes input = Pseudorandom(50000, 0, 255, 11);
  EXPECT_LE(book::PalmDocCompress(input).size(), input.size() + input.size() / 8 + 1);
}

// The longest match wins; a copy may overlap its own output.
TEST(PalmDoc, GreedyLongestMatchAndSpaceLetterPairs) {
  EXPECT_EQ(book::PalmDocCompress({'a', 'b', 'c', 'a', 'b', 'c', 'a', 'b', 'c', 'a', 'b', 'c'}),
            (Bytes{'a', 'b', 'c', 0x80, (3 << 3) | 6}));
  EXPECT_EQ(book::PalmDocCompress(Repeat('z', 11)), (Bytes{'z', 0x80, (1 << 3) | 7}));
  EXPECT_EQ(book::PalmDocCompress({' ', 'a', ' ', '@', ' ', 0x7F, ' ', '1'}),
            (Bytes{0xE1, 0xC0, 0xFF, ' ', '1'}));
  // A literal run carries the bytes after it too, up to eight, until a match or a
  // space-and-letter pair could begin.
  EXPECT_EQ(book::PalmDocCompress({0xB1, 0x00, 0x09, 0x01, 0x02, 0x7F}),
            (Bytes{6, 0xB1, 0x00, 0x09, 0x01, 0x02, 0x7F}));
  EXPECT_EQ(book::PalmDocCompress({0xB1, 0x00, ' ', 'a', 1, 2, 3, 4, 5, 6, 7, 8, 9, 10}),
            (Bytes{2, 0xB1, 0x00, 0xE1, 8, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10}));
}

// Ten bytes seen exactly 2,047 bytes earlier are one back-reference; 2,048 is too far.
TEST(PalmDoc, MatchesReachBackExactlyTheWindow) {
  const Bytes word = {'a', 'b', 'c', 'd', 'e', 'f', 'g', 'h', 'i', 'j'};
  for (size_t gap : {size_t(2037), size_t(2038)}) {
    const Bytes input = Concat({word, Pseudorandom(gap, 0x09, 0x1F, 5), word});
    const Bytes out = book::PalmDocCompress(input);
    const bool pairAtTheEnd = out[out.size() - 2] == 0xBF && out.back() == 0xFF;
    EXPECT_EQ(pairAtTheEnd, gap == 2037) << "gap " << gap;
    EXPECT_EQ(Decoded(input), input);
  }
}

TEST(Records, HeadersAsTheReaderReadsThem) {
  const Bytes stream = {0xD1, 0, 'a', 0, 0, 0, 0};
  const Bytes lesson = book::MakeLessonRecord(5, stream);
  const size_t compressed = lesson.size() - 14;
  const RecordHeader header = ReadRecordHeader(lesson.data());
  EXPECT_EQ(size_t(header.BlockLength), compressed + 8);
  EXPECT_EQ(header.Tag, 25);
  EXPECT_EQ(header.SecondTag, 25);
  EXPECT_EQ(size_t(header.CompressedLength), compressed);
  EXPECT_EQ(size_t(header.DecompressedLength), stream.size());
  EXPECT_EQ(Bytes(lesson.end() - 4, lesson.end()), Bytes(4, 0));
  const Bytes index = book::MakeIndexRecord(stream);
  EXPECT_EQ(ReadRecordHeader(index.data()).Tag, 1);
  EXPECT_EQ(ReadRecordHeader(index.data()).SecondTag, 255);
}

}  // namespace
