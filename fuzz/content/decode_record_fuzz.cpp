// Any bytes as a lesson record: decoding must stay inside the record and its output;
// what it gives must walk as index entries within its size, and to its end with the
// closing block appended.
#include <cstdint>
#include <cstdlib>

#include "content/article_format.h"
#include "content/article_trailer.h"
#include "content/decode_message.h"
#include "content/index_stream.h"
#include "content/lesson_loader.h"

static unsigned DecodeErrors;

void ShowDecodeError() { ++DecodeErrors; }

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  DWORD length = 0;
  LoadReason reason = LoadReason(0);
  BYTE* stream = DecodeRecord(data, DWORD(size > 0xFFFFFFFF ? 0xFFFFFFFF : size), &reason, &length);
  if (stream == nullptr) {
    if (reason < LoadNoResource || reason > LoadDecodeFailed) std::abort();
    return 0;
  }
  IndexEntry entry;
  DWORD entriesEnd = 0;
  for (bool more = FirstEntry(stream, &entry, length); more;
       more = NextEntry(stream, &entry, length))
    entriesEnd = EndOfEntry(entry);
  if (entriesEnd > length || entriesEnd != IndexEntriesLength(stream, length)) std::abort();
  BYTE* article = AppendArticleTrailer(stream, length);
  ParagraphRecord record;
  DWORD records = 0;
  for (bool more = FirstRecord(article, &record); more; more = NextRecord(article, &record))
    ++records;
  if (records < 8) std::abort();  // the closing block's records at least
  free(article);
  return 0;
}
