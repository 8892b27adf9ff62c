// Any pattern looked for in any lesson text from any start, as the search does: the
// first byte gives the pattern's length (1 to 33), then come the pattern, two bytes of
// start offset and the decoder's output, which the loader hands over as it does (cut
// after its last whole record, the closing block appended). A match lies inside one
// paragraph's text, ends on a byte of the anchor's value, and the scan goes on below it.
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "content/article_format.h"
#include "content/article_trailer.h"
#include "search/matcher.h"

namespace {

// The paragraph whose text holds offset, or false.
bool InsideOneParagraph(const BYTE* text, DWORD size, WORD low, WORD high) {
  ParagraphRecord record;
  for (bool more = FirstRecord(text, &record, size); more;
       more = NextRecord(text, &record, size)) {
    DWORD first = DWORD(record.Text - text);
    if (low >= first && high < first + record.Length) return true;
  }
  return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1) return 0;
  int n = 1 + data[0] % LongestPattern;
  if (size < size_t(1 + n + 2) || size > 0xFFF0) return 0;
  const BYTE* pattern = data + 1;
  WORD start = WORD(data[1 + n] | data[2 + n] << 8);
  size_t streamSize = size - (3 + size_t(n));
  BYTE* stream = static_cast<BYTE*>(malloc(streamSize + 2));
  if (!stream) return 0;
  std::memcpy(stream, data + 3 + n, streamSize);
  stream[streamSize] = stream[streamSize + 1] = 0;
  BYTE* text = AppendArticleTrailer(stream, DWORD(streamSize));
  const DWORD stored = DWORD(ArticleStreamLength(text)) + 1;  // the records and their end
  if (start >= stored) start = 0;

  WORD length = 0;
  WORD found = SearchArticleFor(pattern, n, text, start, &length, malloc);
  if (found) {
    if (found >= stored || length < 1 || length > found + 1) std::abort();
    WORD low = WORD(found - length + 1);
    if (!InsideOneParagraph(text, stored, low, found)) std::abort();
    if (FoldValue(text[found]) != FoldValue(pattern[n - 1])) std::abort();
    if (ContinueAfterMatch(text, low) >= stored) std::abort();
  }
  free(text);
  return 0;
}
