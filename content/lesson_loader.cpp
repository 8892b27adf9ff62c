#include "content/lesson_loader.h"

#include "base/app_state.h"
#include "content/article_trailer.h"

namespace {

BYTE* Fail(LoadReason* reason, LoadReason code) {
  if (reason != nullptr) *reason = code;
  return nullptr;
}

}  // namespace

BYTE* LoadLessonResource(WORD number, LoadReason* reason, DWORD* decodedLength) {
  if (number == 0) return nullptr;
  HRSRC resource =
      FindResourceW(App.Instance, MAKEINTRESOURCEW(LessonResourceId(number)), RT_RCDATA);
  if (resource == nullptr) return Fail(reason, LoadNoResource);
  const DWORD size = SizeofResource(App.Instance, resource);
  // The handle is the address of the record bytes, read in place.
  const BYTE* record = size == 0 ? nullptr
                                 : static_cast<const BYTE*>(LoadResource(App.Instance, resource));
  if (record == nullptr) return Fail(reason, LoadNoData);
  return DecodeRecord(record, size, reason, decodedLength);
}

BYTE* LoadArticle(LessonNumber number, LoadReason* reason) {
  DWORD length = 0;
  BYTE* stream = LoadLessonResource(number, reason, &length);
  if (stream == nullptr) return nullptr;
  return AppendArticleTrailer(stream, length);
}
