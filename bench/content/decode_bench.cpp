// The decoder over the book's records (every lesson and the index, as the reader holds
// them among its resources), side by side with its yardstick, a plain decoder loop that
// checks nothing, and its floor, a copy of the decoded bytes. Each of the three makes
// and frees an output block of the decoded size per record, as DecodeRecord does.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <cstring>
#include <vector>

#include "content/lesson_loader.h"
#include "platform.h"

namespace {

struct Record {
  const BYTE* Bytes;
  DWORD Size;
  WORD Decoded;
};

std::vector<Record> BookRecords() {
  std::vector<Record> records;
  HINSTANCE module = GetModuleHandleW(nullptr);
  auto add = [&](WORD id) {
    HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(id), RT_RCDATA);
    if (!found) return;
    const auto* bytes = static_cast<const BYTE*>(LoadResource(module, found));
    records.push_back({bytes, SizeofResource(module, found),
                       ReadRecordHeader(bytes).DecompressedLength});
  };
  for (WORD lesson = 1; lesson <= LessonCount; ++lesson) add(LessonResourceId(lesson));
  add(IndexResource);
  return records;
}

const std::vector<Record>& Records() {
  static const std::vector<Record> records = BookRecords();
  return records;
}

// The same format decoded as a decoder that trusts its input would: no bound checked.
void PlainDecode(const BYTE* in, const BYTE* inEnd, BYTE* out) {
  while (in < inEnd) {
    unsigned control = *in++;
    if (control >= 1 && control <= 8) {
      while (control--) *out++ = *in++;
    } else if (control < 0x80) {
      *out++ = BYTE(control);
    } else if (control < 0xC0) {
      const unsigned pair = control << 8 | *in++;
      const unsigned distance = (pair >> 3) & 0x7FF;
      for (unsigned count = (pair & 7) + 3; count > 0; --count, ++out) *out = out[-long(distance)];
    } else {
      *out++ = ' ';
      *out++ = BYTE(control ^ 0x80);
    }
  }
}

// Room for what the plain loop writes past the end of a step cut off there.
constexpr size_t PlainSlack = 16;

void SetBytes(benchmark::State& state) {
  size_t decoded = 0;
  for (const Record& r : Records()) decoded += r.Decoded;
  state.SetBytesProcessed(int64_t(state.iterations() * decoded));
  state.counters["records"] = double(Records().size());
}

bool SameAsDecodeRecord(const Record& r, const BYTE* plain) {
  BYTE* ours = DecodeRecord(r.Bytes, r.Size);
  const bool same = ours && std::memcmp(ours, plain, r.Decoded) == 0;
  free(ours);
  return same;
}

void BM_DecodeRecord(benchmark::State& state) {
  if (Records().empty()) return state.SkipWithError("no records among the resources");
  for (auto _ : state) {
    for (const Record& r : Records()) {
      BYTE* decoded = DecodeRecord(r.Bytes, r.Size);
      benchmark::DoNotOptimize(decoded);
      free(decoded);
    }
  }
  SetBytes(state);
}
BENCHMARK(BM_DecodeRecord);

void BM_PlainDecode(benchmark::State& state) {
  for (const Record& r : Records()) {
    BYTE* out = static_cast<BYTE*>(malloc(r.Decoded + PlainSlack));
    const BYTE* data = r.Bytes + RecordHeaderSize;
    PlainDecode(data, data + ReadRecordHeader(r.Bytes).CompressedLength, out);
    const bool same = SameAsDecodeRecord(r, out);
    free(out);
    if (!same) return state.SkipWithError("the plain loop decodes differently");
  }
  for (auto _ : state) {
    for (const Record& r : Records()) {
      BYTE* out = static_cast<BYTE*>(malloc(r.Decoded + PlainSlack));
      const BYTE* data = r.Bytes + RecordHeaderSize;
      PlainDecode(data, data + ReadRecordHeader(r.Bytes).CompressedLength, out);
      benchmark::DoNotOptimize(out);
      free(out);
    }
  }
  SetBytes(state);
}
BENCHMARK(BM_PlainDecode);

// The floor: the decoded bytes only copied (from a block of that size).
void BM_CopyDecodedSize(benchmark::State& state) {
  std::vector<BYTE> source(0x10000, 'a');
  for (auto _ : state) {
    for (const Record& r : Records()) {
      BYTE* out = static_cast<BYTE*>(malloc(r.Decoded + 2));
      std::memcpy(out, source.data(), r.Decoded);
      benchmark::DoNotOptimize(out);
      free(out);
    }
  }
  SetBytes(state);
}
BENCHMARK(BM_CopyDecodedSize);

}  // namespace
